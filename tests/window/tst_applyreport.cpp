#include "settings/catalogue.h"
#include "window/applyreport.h"

#include <QTranslator>
#include <QtTest>

class TestApplyReport : public QObject
{
    Q_OBJECT

private slots:
    void confirmedFieldsTakeTheirPluralForm_data();
    void confirmedFieldsTakeTheirPluralForm();
};

void TestApplyReport::confirmedFieldsTakeTheirPluralForm_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("fields");
    QTest::addColumn<QString>("words");

    const QList<std::tuple<int, const char *, const char *>> rows{
            {1, "1 изменённое поле", "1 changed field."},
            {2, "2 изменённых поля", "2 changed fields"},
            {5, "5 изменённых полей", "5 changed fields"},
            {11, "11 изменённых полей", "11 changed fields"},
            {21, "21 изменённое поле", "21 changed fields"}};
    for (const auto &[fields, russian, english] : rows) {
        QTest::addRow("%d, Russian", fields) << "ru_RU" << fields << QString::fromUtf8(russian);
        QTest::addRow("%d, English", fields) << "en_US" << fields << QString(english);
    }
}

void TestApplyReport::confirmedFieldsTakeTheirPluralForm()
{
    QFETCH(QString, locale);
    QFETCH(int, fields);
    QFETCH(QString, words);

    QTranslator catalogue;
    QVERIFY(Catalogue::installFor(locale, catalogue));
    const QString text = ApplyReport::verified(QString(), fields, {}).text;
    QCoreApplication::removeTranslator(&catalogue);
    QVERIFY2(text.contains(words), qPrintable(text));
}

QTEST_MAIN(TestApplyReport)
#include "tst_applyreport.moc"
