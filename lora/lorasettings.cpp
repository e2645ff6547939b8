#include "lora/lorasettings.h"

#include "lora/boxgps.h"
#include "lora/channelsbox.h"
#include "lora/gwidedit.h"
#include "pagekit/fieldkeys.h"
#include "pagekit/fieldvalidation.h"
#include "pagekit/resizescale.h"
#include "settings/inputpatterns.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRegularExpressionValidator>
#include <QStandardItemModel>

namespace {
const QString gatewayIdKey = QStringLiteral("110");
const QString serverAddressKey = QStringLiteral("111");
const QString upPortKey = QStringLiteral("112");
const QString downPortKey = QStringLiteral("113");
const QString planKey = QStringLiteral("121");
const QString antennaGainKey = QStringLiteral("141");
const QString keepaliveKey = QStringLiteral("142");

const QString localServerAddress = QStringLiteral("127.0.0.1");
const QString localServerPort = QStringLiteral("8001");

constexpr int channelsPerRow = 4;
constexpr int channelWidthPx = 181;
constexpr int channelHeightPx = 121;
constexpr int channelColumnXPx[channelsPerRow] = {10, 230, 450, 670};
constexpr int channelFirstRowYPx = 30;
constexpr int channelSecondRowYPx = 160;

QString channelKey(int channel, int field)
{
    return QStringLiteral("ch%1_%2").arg(channel).arg(field);
}

// "110" is among them: the gateway identifier follows its own rule.
QStringList ownKeys()
{
    QStringList keys{gatewayIdKey, serverAddressKey, upPortKey,   downPortKey,
                     planKey,      antennaGainKey,   keepaliveKey};
    keys += BoxGPS::keys();
    for (int channel = 0; channel < LoRaSettings::channelCount; ++channel) {
        for (int field = 1; field <= 3; ++field)
            keys.append(channelKey(channel, field));
    }
    return keys;
}

int textToInt(const QString &text)
{
    return text.toInt(nullptr, 10);
}

void setFlag(QComboBox *box, int index, bool enabled)
{
    auto *model = qobject_cast<QStandardItemModel *>(box->model());
    if (model && model->item(index))
        model->item(index)->setEnabled(enabled);
}
} // namespace

LoRaSettings::LoRaSettings(QWidget *parent)
    : QWidget(parent),
      connectionGroup(new QGroupBox(tr("Данные для подлкючения к LoRa серверу"), this)),
      idLabel(new QLabel(tr("ID Базовой станции"), connectionGroup)),
      gatewayIdEdit(new GWIDEdit(connectionGroup)),
      addressLabel(new QLabel(tr("Адрес сервера"), connectionGroup)),
      serverAddressEdit(new QLineEdit(connectionGroup)),
      upPortLabel(new QLabel(tr("Верхний порт"), connectionGroup)),
      upPortEdit(new QLineEdit(connectionGroup)),
      downPortLabel(new QLabel(tr("Нижний порт"), connectionGroup)),
      downPortEdit(new QLineEdit(connectionGroup)),
      gpsBox(new BoxGPS(tr("Настройки GPS"), QRect(20, 110, 621, 91), this)),
      otherGroup(new QGroupBox(tr("Другие наcтройки LoRa"), this)),
      gainLabel(new QLabel(tr("Усиление антенны"), otherGroup)),
      antennaGainEdit(new QLineEdit(otherGroup)),
      keepaliveLabel(new QLabel(tr("Интервал \"keepalive\""), otherGroup)),
      keepaliveEdit(new QLineEdit(otherGroup)), frequencyPlanBox(new QComboBox(this)),
      showFrequenciesBox(new QCheckBox(tr("Показать настройки частот"), this)),
      frequencyGroup(new QGroupBox(tr("Настройки частот"), this)),
      idValidator(new QRegularExpressionValidator(InputPatterns::gatewayId(), this)),
      serverValidator(new QRegularExpressionValidator(InputPatterns::serverAddress(), this)),
      portValidator(new QRegularExpressionValidator(InputPatterns::port(), this)),
      twoOrThreeDigitsValidator(
              new QRegularExpressionValidator(InputPatterns::twoOrThreeDigits(), this)),
      unshownKeys(ownKeys())
{
    connectionGroup->setObjectName(QStringLiteral("connectionGroup"));
    connectionGroup->setGeometry(20, 30, 871, 61);
    idLabel->setGeometry(20, 25, 111, 21);
    gatewayIdEdit->setObjectName(QStringLiteral("gatewayIdEdit"));
    gatewayIdEdit->setGeometry(140, 25, 111, 24);
    gatewayIdEdit->setValidator(idValidator);
    addressLabel->setGeometry(280, 25, 81, 21);
    serverAddressEdit->setObjectName(QStringLiteral("serverAddressEdit"));
    serverAddressEdit->setGeometry(370, 25, 111, 24);
    serverAddressEdit->setValidator(serverValidator);
    upPortLabel->setGeometry(510, 25, 81, 21);
    upPortEdit->setObjectName(QStringLiteral("upPortEdit"));
    upPortEdit->setGeometry(600, 25, 41, 24);
    upPortEdit->setValidator(portValidator);
    downPortLabel->setGeometry(660, 25, 81, 21);
    downPortEdit->setObjectName(QStringLiteral("downPortEdit"));
    downPortEdit->setGeometry(750, 25, 41, 24);
    downPortEdit->setValidator(portValidator);

    gpsBox->setObjectName(QStringLiteral("gpsBox"));

    otherGroup->setObjectName(QStringLiteral("otherGroup"));
    otherGroup->setGeometry(660, 110, 231, 91);
    gainLabel->setGeometry(10, 30, 111, 21);
    antennaGainEdit->setObjectName(QStringLiteral("antennaGainEdit"));
    antennaGainEdit->setGeometry(140, 30, 81, 24);
    antennaGainEdit->setValidator(twoOrThreeDigitsValidator);
    keepaliveLabel->setGeometry(10, 60, 121, 21);
    keepaliveEdit->setObjectName(QStringLiteral("keepaliveEdit"));
    keepaliveEdit->setGeometry(140, 60, 81, 24);
    keepaliveEdit->setValidator(twoOrThreeDigitsValidator);

    const QString gainHint
            = tr("При настрйке этого параметра\nучитывайте параметр transmitt_power на сервере.");
    gainLabel->setCursor(Qt::WhatsThisCursor);
    gainLabel->setToolTip(gainHint);
    antennaGainEdit->setCursor(Qt::WhatsThisCursor);
    antennaGainEdit->setToolTip(gainHint);

    frequencyPlanBox->setObjectName(QStringLiteral("frequencyPlanBox"));
    frequencyPlanBox->setGeometry(20, 220, 201, 24);
    const QList<QPair<QString, FreqType>> plans = {
            {QStringLiteral("RU868_SB1"), PlanRu868Sb1},
            {QStringLiteral("RU868_SB2"), PlanRu868Sb2},
            {QStringLiteral("RU868_SB3"), PlanRu868Sb3},
            {QStringLiteral("EU868"), PlanEu868},
            {QStringLiteral("KZ868"), PlanKz868},
            {QStringLiteral("Custom"), PlanCustom},
    };
    for (const auto &plan : plans)
        frequencyPlanBox->addItem(plan.first, int(plan.second));

    showFrequenciesBox->setObjectName(QStringLiteral("showFrequenciesBox"));
    showFrequenciesBox->setGeometry(250, 220, 181, 22);

    frequencyGroup->setObjectName(QStringLiteral("frequencyGroup"));
    frequencyGroup->setGeometry(20, 250, 871, 291);
    frequencyGroup->hide();
    for (int channel = 0; channel < channelCount; ++channel) {
        const int y = channel < channelsPerRow ? channelFirstRowYPx : channelSecondRowYPx;
        auto *box = new ChannelsBox(tr("Канал %1").arg(channel),
                                    QRect(channelColumnXPx[channel % channelsPerRow], y,
                                          channelWidthPx, channelHeightPx),
                                    frequencyGroup);
        box->setObjectName(QStringLiteral("channelBox%1").arg(channel));
        box->setFieldKeys(channelKey(channel, 1), channelKey(channel, 2), channelKey(channel, 3));
        channelBoxes.append(box);
        connect(box, &ChannelsBox::edited, this, &LoRaSettings::switchCustomPlan);
    }

    connect(gatewayIdEdit, &QLineEdit::textChanged, this, &LoRaSettings::validatorID);
    connect(serverAddressEdit, &QLineEdit::textChanged, this, &LoRaSettings::validatorIP);
    connect(upPortEdit, &QLineEdit::textChanged, this, &LoRaSettings::validatorUpPort);
    connect(downPortEdit, &QLineEdit::textChanged, this, &LoRaSettings::validatorDownPort);
    connect(gatewayIdEdit, &GWIDEdit::doubleClick, this, &LoRaSettings::editGwID);
    connect(showFrequenciesBox, &QCheckBox::stateChanged, this, &LoRaSettings::showFrequencyGroup);
    connect(frequencyPlanBox, &QComboBox::currentTextChanged, this, &LoRaSettings::setFrequency);

    const QList<std::pair<QWidget *, QString>> fieldKeys{
            {gatewayIdEdit, gatewayIdKey}, {serverAddressEdit, serverAddressKey},
            {upPortEdit, upPortKey},       {downPortEdit, downPortKey},
            {frequencyPlanBox, planKey},   {antennaGainEdit, antennaGainKey},
            {keepaliveEdit, keepaliveKey}};
    for (const auto &[field, key] : fieldKeys)
        FieldKeys::setKeys(field, {key});

    lockGwID();
    setFrequency(frequencyPlanBox->currentText());
    setFlag(frequencyPlanBox, PlanCustom, false);
    frequencyPlanBox->setCurrentIndex(0);
}

QList<LoRaSettings::ChannelSettings> LoRaSettings::defaultChannels(FreqType plan)
{
    switch (plan) {
    case PlanRu868Sb1:
        return {{true, 0, 864100000}, {true, 0, 864300000}, {true, 0, 864500000},
                {true, 0, 864700000}, {true, 0, 864900000}, {true, 1, 868900000},
                {true, 1, 869100000}, {false, 0, 864900000}};
    case PlanRu868Sb2:
        return {{true, 0, 866100000}, {true, 0, 866300000}, {true, 0, 866500000},
                {true, 0, 866700000}, {true, 0, 866900000}, {true, 1, 868900000},
                {true, 1, 869100000}, {false, 0, 866900000}};
    case PlanRu868Sb3:
        return {{true, 0, 867100000}, {true, 0, 867300000}, {true, 0, 867500000},
                {true, 0, 867700000}, {true, 0, 867900000}, {true, 1, 868900000},
                {true, 1, 869100000}, {false, 0, 867900000}};
    case PlanEu868:
        return {{true, 1, 868100000}, {true, 1, 868300000}, {true, 1, 868500000},
                {true, 0, 867100000}, {true, 0, 867300000}, {true, 0, 867500000},
                {true, 0, 867700000}, {true, 0, 867900000}};
    case PlanKz868:
        return {{true, 0, 865100000}, {true, 0, 865300000}, {true, 0, 865500000},
                {true, 1, 867100000}, {true, 1, 867300000}, {true, 1, 867500000},
                {true, 1, 867700000}, {true, 1, 867900000}};
    case PlanCustom:
        break;
    }
    return {};
}

void LoRaSettings::setSettings(QJsonObject group, bool withGatewayId)
{
    if (withGatewayId)
        gatewayIdEdit->setText(group.value(gatewayIdKey).toString());
    serverAddressEdit->setText(group.value(serverAddressKey).toString());
    upPortEdit->setText(QString::number(group.value(upPortKey).toInt()));
    downPortEdit->setText(QString::number(group.value(downPortKey).toInt()));

    // The document's own channel values follow below; the plan's presets must not
    // overwrite them.
    disconnect(frequencyPlanBox, &QComboBox::currentTextChanged, this, &LoRaSettings::setFrequency);
    frequencyPlanBox->setCurrentIndex(frequencyPlanBox->findText(
            group.value(planKey).toString(), Qt::MatchExactly | Qt::MatchCaseSensitive));
    connect(frequencyPlanBox, &QComboBox::currentTextChanged, this, &LoRaSettings::setFrequency);

    gpsBox->setSettings(group);

    antennaGainEdit->setText(QString::number(group.value(antennaGainKey).toInt()));
    keepaliveEdit->setText(QString::number(group.value(keepaliveKey).toInt()));

    for (int channel = 0; channel < channelCount; ++channel) {
        const int frequency = group.value(channelKey(channel, 3)).toInt();
        const int radio = group.value(channelKey(channel, 2)).toInt();
        const bool enabled = group.value(channelKey(channel, 1)).toBool();
        channelBoxes[channel]->setChannel(enabled, radio, frequency);
    }
    unshownKeys.keepFrom(group);
}

QJsonObject LoRaSettings::getSettings(bool withGatewayId) const
{
    QJsonObject group;
    if (withGatewayId)
        group.insert(gatewayIdKey, gatewayIdEdit->text());
    group.insert(serverAddressKey, serverAddressEdit->text());
    group.insert(upPortKey, textToInt(upPortEdit->text()));
    group.insert(downPortKey, textToInt(downPortEdit->text()));
    group.insert(planKey, frequencyPlanBox->currentText());
    gpsBox->putSettings(group);
    group.insert(antennaGainKey, textToInt(antennaGainEdit->text()));
    group.insert(keepaliveKey, textToInt(keepaliveEdit->text()));
    for (int channel = 0; channel < channelCount; ++channel) {
        const ChannelsBox *box = channelBoxes[channel];
        group.insert(channelKey(channel, 1), box->channelEnabled());
        group.insert(channelKey(channel, 2), box->channelRadio());
        group.insert(channelKey(channel, 3), box->channelFrequency());
    }
    return unshownKeys.addedTo(group);
}

void LoRaSettings::setGatewayId(QString id)
{
    gatewayIdEdit->setText(id);
}

void LoRaSettings::restrictCustomPlan(bool restricted)
{
    setFlag(frequencyPlanBox, PlanCustom, !restricted);
    frequencyPlanBox->setCurrentIndex(0);
}

void LoRaSettings::hideGpsBox(bool hide)
{
    gpsBox->setHidden(hide);
    gpsBox->setFieldsCounted(!hide);
}

void LoRaSettings::useLocalServer(bool state)
{
    if (serverAddressEdit->text().isEmpty() || upPortEdit->text().isEmpty()
        || downPortEdit->text().isEmpty())
        return;
    if (state) {
        savedServerAddress = serverAddressEdit->text();
        savedUpPort = upPortEdit->text();
        serverAddressEdit->setText(localServerAddress);
        upPortEdit->setText(localServerPort);
        downPortEdit->setText(localServerPort);
        return;
    }
    if (savedServerAddress.isEmpty() && savedUpPort.isEmpty())
        return;
    serverAddressEdit->setText(savedServerAddress);
    // Only the up port is remembered; both ports get it back.
    upPortEdit->setText(savedUpPort);
    downPortEdit->setText(savedUpPort);
}

void LoRaSettings::lockGwID()
{
    gatewayIdEdit->setReadOnly(true);
    gatewayIdEdit->setCursor(Qt::WhatsThisCursor);
    gatewayIdEdit->setToolTip(tr("Двойной клик для редактирования."));
}

void LoRaSettings::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        if (QWidget *focused = QApplication::focusWidget()) {
            focused->clearFocus();
            lockGwID();
        }
    }
    QWidget::mousePressEvent(event);
}

void LoRaSettings::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const ResizeScale s(QSize(referenceWidthPx, referenceHeightPx), size());

    connectionGroup->setGeometry(20, 30, s.x(871), s.y(61));
    const int rowY = s.y(25);
    idLabel->setGeometry(20, rowY, 111, 21);
    gatewayIdEdit->setGeometry(140, rowY, s.x(111), 24);
    addressLabel->setGeometry(s.x(280), rowY, 81, 21);
    serverAddressEdit->setGeometry(s.x(370), rowY, s.x(111), 24);
    upPortLabel->setGeometry(s.x(510), rowY, 81, 21);
    upPortEdit->setGeometry(s.x(600), rowY, s.x(41), 24);
    downPortLabel->setGeometry(s.x(660), rowY, 81, 21);
    downPortEdit->setGeometry(s.x(750), rowY, s.x(41), 24);

    gpsBox->setGeometry(20, s.y(110), s.x(621), s.y(91));
    otherGroup->setGeometry(s.x(660), s.y(110), 231, s.y(91));
    gainLabel->setGeometry(10, s.y(30), 111, 21);
    antennaGainEdit->setGeometry(140, s.y(30), 81, 24);
    keepaliveLabel->setGeometry(10, s.y(60), 121, 21);
    keepaliveEdit->setGeometry(140, s.y(60), 81, 24);

    frequencyPlanBox->setGeometry(20, s.y(220), 201, 24);
    showFrequenciesBox->setGeometry(250, s.y(220), 181, 22);
    frequencyGroup->setGeometry(20, s.y(250), s.x(871), s.y(291));
    for (int channel = 0; channel < channelCount; ++channel) {
        const int column = channel % channelsPerRow;
        const int x = column == 0 ? channelColumnXPx[0] : s.x(channelColumnXPx[column]);
        const int y = channel < channelsPerRow ? channelFirstRowYPx : s.y(channelSecondRowYPx);
        channelBoxes[channel]->setGeometry(x, y, s.x(channelWidthPx), s.y(channelHeightPx));
    }
}

void LoRaSettings::validatorID(QString Text)
{
    Q_UNUSED(Text)
    FieldValidation::instance().markField(gatewayIdEdit, idLabel->text());
}

void LoRaSettings::validatorIP(QString Text)
{
    Q_UNUSED(Text)
    FieldValidation::instance().markField(serverAddressEdit, addressLabel->text());
}

void LoRaSettings::validatorUpPort(QString Text)
{
    Q_UNUSED(Text)
    FieldValidation::instance().markField(upPortEdit, upPortLabel->text());
}

void LoRaSettings::validatorDownPort(QString Text)
{
    Q_UNUSED(Text)
    FieldValidation::instance().markField(downPortEdit, downPortLabel->text());
}

void LoRaSettings::setFrequency(QString Text)
{
    const int index = frequencyPlanBox->findText(Text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0)
        return;
    const auto plan = frequencyPlanBox->itemData(index).value<FreqType>();
    const QList<ChannelSettings> presets = defaultChannels(plan);
    for (int channel = 0; channel < presets.size() && channel < channelCount; ++channel)
        channelBoxes[channel]->setChannel(presets[channel].enabled, presets[channel].radio,
                                          presets[channel].frequency);
    frequencyPlanBox->setCurrentIndex(index);
}

void LoRaSettings::editGwID()
{
    // The line edit resets its cursor when it turns editable; the hint cursor stays.
    const QCursor hintCursor = gatewayIdEdit->cursor();
    gatewayIdEdit->setReadOnly(false);
    gatewayIdEdit->setCursor(hintCursor);
}

void LoRaSettings::switchCustomPlan(QString Text)
{
    Q_UNUSED(Text)
    frequencyPlanBox->setCurrentIndex(frequencyPlanBox->findData(int(PlanCustom)));
}

void LoRaSettings::showFrequencyGroup(int state)
{
    if (state == Qt::Checked)
        frequencyGroup->show();
    else if (state == Qt::Unchecked)
        frequencyGroup->hide();
}
