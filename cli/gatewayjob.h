#pragma once

#include "cli/clioptions.h"
#include "report/commissioningreport.h"
#include "session/gatewaysession.h"
#include "survey/forwarderlogparser.h"
#include "survey/surveystatistics.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QJsonObject>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

// One gateway of a kelvane-cli run: the steps of its command (what to read, what to
// apply, where to write) on a gateway session, and its result and exit status. A
// survey of a saved log is a job of its own, without a session.
// Child QTimers "streamTimer" (--seconds) and "adapterTimer" (--wait-adapter); the
// session's own are named as in GatewaySession.
class GatewayJob : public QObject
{
    Q_OBJECT

public:
    GatewayJob(const CliOptions &options, const QString &port, const QByteArray &password,
               QObject *parent = nullptr);
    ~GatewayJob() override;

    void start();
    // Ctrl+C: the log stream ends as asked; any other command ends there, and an
    // apply that went out is called unknown.
    void interrupt();
    // Several gateways share one history file: their entries name their ports.
    void nameInHistory();

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
    enum class Stage { Idle, Connecting, Reading, Applying, Streaming, Finished };

    void loggedIn();
    void settingsArrived(const QJsonObject &received);
    void exchangeFailed(GatewaySession::State exchange, GatewaySession::Failure failure, int code,
                        const QString &text);
    void applyFinished(const ApplyOutcome &outcome);
    void adapterLost(bool applyOutcomeUnknown);
    void adapterBack(const QJsonObject &current);
    void adapterNotBack();
    void takeSettings(const QJsonObject &received);
    bool checkModelGroups();
    void writeRead();
    void writeDiff();
    void startApply();
    void finishConfirmed(int fields);
    void reportDrift(const QList<SettingsChange> &drift, const QString &refusal);
    void startStream();
    void streamed(const QString &text);
    void endStream();
    void readSavedLog();
    void finishSurvey(bool withTimes);
    void writeReport();
    void finish(int status, const QString &text);
    QString fieldLine(const QString &group, const QString &key, const QJsonValue &from,
                      const QJsonValue &to) const;

    const CliOptions &options;
    QString portName;
    QString device;
    QByteArray password;
    GatewaySession *session;
    Stage stage = Stage::Idle;
    int reportedModel = -1;
    int model = -1;
    QJsonObject held;
    QJsonObject deviceInfo;
    // An apply went out: from then on its outcome is unknown until a read-back tells.
    bool applySent = false;
    // A returned adapter gets the step once more, once.
    bool retried = false;
    bool applyOutcomeUnknown = false;
    // What the first apply changed, which a returned gateway may show taken.
    int appliedFields = 0;
    QString streamedText;
    // What the stream (or the saved log) tells as a site survey.
    SurveyStatistics survey;
    ForwarderLogParser parser{&survey};
    QElapsedTimer streamClock;
    QTimer streamTimer;
    QTimer adapterTimer;
    int exitStatus = CliOptions::Done;
    QString summary;
    QStringList details;
    QJsonObject extra;
    CommissioningReport::Content report;
};
