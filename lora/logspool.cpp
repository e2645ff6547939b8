#include "lora/logspool.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <utility>

namespace {

// Text waits in memory for one write of about this much, or for the next flush.
constexpr qsizetype pendingLimitBytes = 64 * 1024;
constexpr int retryPeriodMs = 1000;
// Memory is kept in blocks, so that the oldest go without moving the rest.
constexpr qint64 blocksInMemory = 64;

// A write that fails must leave nothing behind that a later write would push out.
class SpoolFile : public QTemporaryFile
{
public:
    using QTemporaryFile::QTemporaryFile;
    bool openUnbuffered()
    {
        return QTemporaryFile::open(QIODevice::ReadWrite | QIODevice::Unbuffered);
    }
};

} // namespace

qint64 LogSpool::Snapshot::totalBytes() const
{
    qint64 total = fileBytes;
    for (const QByteArray &block : memory)
        total += block.size();
    return total;
}

LogSpool::LogSpool(qint64 memoryLimit) : memoryLimit(memoryLimit) { }

LogSpool::~LogSpool() = default;

void LogSpool::append(const QString &text)
{
    if (text.isEmpty())
        return;
    empty = false;
    if (inMemory) {
        keepInMemory(text.toUtf8());
        return;
    }
    pending += text.toUtf8();
    if (pending.size() >= pendingLimitBytes)
        flush();
}

void LogSpool::flush()
{
    if (inMemory) {
        if (sinceRetry.hasExpired(retryPeriodMs))
            retry();
        return;
    }
    if (pending.isEmpty())
        return;
    if ((file || open()) && writeOut(pending)) {
        pending.clear();
        return;
    }
    inMemory = true;
    sinceRetry.start();
    keepInMemory(std::exchange(pending, QByteArray()));
}

void LogSpool::clear()
{
    file.reset();
    pending.clear();
    recordedBytes = 0;
    recordEndsLine = true;
    inMemory = false;
    memory.clear();
    memoryBytes = 0;
    droppedLines = 0;
    reason.clear();
    empty = true;
}

bool LogSpool::isEmpty() const
{
    return empty;
}

bool LogSpool::isInMemory() const
{
    return inMemory;
}

QString LogSpool::failureReason() const
{
    return reason;
}

QString LogSpool::directoryPath() const
{
    return directory;
}

LogSpool::Snapshot LogSpool::snapshot()
{
    if (inMemory)
        retry();
    else
        flush();
    Snapshot record;
    record.fileHandle = file ? file->handle() : -1;
    record.fileBytes = recordedBytes;
    if (inMemory) {
        if (droppedLines > 0)
            record.memory.append(markerLine());
        record.memory += memory;
    }
    return record;
}

bool LogSpool::open()
{
    directory = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    // Where the system allows, the file has no name in the directory at all, so that
    // not even a crash leaves it behind; elsewhere the random part of the name keeps
    // two running programs apart.
    auto spool
            = std::make_unique<SpoolFile>(QStringLiteral("%1/lora-logs-XXXXXX.log").arg(directory));
    if (directory.isEmpty() || !QDir().mkpath(directory) || !spool->openUnbuffered()) {
        reason = QCoreApplication::translate("LogSpool", "не удалось создать файл в %1")
                         .arg(QDir::toNativeSeparators(directory));
        return false;
    }
    file = std::move(spool);
    return true;
}

// Part of the bytes may have gone in before the failure: the record ends where the
// last whole write ended.
bool LogSpool::writeOut(const QByteArray &bytes)
{
    if (file->write(bytes) == bytes.size()) {
        recordedBytes += bytes.size();
        recordEndsLine = bytes.endsWith('\n');
        return true;
    }
    reason = file->errorString();
    file->resize(recordedBytes);
    file->seek(recordedBytes);
    return false;
}

void LogSpool::keepInMemory(const QByteArray &bytes)
{
    const qint64 blockBytes = qMax<qint64>(1, memoryLimit / blocksInMemory);
    if (memory.isEmpty() || memory.last().size() >= blockBytes)
        memory.append(bytes);
    else
        memory.last().append(bytes);
    memoryBytes += bytes.size();
    while (memoryBytes > memoryLimit && memory.size() > 1) {
        const QByteArray oldest = memory.takeFirst();
        memoryBytes -= oldest.size();
        droppedLines += oldest.count('\n');
        // What is kept starts a line.
        QByteArray &next = memory.first();
        const qsizetype lineEnd = next.indexOf('\n');
        if (lineEnd >= 0) {
            next.remove(0, lineEnd + 1);
            memoryBytes -= lineEnd + 1;
            ++droppedLines;
        }
    }
}

// Everything kept goes to the file in order, or none of it does.
void LogSpool::retry()
{
    sinceRetry.start();
    if (!file && !open())
        return;
    const qint64 before = recordedBytes;
    const bool endedLine = recordEndsLine;
    bool written = droppedLines == 0 || writeOut(markerLine());
    for (qsizetype i = 0; written && i < memory.size(); ++i)
        written = writeOut(memory.at(i));
    if (!written) {
        file->resize(before);
        file->seek(before);
        recordedBytes = before;
        recordEndsLine = endedLine;
        return;
    }
    memory.clear();
    memoryBytes = 0;
    droppedLines = 0;
    inMemory = false;
    reason.clear();
}

QByteArray LogSpool::markerLine() const
{
    const QString marker = QCoreApplication::translate("LogSpool", "--- пропущено строк: %1 ---")
                                   .arg(droppedLines);
    return (recordEndsLine ? QByteArray() : QByteArrayLiteral("\n")) + marker.toUtf8() + '\n';
}
