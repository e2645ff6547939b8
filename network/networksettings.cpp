#include "network/networksettings.h"

#include "network/boxlte.h"
#include "network/boxstaticip.h"
#include "network/boxvpn.h"
#include "network/boxwifi.h"
#include "pagekit/fieldkeys.h"
#include "pagekit/resizescale.h"
#include "settings/settingshandlerandcollector.h"

#include <QApplication>
#include <QMouseEvent>
#include <QResizeEvent>

namespace {

constexpr int referenceWidth = 905;
constexpr int referenceHeight = 582;
constexpr int leftX = 20;
constexpr int lteY = 10;
constexpr int lteWidth = 871;
constexpr int lteHeight = 181;
constexpr int middleRowY = 200;
constexpr int vpnWidth = 651;
constexpr int vpnHeight = 141;
constexpr int staticIPX = 690;
constexpr int staticIPWidth = 201;
constexpr int staticIPHeight = 221;
constexpr int wifiY = 350;

} // namespace

NetworkSettings::NetworkSettings(QWidget *parent) : QWidget(parent)
{
    lteBox = new BoxLTE(tr("Настройки LTE модема"), QRect(leftX, lteY, lteWidth, lteHeight), this);
    lteBox->setObjectName(QStringLiteral("lteBox"));
    staticIPBox
            = new BoxStaticIP(tr("Статический IP адрес"),
                              QRect(staticIPX, middleRowY, staticIPWidth, staticIPHeight), this);
    staticIPBox->setObjectName(QStringLiteral("staticIPBox"));
    vpnBox = new BoxVPN(tr("Настройки VPN"), QRect(leftX, middleRowY, vpnWidth, vpnHeight), this);
    vpnBox->setObjectName(QStringLiteral("vpnBox"));
    wifiBox = new BoxWIFI(tr("Настройки WI-FI"), QRect(leftX, wifiY, vpnWidth, staticIPHeight),
                          this);
    wifiBox->setObjectName(QStringLiteral("wifiBox"));
    wifiBox->hide();

    FieldKeys::setGroup(lteBox, QStringLiteral("200"));
    FieldKeys::setGroup(staticIPBox, QStringLiteral("300"));
    FieldKeys::setGroup(wifiBox, QStringLiteral("350"));

    connect(vpnBox, &BoxVPN::showDialogMessage, this, &NetworkSettings::showDialogMessage);
}

void NetworkSettings::setSettings()
{
    SettingsHandlerAndCollector *collector = SettingsHandlerAndCollector::getInstance();
    lteBox->setSettings(collector->getLTESettings());
    staticIPBox->setSettings(collector->getStaticIPSettings());
    vpnBox->setConfigList(collector->getOVPNFiles());
    if (collector->getSettings().contains(QStringLiteral("350")))
        wifiBox->setSettings(collector->getWiFiSettings());
}

QJsonObject NetworkSettings::getSettings()
{
    return QJsonObject{
            {QStringLiteral("200"), lteBox->getSettings()},
            {QStringLiteral("300"), staticIPBox->getSettings()},
            {QStringLiteral("350"), wifiBox->getSettings()},
    };
}

void NetworkSettings::showPingFields()
{
    lteBox->setPingFieldsVisible(true);
}

void NetworkSettings::hidePingFields()
{
    lteBox->setPingFieldsVisible(false);
}

void NetworkSettings::showWifiBox()
{
    // While hidden the box missed the page's resizes.
    if (resized)
        placeWifiBox(size());
    wifiBox->show();
}

void NetworkSettings::hideWifiBox()
{
    wifiBox->hide();
}

void NetworkSettings::attachLink(SPortConnector *link)
{
    vpnBox->attachLink(link);
}

void NetworkSettings::detachLink()
{
    vpnBox->detachLink();
}

void NetworkSettings::setThemeIcons(int colorScheme)
{
    vpnBox->setThemeIcons(colorScheme);
}

void NetworkSettings::mousePressEvent(QMouseEvent *event)
{
    QWidget *focused = QApplication::focusWidget();
    if (focused && event->button() == Qt::LeftButton)
        focused->clearFocus();
    QWidget::mousePressEvent(event);
}

void NetworkSettings::resizeEvent(QResizeEvent *event)
{
    resized = true;
    const ResizeScale scale(QSize(referenceWidth, referenceHeight), event->size(),
                            ResizeScale::Rounding::Hundredths);
    lteBox->setGeometry(leftX, lteY, scale.x(lteWidth), scale.y(lteHeight));
    vpnBox->setGeometry(leftX, scale.y(middleRowY), scale.x(vpnWidth), scale.y(vpnHeight));
    staticIPBox->setGeometry(scale.x(staticIPX), scale.y(middleRowY), staticIPWidth,
                             scale.y(staticIPHeight));
    if (!wifiBox->isHidden())
        placeWifiBox(event->size());
    QWidget::resizeEvent(event);
}

void NetworkSettings::placeWifiBox(const QSize &pageSize)
{
    const ResizeScale scale(QSize(referenceWidth, referenceHeight), pageSize,
                            ResizeScale::Rounding::Hundredths);
    wifiBox->setGeometry(leftX, scale.y(wifiY), scale.x(vpnWidth), scale.y(staticIPHeight));
}
