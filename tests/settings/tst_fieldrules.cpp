#include "settings/fieldrules.h"

#include <QtTest>

// What a typed value becomes, or that it is refused, as the pages would judge it.
class TestFieldRules : public QObject
{
    Q_OBJECT

private slots:
    void typedValue_data();
    void typedValue();
};

void TestFieldRules::typedValue_data()
{
    QTest::addColumn<QString>("assignment");
    QTest::addColumn<QJsonValue>("value");

    const QJsonValue refused(QJsonValue::Undefined);
    QTest::newRow("module 2 gateway ID")
            << "150.110=AA555A00000001ff" << QJsonValue("AA555A00000001ff");
    QTest::newRow("port is a number") << "100.112=1700" << QJsonValue(1700);
    QTest::newRow("latitude past the pole") << "100.133=90.5" << refused;
    QTest::newRow("empty height reads 0") << "100.135=" << QJsonValue(0);
    QTest::newRow("channel 7 on") << "150.ch7_1=true" << QJsonValue(true);
    QTest::newRow("channel radio 2") << "100.ch0_2=2" << refused;
    QTest::newRow("unknown key") << "400.499=x" << refused;
}

void TestFieldRules::typedValue()
{
    QFETCH(QString, assignment);
    QFETCH(QJsonValue, value);

    const QString field = assignment.section('=', 0, 0);
    QString problem;
    QCOMPARE(FieldRules::valueOf(field.section('.', 0, 0), field.section('.', 1),
                                 assignment.section('=', 1), &problem),
             value);
    QCOMPARE(problem.isEmpty(), !value.isUndefined());
}

QTEST_MAIN(TestFieldRules)
#include "tst_fieldrules.moc"
