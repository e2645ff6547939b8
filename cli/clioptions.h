#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

// What one run of kelvane-cli is asked to do, read from its arguments and checked
// whole before any port opens: a mistake ends the run with one line and status 2.
class CliOptions
{
public:
    enum class Command { Ports, Read, Diff, Apply, Logs, Report };

    // The program's exit statuses; with several gateways the highest one counts.
    enum Status { Done = 0, Drift = 1, Usage = 2, PortFailure = 3, NoAnswer = 4 };

    static constexpr double defaultWaitAdapterSeconds = 10;

    // False with a one-line reason in *error. Reads and checks the preset too.
    bool parse(const QStringList &arguments, QString *error);

    bool help = false;
    bool version = false;
    Command command = Command::Ports;
    // As given: device paths or /dev/serial/by-id names.
    QStringList ports;
    QString user = QStringLiteral("root");
    QString passwordFile;
    // -1: the model the gateway reports.
    int model = -1;
    QString presetPath;
    QJsonObject preset;
    // --set values by group and key, typed as the pages type them.
    QJsonObject overrides;
    bool json = false;
    QString out;
    QString note;
    // logs: 0 streams until interrupted; report: seconds of log to take in.
    double seconds = 0;
    double logSeconds = 0;
    // How long a pulled adapter is waited for before its gateway fails.
    double waitAdapterSeconds = defaultWaitAdapterSeconds;

    // --out for one port: "%p" becomes the port as given, without "/dev/" and with
    // every "/" as "_".
    QString outFor(const QString &port) const;
    bool needsPassword() const { return command != Command::Ports; }

    static QString modelName(int code);
    // Latin or Cyrillic model name, or its code 0..3; -1 when unknown.
    static int modelCode(const QString &text);
    static QString manual();
    static QString versionText();
};
