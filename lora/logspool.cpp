#include "lora/logspool.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <algorithm>

namespace {
constexpr qint64 copyChunkBytes = 1024 * 1024;
} // namespace

LogSpool::LogSpool() = default;

LogSpool::~LogSpool() = default;

void LogSpool::append(const QString &text)
{
    if (text.isEmpty())
        return;
    empty = false;
    if (!isComplete() || (!file && !open()))
        return;
    const QByteArray bytes = text.toUtf8();
    if (file->write(bytes) != bytes.size())
        fail();
}

void LogSpool::flush()
{
    if (file && !file->flush())
        fail();
}

void LogSpool::clear()
{
    file.reset();
    failed = false;
    empty = true;
}

bool LogSpool::isEmpty() const
{
    return empty;
}

bool LogSpool::isComplete() const
{
    return !failed;
}

QString LogSpool::directoryPath() const
{
    return directory;
}

bool LogSpool::copyTo(QIODevice &target)
{
    flush();
    if (!isComplete())
        return false;
    if (!file)
        return true;
    const qint64 end = file->pos();
    bool copied = file->seek(0);
    for (qint64 done = 0; copied && done < end;) {
        const QByteArray chunk = file->read(std::min(copyChunkBytes, end - done));
        if (chunk.isEmpty()) {
            fail();
            return false;
        }
        copied = target.write(chunk) == chunk.size();
        done += chunk.size();
    }
    // Later text goes on after the end, not over what was just read.
    if (!file->seek(end)) {
        fail();
        return false;
    }
    return copied;
}

bool LogSpool::open()
{
    directory = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    // Where the system allows, the file has no name in the directory at all, so that
    // not even a crash leaves it behind; elsewhere the random part of the name keeps
    // two running programs apart.
    auto spool = std::make_unique<QTemporaryFile>(
            QStringLiteral("%1/lora-logs-XXXXXX.log").arg(directory));
    if (directory.isEmpty() || !QDir().mkpath(directory) || !spool->open()) {
        failed = true;
        return false;
    }
    file = std::move(spool);
    return true;
}

void LogSpool::fail()
{
    failed = true;
    // An incomplete record is of no use, and on a full disk its space is wanted back.
    file.reset();
}
