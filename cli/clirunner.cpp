#include "cli/clirunner.h"

#include "cli/gatewayjob.h"
#include "cli/passwordsource.h"
#include "link/serialadapters.h"
#include "settings/writeerror.h"

#include <QFileInfo>
#include <QHash>
#include <QIODevice>
#include <QJsonDocument>
#include <QJsonObject>

#include <cerrno>

CliRunner::CliRunner(QIODevice *out, QIODevice *err, QObject *parent)
    : QObject(parent), out(out), err(err)
{ }

void CliRunner::start(const QStringList &arguments)
{
    QString error;
    const bool parsed = options.parse(arguments, &error);
    for (const QString &line : std::as_const(options.leftOut))
        tell(line);
    if (!parsed) {
        tell(error);
        end(CliOptions::Usage);
        return;
    }
    if (options.help || options.version) {
        write(out, options.help ? CliOptions::manual() : CliOptions::versionText());
        end(CliOptions::Done);
        return;
    }
    if (options.command == CliOptions::Command::Ports) {
        listPorts();
        end(CliOptions::Done);
        return;
    }
    if (!portsAreDistinct(&error)) {
        write(err, QStringLiteral("kelvane-cli: %1\n").arg(error));
        end(CliOptions::Usage);
        return;
    }
    QByteArray password;
    if (options.needsPassword()
        && !PasswordSource::obtain(options.passwordFile, options.user, &password, &error,
                                   &options.loginRefusalHint)) {
        tell(error);
        end(CliOptions::Usage);
        return;
    }
    const bool severalPorts = options.ports.size() > 1;
    // A saved log stands where a port would.
    const QStringList sources
            = options.fromLog.isEmpty() ? options.ports : QStringList{options.fromLog};
    for (const QString &port : sources) {
        auto *job = new GatewayJob(options, port, password, this);
        gatewayJobs.append(job);
        connect(job, &GatewayJob::progress, this, [this, port](const QString &text) {
            write(err, QStringLiteral("%1: %2\n").arg(port, text));
        });
        connect(job, &GatewayJob::logText, this, [this, port, severalPorts](const QString &text) {
            if (!severalPorts) {
                write(out, text);
                return;
            }
            for (const QString &line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
                write(out, QStringLiteral("%1: %2\n").arg(port, line));
        });
        connect(job, &GatewayJob::finished, this, [this, job] { jobFinished(job); });
        if (severalPorts)
            job->nameInHistory();
    }
    password.fill('\0');
    // Each job starts from the event loop, so that its result never comes first.
    for (GatewayJob *job : std::as_const(gatewayJobs))
        QMetaObject::invokeMethod(job, &GatewayJob::start, Qt::QueuedConnection);
}

void CliRunner::interrupt()
{
    for (GatewayJob *job : std::as_const(gatewayJobs)) {
        if (!job->isFinished())
            job->interrupt();
    }
}

// Two names of one adapter (a link and its target, two by-id names) would make two
// jobs fight over one port.
bool CliRunner::portsAreDistinct(QString *error) const
{
    QHash<QString, QString> portOf;
    for (const QString &port : std::as_const(options.ports)) {
        const QString device = QFileInfo(SerialAdapters::devicePath(SerialAdapters::locate(port)))
                                       .canonicalFilePath();
        if (device.isEmpty())
            continue;
        if (portOf.contains(device)) {
            *error = QStringLiteral("--port %1 and --port %2 are the same adapter, %3")
                             .arg(portOf.value(device), port, device);
            return false;
        }
        portOf.insert(device, port);
    }
    return true;
}

void CliRunner::listPorts()
{
    for (const SerialAdapter &adapter : SerialAdapters::arranged(SerialAdapters::present())) {
        if (!options.json) {
            write(out, SerialAdapters::displayText(adapter) + QLatin1Char('\n'));
            continue;
        }
        const QJsonObject object{{"device", adapter.systemLocation},
                                 {"description", adapter.description},
                                 {"manufacturer", adapter.manufacturer},
                                 {"serialNumber", adapter.serialNumber},
                                 {"byId", adapter.byIdPath}};
        write(out, QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)) + '\n');
    }
}

void CliRunner::jobFinished(GatewayJob *job)
{
    worst = qMax(worst, job->status());
    if (options.json) {
        write(out,
              QString::fromUtf8(QJsonDocument(job->resultObject()).toJson(QJsonDocument::Compact))
                      + '\n');
    } else {
        // A settings document or a log on standard output stays as it is.
        const bool documentOnOut
                = (options.command == CliOptions::Command::Read && options.out.isEmpty())
                || options.command == CliOptions::Command::Logs;
        QString text = job->resultLine() + QLatin1Char('\n');
        for (const QString &line : job->detailLines())
            text += QStringLiteral("    %1\n").arg(line);
        write(documentOnOut ? err : out, text);
    }
    for (GatewayJob *other : std::as_const(gatewayJobs)) {
        if (!other->isFinished())
            return;
    }
    end(worst);
}

void CliRunner::end(int status)
{
    if (!outputFailure.isEmpty()) {
        tell(QStringLiteral("could not write the output: %1").arg(outputFailure));
        status = qMax(status, int(CliOptions::WriteFailure));
    }
    QMetaObject::invokeMethod(
            this, [this, status] { emit finished(status); }, Qt::QueuedConnection);
}

void CliRunner::write(QIODevice *device, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    errno = 0;
    if (device->write(bytes) != bytes.size() && device == out && outputFailure.isEmpty())
        outputFailure = WriteError::reason(*device);
}

void CliRunner::tell(const QString &text)
{
    for (const QString &line : text.split(QLatin1Char('\n')))
        write(err, QStringLiteral("kelvane-cli: %1\n").arg(line));
}
