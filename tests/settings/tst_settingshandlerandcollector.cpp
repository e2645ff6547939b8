#include "settings/settingshandlerandcollector.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QtTest>

namespace {

QJsonObject json(const char *text)
{
    return QJsonDocument::fromJson(QByteArray(text)).object();
}

} // namespace

class TestSettingsHandlerAndCollector : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanupTestCase();
    void singleInstance();
    void groupsAreReplacedWhole();
    void groupAccessors_data();
    void groupAccessors();
    void deviceInfo_data();
    void deviceInfo();
    void deviceInfoIsTakenOnce();
    void emptyFields_data();
    void emptyFields();
    void ovpnFiles_data();
    void ovpnFiles();
    void ovpnFilesAreTakenOnce();
    void compactJson();

private:
    SettingsHandlerAndCollector *collector() { return SettingsHandlerAndCollector::getInstance(); }
};

void TestSettingsHandlerAndCollector::init()
{
    SettingsHandlerAndCollector::deleteInstance();
}

void TestSettingsHandlerAndCollector::cleanupTestCase()
{
    SettingsHandlerAndCollector::deleteInstance();
}

void TestSettingsHandlerAndCollector::singleInstance()
{
    SettingsHandlerAndCollector *first = SettingsHandlerAndCollector::getInstance();
    QCOMPARE(SettingsHandlerAndCollector::getInstance(), first);
    first->addSettings(json(R"({"200": {"211": "x"}})"));
    SettingsHandlerAndCollector::deleteInstance();
    QVERIFY(SettingsHandlerAndCollector::getInstance()->getSettings().isEmpty());
}

void TestSettingsHandlerAndCollector::groupsAreReplacedWhole()
{
    collector()->addSettings(json(R"({"100": {"110": "id", "111": "old"}, "200": {"211": "a"}})"));
    collector()->addSettings(json(R"({"100": {"111": "a"}})"));
    QCOMPARE(collector()->getSettings(), json(R"({"100": {"111": "a"}, "200": {"211": "a"}})"));

    collector()->addSettings(QJsonObject());
    QCOMPARE(collector()->getSettings().size(), 2);
}

void TestSettingsHandlerAndCollector::groupAccessors_data()
{
    QTest::addColumn<QByteArray>("document");
    QTest::addColumn<QByteArray>("lora");
    QTest::addColumn<QByteArray>("server");

    QTest::newRow("empty document")
            << QByteArray("{}") << QByteArray(R"({"100": {}})") << QByteArray("{}");
    QTest::newRow("second module present")
            << QByteArray(R"({"100": {"111": "a"}, "150": {"111": "b"}, "400": {"410": "u"}})")
            << QByteArray(R"({"100": {"111": "a"}, "150": {"111": "b"}})")
            << QByteArray(R"({"410": "u"})");
    QTest::newRow("groups that are not objects read empty")
            << QByteArray(R"({"100": 5, "150": "x", "400": []})")
            << QByteArray(R"({"100": {}, "150": {}})") << QByteArray("{}");
}

void TestSettingsHandlerAndCollector::groupAccessors()
{
    QFETCH(QByteArray, document);
    QFETCH(QByteArray, lora);
    QFETCH(QByteArray, server);

    collector()->addSettings(json(document.constData()));
    QCOMPARE(collector()->getLoRaSettings(), json(lora.constData()));
    QCOMPARE(collector()->getServerSettings(), json(server.constData()));
}

void TestSettingsHandlerAndCollector::deviceInfo_data()
{
    QTest::addColumn<QByteArray>("document");
    QTest::addColumn<QByteArray>("info");
    QTest::addColumn<QStringList>("keysLeft");

    QTest::newRow("with LTE")
            << QByteArray(R"({"8": "AA:BB", "9": "1.2.0",
                   "10": {"0": "192.168.4.1", "1": "10.0.0.5", "2": "", "3": "10.8.0.2"},
                   "11": "TK-3 v2.0", "12": "rev B", "13": "SIM7600", "14": "L76",
                   "15": "01.02.2026", "16": "3.1", "200": {"211": "apn"}})")
            << QByteArray(R"({"MAC": "AA:BB", "CoreVer": "1.2.0", "wlan0": "192.168.4.1",
                   "eth0": "10.0.0.5", "ppp0": "", "tun0": "10.8.0.2", "Model": "TK-3 v2.0",
                   "Revision": "rev B", "PCB": "rev B", "LTE": "Есть", "GSM": "SIM7600",
                   "GNSS": "L76", "Date": "01.02.2026", "Release_ver": "3.1"})")
            << QStringList{"200"};
    QTest::newRow("without LTE keeps 14 and 15")
            << QByteArray(R"({"8": "AA", "9": "1.1.1", "10": {"0": "", "1": "10.0.0.5"},
                   "11": "TK-0 1.2", "12": "A", "13": "05.05.2025", "14": "g", "15": "d",
                   "16": "1.0"})")
            << QByteArray(R"({"MAC": "AA", "CoreVer": "1.1.1", "eth0": "10.0.0.5", "ppp0": "",
                   "tun0": "", "Model": "TK-0 1.2", "Revision": "A", "PCB": "A", "LTE": "Нет",
                   "Date": "05.05.2025", "Release_ver": "1.0"})")
            << QStringList{"14", "15"};
    QTest::newRow("values that are not strings read empty")
            << QByteArray(R"({"8": 7, "10": "nothing", "11": null, "12": true})")
            << QByteArray(R"({"MAC": "", "CoreVer": "", "eth0": "", "ppp0": "", "tun0": "",
                   "Model": "", "Revision": "", "PCB": "", "LTE": "Есть", "GSM": "", "GNSS": "",
                   "Date": "", "Release_ver": ""})")
            << QStringList{};
}

void TestSettingsHandlerAndCollector::deviceInfo()
{
    QFETCH(QByteArray, document);
    QFETCH(QByteArray, info);
    QFETCH(QStringList, keysLeft);

    collector()->addSettings(json(document.constData()));
    QCOMPARE(collector()->getDeviceInfo(), json(info.constData()));
    QStringList left = collector()->getSettings().keys();
    left.sort();
    keysLeft.sort();
    QCOMPARE(left, keysLeft);
}

void TestSettingsHandlerAndCollector::deviceInfoIsTakenOnce()
{
    collector()->addSettings(json(R"({"8": "AA", "9": "1.2.0", "10": {"1": "10.0.0.5"},
                                      "11": "TK-3", "12": "B", "16": "2"})"));
    collector()->getDeviceInfo();
    const QJsonObject second = collector()->getDeviceInfo();
    for (auto it = second.constBegin(); it != second.constEnd(); ++it) {
        if (it.key() == QLatin1String("LTE"))
            continue;
        QVERIFY2(it.value().toString().isEmpty(), qPrintable(it.key()));
    }
    QVERIFY(!second.contains(QStringLiteral("wlan0")));
}

void TestSettingsHandlerAndCollector::emptyFields_data()
{
    QTest::addColumn<QByteArray>("document");
    QTest::addColumn<bool>("empty");

    QTest::newRow("no keys at all") << QByteArray("{}") << true;
    QTest::newRow("Wi-Fi group never tested") << QByteArray(R"({"350": {"351": ""}})") << false;
    QTest::newRow("optional LTE user") << QByteArray(R"({"200": {"213": ""}})") << false;
    QTest::newRow("every optional key")
            << QByteArray(R"({"200": {"213": "", "214": " ", "223": null, "224": "", "240": ""},
                              "300": {"340": "", "350": "", "360": ""}})")
            << false;
    QTest::newRow("single blank") << QByteArray(R"({"300": {"310": " "}})") << true;
    QTest::newRow("two blanks are a value") << QByteArray(R"({"300": {"320": "  "}})") << false;
    QTest::newRow("null") << QByteArray(R"({"100": {"111": null}})") << true;
    QTest::newRow("empty server address") << QByteArray(R"({"100": {"111": ""}})") << true;
    QTest::newRow("numbers and booleans are values")
            << QByteArray(R"({"100": {"112": 0, "131": false}})") << false;
    QTest::newRow("top-level string is no group") << QByteArray(R"({"8": ""})") << false;
    QTest::newRow("array is no group") << QByteArray(R"({"301": [""]})") << false;
}

void TestSettingsHandlerAndCollector::emptyFields()
{
    QFETCH(QByteArray, document);
    QFETCH(bool, empty);
    collector()->addSettings(json(document.constData()));
    QCOMPARE(collector()->hasEmptyFields(), empty);
}

void TestSettingsHandlerAndCollector::ovpnFiles_data()
{
    QTest::addColumn<QByteArray>("document");
    QTest::addColumn<QStringList>("names");

    QTest::newRow("array order, first key in sorted order")
            << QByteArray(R"({"301": [{"1": "office.ovpn"}, {"b": "second", "a": "first"}]})")
            << QStringList{"office.ovpn", "first"};
    QTest::newRow("missing") << QByteArray("{}") << QStringList{};
    QTest::newRow("not an array") << QByteArray(R"({"301": {"1": "x"}})") << QStringList{};
    QTest::newRow("elements that are not objects or have no key are skipped")
            << QByteArray(R"({"301": ["loose", 3, {}, {"1": "kept.ovpn"}]})")
            << QStringList{"kept.ovpn"};
}

void TestSettingsHandlerAndCollector::ovpnFiles()
{
    QFETCH(QByteArray, document);
    QFETCH(QStringList, names);
    collector()->addSettings(json(document.constData()));
    QCOMPARE(collector()->getOVPNFiles(), names);
    QVERIFY(!collector()->getSettings().contains(QStringLiteral("301")));
}

void TestSettingsHandlerAndCollector::ovpnFilesAreTakenOnce()
{
    collector()->addSettings(json(R"({"301": [{"1": "a.ovpn"}], "300": {"310": true}})"));
    QCOMPARE(collector()->getOVPNFiles(), QStringList{QStringLiteral("a.ovpn")});
    QCOMPARE(collector()->getOVPNFiles(), QStringList{});
    QVERIFY(collector()->getSettings().contains(QStringLiteral("300")));
}

void TestSettingsHandlerAndCollector::compactJson()
{
    collector()->addSettings(json(R"({"200": {"211": "Привет"}, "100": {"112": 1700}})"));
    QCOMPARE(collector()->toJson(),
             QStringLiteral(R"({"100":{"112":1700},"200":{"211":"Привет"}})").toUtf8());
}

QTEST_MAIN(TestSettingsHandlerAndCollector)
#include "tst_settingshandlerandcollector.moc"
