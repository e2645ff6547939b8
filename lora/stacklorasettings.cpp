#include "lora/stacklorasettings.h"

#include "lora/lorasettings.h"
#include "pagekit/fieldkeys.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QResizeEvent>
#include <QStackedWidget>

namespace {
const QString module1Key = QStringLiteral("100");
const QString module2Key = QStringLiteral("150");
const QString gatewayIdKey = QStringLiteral("110");

constexpr int modelWithoutGps = 0;
constexpr int modelSingleModule = 1;
constexpr int modelTwoModules = 2;
constexpr int modelTwoModulesMax = 3;
// Core versions from x.2 on know the "Custom" plan.
constexpr int firstMinorWithCustomPlan = 2;

bool isTwoModuleModel(int code)
{
    return code == modelTwoModules || code == modelTwoModulesMax;
}
} // namespace

StackLoRaSettings::StackLoRaSettings(QWidget *parent)
    : QWidget(parent), pagesStack(new QStackedWidget(this)),
      module1Page(new LoRaSettings(pagesStack))
{
    pagesStack->setObjectName(QStringLiteral("pagesStack"));
    pagesStack->setGeometry(0, 0, referenceWidthPx + stackExtraWidthPx, referenceHeightPx);
    module1Page->setObjectName(QStringLiteral("module1Page"));
    FieldKeys::setGroup(module1Page, module1Key);
    pagesStack->addWidget(module1Page);
    pagesStack->show();
}

void StackLoRaSettings::setDeviceType(int code)
{
    module1Page->hideGpsBox(false);
    if (isTwoModuleModel(code) && !module2Page) {
        bothModulesBox = new QCheckBox(tr("Использовать оба модуля"), this);
        bothModulesBox->setObjectName(QStringLiteral("bothModulesBox"));
        bothModulesBox->setGeometry(530, 5, 171, 22);
        module1Button = new QRadioButton(tr("Модуль 1"), this);
        module1Button->setObjectName(QStringLiteral("module1Button"));
        module1Button->setAutoExclusive(true);
        module1Button->setGeometry(710, 5, 81, 22);
        module1Button->setChecked(true);
        module2Button = new QRadioButton(tr("Модуль 2"), this);
        module2Button->setObjectName(QStringLiteral("module2Button"));
        module2Button->setAutoExclusive(true);
        module2Button->setGeometry(800, 5, 81, 22);
        bothModulesBox->show();
        module1Button->show();
        module2Button->show();

        connect(module1Button, &QRadioButton::clicked, this,
                &StackLoRaSettings::selectModule1Settings);
        connect(module2Button, &QRadioButton::clicked, this,
                &StackLoRaSettings::selectModule2Settings);
        connect(bothModulesBox, &QCheckBox::clicked, this, &StackLoRaSettings::useDoubleModule);

        module2Page = new LoRaSettings(pagesStack);
        module2Page->setObjectName(QStringLiteral("module2Page"));
        FieldKeys::setGroup(module2Page, module2Key);
        pagesStack->addWidget(module2Page);
        pagesStack->setCurrentIndex(0);
    } else if (code == modelWithoutGps || code == modelSingleModule) {
        if (module2Page) {
            pagesStack->removeWidget(module2Page);
            delete module2Page;
            delete bothModulesBox;
            delete module1Button;
            delete module2Button;
            module2Page = nullptr;
            bothModulesBox = nullptr;
            module1Button = nullptr;
            module2Button = nullptr;
        }
        if (code == modelWithoutGps)
            module1Page->hideGpsBox(true);
    }
    deviceType = code;
}

void StackLoRaSettings::setSettings(QJsonObject document, bool withGatewayId)
{
    module1Page->setSettings(document.value(module1Key).toObject(), withGatewayId);
    if (hasTwoModules()) {
        pagesStack->setCurrentIndex(0);
        module1Button->setChecked(true);
        module2Button->setChecked(false);
        module2Page->setSettings(document.value(module2Key).toObject(), withGatewayId);
    }
}

QJsonObject StackLoRaSettings::getSettings(bool withGatewayId) const
{
    QJsonObject document{{module1Key, module1Page->getSettings(withGatewayId)}};
    if (hasTwoModules())
        document.insert(module2Key, module2Page->getSettings(withGatewayId));
    return document;
}

void StackLoRaSettings::setGatewayIds(QJsonObject document)
{
    module1Page->setGatewayId(document.value(module1Key).toObject().value(gatewayIdKey).toString());
    if (hasTwoModules())
        module2Page->setGatewayId(
                document.value(module2Key).toObject().value(gatewayIdKey).toString());
}

void StackLoRaSettings::lockGwIDs()
{
    module1Page->lockGwID();
    if (hasTwoModules())
        module2Page->lockGwID();
}

void StackLoRaSettings::setCoreVersion(QString version)
{
    const QStringList parts = version.split(QLatin1Char('.'), Qt::KeepEmptyParts);
    // No second part, or one that is not a number, counts as minor 0.
    const int minor = parts.size() > 1 ? parts.at(1).toInt(nullptr, 10) : 0;
    const bool restricted = minor < firstMinorWithCustomPlan;
    module1Page->restrictCustomPlan(restricted);
    if (module2Page)
        module2Page->restrictCustomPlan(restricted);
}

void StackLoRaSettings::setModuleState(bool state)
{
    if (hasTwoModules())
        bothModulesBox->setChecked(state);
}

void StackLoRaSettings::useLocalServer(bool state)
{
    module1Page->useLocalServer(state);
    if (module2Page)
        module2Page->useLocalServer(state);
}

void StackLoRaSettings::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // The pages are designed 6 px wider than the tab gives them.
    pagesStack->resize(width() + stackExtraWidthPx, height());
}

void StackLoRaSettings::selectModule1Settings(bool state)
{
    Q_UNUSED(state)
    pagesStack->setCurrentIndex(0);
    module2Button->setChecked(false);
}

void StackLoRaSettings::selectModule2Settings(bool state)
{
    Q_UNUSED(state)
    pagesStack->setCurrentIndex(1);
    module1Button->setChecked(false);
}

bool StackLoRaSettings::hasTwoModules() const
{
    return isTwoModuleModel(deviceType) && module2Page;
}
