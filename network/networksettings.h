#pragma once

#include <QJsonObject>
#include <QString>
#include <QWidget>

class BoxLTE;
class BoxStaticIP;
class BoxVPN;
class BoxWIFI;
class QMouseEvent;
class QResizeEvent;
class SPortConnector;

// The network tab: hands the network groups of the held settings to its boxes
// and gathers them back.
class NetworkSettings : public QWidget
{
    Q_OBJECT

public:
    explicit NetworkSettings(QWidget *parent = nullptr);

    void setSettings();
    QJsonObject getSettings();
    void showPingFields();
    void hidePingFields();
    void showWifiBox();
    void hideWifiBox();
    void attachLink(SPortConnector *link);
    void detachLink();
    void setThemeIcons(int colorScheme);

signals:
    void showDialogMessage(int index, QString Title, QString Text);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void placeWifiBox(const QSize &pageSize);

    BoxLTE *lteBox;
    BoxStaticIP *staticIPBox;
    BoxVPN *vpnBox;
    BoxWIFI *wifiBox;
    bool resized = false;
};
