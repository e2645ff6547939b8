#include "lora/logspool.h"

#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace {

constexpr qint64 memoryBound = 400;
constexpr int linesBefore = 10;
constexpr int linesAfter = 200;

QString line(int number)
{
    return QStringLiteral("rxpk %1\n").arg(number, 4, 10, QLatin1Char('0'));
}

// The whole record as a save would write it.
QByteArray recordOf(const LogSpool::Snapshot &snapshot)
{
    QByteArray text(snapshot.fileBytes, '\0');
    if (snapshot.fileBytes > 0
        && ::pread(snapshot.fileHandle, text.data(), text.size(), 0) != snapshot.fileBytes)
        return {};
    for (const QByteArray &block : snapshot.memory)
        text += block;
    return text;
}

} // namespace

class TestLogSpool : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void fullDiskKeepsBoundedMemoryThenResumes();
};

// The disk stops taking text: what it holds stays, the newest text waits in bounded
// memory, a marker counts what had to go, and all of it reaches the disk once it can.
void TestLogSpool::fullDiskKeepsBoundedMemoryThenResumes()
{
    LogSpool spool(memoryBound);
    for (int number = 0; number < linesBefore; ++number)
        spool.append(line(number));
    const QByteArray recorded = recordOf(spool.snapshot());
    QCOMPARE(recorded.count('\n'), linesBefore);

    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = rlim_t(recorded.size());
    setrlimit(RLIMIT_FSIZE, &limited);
    for (int number = linesBefore; number < linesBefore + linesAfter; ++number) {
        spool.append(line(number));
        spool.flush();
    }
    const LogSpool::Snapshot full = spool.snapshot();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    QVERIFY(spool.isInMemory());
    QVERIFY(!spool.failureReason().isEmpty());
    QCOMPARE(full.fileBytes, qint64(recorded.size()));
    const QByteArray record = recordOf(full);
    QVERIFY(record.startsWith(recorded));
    QVERIFY(record.endsWith(line(linesBefore + linesAfter - 1).toUtf8()));
    QVERIFY(full.totalBytes() - full.fileBytes <= memoryBound + 64);
    // Kept lines are a run of the newest; the marker names exactly the ones missing.
    const QRegularExpressionMatch marker = QRegularExpression(QStringLiteral("(\\d+)"))
                                                   .match(QString::fromUtf8(full.memory.first()));
    QVERIFY(marker.hasMatch());
    const int kept = int(record.count('\n')) - linesBefore - 1;
    QCOMPARE(marker.captured(1).toInt() + kept, linesAfter);
    QVERIFY(record.contains(line(linesBefore + linesAfter - kept).toUtf8()));

    // The disk takes text again: the record goes there whole, marker included.
    const LogSpool::Snapshot resumed = spool.snapshot();
    QVERIFY(!spool.isInMemory());
    QVERIFY(resumed.memory.isEmpty());
    QCOMPARE(recordOf(resumed), record);
    spool.append(line(linesBefore + linesAfter));
    QCOMPARE(recordOf(spool.snapshot()), record + line(linesBefore + linesAfter).toUtf8());
}

QTEST_MAIN(TestLogSpool)
#include "tst_logspool.moc"
