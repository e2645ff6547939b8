#include "lora/channelsbox.h"
#include "lora/gwidedit.h"
#include "lora/lorasettings.h"
#include "pagekit/fieldvalidation.h"
#include "widgetcheck.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QTranslator>
#include <QtTest>

namespace {
QJsonObject json(const QByteArray &text)
{
    return QJsonDocument::fromJson(text).object();
}

QByteArray compact(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

// A complete module group as the gateway sends it (keys in sorted order, as compact JSON
// writes them).
const QByteArray fullGroup = R"({"110":"AA555A0000000101","111":"lora.example.net","112":1700,)"
                             R"("113":1701,"121":"EU868","131":true,"132":false,"133":55.75,)"
                             R"("134":37.5,"135":150,"141":12,"142":30,)"
                             R"("ch0_1":true,"ch0_2":1,"ch0_3":868100000,)"
                             R"("ch1_1":true,"ch1_2":1,"ch1_3":868300000,)"
                             R"("ch2_1":false,"ch2_2":0,"ch2_3":868500000,)"
                             R"("ch3_1":true,"ch3_2":0,"ch3_3":867100000,)"
                             R"("ch4_1":true,"ch4_2":0,"ch4_3":867300000,)"
                             R"("ch5_1":true,"ch5_2":1,"ch5_3":867500000,)"
                             R"("ch6_1":true,"ch6_2":0,"ch6_3":867700000,)"
                             R"("ch7_1":true,"ch7_2":0,"ch7_3":869525000})";

QComboBox *planBox(LoRaSettings &page)
{
    return page.findChild<QComboBox *>(QStringLiteral("frequencyPlanBox"));
}

QLineEdit *edit(LoRaSettings &page, const char *name)
{
    return page.findChild<QLineEdit *>(QString::fromLatin1(name));
}

ChannelsBox *channel(LoRaSettings &page, int number)
{
    return page.findChild<ChannelsBox *>(QStringLiteral("channelBox%1").arg(number));
}

bool customSelectable(LoRaSettings &page)
{
    auto *model = qobject_cast<QStandardItemModel *>(planBox(page)->model());
    return model->item(5)->isEnabled();
}

// "on,0,864100000" -> enabled, radio, frequency
QString describeChannel(ChannelsBox *box)
{
    return QStringLiteral("%1,%2,%3")
            .arg(box->channelEnabled() ? QStringLiteral("on") : QStringLiteral("off"))
            .arg(box->channelRadio())
            .arg(box->channelFrequency());
}
} // namespace

class TestLoRaSettings : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void disabledChannelSetAside_data();
    void disabledChannelSetAside();

    void planSelector();
    void presets_data();
    void presets();
    void operatorEditSwitchesToCustom_data();
    void operatorEditSwitchesToCustom();
    void roundTrip_data();
    void roundTrip();
    void readingRules_data();
    void readingRules();
    void missingIdMarksField();
    void gatewayIdPattern_data();
    void gatewayIdPattern();
    void serverAddressPattern_data();
    void serverAddressPattern();
    void gatewayIdLocking_data();
    void gatewayIdLocking();
    void useLocalServer_data();
    void useLocalServer();
    void resizeScalesGeometry_data();
    void resizeScalesGeometry();
    void englishCatalogue_data();
    void englishCatalogue();
    void rendersWithoutOverlaps();
};

void TestLoRaSettings::init()
{
    FieldValidation::instance().reset();
}

void TestLoRaSettings::planSelector()
{
    LoRaSettings page;
    QComboBox *box = planBox(page);
    const QStringList names{QStringLiteral("RU868_SB1"), QStringLiteral("RU868_SB2"),
                            QStringLiteral("RU868_SB3"), QStringLiteral("EU868"),
                            QStringLiteral("KZ868"),     QStringLiteral("Custom")};
    QCOMPARE(box->count(), names.size());
    for (int i = 0; i < names.size(); ++i) {
        QCOMPARE(box->itemText(i), names.at(i));
        QCOMPARE(box->itemData(i).toInt(), i);
        QCOMPARE(int(box->itemData(i).value<LoRaSettings::FreqType>()), i);
    }
    QCOMPARE(box->currentIndex(), 0);
    QVERIFY(!customSelectable(page));
    QCOMPARE(sizeof(LoRaSettings::FreqType), size_t(4));
    QCOMPARE(describeChannel(channel(page, 0)), QStringLiteral("on,0,864100000"));
}

void TestLoRaSettings::presets_data()
{
    QTest::addColumn<QString>("plan");
    QTest::addColumn<QStringList>("channels");

    QTest::newRow("RU868_SB1") << "RU868_SB1"
                               << QStringList{"on,0,864100000", "on,0,864300000", "on,0,864500000",
                                              "on,0,864700000", "on,0,864900000", "on,1,868900000",
                                              "on,1,869100000", "off,0,864900000"};
    QTest::newRow("RU868_SB2") << "RU868_SB2"
                               << QStringList{"on,0,866100000", "on,0,866300000", "on,0,866500000",
                                              "on,0,866700000", "on,0,866900000", "on,1,868900000",
                                              "on,1,869100000", "off,0,866900000"};
    QTest::newRow("RU868_SB3") << "RU868_SB3"
                               << QStringList{"on,0,867100000", "on,0,867300000", "on,0,867500000",
                                              "on,0,867700000", "on,0,867900000", "on,1,868900000",
                                              "on,1,869100000", "off,0,867900000"};
    QTest::newRow("EU868") << "EU868"
                           << QStringList{"on,1,868100000", "on,1,868300000", "on,1,868500000",
                                          "on,0,867100000", "on,0,867300000", "on,0,867500000",
                                          "on,0,867700000", "on,0,867900000"};
    QTest::newRow("KZ868") << "KZ868"
                           << QStringList{"on,0,865100000", "on,0,865300000", "on,0,865500000",
                                          "on,1,867100000", "on,1,867300000", "on,1,867500000",
                                          "on,1,867700000", "on,1,867900000"};
}

void TestLoRaSettings::presets()
{
    QFETCH(QString, plan);
    QFETCH(QStringList, channels);

    LoRaSettings page;
    QComboBox *box = planBox(page);
    // Leave the plan first, so that choosing it is a real change.
    box->setCurrentText(plan == QLatin1String("KZ868") ? QStringLiteral("EU868")
                                                       : QStringLiteral("KZ868"));
    for (int i = 0; i < LoRaSettings::channelCount; ++i)
        channel(page, i)->setChannel(i % 2 == 0, i % 2, 100000000 + i);

    box->setCurrentText(plan);
    QCOMPARE(box->currentText(), plan);
    QStringList shown;
    for (int i = 0; i < LoRaSettings::channelCount; ++i)
        shown.append(describeChannel(channel(page, i)));
    QCOMPARE(shown, channels);

    // The same presets travel in the document.
    const QJsonObject group = page.getSettings(false);
    for (int i = 0; i < LoRaSettings::channelCount; ++i) {
        const QStringList cell = channels.at(i).split(QLatin1Char(','));
        QCOMPARE(group.value(QStringLiteral("ch%1_1").arg(i)), QJsonValue(cell.at(0) == "on"));
        QCOMPARE(group.value(QStringLiteral("ch%1_2").arg(i)), QJsonValue(cell.at(1).toInt()));
        QCOMPARE(group.value(QStringLiteral("ch%1_3").arg(i)), QJsonValue(cell.at(2).toInt()));
    }
    QCOMPARE(FieldValidation::instance().invalidFields(), QString());
}

void TestLoRaSettings::operatorEditSwitchesToCustom_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("plan");

    QTest::newRow("digit typed in channel 6") << "type"
                                              << "Custom";
    QTest::newRow("digit deleted in channel 0") << "delete"
                                                << "Custom";
    QTest::newRow("same text from a document") << "document"
                                               << "EU868";
    QTest::newRow("radio button clicked") << "radio"
                                          << "EU868";
    QTest::newRow("enable box clicked") << "enable"
                                        << "EU868";
}

void TestLoRaSettings::operatorEditSwitchesToCustom()
{
    QFETCH(QString, action);
    QFETCH(QString, plan);

    LoRaSettings page;
    page.resize(905, 582);
    page.show();
    page.findChild<QCheckBox *>(QStringLiteral("showFrequenciesBox"))->click();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    planBox(page)->setCurrentText(QStringLiteral("EU868"));
    // Custom is not offered by this core, yet an edit still selects it.
    QVERIFY(!customSelectable(page));

    if (action == QLatin1String("type")) {
        QLineEdit *field = channel(page, 6)->findChild<QLineEdit *>();
        field->setText(QStringLiteral("86770000"));
        field->end(false);
        QTest::keyClicks(field, QStringLiteral("5"));
        QCOMPARE(field->text(), QStringLiteral("867700005"));
    } else if (action == QLatin1String("delete")) {
        QLineEdit *field = channel(page, 0)->findChild<QLineEdit *>();
        field->end(false);
        QTest::keyClick(field, Qt::Key_Backspace);
    } else if (action == QLatin1String("document")) {
        QJsonObject group = json(fullGroup);
        group.insert(QStringLiteral("ch6_3"), 867700005);
        page.setSettings(group, true);
    } else if (action == QLatin1String("radio")) {
        QTest::mouseClick(channel(page, 3)->findChildren<QRadioButton *>().at(1), Qt::LeftButton,
                          {}, QPoint(5, 5));
    } else if (action == QLatin1String("enable")) {
        channel(page, 3)->findChild<QCheckBox *>()->click();
    }

    QCOMPARE(planBox(page)->currentText(), plan);
    QCOMPARE(page.getSettings(false).value(QStringLiteral("121")).toString(), plan);
}

void TestLoRaSettings::roundTrip_data()
{
    QTest::addColumn<QByteArray>("group");
    QTest::addColumn<bool>("withGatewayId");
    QTest::addColumn<QByteArray>("expected");

    QByteArray withoutId = fullGroup;
    withoutId.replace(R"("110":"AA555A0000000101",)", "");

    QTest::newRow("from the gateway") << fullGroup << true << fullGroup;
    QTest::newRow("preset file") << fullGroup << false << withoutId;
    QByteArray custom = fullGroup;
    custom.replace(R"("121":"EU868")", R"("121":"Custom")");
    QTest::newRow("custom plan while not offered") << custom << true << custom;
    QByteArray unknownPlan = fullGroup;
    unknownPlan.replace(R"("121":"EU868")", R"("121":"eu868")");
    QByteArray noPlan = fullGroup;
    noPlan.replace(R"("121":"EU868")", R"("121":"")");
    QTest::newRow("plan name of another case") << unknownPlan << true << noPlan;
}

void TestLoRaSettings::roundTrip()
{
    QFETCH(QByteArray, group);
    QFETCH(bool, withGatewayId);
    QFETCH(QByteArray, expected);

    LoRaSettings page;
    page.setSettings(json(group), withGatewayId);
    QCOMPARE(compact(page.getSettings(withGatewayId)), expected);
    // A document's plan never refills the channels it brings along.
    QCOMPARE(describeChannel(channel(page, 7)), QStringLiteral("on,0,869525000"));
    QCOMPARE(describeChannel(channel(page, 2)), QStringLiteral("off,0,868500000"));
}

void TestLoRaSettings::readingRules_data()
{
    QTest::addColumn<QByteArray>("group");
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("upPort");
    QTest::addColumn<QString>("gain");
    QTest::addColumn<QByteArray>("written"); // selected keys of getSettings(true)

    QTest::newRow("empty group") << QByteArray("{}") << ""
                                 << ""
                                 << "0"
                                 << "0"
                                 << QByteArray(R"({"110":"","111":"","112":0,"121":"","141":0})");
    QTest::newRow("mistyped values")
            << QByteArray(R"({"110":12,"111":false,"112":"1700","121":5,"141":12.5})") << ""
            << ""
            << "0"
            << "0" << QByteArray(R"({"110":"","111":"","112":0,"121":"","141":0})");
    QTest::newRow("plain values") << QByteArray(R"({"110":"00AA","111":"localhost","112":99999,)"
                                                R"("121":"KZ868","141":120})")
                                  << "00AA"
                                  << "localhost"
                                  << "99999"
                                  << "120"
                                  << QByteArray(R"({"110":"00AA","111":"localhost","112":99999,)"
                                                R"("121":"KZ868","141":120})");
}

void TestLoRaSettings::readingRules()
{
    QFETCH(QByteArray, group);
    QFETCH(QString, id);
    QFETCH(QString, address);
    QFETCH(QString, upPort);
    QFETCH(QString, gain);
    QFETCH(QByteArray, written);

    LoRaSettings page;
    page.setSettings(json(fullGroup), true);
    page.setSettings(json(group), true);
    QCOMPARE(edit(page, "gatewayIdEdit")->text(), id);
    QCOMPARE(edit(page, "serverAddressEdit")->text(), address);
    QCOMPARE(edit(page, "upPortEdit")->text(), upPort);
    QCOMPARE(edit(page, "antennaGainEdit")->text(), gain);

    const QJsonObject all = page.getSettings(true);
    QJsonObject picked;
    for (const QString &key : json(written).keys())
        picked.insert(key, all.value(key));
    QCOMPARE(compact(picked), written);
    QCOMPARE(all.size(), 7 + 5 + 24);
}

void TestLoRaSettings::missingIdMarksField()
{
    LoRaSettings page;
    page.setSettings(json(fullGroup), true);
    QVERIFY(FieldValidation::instance().fieldsValid());

    QJsonObject group = json(fullGroup);
    group.remove(QStringLiteral("110"));
    page.setSettings(group, false);
    QCOMPARE(edit(page, "gatewayIdEdit")->text(), QStringLiteral("AA555A0000000101"));
    QVERIFY(FieldValidation::instance().fieldsValid());

    page.setSettings(group, true);
    QCOMPARE(edit(page, "gatewayIdEdit")->text(), QString());
    QCOMPARE(FieldValidation::instance().invalidFields(), QStringLiteral("ID Базовой станции\n"));
    QCOMPARE(edit(page, "gatewayIdEdit")->styleSheet(), FieldValidation::invalidFieldStyle);

    page.setGatewayId(QStringLiteral("0123456789abcdef"));
    QVERIFY(FieldValidation::instance().fieldsValid());
    QCOMPARE(page.getSettings(true).value(QStringLiteral("110")).toString(),
             QStringLiteral("0123456789abcdef"));
}

void TestLoRaSettings::gatewayIdPattern_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("valid");

    QTest::newRow("hex digits") << "0123456789abcdef"
                                << "0123456789abcdef" << true;
    QTest::newRow("sixteen Z") << "ZZZZZZZZZZZZZZZZ"
                               << "ZZZZZZZZZZZZZZZZ" << true;
    QTest::newRow("seventeenth refused") << "ZZZZZZZZZZZZZZZZZ"
                                         << "ZZZZZZZZZZZZZZZZ" << true;
    QTest::newRow("signs between Z and a") << "[\\]^_`[\\]^_`AAAA"
                                           << "[\\]^_`[\\]^_`AAAA" << true;
    QTest::newRow("lower-case g refused") << "00000000g0000000"
                                          << "000000000000000" << false;
    QTest::newRow("fifteen characters") << "000000000000000"
                                        << "000000000000000" << false;
}

void TestLoRaSettings::gatewayIdPattern()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(bool, valid);

    LoRaSettings page;
    GWIDEdit *field = page.findChild<GWIDEdit *>(QStringLiteral("gatewayIdEdit"));
    QTest::mouseDClick(field, Qt::LeftButton);
    QVERIFY(!field->isReadOnly());
    QTest::keyClicks(field, typed);

    QCOMPARE(field->text(), shown);
    QCOMPARE(FieldValidation::instance().fieldsValid(), valid);
    QCOMPARE(FieldValidation::instance().invalidFields(),
             valid ? QString() : QStringLiteral("ID Базовой станции\n"));
}

void TestLoRaSettings::serverAddressPattern_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("valid");

    QTest::newRow("localhost") << "localhost" << true;
    QTest::newRow("IPv4") << "192.168.1.10" << true;
    QTest::newRow("host name") << "eu1.cloud.thethings.network" << true;
    QTest::newRow("any text with a dot") << "not really.an address" << true;
    QTest::newRow("IPv6 with zone") << "fe80::1%eth0" << true;
    QTest::newRow("one word") << "loraserver" << false;
    QTest::newRow("localhost with suffix") << "localhost1" << false;
    QTest::newRow("IPv6 without zone") << "fe80::1" << false;
    QTest::newRow("empty") << "" << false;
}

void TestLoRaSettings::serverAddressPattern()
{
    QFETCH(QString, address);
    QFETCH(bool, valid);

    LoRaSettings page;
    QLineEdit *field = edit(page, "serverAddressEdit");
    field->setText(QStringLiteral("x.y"));
    field->setText(address);
    QCOMPARE(field->hasAcceptableInput(), valid);
    QCOMPARE(FieldValidation::instance().invalidFields(),
             valid ? QString() : QStringLiteral("Адрес сервера\n"));
    QCOMPARE(field->styleSheet(),
             valid ? FieldValidation::validFieldStyle : FieldValidation::invalidFieldStyle);
}

void TestLoRaSettings::gatewayIdLocking_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<bool>("readOnly");

    QTest::newRow("at start") << "" << true;
    QTest::newRow("left double click") << "left-dclick" << false;
    QTest::newRow("right double click") << "right-dclick" << true;
    QTest::newRow("unlocked, page pressed while focused") << "left-dclick focus press" << true;
    QTest::newRow("unlocked, page pressed without focus") << "left-dclick nofocus press" << false;
}

void TestLoRaSettings::gatewayIdLocking()
{
    QFETCH(QString, steps);
    QFETCH(bool, readOnly);

    LoRaSettings page;
    page.resize(905, 582);
    page.show();
    page.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&page));
    GWIDEdit *field = page.findChild<GWIDEdit *>(QStringLiteral("gatewayIdEdit"));
    const QPoint freeArea(450, 15);

    for (const QString &step : steps.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (step == QLatin1String("left-dclick")) {
            QTest::mouseDClick(field, Qt::LeftButton);
        } else if (step == QLatin1String("right-dclick")) {
            QTest::mouseDClick(field, Qt::RightButton);
        } else if (step == QLatin1String("lock")) {
            page.lockGwID();
        } else if (step == QLatin1String("focus")) {
            field->setFocus();
            QTRY_VERIFY(field->hasFocus());
        } else if (step == QLatin1String("nofocus")) {
            if (QWidget *focused = QApplication::focusWidget())
                focused->clearFocus();
            QVERIFY(!QApplication::focusWidget());
        } else if (step == QLatin1String("press")) {
            QTest::mouseClick(&page, Qt::LeftButton, {}, freeArea);
        } else if (step == QLatin1String("right-press")) {
            QTest::mouseClick(&page, Qt::RightButton, {}, freeArea);
        }
    }

    QCOMPARE(field->isReadOnly(), readOnly);
    if (steps.contains(QLatin1String(" press")))
        QVERIFY(!field->hasFocus());
    // The hint stays whether locked or not.
    QCOMPARE(field->cursor().shape(), Qt::WhatsThisCursor);
    QCOMPARE(field->toolTip(), QStringLiteral("Двойной клик для редактирования."));
}

void TestLoRaSettings::useLocalServer_data()
{
    QTest::addColumn<QStringList>("fields"); // address, up port, down port
    QTest::addColumn<QString>("states");
    QTest::addColumn<QStringList>("shown");

    const QStringList filled{"lora.example.net", "1700", "1701"};
    QTest::newRow("on") << filled << "1" << QStringList{"127.0.0.1", "8001", "8001"};
    QTest::newRow("on, off") << filled << "10" << QStringList{"lora.example.net", "1700", "1700"};
    QTest::newRow("off without earlier on") << filled << "0" << filled;
    QTest::newRow("empty down port") << QStringList{"lora.example.net", "1700", ""} << "1"
                                     << QStringList{"lora.example.net", "1700", ""};
    QTest::newRow("empty address")
            << QStringList{"", "1700", "1701"} << "1" << QStringList{"", "1700", "1701"};
}

void TestLoRaSettings::useLocalServer()
{
    QFETCH(QStringList, fields);
    QFETCH(QString, states);
    QFETCH(QStringList, shown);

    LoRaSettings page;
    edit(page, "serverAddressEdit")->setText(fields.at(0));
    edit(page, "upPortEdit")->setText(fields.at(1));
    edit(page, "downPortEdit")->setText(fields.at(2));
    for (const QChar state : states)
        page.useLocalServer(state == QLatin1Char('1'));

    QCOMPARE((QStringList{edit(page, "serverAddressEdit")->text(), edit(page, "upPortEdit")->text(),
                          edit(page, "downPortEdit")->text()}),
             shown);
}

void TestLoRaSettings::resizeScalesGeometry_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QByteArray>("widget");
    QTest::addColumn<QRect>("geometry");

    // 911 x 582, as in the module stack: sx = 1.0066 -> 1.01, sy = 1
    const QSize inStack(911, 582);
    QTest::newRow("stack: connection group")
            << inStack << QByteArray("connectionGroup") << QRect(20, 30, 879, 61);
    // 1000 x 700: sx = 1.10497 -> 1.10, sy = 1.20275 -> 1.20
    const QSize larger(1000, 700);
    QTest::newRow("connection group")
            << larger << QByteArray("connectionGroup") << QRect(20, 30, 958, 73);
    QTest::newRow("address field")
            << larger << QByteArray("serverAddressEdit") << QRect(407, 30, 122, 24);
    QTest::newRow("down port") << larger << QByteArray("downPortEdit") << QRect(825, 30, 45, 24);
    QTest::newRow("GPS box") << larger << QByteArray("gpsBox") << QRect(20, 132, 683, 109);
    QTest::newRow("other group") << larger << QByteArray("otherGroup") << QRect(726, 132, 231, 109);
    QTest::newRow("frequency group")
            << larger << QByteArray("frequencyGroup") << QRect(20, 300, 958, 349);
    QTest::newRow("channel 5") << larger << QByteArray("channelBox5") << QRect(253, 192, 199, 145);
}

void TestLoRaSettings::resizeScalesGeometry()
{
    QFETCH(QSize, size);
    QFETCH(QByteArray, widget);
    QFETCH(QRect, geometry);

    LoRaSettings page;
    page.resize(size);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    const auto *target = page.findChild<QWidget *>(QString::fromLatin1(widget));
    QVERIFY(target);
    QCOMPARE(target->geometry(), geometry);
}

void TestLoRaSettings::englishCatalogue_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("invalidFields");

    QTest::newRow("gateway ID") << QByteArray("gatewayIdEdit") << "12"
                                << "Gateway ID\n";
    QTest::newRow("server address") << QByteArray("serverAddressEdit") << "server"
                                    << "Server adress\n";
    QTest::newRow("latitude") << QByteArray("latitudeEdit") << "91."
                              << "Latitude\n";
    QTest::newRow("channel 4") << QByteArray("channelBox4") << "8671"
                               << "Channel 4\n";
}

void TestLoRaSettings::englishCatalogue()
{
    QFETCH(QByteArray, field);
    QFETCH(QString, text);
    QFETCH(QString, invalidFields);

    QTranslator english;
    QVERIFY(english.load(QStringLiteral(":/i18n/Kelvane.qm")));
    QVERIFY(QCoreApplication::installTranslator(&english));
    {
        LoRaSettings page;
        QWidget *target = page.findChild<QWidget *>(QString::fromLatin1(field));
        auto *lineEdit = qobject_cast<QLineEdit *>(target);
        if (!lineEdit)
            lineEdit = target->findChild<QLineEdit *>();
        lineEdit->setText(text);
        QCOMPARE(FieldValidation::instance().invalidFields(), invalidFields);
        QCOMPARE(edit(page, "gatewayIdEdit")->toolTip(), QStringLiteral("Double click to edit."));
        // Plan names stay as they are in every language.
        QCOMPARE(planBox(page)->itemText(5), QStringLiteral("Custom"));
    }
    QCoreApplication::removeTranslator(&english);
}

void TestLoRaSettings::disabledChannelSetAside_data()
{
    QTest::addColumn<int>("frequency");

    QTest::newRow("zero") << 0;
    QTest::newRow("eight digits") << 86850000;
}

// Channel 2 of the full group is disabled: whatever it holds goes back, and only
// enabling it makes the operator correct it.
void TestLoRaSettings::disabledChannelSetAside()
{
    QFETCH(int, frequency);

    LoRaSettings page;
    QJsonObject group = json(fullGroup);
    group.insert(QStringLiteral("ch2_3"), frequency);
    page.setSettings(group, true);
    QVERIFY2(FieldValidation::instance().fieldsValid(),
             qPrintable(FieldValidation::instance().invalidFields()));
    QCOMPARE(compact(page.getSettings(true)), compact(group));

    channel(page, 2)->findChild<QCheckBox *>(QStringLiteral("enableBox"))->click();
    QCOMPARE(FieldValidation::instance().invalidFields(), QStringLiteral("Канал 2\n"));
}

void TestLoRaSettings::rendersWithoutOverlaps()
{
    LoRaSettings page;
    page.resize(911, 582);
    page.setSettings(json(fullGroup), true);
    page.findChild<QCheckBox *>(QStringLiteral("showFrequenciesBox"))->click();
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));

    QCOMPARE(WidgetCheck::layoutProblems(&page), QStringList());
}

QTEST_MAIN(TestLoRaSettings)
#include "tst_lorasettings.moc"
