#pragma once

#include <QGroupBox>
#include <QJsonObject>
#include <QMetaObject>
#include <QPointer>

#include "pagekit/unshownkeys.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class SPortConnector;

// Local LoRaWAN server: its access parameters, and its service commanded over the link.
class TyrnServerBox : public QGroupBox
{
    Q_OBJECT

public:
    static constexpr int referenceWidthPx = 871;
    static constexpr int referenceHeightPx = 181;

    TyrnServerBox(const QString &title, QWidget *parent);

    void setSettings(QJsonObject group);
    QJsonObject getSettings() const;
    void attachLink(SPortConnector *link);
    void detachLink();

    QCheckBox *useServerBox() const { return useBox; }

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private slots:
    void startLocalServer();
    void setLocalServerState(bool Enable, bool Start);

private:
    void connectServiceBox();

    QCheckBox *useBox;
    QCheckBox *serviceBox;
    QPushButton *startButton;
    QLabel *loginLabel;
    QLineEdit *loginEdit;
    QLabel *passwordLabel;
    QLineEdit *passwordEdit;
    QLabel *networkIdLabel;
    QLineEdit *networkIdEdit;
    QLabel *subnetIdLabel;
    QLineEdit *subnetIdEdit;
    QLabel *databaseLabel;
    QLineEdit *databaseEdit;

    QPointer<SPortConnector> link;
    QMetaObject::Connection buttonConnection;
    QMetaObject::Connection serviceConnection;
    QMetaObject::Connection stateConnection;
    UnshownKeys unshownKeys;
};
