#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <optional>

// What one run of kelvane-cli is asked to do, read from its arguments and checked
// whole before any port opens: a mistake ends the run with one line and status 2.
class CliOptions
{
public:
    enum class Command { Ports, Read, Diff, Apply, Logs, Report, Survey };

    // The program's exit statuses; with several gateways the highest one counts. A
    // survey's site that falls short of what was asked shares the status of drift.
    enum Status {
        Done = 0,
        Drift = 1,
        Usage = 2,
        PortFailure = 3,
        NoAnswer = 4,
        WriteFailure = 5,
        Shortfall = Drift,
    };

    static constexpr double defaultWaitAdapterSeconds = 10;
    // --seconds, --log-seconds and --wait-adapter: a day at most, which the timers
    // still hold.
    static constexpr double maximumSeconds = 86400;

    // False with the reason in *error, one line per mistake. Reads the preset and
    // checks its fields, with the --set values laid over them, by the pages' rules.
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
    // Without the keys that no page shows.
    QJsonObject preset;
    // What the checks left out of the preset, one line each, for standard error.
    QStringList leftOut;
    // --set values by group and key, typed as the pages type them.
    QJsonObject overrides;
    bool json = false;
    QString out;
    QString note;
    // logs: 0 streams until interrupted; survey: seconds of log to take in.
    double seconds = 0;
    double logSeconds = 0;
    // How long a pulled adapter is waited for before its gateway fails.
    double waitAdapterSeconds = defaultWaitAdapterSeconds;
    // survey: the packets' CSV, thresholds a site must meet, and a saved log read
    // instead of a gateway's stream.
    QString csv;
    std::optional<qint64> minPackets;
    std::optional<double> minSnr;
    QString fromLog;
    // Told when the console refuses the login: what may be wrong with the password.
    QString loginRefusalHint;

    // --out for one port: "%p" becomes the port as given, without "/dev/" and with
    // every "/" as "_".
    QString outFor(const QString &port) const { return withPort(out, port); }
    QString csvFor(const QString &port) const { return withPort(csv, port); }
    bool needsPassword() const { return command != Command::Ports && fromLog.isEmpty(); }

    static QString modelName(int code);
    // Latin or Cyrillic model name, or its code 0..3; -1 when unknown.
    static int modelCode(const QString &text);
    static QString manual();
    static QString versionText();

private:
    bool checkPreset(QString *error);
    bool checkSurvey(bool secondsGiven, QString *error);
    static QString withPort(const QString &pattern, const QString &port);
};
