#pragma once

#include "cli/clioptions.h"

#include <QList>
#include <QObject>
#include <QStringList>

class GatewayJob;
class QIODevice;

// One run of kelvane-cli: checks the arguments, then runs the command on every
// port at once in this thread's event loop. Results go to out, one line or one
// JSON object per gateway; progress goes to err, each line under its port.
class CliRunner : public QObject
{
    Q_OBJECT

public:
    CliRunner(QIODevice *out, QIODevice *err, QObject *parent = nullptr);

    // Ends with finished(status), never before the event loop runs.
    void start(const QStringList &arguments);
    void interrupt();

    const QList<GatewayJob *> &jobs() const { return gatewayJobs; }

signals:
    void finished(int status);

private:
    bool portsAreDistinct(QString *error) const;
    void listPorts();
    void jobFinished(GatewayJob *job);
    void end(int status);
    void write(QIODevice *device, const QString &text);
    // Each line of text on err, as the program's own.
    void tell(const QString &text);

    QIODevice *out;
    QIODevice *err;
    CliOptions options;
    QList<GatewayJob *> gatewayJobs;
    int worst = CliOptions::Done;
    // Why standard output took no more, in the system's words.
    QString outputFailure;
};
