#include "emulator/settingsstore.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

class tst_SettingsStore : public QObject
{
    Q_OBJECT

private slots:
    void groupsByModel_data();
    void groupsByModel();
    void keyTypes_data();
    void keyTypes();
    void merge_data();
    void merge();
    void resets();
    void frameSafeJson_data();
    void frameSafeJson();
};

void tst_SettingsStore::groupsByModel_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("absent");
    QTest::addColumn<bool>("withoutLte");

    QTest::newRow("TK-0") << 0 << QStringList{"100", "200", "300", "350", "13"}
                          << QStringList{"150", "400", "14", "15"} << true;
    QTest::newRow("TK-1") << 1 << QStringList{"100", "200", "300", "400", "14", "15"}
                          << QStringList{"150", "350"} << false;
    QTest::newRow("TK-3") << 2 << QStringList{"100", "150", "200", "300", "400"}
                          << QStringList{"350"} << false;
    QTest::newRow("TK-3Max") << 3 << QStringList{"100", "150", "200", "300", "350", "400"}
                             << QStringList{} << false;
}

void tst_SettingsStore::groupsByModel()
{
    QFETCH(int, model);
    QFETCH(QStringList, present);
    QFETCH(QStringList, absent);
    QFETCH(bool, withoutLte);

    const QJsonObject document = SettingsStore(model).document();
    for (const QString &key : present)
        QVERIFY2(document.contains(key), qPrintable(key));
    for (const QString &key : absent)
        QVERIFY2(!document.contains(key), qPrintable(key));
    for (const char *key : {"8", "9", "10", "11", "12", "16"})
        QVERIFY2(document.value(key).isString() || document.value(key).isObject(), key);
    QCOMPARE(document.value("11").toString().contains("1.2"), withoutLte);
    if (document.contains("150"))
        QVERIFY(document.value("150")["110"] != document.value("100")["110"]);
}

void tst_SettingsStore::keyTypes_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("type");

    const int string = QJsonValue::String, number = QJsonValue::Double, boolean = QJsonValue::Bool;
    QTest::newRow("gateway id") << "100"
                                << "110" << string;
    QTest::newRow("server") << "100"
                            << "111" << string;
    QTest::newRow("up port") << "100"
                             << "112" << number;
    QTest::newRow("plan") << "100"
                          << "121" << string;
    QTest::newRow("use gps") << "100"
                             << "131" << boolean;
    QTest::newRow("latitude") << "150"
                              << "133" << number;
    QTest::newRow("height") << "150"
                            << "135" << number;
    QTest::newRow("keepalive") << "100"
                               << "142" << number;
    QTest::newRow("channel on") << "100"
                                << "ch7_1" << boolean;
    QTest::newRow("channel radio") << "150"
                                   << "ch5_2" << number;
    QTest::newRow("channel frequency") << "100"
                                       << "ch0_3" << number;
    QTest::newRow("apn") << "200"
                         << "211" << string;
    QTest::newRow("ping 2") << "200"
                            << "240" << string;
    QTest::newRow("static on") << "300"
                               << "310" << boolean;
    QTest::newRow("mask") << "300"
                          << "370" << string;
    QTest::newRow("wifi mode") << "350"
                               << "351" << number;
    QTest::newRow("hotspot password") << "350"
                                      << "363" << string;
    QTest::newRow("server database") << "400"
                                     << "450" << string;
}

void tst_SettingsStore::keyTypes()
{
    QFETCH(QString, group);
    QFETCH(QString, key);
    QFETCH(int, type);

    const QJsonValue value = SettingsStore(3).document().value(group).toObject().value(key);
    QCOMPARE(int(value.type()), type);
    if (type == QJsonValue::Double && !key.startsWith("13"))
        QCOMPARE(value.toDouble(), double(value.toInt()));
}

void tst_SettingsStore::merge_data()
{
    QTest::addColumn<QByteArray>("incoming");
    QTest::addColumn<QStringList>("replaced");
    QTest::addColumn<QStringList>("unchanged");

    QTest::newRow("whole group replaced") << QByteArray(R"({"200":{"211":"apn.example"}})")
                                          << QStringList{"200"} << QStringList{"100", "150", "300"};
    QTest::newRow("empty group keeps held") << QByteArray(R"({"100":{},"300":{"310":true}})")
                                            << QStringList{"300"} << QStringList{"100", "200"};
    QTest::newRow("device keys read-only")
            << QByteArray(R"({"8":"00:00:00:00:00:00","9":"9.9.9","301":[]})") << QStringList{}
            << QStringList{"8", "9", "100"};
    QTest::newRow("unknown key carried")
            << QByteArray(R"({"500":{"510":"x"}})") << QStringList{"500"} << QStringList{"100"};
    QTest::newRow("non-ascii value") << QByteArray(R"({"350":{"352":"Офис]}"}})")
                                     << QStringList{"350"} << QStringList{"400"};
}

void tst_SettingsStore::merge()
{
    QFETCH(QByteArray, incoming);
    QFETCH(QStringList, replaced);
    QFETCH(QStringList, unchanged);

    SettingsStore store(3);
    const QJsonObject before = store.document();
    const QJsonObject sent = QJsonDocument::fromJson(incoming).object();
    QVERIFY(!sent.isEmpty());

    QCOMPARE(store.merge(sent), replaced);
    const QJsonObject after = store.document();
    for (const QString &key : replaced)
        QCOMPARE(after.value(key), sent.value(key));
    for (const QString &key : unchanged)
        QCOMPARE(after.value(key), before.value(key));
}

void tst_SettingsStore::resets()
{
    SettingsStore store(2);
    const QJsonObject factory = store.document();
    store.merge(QJsonDocument::fromJson(R"({"100":{"121":"EU868"},"150":{"121":"KZ868"},)"
                                        R"("200":{"211":"changed"}})")
                        .object());

    store.resetLoRa();
    QCOMPARE(store.document().value("100"), factory.value("100"));
    QCOMPARE(store.document().value("150"), factory.value("150"));
    QCOMPARE(store.document().value("200")["211"].toString(), QString("changed"));

    store.resetAll();
    QCOMPARE(store.document(), factory);
}

void tst_SettingsStore::frameSafeJson_data()
{
    QTest::addColumn<QByteArray>("json");

    QTest::newRow("array closing the document") << QByteArray(R"({"301":[{"1":"a.ovpn"}]})");
    QTest::newRow("nested arrays") << QByteArray(R"({"a":{"b":[[1],[2]]},"c":[[]]})");
    QTest::newRow("inside a string") << QByteArray(R"({"s":"x]}y","t":"]}]}"})");
    QTest::newRow("escaped quote before") << QByteArray(R"({"s":"q\"]}"})");
    QTest::newRow("backslash at string end") << QByteArray(R"({"s":"\\","u":[1]})");
    QTest::newRow("plain") << QByteArray(R"({"100":{"110":"AA555A0000000101"}})");
}

void tst_SettingsStore::frameSafeJson()
{
    QFETCH(QByteArray, json);

    const QJsonObject document = QJsonDocument::fromJson(json).object();
    QVERIFY(!document.isEmpty());
    const QByteArray safe = SettingsStore::frameSafeJson(document);
    QVERIFY2(!safe.contains("]}"), safe.constData());
    QJsonParseError error{};
    const QJsonDocument parsed = QJsonDocument::fromJson(safe, &error);
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(parsed.object(), document);
    QVERIFY(!safe.contains('\n'));
}

QTEST_GUILESS_MAIN(tst_SettingsStore)
#include "tst_settingsstore.moc"
