#pragma once

#include "lora/logspool.h"

#include <QObject>
#include <QString>

#include <memory>

class QThread;

// Writes a log record to a file in a thread of its own, so that a record of hundreds
// of megabytes, or a slow USB stick, never holds up the window. The file appears
// under its name only when written whole: a cancel or a failure leaves none.
class LogSaver : public QObject
{
    Q_OBJECT

public:
    // The record's file is read through a handle of the saver's own: the spool may
    // go on, or be cleared, meanwhile.
    LogSaver(const LogSpool::Snapshot &record, const QString &path, QObject *parent = nullptr);
    // Cancels a save that still runs and waits for its thread.
    ~LogSaver() override;

    void start();
    void cancel();
    qint64 totalBytes() const;
    qint64 savedBytes() const;
    // Why a finished save failed, in the system's words.
    QString errorString() const;

signals:
    void finished(bool saved, bool cancelled);

private:
    struct Job;
    std::shared_ptr<Job> job;
    QThread *thread = nullptr;
};
