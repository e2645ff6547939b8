#include "link/historylog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QtTest>

class TestHistoryLog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void entryLayout_data();
    void entryLayout();
    void sizeLimit_data();
    void sizeLimit();
    void entriesAppendInOrder();
    void unwritableLocationDropsEntries();

private:
    static QString historyPath() { return historyLogPath(); }
    static QByteArray readHistory()
    {
        QFile file(historyPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

void TestHistoryLog::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TestHistoryLog::init()
{
    closeHistoryLog();
    for (const QString &path : {historyPath(), historyPath() + QStringLiteral(".1")}) {
        QFile::remove(path);
        QDir(path).removeRecursively();
    }
}

void TestHistoryLog::cleanup()
{
    init();
}

void TestHistoryLog::entryLayout_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("prefix");

    QTest::newRow("info") << 0 << "Read logs - login:"
                          << "(INFO) - ";
    QTest::newRow("warning") << 1 << "careful"
                             << "(WARN) - ";
    QTest::newRow("error") << 2 << "parsingMessageInResponse - Неизвестный ключ 77"
                           << "(ERR) - ";
    QTest::newRow("unknown level has no prefix") << 5 << "plain"
                                                 << "";
    QTest::newRow("negative level has no prefix") << -1 << "plain"
                                                  << "";
    QTest::newRow("console chunk spans lines") << 0 << "line one\r\nline two"
                                               << "(INFO) - ";
}

void TestHistoryLog::entryLayout()
{
    QFETCH(int, level);
    QFETCH(QString, text);
    QFETCH(QString, prefix);

    const QDateTime before = QDateTime::currentDateTime();
    writeHistoryLog(level, text);
    const QString entry = QString::fromUtf8(readHistory());

    const QRegularExpression layout(
            QStringLiteral("^%1\\[(\\d\\d\\.\\d\\d\\.\\d{4} - \\d\\d:\\d\\d:\\d\\d)\\] - %2\\n$")
                    .arg(QRegularExpression::escape(prefix), QRegularExpression::escape(text)));
    const QRegularExpressionMatch match = layout.match(entry);
    QVERIFY2(match.hasMatch(), qPrintable(entry));
    const QDateTime stamp
            = QDateTime::fromString(match.captured(1), QStringLiteral("dd.MM.yyyy - hh:mm:ss"));
    QVERIFY(stamp.isValid());
    QVERIFY(qAbs(stamp.secsTo(before)) <= 2);
}

void TestHistoryLog::sizeLimit_data()
{
    QTest::addColumn<qint64>("existingBytes");
    QTest::addColumn<bool>("keptOld");

    QTest::newRow("exactly at the limit is appended to") << qint64(4000000) << true;
    QTest::newRow("one byte over starts over, the old one kept") << qint64(4000001) << false;
    QTest::newRow("small file is appended to") << qint64(10) << true;
}

void TestHistoryLog::sizeLimit()
{
    QFETCH(qint64, existingBytes);
    QFETCH(bool, keptOld);

    {
        QFile file(historyPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.write(QByteArray(existingBytes, 'x')) == existingBytes);
    }
    writeHistoryLog(0, QStringLiteral("fresh entry"));

    // Never beside the program (maybe /usr/bin); owner-only, also where an older file was.
    QCOMPARE(QFileInfo(historyPath()).absolutePath(),
             QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    QCOMPARE(QFile::permissions(historyPath()) & (QFile::ReadGroup | QFile::ReadOther),
             QFile::Permissions());
    const QByteArray content = readHistory();
    QVERIFY(content.endsWith(" - fresh entry\n"));
    if (keptOld) {
        QVERIFY(content.startsWith(QByteArray(existingBytes, 'x')));
        QVERIFY(content.size() > existingBytes);
    } else {
        QVERIFY(content.startsWith("(INFO) - ["));
        QCOMPARE(content.count('\n'), 1);
        QFile previous(historyPath() + QStringLiteral(".1"));
        QVERIFY(previous.open(QIODevice::ReadOnly));
        QCOMPARE(previous.readAll(), QByteArray(existingBytes, 'x'));
    }
}

void TestHistoryLog::entriesAppendInOrder()
{
    writeHistoryLog(0, QStringLiteral("first"));
    writeHistoryLog(2, QStringLiteral("second"));
    const QList<QByteArray> lines = readHistory().split('\n');
    QCOMPARE(lines.size(), 3);
    QVERIFY(lines[0].endsWith(" - first"));
    QVERIFY(lines[1].startsWith("(ERR) - "));
    QVERIFY(lines[2].isEmpty());
}

void TestHistoryLog::unwritableLocationDropsEntries()
{
    // A directory in the file's place cannot be opened for writing, even by root.
    QVERIFY(QDir().mkpath(historyPath()));
    writeHistoryLog(0, QStringLiteral("dropped"));
    QVERIFY(QFileInfo(historyPath()).isDir());
    QVERIFY(QDir(historyPath()).isEmpty());
}

QTEST_MAIN(TestHistoryLog)
#include "tst_historylog.moc"
