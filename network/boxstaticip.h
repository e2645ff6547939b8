#pragma once

#include <QGroupBox>
#include <QJsonObject>
#include <QString>

#include "pagekit/unshownkeys.h"

class QLabel;
class QLineEdit;
class QRect;
class QResizeEvent;

// Switches the gateway's static address on or off and edits its addressing.
class BoxStaticIP : public QGroupBox
{
    Q_OBJECT

public:
    BoxStaticIP(const QString &title, const QRect &geometry, QWidget *parent = nullptr);

    void setSettings(QJsonObject settings);
    QJsonObject getSettings();

protected:
    void resizeEvent(QResizeEvent *event) override;

private slots:
    void validatorStaticIP(QString Text);
    void validatorGateway(QString Text);
    void validatorDNS1(QString Text);

private:
    QLabel *addLabel(const QString &text, int row, int width);
    QLineEdit *addField(const QString &name, int row);
    void setFieldsCounted(bool counted);

    QLabel *ipLabel;
    QLabel *domainLabel;
    QLabel *gatewayLabel;
    QLabel *maskLabel;
    QLabel *dns1Label;
    QLabel *dns2Label;
    QLineEdit *ip;
    QLineEdit *domain;
    QLineEdit *gateway;
    QLineEdit *mask;
    QLineEdit *dns1;
    QLineEdit *dns2;
    UnshownKeys unshownKeys;
    // The group as the box was filled, which goes back while the box is unticked.
    QJsonObject filled;
};
