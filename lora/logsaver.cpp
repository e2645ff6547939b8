#include "lora/logsaver.h"

#include "settings/writeerror.h"

#include <QSaveFile>
#include <QThread>

#include <atomic>
#include <cerrno>
#include <unistd.h>

namespace {
constexpr qint64 copyChunkBytes = 1024 * 1024;
} // namespace

struct LogSaver::Job
{
    ~Job()
    {
        if (handle >= 0)
            ::close(handle);
    }

    int handle = -1;
    qint64 fileBytes = 0;
    QList<QByteArray> memory;
    QString path;
    qint64 total = 0;
    std::atomic<qint64> done{0};
    std::atomic<bool> cancelled{false};
    bool saved = false;
    QString failure;

    bool write(QSaveFile &out, const char *bytes, qint64 size)
    {
        if (cancelled)
            return false;
        errno = 0;
        if (out.write(bytes, size) != size) {
            failure = WriteError::reason(out);
            return false;
        }
        done += size;
        return true;
    }

    // Reads by position: the spool's own writes go on at its end meanwhile.
    bool copyRecordedPart(QSaveFile &out)
    {
        QByteArray chunk(copyChunkBytes, Qt::Uninitialized);
        for (qint64 at = 0; at < fileBytes;) {
            const ssize_t got = ::pread(handle, chunk.data(),
                                        size_t(qMin(copyChunkBytes, fileBytes - at)), off_t(at));
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0) {
                failure = qt_error_string(got < 0 ? errno : EIO);
                return false;
            }
            if (!write(out, chunk.constData(), got))
                return false;
            at += got;
        }
        return true;
    }

    void run()
    {
        QSaveFile out(path);
        if (!out.open(QIODevice::WriteOnly)) {
            failure = WriteError::reason(out);
            return;
        }
        if (!copyRecordedPart(out))
            return;
        for (const QByteArray &block : std::as_const(memory)) {
            if (!write(out, block.constData(), block.size()))
                return;
        }
        if (cancelled)
            return;
        // commit() does not see a failed write of the last buffered bytes.
        saved = out.flush() && out.commit();
        if (!saved)
            failure = WriteError::reason(out);
    }
};

LogSaver::LogSaver(const LogSpool::Snapshot &record, const QString &path, QObject *parent)
    : QObject(parent), job(std::make_shared<Job>())
{
    job->handle = record.fileHandle >= 0 ? ::dup(record.fileHandle) : -1;
    job->fileBytes = record.fileBytes;
    job->memory = record.memory;
    job->path = path;
    job->total = record.totalBytes();
}

LogSaver::~LogSaver()
{
    if (!thread)
        return;
    job->cancelled = true;
    thread->wait();
    delete thread;
}

void LogSaver::start()
{
    if (thread)
        return;
    thread = QThread::create([job = job] { job->run(); });
    connect(thread, &QThread::finished, this,
            [this] { emit finished(job->saved, job->cancelled && !job->saved); });
    thread->start();
}

void LogSaver::cancel()
{
    job->cancelled = true;
}

qint64 LogSaver::totalBytes() const
{
    return job->total;
}

qint64 LogSaver::savedBytes() const
{
    return job->done;
}

QString LogSaver::errorString() const
{
    return job->failure;
}
