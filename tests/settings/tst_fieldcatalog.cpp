#include "settings/fieldcatalog.h"

#include <QRegularExpression>
#include <QTranslator>
#include <QtTest>

class TestFieldCatalog : public QObject
{
    Q_OBJECT

private slots:
    void englishNamesEverywhere();
    void secretsAreMasked_data();
    void secretsAreMasked();
};

// A label looked up in the wrong context stays Russian in English.
void TestFieldCatalog::englishNamesEverywhere()
{
    QTranslator english;
    QVERIFY(english.load(QStringLiteral(":/i18n/Kelvane.qm")));
    QCoreApplication::installTranslator(&english);
    const QRegularExpression cyrillic(QStringLiteral("\\p{Cyrillic}"));
    const QStringList groups{"100", "150", "200", "300", "350", "400"};
    for (const QString &group : groups) {
        QVERIFY2(!FieldCatalog::pageName(group).contains(cyrillic), qPrintable(group));
        QVERIFY2(!FieldCatalog::groupName(group).contains(cyrillic), qPrintable(group));
        for (int number = 100; number < 500; ++number) {
            const QString key = QString::number(number);
            const QString label = FieldCatalog::label(group, key);
            QVERIFY2(!label.contains(cyrillic), qPrintable(group + '/' + key + ": " + label));
        }
        QVERIFY(!FieldCatalog::label(group, "ch3_3").contains(cyrillic));
    }
    QCOMPARE(FieldCatalog::label("200", "211") == FieldCatalog::label("200", "221"), false);
    QCoreApplication::removeTranslator(&english);
}

void TestFieldCatalog::secretsAreMasked_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("secret");
    QTest::newRow("SIM1 password") << "200"
                                   << "214" << true;
    QTest::newRow("SIM2 password") << "200"
                                   << "224" << true;
    QTest::newRow("Wi-Fi client password") << "350"
                                           << "353" << true;
    QTest::newRow("access point password") << "350"
                                           << "363" << true;
    QTest::newRow("local server password") << "400"
                                           << "420" << true;
    QTest::newRow("SIM1 user") << "200"
                               << "213" << false;
    QTest::newRow("static IP DNS2, same key as Wi-Fi") << "300"
                                                       << "350" << false;
    QTest::newRow("unknown key") << "400"
                                 << "499" << false;
}

void TestFieldCatalog::secretsAreMasked()
{
    QFETCH(QString, group);
    QFETCH(QString, key);
    QFETCH(bool, secret);
    QCOMPARE(FieldCatalog::isSecret(group, key), secret);
    const QString shown = FieldCatalog::shownValue(group, key, QStringLiteral("hunter2"));
    QCOMPARE(shown.contains(QStringLiteral("hunter2")), !secret);
}

QTEST_MAIN(TestFieldCatalog)
#include "tst_fieldcatalog.moc"
