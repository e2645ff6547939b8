#pragma once

#include <QGroupBox>
#include <QJsonObject>
#include <QList>
#include <QString>

#include "pagekit/unshownkeys.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QRect;
class QResizeEvent;

// The gateway's Wi-Fi interface: off, client, access point or Wi-Fi only. The
// client modes and the access point keep separate network names and passwords.
class BoxWIFI : public QGroupBox
{
    Q_OBJECT

public:
    BoxWIFI(const QString &title, const QRect &geometry, QWidget *parent = nullptr);

    void setSettings(QJsonObject settings);
    QJsonObject getSettings();

public slots:
    void setConfig(int Index);
    void selectClient();
    void selectHotspot();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    int currentMode() const;
    void setNetworkFieldsEditable(bool editable);
    void applyNetworkFieldsState();

    QString clientSsid;
    QString clientPassword;
    QString hotspotSsid;
    QString hotspotPassword;

    QComboBox *modeList;
    QLineEdit *ssid;
    QLineEdit *password;
    QLineEdit *address;
    QLineEdit *networkAddress;
    QLineEdit *subnetMask;
    QLineEdit *gateway;
    QLineEdit *preferredDns;
    QLineEdit *additionalDns;
    QLineEdit *rangeStart;
    QLineEdit *rangeEnd;
    QLabel *ssidLabel;
    QLabel *passwordLabel;
    QLabel *addressLabel;
    QLabel *networkAddressLabel;
    QLabel *maskLabel;
    QLabel *gatewayLabel;
    QLabel *preferredDnsLabel;
    QLabel *additionalDnsLabel;
    QLabel *rangeStartLabel;
    QLabel *rangeDashLabel;
    QList<QLineEdit *> networkFields;
    bool networkFieldsEditable = false;
    UnshownKeys unshownKeys;
};
