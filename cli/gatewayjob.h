#pragma once

#include "cli/clioptions.h"
#include "report/commissioningreport.h"

#include <QByteArray>
#include <QJsonObject>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>

class SPortConnector;

// One gateway of a kelvane-cli run: connects and logs in, runs the command with the
// window's link and settings rules, and ends with one result and an exit status.
// Child QTimers "replyTimer" (30 s for each answer) and "streamTimer" (--seconds).
class GatewayJob : public QObject
{
    Q_OBJECT

public:
    static constexpr int replyTimeoutMs = 30000;

    GatewayJob(const CliOptions &options, const QString &port, const QByteArray &password,
               QObject *parent = nullptr);
    ~GatewayJob() override;

    void start();
    // Ctrl+C: the log stream ends as asked; any other command ends unanswered.
    void interrupt();

    QString port() const { return portName; }
    bool isFinished() const { return stage == Stage::Finished; }
    int status() const { return exitStatus; }
    // "PORT: STATUS WORD: TEXT"
    QString resultLine() const;
    // Further lines of the result (diff and drift fields), each without its port.
    QStringList detailLines() const { return details; }
    // The gateway's result for --json.
    QJsonObject resultObject() const;
    // What the report command printed (or would print).
    CommissioningReport::Content reportContent() const { return report; }

signals:
    void progress(const QString &text);
    void logText(const QString &text);
    void finished();

private:
    enum class Stage { Idle, Connecting, Reading, Applying, ReadingBack, Streaming, Finished };

    void connectAt(int baudRate);
    void connectionFailed();
    void loggedIn();
    void settingsArrived(QJsonObject *settings);
    void gatewayRefused(int code, const QString &detail);
    void replyMissing();
    void takeSettings(const QJsonObject &received);
    bool checkModelGroups();
    void writeRead();
    void writeDiff();
    void startApply();
    void finishApply(const QJsonObject &readBack);
    void startStream();
    void streamed(const QString &text);
    void endStream();
    void writeReport();
    void finish(int status, const QString &text);
    QString fieldLine(const QString &group, const QString &key, const QJsonValue &from,
                      const QJsonValue &to) const;

    const CliOptions &options;
    QString portName;
    QString device;
    QByteArray password;
    QPointer<SPortConnector> link;
    int baudRate = CliOptions::slowBaudRate;
    Stage stage = Stage::Idle;
    int reportedModel = -1;
    int model = -1;
    QJsonObject held;
    QJsonObject deviceInfo;
    QJsonObject sent;
    int changedFields = 0;
    QString refusal;
    QString streamedText;
    QTimer replyTimer;
    QTimer streamTimer;
    int exitStatus = CliOptions::Done;
    QString summary;
    QStringList details;
    QJsonObject extra;
    CommissioningReport::Content report;
};
