#include "report/commissioningreport.h"
#include "settings/catalogue.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QtTest>

class TestCommissioningReport : public QObject
{
    Q_OBJECT

private slots:
    void sections_data();
    void sections();
    void pdfIsWholeOrAbsent();
    void confirmedFieldsInPluralForm_data();
    void confirmedFieldsInPluralForm();
};

namespace {

CommissioningReport::Content sample()
{
    CommissioningReport::Content content;
    content.madeAt = QDateTime(QDate(2026, 12, 7), QTime(14, 3));
    content.note = QStringLiteral("Mast 7, north <side>");
    content.connected = true;
    content.model = QStringLiteral("TK-3Max");
    content.deviceInfo = QJsonObject{{"MAC", "00:11:22:33:44:55"}, {"Model", "TK-3Max 1.4"}};
    content.settings = QJsonObject{
            {"100", QJsonObject{{"111", "lns.example.org"}}},
            {"350", QJsonObject{{"353", "wifi-secret"}, {"352", "site-net"}}},
            {"400", QJsonObject{{"420", "server-secret"}}},
    };
    for (int line = 0; line < 250; ++line)
        content.logLines.append(QStringLiteral("rxpk line %1").arg(line));
    return content;
}

} // namespace

void TestCommissioningReport::sections_data()
{
    QTest::addColumn<int>("outcome");
    QTest::addColumn<bool>("connected");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("absent");

    const QStringList always{"Mast 7, north <side>", "00:11:22:33:44:55", "TK-3Max 1.4",
                             "lns.example.org",      "site-net",          "rxpk line 249",
                             "rxpk line 50",         "не проводилось"};
    const QStringList never{"wifi-secret", "server-secret", "rxpk line 49\n"};
    QTest::newRow("confirmed, connected")
            << int(CommissioningReport::Outcome::Confirmed) << true << always + QStringList{"12"}
            << never + QStringList{"не подключено"};
    QTest::newRow("drift, read earlier")
            << int(CommissioningReport::Outcome::Drift) << false
            << always + QStringList{"не подключено", "old-apn", "typed-apn"} << never;
    QTest::newRow("not verified") << int(CommissioningReport::Outcome::NotVerified) << true
                                  << always + QStringList{"не проверены"} << never;
}

void TestCommissioningReport::sections()
{
    QFETCH(int, outcome);
    QFETCH(bool, connected);
    QFETCH(QStringList, present);
    QFETCH(QStringList, absent);

    CommissioningReport::Content content = sample();
    content.connected = connected;
    content.outcome = CommissioningReport::Outcome(outcome);
    content.confirmedFields = 12;
    content.drift = {{"200", "211", QString("old-apn"), QString("typed-apn")},
                     {"400", "420", QString("server-secret"), QString("new-secret")}};
    QTextDocument document;
    CommissioningReport(content).fill(&document);
    const QString text = document.toPlainText() + QLatin1Char('\n');
    for (const QString &wanted : present)
        QVERIFY2(text.contains(wanted), qPrintable(wanted));
    for (const QString &unwanted : absent)
        QVERIFY2(!text.contains(unwanted), qPrintable(unwanted));
    QVERIFY(!text.contains("new-secret"));
}

void TestCommissioningReport::pdfIsWholeOrAbsent()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("report.pdf");
    QString error;
    QVERIFY2(CommissioningReport(sample()).writePdf(path, &error), qPrintable(error));
    QFile pdf(path);
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    QVERIFY(bytes.startsWith("%PDF"));
    QVERIFY(bytes.count("/Type /Page\n") + bytes.count("/Type /Page ") >= 1);

    const QString intoFile = dir.filePath("report.pdf/inside.pdf");
    QVERIFY(!CommissioningReport(sample()).writePdf(intoFile, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!QFile::exists(intoFile));
}

void TestCommissioningReport::confirmedFieldsInPluralForm_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("words");
    for (const char *words : {"1 поле.", "2 поля.", "5 полей.", "21 поле."})
        QTest::newRow(words) << "ru_RU" << QString::fromUtf8(words);
    for (const char *words : {"1 field.", "2 fields.", "5 fields.", "21 fields."})
        QTest::newRow(words) << "en_US" << QString(words);
}

void TestCommissioningReport::confirmedFieldsInPluralForm()
{
    QFETCH(QString, locale);
    QFETCH(QString, words);
    QTranslator catalogue;
    QVERIFY(Catalogue::installFor(locale, catalogue));
    CommissioningReport::Content content = sample();
    content.outcome = CommissioningReport::Outcome::Confirmed;
    content.confirmedFields = words.section(' ', 0, 0).toInt();
    QTextDocument document;
    CommissioningReport(content).fill(&document);
    QVERIFY2(document.toPlainText().contains(' ' + words), qPrintable(document.toPlainText()));
}

QTEST_MAIN(TestCommissioningReport)
#include "tst_commissioningreport.moc"
