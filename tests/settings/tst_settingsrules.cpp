#include "settings/settingsrules.h"

#include <QtTest>

namespace {

// What a gateway of the model reports, after the device keys went to the device page;
// "299" is a key no page knows.
QJsonObject heldFor(int model)
{
    QJsonObject held{{"100", QJsonObject{{"110", "AA555A0000000001"}, {"111", "lns.example"}}},
                     {"200", QJsonObject{{"211", "internet"}, {"230", "8.8.8.8"}, {"299", 7}}},
                     {"300", QJsonObject{{"310", false}, {"320", "192.168.0.10"}}}};
    if (SettingsRules::hasSecondModule(model))
        held["150"] = QJsonObject{{"110", "AA555A0000000002"}, {"111", "lns.example"}};
    if (SettingsRules::hasWifi(model))
        held["350"] = QJsonObject{{"351", 1}, {"353", "secret"}, {"359", "1.1.1.1"}};
    if (SettingsRules::hasLocalServer(model))
        held["400"] = QJsonObject{{"410", true}, {"450", "/mnt/sd/db"}};
    return held;
}

// An undefined value is a field the operator emptied.
QJsonObject withChange(QJsonObject document, const QString &group, const QString &key,
                       const QJsonValue &value)
{
    if (group.isEmpty())
        return document;
    QJsonObject changed = document.value(group).toObject();
    if (value.isUndefined())
        changed.remove(key);
    else
        changed[key] = value;
    document[group] = changed;
    return document;
}

// The pages as they gather their groups: keys they do not know are gone (a preset
// filled them), ТК-0 hides its ping keys, a Wi-Fi box that is off returns only its
// mode, and the network page always returns a Wi-Fi group.
SettingsRules::PageGroups pagesShowing(const QJsonObject &document, int model)
{
    QJsonObject lte = document["200"].toObject();
    lte.remove("299");
    if (model == 0) {
        lte.remove("230");
        lte.remove("240");
    }
    QJsonObject wifi = document["350"].toObject();
    if (wifi["351"].toInt() == 0)
        wifi = QJsonObject{{"351", 0}};
    return {SettingsRules::loraGroupsOf(document),
            QJsonObject{{"200", lte}, {"300", document["300"]}, {"350", wifi}},
            QJsonObject{{"400", document["400"]}},
            {}};
}

QStringList fieldNames(const QList<SettingsChange> &changes)
{
    QStringList names;
    for (const SettingsChange &change : changes)
        names.append(change.group + '/' + change.key);
    return names;
}

} // namespace

class TestSettingsRules : public QObject
{
    Q_OBJECT

private slots:
    void applyPendingAndVerify_data();
    void applyPendingAndVerify();
    void presetOverHeld();
};

void TestSettingsRules::applyPendingAndVerify_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QJsonValue>("value");
    QTest::addColumn<QStringList>("pending");

    for (int model = 0; model <= 3; ++model)
        QTest::addRow("model %d, nothing changed", model)
                << model << QString() << QString() << QJsonValue() << QStringList();
    QTest::newRow("TK-3Max, module 2 server")
            << 3 << "150"
            << "111" << QJsonValue("other.example") << QStringList{"150/111"};
    QTest::newRow("TK-3Max, Wi-Fi password")
            << 3 << "350"
            << "353" << QJsonValue("changed") << QStringList{"350/353"};
    QTest::newRow("TK-3Max, additional DNS emptied")
            << 3 << "350"
            << "359" << QJsonValue(QJsonValue::Undefined) << QStringList{"350/359"};
    QTest::newRow("TK-0, Wi-Fi switched off") << 0 << "350"
                                              << "351" << QJsonValue(0) << QStringList{"350/351"};
    QTest::newRow("TK-0, LTE beside hidden ping keys")
            << 0 << "200"
            << "211" << QJsonValue("m2m") << QStringList{"200/211"};
    QTest::newRow("TK-3, key the gateway lacks")
            << 2 << "200"
            << "240" << QJsonValue("1.1.1.1") << QStringList{"200/240"};
    QTest::newRow("TK-1, local server")
            << 1 << "400"
            << "450" << QJsonValue("/mnt/sd/other") << QStringList{"400/450"};
}

void TestSettingsRules::applyPendingAndVerify()
{
    QFETCH(int, model);
    QFETCH(QString, group);
    QFETCH(QString, key);
    QFETCH(QJsonValue, value);
    QFETCH(QStringList, pending);

    const SettingsRules rules(model);
    const QJsonObject held = heldFor(model);
    const SettingsRules::PageGroups shown
            = pagesShowing(withChange(held, group, key, value), model);
    const QList<SettingsChange> changes = rules.pendingChanges(held, shown);
    QCOMPARE(fieldNames(changes), pending);

    // Only a group with a pending change goes out in full; a group the model lacks never.
    const QJsonObject sent = rules.applyDocument(held, shown);
    QCOMPARE(sent.keys(), rules.groups());
    QJsonObject gateway = held;
    for (const QString &name : rules.groups()) {
        const QJsonObject part = sent[name].toObject();
        QCOMPARE(part.isEmpty(), !pending.join(',').contains(name + '/'));
        if (!part.isEmpty())
            gateway[name] = part;
    }
    if (!group.isEmpty())
        QCOMPARE(gateway[group].toObject().value(key), value);
    // A group that goes out carries what the page keeps out of sight as the gateway has it.
    QCOMPARE(gateway.value("200")["299"], QJsonValue(7));
    QCOMPARE(gateway.value("200")["230"], QJsonValue("8.8.8.8"));

    QVERIFY(rules.pendingChanges(gateway, shown).isEmpty());
    QVERIFY(SettingsRules::verify(sent, gateway).isEmpty());
    // A gateway that took nothing still holds every pending field's old value.
    QCOMPARE(SettingsRules::verify(sent, held), changes);
}

// A preset over the gateway's settings: what it lacks stays as the gateway holds it,
// its gateway ID never counts (an override's does), and groups the model lacks stay out.
void TestSettingsRules::presetOverHeld()
{
    const QJsonObject preset{
            {"100", QJsonObject{{"110", "FFFFFFFFFFFFFFFF"}, {"111", "preset.example"}}},
            {"350", QJsonObject{{"353", "from preset"}}}};
    const QJsonObject tk1 = heldFor(1);
    const SettingsRules tk1Rules(1);
    QCOMPARE(fieldNames(tk1Rules.pendingChanges(tk1, tk1Rules.presetGroups(tk1, preset, {}))),
             QStringList{"100/111"});

    const QJsonObject tk3Max = heldFor(3);
    const SettingsRules rules(3);
    const SettingsRules::PageGroups shown = rules.presetGroups(
            tk3Max, preset, {{"100", QJsonObject{{"110", "AA555A00000000FF"}}}});
    QCOMPARE(fieldNames(rules.pendingChanges(tk3Max, shown)),
             QStringList({"100/110", "100/111", "350/353"}));
    QCOMPARE(rules.targetDocument(tk3Max, shown)["200"], tk3Max["200"]);
}

QTEST_MAIN(TestSettingsRules)
#include "tst_settingsrules.moc"
