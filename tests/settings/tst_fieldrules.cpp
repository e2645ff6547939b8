#include "settings/fieldrules.h"

#include <QtTest>

// What a typed value becomes, or why it is refused, as the pages would judge it.
class TestFieldRules : public QObject
{
    Q_OBJECT

private slots:
    void typedValue_data();
    void typedValue();
};

void TestFieldRules::typedValue_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QJsonValue>("value");

    const QJsonValue refused(QJsonValue::Undefined);
    QTest::newRow("gateway ID") << "150.110"
                                << "AA555A00000001ff" << QJsonValue("AA555A00000001ff");
    QTest::newRow("gateway ID too short") << "100.110"
                                          << "AA555A000000010" << refused;
    QTest::newRow("port is a number") << "100.112"
                                      << "1700" << QJsonValue(1700);
    QTest::newRow("port of six digits") << "100.113"
                                        << "170000" << refused;
    QTest::newRow("plan by name") << "100.121"
                                  << "EU868" << QJsonValue("EU868");
    QTest::newRow("unknown plan") << "100.121"
                                  << "US915" << refused;
    QTest::newRow("latitude") << "100.133"
                              << "-55.751244" << QJsonValue(-55.751244);
    QTest::newRow("latitude past the pole") << "100.133"
                                            << "90.5" << refused;
    QTest::newRow("empty height reads 0") << "100.135"
                                          << "" << QJsonValue(0);
    QTest::newRow("channel on") << "150.ch7_1"
                                << "true" << QJsonValue(true);
    QTest::newRow("channel radio 2") << "100.ch0_2"
                                     << "2" << refused;
    QTest::newRow("channel frequency") << "100.ch3_3"
                                       << "868100000" << QJsonValue(868100000);
    QTest::newRow("channel 8 does not exist") << "100.ch8_3"
                                              << "868100000" << refused;
    QTest::newRow("apn with hyphen") << "200.211"
                                     << "my-apn" << refused;
    QTest::newRow("optional ping empty") << "200.240"
                                         << "" << QJsonValue("");
    QTest::newRow("ping required") << "200.230"
                                   << "" << refused;
    QTest::newRow("SIM user any text") << "200.213"
                                       << "a b-c" << QJsonValue("a b-c");
    QTest::newRow("static IP off") << "300.310"
                                   << "false" << QJsonValue(false);
    QTest::newRow("boolean as 1") << "300.310"
                                  << "1" << refused;
    QTest::newRow("Wi-Fi access point") << "350.351"
                                        << "3" << QJsonValue(3);
    QTest::newRow("Wi-Fi mode 4") << "350.351"
                                  << "4" << refused;
    QTest::newRow("server database") << "400.450"
                                     << "/mnt/db" << QJsonValue("/mnt/db");
    QTest::newRow("unknown key") << "400.499"
                                 << "x" << refused;
    QTest::newRow("unknown group") << "500.511"
                                   << "x" << refused;
}

void TestFieldRules::typedValue()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QJsonValue, value);

    QString problem;
    const QJsonValue typed
            = FieldRules::valueOf(field.section('.', 0, 0), field.section('.', 1), text, &problem);
    QCOMPARE(typed, value);
    QCOMPARE(problem.isEmpty(), !value.isUndefined());
}

QTEST_MAIN(TestFieldRules)
#include "tst_fieldrules.moc"
