#include "lora/lorasettings.h"
#include "lora/stacklorasettings.h"
#include "pagekit/fieldvalidation.h"
#include "widgetcheck.h"

#include <QCheckBox>
#include <QComboBox>
#include <QJsonDocument>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QtTest>

namespace {
QJsonObject json(const QByteArray &text)
{
    return QJsonDocument::fromJson(text).object();
}

LoRaSettings *page(StackLoRaSettings &stack, int module)
{
    return stack.findChild<LoRaSettings *>(QStringLiteral("module%1Page").arg(module));
}

QLineEdit *field(LoRaSettings *page, const char *name)
{
    return page->findChild<QLineEdit *>(QString::fromLatin1(name));
}

QComboBox *planBox(LoRaSettings *page)
{
    return page->findChild<QComboBox *>(QStringLiteral("frequencyPlanBox"));
}

bool customSelectable(LoRaSettings *page)
{
    return qobject_cast<QStandardItemModel *>(planBox(page)->model())->item(5)->isEnabled();
}

QStackedWidget *pages(StackLoRaSettings &stack)
{
    return stack.findChild<QStackedWidget *>(QStringLiteral("pagesStack"));
}

const QByteArray twoModules = R"({"100":{"110":"AA555A0000000101","111":"one.example","112":1700,)"
                              R"("113":1700,"121":"EU868"},)"
                              R"("150":{"110":"AA555A0000000202","111":"two.example","112":1800,)"
                              R"("113":1801,"121":"KZ868"}})";
} // namespace

class TestStackLoRaSettings : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void hiddenGpsDoesNotBlockApply();

    void modelStates_data();
    void modelStates();
    void destroyedInvalidFieldIsForgotten_data();
    void destroyedInvalidFieldIsForgotten();
    void settingsGoToTheirModules_data();
    void settingsGoToTheirModules();
    void setSettingsShowsModule1();
    void gatewayIdsOnly_data();
    void gatewayIdsOnly();
    void unshownKeysTravel_data();
    void unshownKeysTravel();
    void coreVersion_data();
    void coreVersion();
    void moduleStateAndDoubleModuleClicks();
    void resizeWidensStack_data();
    void resizeWidensStack();
    void rendersWithoutOverlaps();
};

void TestStackLoRaSettings::hiddenGpsDoesNotBlockApply()
{
    StackLoRaSettings stack;
    stack.setDeviceType(1);
    QLineEdit *latitude = field(page(stack, 1), "latitudeEdit");
    latitude->setText(QStringLiteral("55."));
    QVERIFY(!FieldValidation::instance().fieldsValid());

    stack.setDeviceType(0);
    QVERIFY(FieldValidation::instance().fieldsValid());

    stack.setDeviceType(1);
    QCOMPARE(FieldValidation::instance().invalidFields(), QStringLiteral("Широта\n"));
}

void TestStackLoRaSettings::init()
{
    FieldValidation::instance().reset();
}

void TestStackLoRaSettings::modelStates_data()
{
    QTest::addColumn<QList<int>>("codes");
    QTest::addColumn<bool>("secondModule");
    QTest::addColumn<bool>("gpsHidden");
    QTest::addColumn<QStringList>("groups");

    QTest::newRow("0") << QList<int>{0} << false << true << QStringList{"100"};
    QTest::newRow("1") << QList<int>{1} << false << false << QStringList{"100"};
    QTest::newRow("2") << QList<int>{2} << true << false << QStringList{"100", "150"};
    QTest::newRow("3") << QList<int>{3} << true << false << QStringList{"100", "150"};
    QTest::newRow("2 then 1") << QList<int>{2, 1} << false << false << QStringList{"100"};
    QTest::newRow("3 then 0") << QList<int>{3, 0} << false << true << QStringList{"100"};
    QTest::newRow("0 then 3") << QList<int>{0, 3} << true << false << QStringList{"100", "150"};
    QTest::newRow("1, 2, 3, 1, 2")
            << QList<int>{1, 2, 3, 1, 2} << true << false << QStringList{"100", "150"};
    // Unknown codes keep the second page but no longer send it.
    QTest::newRow("3 then 4") << QList<int>{3, 4} << true << false << QStringList{"100"};
}

void TestStackLoRaSettings::modelStates()
{
    QFETCH(QList<int>, codes);
    QFETCH(bool, secondModule);
    QFETCH(bool, gpsHidden);
    QFETCH(QStringList, groups);

    StackLoRaSettings stack;
    stack.resize(905, 582);
    stack.show();
    for (int code : codes)
        stack.setDeviceType(code);

    QCOMPARE(stack.deviceType, codes.last());
    QCOMPARE(page(stack, 2) != nullptr, secondModule);
    QCOMPARE(pages(stack)->count(), secondModule ? 2 : 1);
    for (const char *control : {"bothModulesBox", "module1Button", "module2Button"}) {
        auto *widget = stack.findChild<QWidget *>(QString::fromLatin1(control));
        QCOMPARE(widget != nullptr, secondModule);
        if (widget)
            QVERIFY(widget->isVisible());
    }
    QCOMPARE(page(stack, 1)->findChild<QWidget *>(QStringLiteral("gpsBox"))->isHidden(), gpsHidden);
    QCOMPARE(stack.getSettings(true).keys(), groups);
    QCOMPARE(pages(stack)->currentIndex(), 0);
}

void TestStackLoRaSettings::destroyedInvalidFieldIsForgotten_data()
{
    QTest::addColumn<bool>("module1Invalid");
    QTest::addColumn<QString>("invalidAfter");

    QTest::newRow("only module 2 invalid") << false << "";
    QTest::newRow("both modules invalid") << true << "Адрес сервера\n";
}

void TestStackLoRaSettings::destroyedInvalidFieldIsForgotten()
{
    QFETCH(bool, module1Invalid);
    QFETCH(QString, invalidAfter);

    StackLoRaSettings stack;
    stack.setDeviceType(2);
    field(page(stack, 2), "serverAddressEdit")->setText(QStringLiteral("server"));
    if (module1Invalid)
        field(page(stack, 1), "serverAddressEdit")->setText(QStringLiteral("server"));
    QVERIFY(!FieldValidation::instance().fieldsValid());

    stack.setDeviceType(1);
    QCOMPARE(FieldValidation::instance().fieldsValid(), invalidAfter.isEmpty());
    QCOMPARE(FieldValidation::instance().invalidFields(), invalidAfter);
}

void TestStackLoRaSettings::settingsGoToTheirModules_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QByteArray>("document");
    QTest::addColumn<QByteArray>("module1");
    QTest::addColumn<QByteArray>("module2"); // empty: no second group

    QTest::newRow("model 3, both groups")
            << 3 << twoModules << QByteArray("one.example 1700") << QByteArray("two.example 1800");
    QTest::newRow("model 3, no group 150") << 3 << QByteArray(R"({"100":{"111":"a.b","112":5}})")
                                           << QByteArray("a.b 5") << QByteArray(" 0");
    QTest::newRow("model 1 ignores 150")
            << 1 << twoModules << QByteArray("one.example 1700") << QByteArray();
    QTest::newRow("model 2, empty document")
            << 2 << QByteArray("{}") << QByteArray(" 0") << QByteArray(" 0");
}

void TestStackLoRaSettings::settingsGoToTheirModules()
{
    QFETCH(int, code);
    QFETCH(QByteArray, document);
    QFETCH(QByteArray, module1);
    QFETCH(QByteArray, module2);

    StackLoRaSettings stack;
    stack.setDeviceType(code);
    stack.setSettings(json(twoModules), true);
    stack.setSettings(json(document), true);

    const QJsonObject result = stack.getSettings(true);
    auto describe = [](const QJsonObject &group) {
        return QStringLiteral("%1 %2")
                .arg(group.value(QStringLiteral("111")).toString())
                .arg(group.value(QStringLiteral("112")).toInt())
                .toUtf8();
    };
    QCOMPARE(describe(result.value(QStringLiteral("100")).toObject()), module1);
    QCOMPARE(result.contains(QStringLiteral("150")), !module2.isEmpty());
    if (!module2.isEmpty()) {
        const QJsonObject second = result.value(QStringLiteral("150")).toObject();
        QCOMPARE(describe(second), module2);
        QVERIFY(second.value(QStringLiteral("112")).isDouble());
        QCOMPARE(second.size(), 36);
    }
    QVERIFY(!stack.getSettings(false)
                     .value(QStringLiteral("100"))
                     .toObject()
                     .contains(QStringLiteral("110")));
}

void TestStackLoRaSettings::setSettingsShowsModule1()
{
    StackLoRaSettings stack;
    stack.resize(905, 582);
    stack.setDeviceType(3);
    stack.show();
    QVERIFY(QTest::qWaitForWindowExposed(&stack));
    auto *button1 = stack.findChild<QRadioButton *>(QStringLiteral("module1Button"));
    auto *button2 = stack.findChild<QRadioButton *>(QStringLiteral("module2Button"));
    QTest::mouseClick(button2, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(pages(stack)->currentIndex(), 1);

    stack.setSettings(json(twoModules), true);
    QCOMPARE(pages(stack)->currentIndex(), 0);
    QVERIFY(button1->isChecked());
    QVERIFY(!button2->isChecked());
}

void TestStackLoRaSettings::gatewayIdsOnly_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("id2");

    QTest::newRow("model 2") << 2 << "AA555A0000000202";
    QTest::newRow("model 1") << 1 << "";
}

void TestStackLoRaSettings::gatewayIdsOnly()
{
    QFETCH(int, code);
    QFETCH(QString, id2);

    StackLoRaSettings stack;
    stack.setDeviceType(code);
    QJsonObject held = json(twoModules);
    QJsonObject one = held.value(QStringLiteral("100")).toObject();
    one.insert(QStringLiteral("110"), QStringLiteral("0000000000000000"));
    one.insert(QStringLiteral("111"), QStringLiteral("held.example"));
    held.insert(QStringLiteral("100"), one);
    stack.setSettings(held, true);

    stack.setGatewayIds(json(twoModules));
    QCOMPARE(field(page(stack, 1), "gatewayIdEdit")->text(), QStringLiteral("AA555A0000000101"));
    QCOMPARE(field(page(stack, 1), "serverAddressEdit")->text(), QStringLiteral("held.example"));
    if (page(stack, 2))
        QCOMPARE(field(page(stack, 2), "gatewayIdEdit")->text(), id2);
}

void TestStackLoRaSettings::unshownKeysTravel_data()
{
    QTest::addColumn<bool>("withGatewayId");
    QTest::addColumn<bool>("fromPreset");

    QTest::newRow("apply") << true << false;
    QTest::newRow("preset saved after a read") << false << false;
    QTest::newRow("preset loaded and saved again") << false << true;
}

// A newer core's keys go back as they came; the gateway identifier keeps its own rule.
void TestStackLoRaSettings::unshownKeysTravel()
{
    QFETCH(bool, withGatewayId);
    QFETCH(bool, fromPreset);

    StackLoRaSettings stack;
    stack.setDeviceType(3);
    const QJsonObject document = json(R"({"100":{"110":"AA555A0000000101","114":"new"},)"
                                      R"("150":{"110":"AA555A0000000202","160":{"1":true}}})");
    stack.setSettings(document, !fromPreset);
    const QJsonObject sent = stack.getSettings(withGatewayId);

    QCOMPARE(sent["100"]["114"], document["100"]["114"]);
    QCOMPARE(sent["150"]["160"], document["150"]["160"]);
    QCOMPARE(sent["100"].toObject().contains("110"), withGatewayId);
    QCOMPARE(sent["150"].toObject().contains("110"), withGatewayId);
}

void TestStackLoRaSettings::coreVersion_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<bool>("customOffered");

    QTest::newRow("1.2.0") << "1.2.0" << true;
    QTest::newRow("1.1.1") << "1.1.1" << false;
    QTest::newRow("2.10") << "2.10" << true;
    QTest::newRow("no minor") << "1" << false;
    QTest::newRow("minor not a number") << "1.x.0" << false;
    QTest::newRow("minor with blanks") << "1. 3 .0" << true;
}

void TestStackLoRaSettings::coreVersion()
{
    QFETCH(QString, version);
    QFETCH(bool, customOffered);

    StackLoRaSettings stack;
    stack.setDeviceType(3);
    stack.setSettings(json(twoModules), true);
    QCOMPARE(planBox(page(stack, 2))->currentText(), QStringLiteral("KZ868"));

    stack.setCoreVersion(version);
    for (int module : {1, 2}) {
        QCOMPARE(customSelectable(page(stack, module)), customOffered);
        QCOMPARE(planBox(page(stack, module))->currentText(), QStringLiteral("RU868_SB1"));
        QCOMPARE(page(stack, module)->getSettings(false).value(QStringLiteral("ch0_3")).toInt(),
                 864100000);
    }
    QCOMPARE(field(page(stack, 2), "serverAddressEdit")->text(), QStringLiteral("two.example"));
}

void TestStackLoRaSettings::moduleStateAndDoubleModuleClicks()
{
    StackLoRaSettings stack;
    stack.resize(905, 582);
    stack.setDeviceType(2);
    stack.show();
    QVERIFY(QTest::qWaitForWindowExposed(&stack));
    QSignalSpy doubleModule(&stack, &StackLoRaSettings::useDoubleModule);
    QVERIFY(doubleModule.isValid());
    auto *box = stack.findChild<QCheckBox *>(QStringLiteral("bothModulesBox"));

    stack.setModuleState(true);
    QVERIFY(box->isChecked());
    QCOMPARE(doubleModule.count(), 0);

    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, 10));
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, 10));
    QCOMPARE(doubleModule.count(), 2);
    QCOMPARE(doubleModule.at(0).at(0).toBool(), false);
    QCOMPARE(doubleModule.at(1).at(0).toBool(), true);

    stack.setDeviceType(1);
    stack.setModuleState(false);
    QCOMPARE(doubleModule.count(), 2);
    QVERIFY(!stack.findChild<QCheckBox *>(QStringLiteral("bothModulesBox")));
}

void TestStackLoRaSettings::resizeWidensStack_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QRect>("stackGeometry");

    QTest::newRow("larger") << QSize(1200, 777) << QRect(0, 0, 1206, 777);
}

void TestStackLoRaSettings::resizeWidensStack()
{
    QFETCH(QSize, size);
    QFETCH(QRect, stackGeometry);

    StackLoRaSettings stack;
    stack.setDeviceType(2);
    stack.resize(size);
    stack.show();
    QVERIFY(QTest::qWaitForWindowExposed(&stack));
    QCOMPARE(pages(stack)->geometry(), stackGeometry);
    QCOMPARE(page(stack, 1)->size(), stackGeometry.size());
}

void TestStackLoRaSettings::rendersWithoutOverlaps()
{
    StackLoRaSettings stack;
    stack.resize(905, 582);
    stack.setDeviceType(3);
    stack.setSettings(json(twoModules), true);
    stack.show();
    QVERIFY(QTest::qWaitForWindowExposed(&stack));

    // The module controls sit in the top strip of the pages on purpose.
    QCOMPARE(WidgetCheck::overlappingSiblings(&stack, {QStringLiteral("pagesStack")}),
             QStringList());
    const QStringList outside = WidgetCheck::outsideParent(&stack);
    QCOMPARE(outside.size(), 1);
    QVERIFY(outside.first().startsWith(QLatin1String("pagesStack(0,0 911x582)")));
}

QTEST_MAIN(TestStackLoRaSettings)
#include "tst_stacklorasettings.moc"
