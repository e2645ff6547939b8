#include "settings/catalogue.h"

#include <QTranslator>
#include <QtTest>

class TestCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void localeRule_data();
    void localeRule();
    void englishTextsComeFromTheEmbeddedCatalogue_data();
    void englishTextsComeFromTheEmbeddedCatalogue();
    void russianLocaleKeepsTheProgramsTexts();
};

void TestCatalogue::localeRule_data()
{
    QTest::addColumn<QString>("localeName");
    QTest::addColumn<bool>("english");

    QTest::newRow("Russian") << "ru_RU" << false;
    QTest::newRow("Russian language alone") << "ru" << false;
    QTest::newRow("Russian in Ukraine") << "ru_UA" << false;
    QTest::newRow("US English") << "en_US" << true;
    QTest::newRow("German") << "de_DE" << true;
    QTest::newRow("C locale") << "C" << true;
    // A case-sensitive substring test: upper-case RU alone is not Russian.
    QTest::newRow("upper-case territory only") << "be_RU" << true;
    QTest::newRow("substring anywhere") << "xx_ru" << false;
}

void TestCatalogue::localeRule()
{
    QFETCH(QString, localeName);
    QFETCH(bool, english);
    QCOMPARE(Catalogue::wantsEnglish(localeName), english);
}

void TestCatalogue::englishTextsComeFromTheEmbeddedCatalogue_data()
{
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("english");

    QTest::newRow("main logo") << "ConnectionPanel"
                               << ":/Logo/LogoRU.png"
                               << ":/Logo/LogoEN.png";
    QTest::newRow("dark main logo") << "ConnectionPanel"
                                    << ":/Logo/LogoRU_w.png"
                                    << ":/Logo/LogoEN_w.png";
    QTest::newRow("about picture") << "AboutDeveloper"
                                   << ":/Logo/ImageDevRU.png"
                                   << ":/Logo/ImageDevEN.png";
    QTest::newRow("no LTE") << "SettingsHandlerAndCollector"
                            << "Нет"
                            << "No";
    QTest::newRow("with LTE") << "SettingsHandlerAndCollector"
                              << "Есть"
                              << "Yes";
}

void TestCatalogue::englishTextsComeFromTheEmbeddedCatalogue()
{
    QFETCH(QString, context);
    QFETCH(QString, source);
    QFETCH(QString, english);

    QTranslator translator;
    QVERIFY(Catalogue::installFor(QStringLiteral("en_US"), translator));
    const QString translated = QCoreApplication::translate(context.toUtf8().constData(),
                                                           source.toUtf8().constData());
    QCoreApplication::removeTranslator(&translator);
    QCOMPARE(translated, english);
}

void TestCatalogue::russianLocaleKeepsTheProgramsTexts()
{
    QTranslator translator;
    QVERIFY(Catalogue::installFor(QStringLiteral("ru_RU"), translator));
    QCOMPARE(QCoreApplication::translate("BasicWindow", ":/Logo/LogoRU.png"),
             QStringLiteral(":/Logo/LogoRU.png"));
}

QTEST_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
