#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QString>

#include <memory>

class QTemporaryFile;

// The complete record of a log stream in a file of the user's cache directory, so that
// a whole day of text costs disk instead of memory. The file belongs to this process
// alone, is created with the first text and removed at clear and destruction.
// When the file takes no more (a full or read-only disk), what it holds stays, later
// text is kept in memory up to a bound, past which its oldest lines go and a marker
// line tells how many; the file takes the text again once a write succeeds.
class LogSpool
{
public:
    static constexpr qint64 memoryLimitBytes = 64 * 1024 * 1024;

    // The record as it stands, for a save: the file's first fileBytes, then memory.
    struct Snapshot
    {
        // Borrowed: valid until the spool is cleared or destroyed; -1 without a file.
        int fileHandle = -1;
        qint64 fileBytes = 0;
        QList<QByteArray> memory;
        qint64 totalBytes() const;
    };

    explicit LogSpool(qint64 memoryLimit = memoryLimitBytes);
    ~LogSpool();

    void append(const QString &text);
    // Hands the text to the file; while text is kept in memory, tries the file again
    // at most once a second.
    void flush();
    void clear();
    // Nothing was appended since the last clear.
    bool isEmpty() const;
    // The file took no more, and later text is kept in memory.
    bool isInMemory() const;
    // Why the file took no more.
    QString failureReason() const;
    // Where the file is kept; empty before the first text.
    QString directoryPath() const;
    // Tries the file once more first.
    Snapshot snapshot();

private:
    bool open();
    bool writeOut(const QByteArray &bytes);
    void keepInMemory(const QByteArray &bytes);
    void retry();
    QByteArray markerLine() const;

    std::unique_ptr<QTemporaryFile> file;
    QString directory;
    const qint64 memoryLimit;
    // Appended and not handed to the file yet.
    QByteArray pending;
    qint64 recordedBytes = 0;
    bool recordEndsLine = true;
    bool inMemory = false;
    QList<QByteArray> memory;
    qint64 memoryBytes = 0;
    qint64 droppedLines = 0;
    QString reason;
    QElapsedTimer sinceRetry;
    bool empty = true;
};
