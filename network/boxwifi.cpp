#include "network/boxwifi.h"

#include "pagekit/fieldkeys.h"
#include "pagekit/placedwidgets.h"
#include "pagekit/resizescale.h"

#include <QComboBox>
#include <QJsonValue>
#include <QLabel>
#include <QLineEdit>
#include <QResizeEvent>

namespace {

constexpr int referenceWidth = 651;
constexpr int referenceHeight = 221;
constexpr int fieldHeight = 24;
constexpr int networkNameWidth = 161;
constexpr int fieldWidth = 111;
constexpr int leftLabelX = 20;
constexpr int leftFieldX = 130;
constexpr int rightLabelX = 340;
constexpr int rightFieldX = 510;
constexpr int rangeLabelX = 250;
constexpr int rangeStartX = 380;
constexpr int rangeDashX = 500;
constexpr int rangeEndX = 520;
constexpr int ssidRowY = 60;
constexpr int passwordRowY = 90;
constexpr int addressRowY = 140;
constexpr int networkAddressRowY = 170;
constexpr int maskRowY = 60;
constexpr int gatewayRowY = 90;
constexpr int preferredDnsRowY = 120;
constexpr int additionalDnsRowY = 150;
constexpr int rangeRowY = 180;

constexpr int clientMode = 1;
constexpr int wifiOnlyMode = 2;
constexpr int hotspotMode = 3;
constexpr int wifiOff = 0;

constexpr int firstKey = 351;
constexpr int lastKey = 363;

QStringList ownKeys()
{
    QStringList keys;
    for (int key = firstKey; key <= lastKey; ++key)
        keys.append(QString::number(key));
    return keys;
}

} // namespace

BoxWIFI::BoxWIFI(const QString &title, const QRect &geometry, QWidget *parent)
    : QGroupBox(parent), unshownKeys(ownKeys())
{
    setTitle(title);
    setGeometry(geometry);
    setCheckable(true);
    setChecked(false);

    PlacedWidgets::label(this, tr("Конфигурация Wi-Fi:"), QRect(20, 25, 111, 22));
    modeList = new QComboBox(this);
    modeList->setObjectName(QStringLiteral("modeList"));
    modeList->setGeometry(140, 25, 111, 22);
    modeList->addItem(tr("Клиент"), clientMode);
    modeList->addItem(tr("Точка доступа"), hotspotMode);
    modeList->addItem(tr("Только Wi-Fi"), wifiOnlyMode);
    modeList->setCurrentIndex(0);

    ssidLabel = PlacedWidgets::label(this, tr("Имя сети (SSID)"),
                                     QRect(leftLabelX, ssidRowY, 91, 21));
    ssid = PlacedWidgets::lineEdit(this, QStringLiteral("ssid"),
                                   QRect(leftFieldX, ssidRowY, networkNameWidth, fieldHeight));
    passwordLabel
            = PlacedWidgets::label(this, tr("Пароль"), QRect(leftLabelX, passwordRowY, 51, 21));
    password = PlacedWidgets::lineEdit(
            this, QStringLiteral("password"),
            QRect(leftFieldX, passwordRowY, networkNameWidth, fieldHeight));

    addressLabel
            = PlacedWidgets::label(this, tr("IP-адрес"), QRect(leftLabelX, addressRowY, 51, 21));
    address = PlacedWidgets::lineEdit(this, QStringLiteral("address"),
                                      QRect(leftFieldX, addressRowY, fieldWidth, fieldHeight));
    networkAddressLabel = PlacedWidgets::label(this, tr("IP-адрес сети"),
                                               QRect(leftLabelX, networkAddressRowY, 81, 21));
    networkAddress = PlacedWidgets::lineEdit(
            this, QStringLiteral("networkAddress"),
            QRect(leftFieldX, networkAddressRowY, fieldWidth, fieldHeight));

    maskLabel
            = PlacedWidgets::label(this, tr("Маска подсети"), QRect(rightLabelX, maskRowY, 91, 21));
    subnetMask = PlacedWidgets::lineEdit(this, QStringLiteral("subnetMask"),
                                         QRect(rightFieldX, maskRowY, fieldWidth, fieldHeight));
    gatewayLabel = PlacedWidgets::label(this, tr("Шлюз"), QRect(rightLabelX, gatewayRowY, 51, 21));
    gateway = PlacedWidgets::lineEdit(this, QStringLiteral("gateway"),
                                      QRect(rightFieldX, gatewayRowY, fieldWidth, fieldHeight));
    preferredDnsLabel = PlacedWidgets::label(this, tr("Предпочитаемый DNS"),
                                             QRect(rightLabelX, preferredDnsRowY, 131, 21));
    preferredDns = PlacedWidgets::lineEdit(
            this, QStringLiteral("preferredDns"),
            QRect(rightFieldX, preferredDnsRowY, fieldWidth, fieldHeight));
    additionalDnsLabel = PlacedWidgets::label(this, tr("Дополнительный DNS"),
                                              QRect(rightLabelX, additionalDnsRowY, 131, 21));
    additionalDns = PlacedWidgets::lineEdit(
            this, QStringLiteral("additionalDns"),
            QRect(rightFieldX, additionalDnsRowY, fieldWidth, fieldHeight));

    rangeStartLabel = PlacedWidgets::label(this, tr("Диапазон IP-адресов"),
                                           QRect(rangeLabelX, rangeRowY, 121, 21));
    rangeStart = PlacedWidgets::lineEdit(this, QStringLiteral("rangeStart"),
                                         QRect(rangeStartX, rangeRowY, fieldWidth, fieldHeight));
    rangeDashLabel = PlacedWidgets::label(this, QStringLiteral(" - "),
                                          QRect(rangeDashX, rangeRowY, 12, 21));
    rangeEnd = PlacedWidgets::lineEdit(this, QStringLiteral("rangeEnd"),
                                       QRect(rangeEndX, rangeRowY, fieldWidth, fieldHeight));

    networkFields = {address,      networkAddress, subnetMask, gateway,
                     preferredDns, additionalDns,  rangeEnd,   rangeStart};
    setNetworkFieldsEditable(false);

    // The network name and password fields show the client's or the access point's.
    const QList<std::pair<QWidget *, QStringList>> fieldKeys{
            {this, {"351"}},     {ssid, {"352", "362"}},    {password, {"353", "363"}},
            {address, {"354"}},  {networkAddress, {"355"}}, {subnetMask, {"356"}},
            {gateway, {"357"}},  {preferredDns, {"358"}},   {additionalDns, {"359"}},
            {rangeEnd, {"360"}}, {rangeStart, {"361"}}};
    for (const auto &[field, keys] : fieldKeys)
        FieldKeys::setKeys(field, keys);

    connect(modeList, &QComboBox::currentIndexChanged, this, &BoxWIFI::setConfig);
    // Qt re-enables every child on checking; the mode decides for the network fields.
    connect(this, &QGroupBox::toggled, this, [this] { applyNetworkFieldsState(); });
}

void BoxWIFI::setSettings(QJsonObject settings)
{
    const auto text = [&settings](const char *key) {
        return settings.value(QLatin1String(key)).toString();
    };
    const int mode = settings.value(QStringLiteral("351")).toInt();
    setChecked(mode != wifiOff);
    modeList->setCurrentIndex(modeList->findData(mode == wifiOff ? clientMode : mode, Qt::UserRole,
                                                 Qt::MatchExactly));

    clientSsid = text("352");
    clientPassword = text("353");
    hotspotSsid = text("362");
    hotspotPassword = text("363");
    if (mode == hotspotMode) {
        ssid->setText(hotspotSsid);
        password->setText(hotspotPassword);
    } else {
        ssid->setText(clientSsid);
        password->setText(clientPassword);
    }

    address->setText(text("354"));
    networkAddress->setText(text("355"));
    subnetMask->setText(text("356"));
    gateway->setText(text("357"));
    preferredDns->setText(text("358"));
    additionalDns->setText(text("359"));
    rangeEnd->setText(text("360"));
    rangeStart->setText(text("361"));

    if (modeList->currentIndex() >= 0)
        setNetworkFieldsEditable(currentMode() == hotspotMode);
    unshownKeys.keepFrom(settings);
}

QJsonObject BoxWIFI::getSettings()
{
    if (!isChecked())
        return unshownKeys.addedTo(QJsonObject{{QStringLiteral("351"), wifiOff}});

    const int mode = currentMode();
    if (mode == hotspotMode) {
        hotspotSsid = ssid->text();
        hotspotPassword = password->text();
    } else {
        clientSsid = ssid->text();
        clientPassword = password->text();
    }

    QJsonObject settings{
            {QStringLiteral("351"), mode},
            {QStringLiteral("352"), clientSsid},
            {QStringLiteral("353"), clientPassword},
            {QStringLiteral("354"), address->text()},
            {QStringLiteral("355"), networkAddress->text()},
            {QStringLiteral("356"), subnetMask->text()},
            {QStringLiteral("357"), gateway->text()},
            {QStringLiteral("358"), preferredDns->text()},
    };
    if (!additionalDns->text().isEmpty())
        settings.insert(QStringLiteral("359"), additionalDns->text());
    settings.insert(QStringLiteral("361"), rangeStart->text());
    settings.insert(QStringLiteral("360"), rangeEnd->text());
    settings.insert(QStringLiteral("362"), hotspotSsid);
    settings.insert(QStringLiteral("363"), hotspotPassword);
    return unshownKeys.addedTo(settings);
}

void BoxWIFI::setConfig(int)
{
    if (modeList->currentIndex() < 0)
        return;
    const int mode = currentMode();
    if (mode == hotspotMode)
        selectHotspot();
    else if (mode == clientMode || mode == wifiOnlyMode)
        selectClient();
}

void BoxWIFI::selectClient()
{
    ssid->setText(clientSsid);
    password->setText(clientPassword);
    setNetworkFieldsEditable(false);
}

void BoxWIFI::selectHotspot()
{
    ssid->setText(hotspotSsid);
    password->setText(hotspotPassword);
    setNetworkFieldsEditable(true);
}

void BoxWIFI::resizeEvent(QResizeEvent *event)
{
    const ResizeScale scale(QSize(referenceWidth, referenceHeight), event->size(),
                            ResizeScale::Rounding::None);
    const int wide = scale.x(networkNameWidth);
    const int narrow = scale.x(fieldWidth);

    const auto placeLeft = [&](QLabel *label, QLineEdit *field, int rowY, int width) {
        label->move(leftLabelX, scale.y(rowY));
        field->setGeometry(leftFieldX, scale.y(rowY), width, fieldHeight);
    };
    placeLeft(ssidLabel, ssid, ssidRowY, wide);
    placeLeft(passwordLabel, password, passwordRowY, wide);
    placeLeft(addressLabel, address, addressRowY, narrow);
    placeLeft(networkAddressLabel, networkAddress, networkAddressRowY, narrow);

    const auto placeRight = [&](QLabel *label, QLineEdit *field, int rowY) {
        label->move(scale.x(rightLabelX), scale.y(rowY));
        field->setGeometry(scale.x(rightFieldX), scale.y(rowY), narrow, fieldHeight);
    };
    placeRight(maskLabel, subnetMask, maskRowY);
    placeRight(gatewayLabel, gateway, gatewayRowY);
    placeRight(preferredDnsLabel, preferredDns, preferredDnsRowY);
    placeRight(additionalDnsLabel, additionalDns, additionalDnsRowY);

    const int rangeY = scale.y(rangeRowY);
    rangeStartLabel->move(scale.x(rangeLabelX), rangeY);
    rangeStart->setGeometry(scale.x(rangeStartX), rangeY, narrow, fieldHeight);
    rangeDashLabel->move(scale.x(rangeDashX), rangeY);
    rangeEnd->setGeometry(scale.x(rangeEndX), rangeY, narrow, fieldHeight);

    QGroupBox::resizeEvent(event);
}

int BoxWIFI::currentMode() const
{
    if (modeList->currentIndex() < 0)
        return wifiOff;
    return modeList->currentData().toInt();
}

void BoxWIFI::setNetworkFieldsEditable(bool editable)
{
    networkFieldsEditable = editable;
    applyNetworkFieldsState();
}

void BoxWIFI::applyNetworkFieldsState()
{
    const bool enabled = isChecked() && networkFieldsEditable;
    for (QLineEdit *field : std::as_const(networkFields))
        field->setEnabled(enabled);
}
