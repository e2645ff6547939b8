#include "settings/settingsequal.h"

#include <QJsonArray>
#include <QtTest>

class TestSettingsEqual : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void compare_data();
    void compare();
};

void TestSettingsEqual::initTestCase()
{
    // The comparison logs both texts; keep the test output readable.
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
}

void TestSettingsEqual::compare_data()
{
    QTest::addColumn<QJsonObject>("left");
    QTest::addColumn<QJsonObject>("right");
    QTest::addColumn<bool>("equal");

    QJsonObject ab;
    ab.insert(QStringLiteral("a"), 1);
    ab.insert(QStringLiteral("b"), 2);
    QJsonObject ba;
    ba.insert(QStringLiteral("b"), 2);
    ba.insert(QStringLiteral("a"), 1);
    QTest::newRow("insertion order does not matter") << ab << ba << true;
    QTest::newRow("number against string")
            << QJsonObject{{"a", 1}} << QJsonObject{{"a", "1"}} << false;
    QTest::newRow("integer against boolean")
            << QJsonObject{{"a", 1}} << QJsonObject{{"a", true}} << false;
    QTest::newRow("nested groups")
            << QJsonObject{{"100", QJsonObject{{"111", "x"}, {"112", 1700}}}}
            << QJsonObject{{"100", QJsonObject{{"112", 1700}, {"111", "x"}}}} << true;
    QTest::newRow("empty group against filled group")
            << QJsonObject{{"100", QJsonObject{}}} << QJsonObject{{"100", QJsonObject{{"111", ""}}}}
            << false;
    QTest::newRow("wrapped against unwrapped") << QJsonObject{{"400", QJsonObject{{"410", "u"}}}}
                                               << QJsonObject{{"410", "u"}} << false;
    QTest::newRow("both empty") << QJsonObject() << QJsonObject() << true;
}

void TestSettingsEqual::compare()
{
    QFETCH(QJsonObject, left);
    QFETCH(QJsonObject, right);
    QFETCH(bool, equal);
    QCOMPARE(settingsEqual(left, right), equal);
}

QTEST_MAIN(TestSettingsEqual)
#include "tst_settingsequal.moc"
