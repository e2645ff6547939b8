#pragma once

#include <QGroupBox>
#include <QJsonObject>
#include <QString>

#include "pagekit/unshownkeys.h"

class QFrame;
class QLabel;
class QLineEdit;
class QRect;
class QResizeEvent;

// LTE modem settings of both SIM cards and the addresses the gateway pings.
class BoxLTE : public QGroupBox
{
    Q_OBJECT

public:
    BoxLTE(const QString &title, const QRect &geometry, QWidget *parent = nullptr);

    void setSettings(QJsonObject settings);
    QJsonObject getSettings();
    void setPingFieldsVisible(bool visible);

protected:
    void resizeEvent(QResizeEvent *event) override;

private slots:
    void validatorSIM1Adress(QString Text);
    void validatorSIM1DualingNumber(QString Text);
    void validatorSIM2Adress(QString Text);
    void validatorSIM2DualingNumber(QString Text);
    void validatorPing1(QString Text);
    void validatorPing2(QString Text);

private:
    QFrame *addSeparator(const QRect &geometry);

    QLabel *sim1Header;
    QLabel *sim2Header;
    QLabel *sim1AdressLabel;
    QLabel *sim1DialLabel;
    QLabel *sim1UserLabel;
    QLabel *sim1PasswordLabel;
    QLabel *sim2AdressLabel;
    QLabel *sim2DialLabel;
    QLabel *sim2UserLabel;
    QLabel *sim2PasswordLabel;
    QLineEdit *sim1Adress;
    QLineEdit *sim1DialNumber;
    QLineEdit *sim1User;
    QLineEdit *sim1Password;
    QLineEdit *sim2Adress;
    QLineEdit *sim2DialNumber;
    QLineEdit *sim2User;
    QLineEdit *sim2Password;
    QFrame *firstSeparator;
    QFrame *secondSeparator;
    QLabel *ping1Label;
    QLabel *ping2Label;
    QLineEdit *ping1;
    QLineEdit *ping2;
    // Hiding by model, not the box's own visibility, decides whether the
    // ping keys are written.
    bool pingFieldsShown = true;
    UnshownKeys unshownKeys;
};
