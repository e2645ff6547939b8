#pragma once

#include <QString>

#include <memory>

class QIODevice;
class QTemporaryFile;

// The complete record of a log stream in a file of the user's cache directory, so that
// a whole day of text costs disk instead of memory. The file belongs to this process
// alone, is created with the first text and removed at clear and destruction.
class LogSpool
{
public:
    LogSpool();
    ~LogSpool();

    void append(const QString &text);
    // Hands the buffered text to the file.
    void flush();
    void clear();
    // Nothing was appended since the last clear.
    bool isEmpty() const;
    // Every appended byte reached the file.
    bool isComplete() const;
    // Where the file is kept; empty before the first text.
    QString directoryPath() const;
    // Writes the whole record to target; false when reading or writing fails.
    bool copyTo(QIODevice &target);

private:
    bool open();
    void fail();

    std::unique_ptr<QTemporaryFile> file;
    QString directory;
    bool failed = false;
    bool empty = true;
};
