#include "settings/settingsrules.h"

#include <QtTest>

namespace {

// What a gateway of the model reports, after the device keys went to the device page.
QJsonObject heldFor(int model)
{
    QJsonObject held{{"100", QJsonObject{{"110", "AA555A0000000001"}, {"111", "lns.example"}}},
                     {"200", QJsonObject{{"211", "internet"}, {"230", "8.8.8.8"}}},
                     {"300", QJsonObject{{"310", false}, {"320", "192.168.0.10"}}}};
    if (SettingsRules::hasSecondModule(model))
        held["150"] = QJsonObject{{"110", "AA555A0000000002"}, {"111", "lns.example"}};
    if (SettingsRules::hasWifi(model))
        held["350"] = QJsonObject{{"351", 1}, {"353", "secret"}};
    if (SettingsRules::hasLocalServer(model))
        held["400"] = QJsonObject{{"410", true}, {"450", "/mnt/sd/db"}};
    return held;
}

QJsonObject withChange(QJsonObject document, const QString &group, const QString &key,
                       const QJsonValue &value)
{
    if (group.isEmpty())
        return document;
    QJsonObject changed = document.value(group).toObject();
    changed[key] = value;
    document[group] = changed;
    return document;
}

// The pages always return the Wi-Fi group, filled or not.
SettingsRules::PageGroups pagesShowing(const QJsonObject &document)
{
    const QJsonObject wifi
            = document.contains("350") ? document["350"].toObject() : QJsonObject{{"351", 0}};
    return {SettingsRules::loraGroupsOf(document),
            QJsonObject{{"200", document["200"]}, {"300", document["300"]}, {"350", wifi}},
            QJsonObject{{"400", document["400"]}}};
}

} // namespace

class TestSettingsRules : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLoggingCategory::setFilterRules("default.debug=false"); }
    void applyAndDifference_data();
    void applyAndDifference();
};

void TestSettingsRules::applyAndDifference_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QJsonValue>("value");
    QTest::addColumn<QStringList>("emptyGroups");
    QTest::addColumn<QStringList>("fullGroups");

    const QStringList network{"200", "300", "350"};
    QTest::newRow("TK-3Max, nothing changed")
            << 3 << QString() << QString() << QJsonValue()
            << QStringList{"100", "150", "200", "300", "350"} << QStringList{"400"};
    QTest::newRow("TK-3Max, module 2 server")
            << 3 << "150"
            << "111" << QJsonValue("other.example") << network << QStringList{"100", "150", "400"};
    QTest::newRow("TK-3Max, Wi-Fi password")
            << 3 << "350"
            << "353" << QJsonValue("changed") << QStringList{"100", "150"}
            << QStringList{"200", "300", "350", "400"};
    QTest::newRow("TK-3, key the gateway lacks")
            << 2 << "200"
            << "240" << QJsonValue("1.1.1.1") << QStringList{"100", "150"}
            << QStringList{"200", "300", "350", "400"};
    QTest::newRow("TK-1, local server only")
            << 1 << "400"
            << "450" << QJsonValue("/mnt/sd/other") << QStringList{"100"}
            << QStringList{"200", "300", "350", "400"};
    QTest::newRow("TK-0, nothing changed")
            << 0 << QString() << QString() << QJsonValue()
            << QStringList{"100", "200", "300", "350"} << QStringList();
    QTest::newRow("TK-0, static IP switched on")
            << 0 << "300"
            << "310" << QJsonValue(true) << QStringList{"100"} << network;
}

void TestSettingsRules::applyAndDifference()
{
    QFETCH(int, model);
    QFETCH(QString, group);
    QFETCH(QString, key);
    QFETCH(QJsonValue, value);
    QFETCH(QStringList, emptyGroups);
    QFETCH(QStringList, fullGroups);

    const QJsonObject held = heldFor(model);
    const QJsonObject edited = withChange(held, group, key, value);
    const SettingsRules::PageGroups shown = pagesShowing(edited);
    const QJsonObject sent = SettingsRules(model).applyDocument(held, shown);

    for (const QString &empty : emptyGroups)
        QVERIFY2(sent[empty].isObject() && sent[empty].toObject().isEmpty(), qPrintable(empty));
    QJsonObject shownDocument = shown.lora;
    for (const QJsonObject &part : {shown.network, shown.server})
        for (auto it = part.constBegin(); it != part.constEnd(); ++it)
            shownDocument.insert(it.key(), it.value());
    for (const QString &full : fullGroups)
        QCOMPARE(sent[full], shownDocument[full]);
    QCOMPARE(sent.contains("400"), SettingsRules::hasLocalServer(model));
    // Held as sent, the empty groups no longer match the pages: a second apply sends them.
    const QJsonObject again = SettingsRules(model).applyDocument(sent, shown);
    for (const QString &empty : emptyGroups)
        QCOMPARE(again[empty], shownDocument[empty]);

    QList<SettingsChange> expected;
    if (!group.isEmpty())
        expected.append({group, key, held[group].toObject().value(key), value});
    QCOMPARE(SettingsRules::differences(held, edited), expected);
    QCOMPARE(SettingsRules::differences(edited, held).size(), expected.size());
}

QTEST_MAIN(TestSettingsRules)
#include "tst_settingsrules.moc"
