#include "cli/clioptions.h"

#include "settings/fieldrules.h"
#include "settings/presetcheck.h"
#include "settings/presetfile.h"
#include "settings/settingsrules.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QHash>

#include <cmath>

namespace {

const QStringList modelNames{"TK-0", "TK-1", "TK-3", "TK-3Max"};
const QStringList cyrillicModelNames{"ТК-0", "ТК-1", "ТК-3", "ТК-3Max"};

const QHash<QString, CliOptions::Command> commands{
        {"ports", CliOptions::Command::Ports},   {"read", CliOptions::Command::Read},
        {"diff", CliOptions::Command::Diff},     {"apply", CliOptions::Command::Apply},
        {"logs", CliOptions::Command::Logs},     {"report", CliOptions::Command::Report},
        {"survey", CliOptions::Command::Survey},
};

// Options that only some commands take.
struct CommandOption
{
    const char *name;
    QList<CliOptions::Command> commands;
};

const QList<CommandOption> commandOptions{
        {"out", {CliOptions::Command::Read, CliOptions::Command::Report}},
        {"seconds", {CliOptions::Command::Logs, CliOptions::Command::Survey}},
        {"csv", {CliOptions::Command::Survey}},
        {"min-packets", {CliOptions::Command::Survey}},
        {"min-snr", {CliOptions::Command::Survey}},
        {"from-log", {CliOptions::Command::Survey}},
        {"note", {CliOptions::Command::Report}},
        {"log-seconds", {CliOptions::Command::Report}},
        {"set", {CliOptions::Command::Diff, CliOptions::Command::Apply}},
};

// Not-a-number fails both comparisons.
bool acceptableSeconds(const QString &text, double *seconds)
{
    bool ok = false;
    *seconds = text.toDouble(&ok);
    return ok && *seconds > 0 && *seconds <= CliOptions::maximumSeconds;
}

// A settings file holds at least one settings group, and every group it names is one.
bool isSettingsDocument(const QJsonObject &document)
{
    bool hasGroup = false;
    for (auto entry = document.constBegin(); entry != document.constEnd(); ++entry) {
        if (!FieldRules::isKnownGroup(entry.key()))
            continue;
        if (!entry.value().isObject())
            return false;
        hasGroup = true;
    }
    return hasGroup;
}

bool readPreset(const QString &path, QJsonObject *preset, QString *error)
{
    const PresetFile::ReadResult result = PresetFile::read(path);
    switch (result.status) {
    case PresetFile::ReadStatus::Ok:
        if (!isSettingsDocument(result.document)) {
            *error = QStringLiteral("%1 is not a settings file").arg(path);
            return false;
        }
        *preset = result.document;
        return true;
    case PresetFile::ReadStatus::CannotOpen:
        *error = QFileInfo::exists(path) ? QStringLiteral("cannot read the preset %1").arg(path)
                                         : QStringLiteral("no preset file %1").arg(path);
        return false;
    case PresetFile::ReadStatus::Empty:
        *error = QStringLiteral("the preset %1 is empty").arg(path);
        return false;
    case PresetFile::ReadStatus::NotSettings:
        *error = QStringLiteral("%1 is not a settings file").arg(path);
        return false;
    }
    return false;
}

} // namespace

bool CliOptions::parse(const QStringList &arguments, QString *error)
{
    QCommandLineParser parser;
    const QCommandLineOption portOption("port", QString(), "port");
    const QCommandLineOption userOption("user", QString(), "name");
    const QCommandLineOption passwordFileOption("password-file", QString(), "file");
    const QCommandLineOption passwordOption("password", QString(), "password");
    const QCommandLineOption modelOption("model", QString(), "model");
    const QCommandLineOption setOption("set", QString(), "group.key=value");
    const QCommandLineOption jsonOption("json");
    const QCommandLineOption outOption("out", QString(), "file");
    const QCommandLineOption noteOption("note", QString(), "text");
    const QCommandLineOption secondsOption("seconds", QString(), "n");
    const QCommandLineOption logSecondsOption("log-seconds", QString(), "n");
    const QCommandLineOption waitAdapterOption("wait-adapter", QString(), "n");
    const QCommandLineOption csvOption("csv", QString(), "file");
    const QCommandLineOption minPacketsOption("min-packets", QString(), "n");
    const QCommandLineOption minSnrOption("min-snr", QString(), "db");
    const QCommandLineOption fromLogOption("from-log", QString(), "file");
    const QCommandLineOption helpOption(QStringList{"h", "help"});
    const QCommandLineOption versionOption("version");
    parser.addOptions({portOption, userOption, passwordFileOption, passwordOption, modelOption,
                       setOption, jsonOption, outOption, noteOption, secondsOption,
                       logSecondsOption, waitAdapterOption, csvOption, minPacketsOption,
                       minSnrOption, fromLogOption, helpOption, versionOption});
    if (!parser.parse(QStringList{QStringLiteral("kelvane-cli")} + arguments)) {
        *error = parser.errorText();
        return false;
    }
    help = parser.isSet(helpOption);
    version = parser.isSet(versionOption);
    if (help || version)
        return true;
    if (parser.isSet(passwordOption)) {
        *error = QStringLiteral("the password is never an argument: use --password-file or "
                                "KELVANE_PASSWORD, or type it when asked");
        return false;
    }

    QStringList positional = parser.positionalArguments();
    if (positional.isEmpty()) {
        *error = QStringLiteral("no command: ports, read, diff, apply, logs, report or survey");
        return false;
    }
    const QString name = positional.takeFirst();
    if (!commands.contains(name)) {
        *error = QStringLiteral("unknown command \"%1\"").arg(name);
        return false;
    }
    command = commands.value(name);
    for (const CommandOption &option : commandOptions) {
        if (parser.isSet(QLatin1String(option.name)) && !option.commands.contains(command)) {
            *error = QStringLiteral("%1 takes no --%2").arg(name, QLatin1String(option.name));
            return false;
        }
    }
    const bool takesPreset = command == Command::Diff || command == Command::Apply;
    if (takesPreset && positional.isEmpty()) {
        *error = QStringLiteral("%1 needs a preset file").arg(name);
        return false;
    }
    if (takesPreset)
        presetPath = positional.takeFirst();
    if (!positional.isEmpty()) {
        *error = QStringLiteral("unexpected argument \"%1\"").arg(positional.first());
        return false;
    }

    ports = parser.values(portOption);
    fromLog = parser.value(fromLogOption);
    if (command != Command::Ports && ports.isEmpty() && fromLog.isEmpty()) {
        *error = QStringLiteral("no --port given");
        return false;
    }
    for (const QString &port : std::as_const(ports)) {
        if (ports.count(port) > 1) {
            *error = QStringLiteral("--port %1 is given twice").arg(port);
            return false;
        }
    }
    if (parser.isSet(userOption))
        user = parser.value(userOption);
    passwordFile = parser.value(passwordFileOption);
    json = parser.isSet(jsonOption);
    note = parser.value(noteOption);

    if (parser.isSet(modelOption)) {
        model = modelCode(parser.value(modelOption));
        if (model < 0) {
            *error = QStringLiteral("unknown model \"%1\": TK-0, TK-1, TK-3 or TK-3Max")
                             .arg(parser.value(modelOption));
            return false;
        }
    }
    if (parser.isSet(secondsOption) && !acceptableSeconds(parser.value(secondsOption), &seconds)) {
        *error = QStringLiteral("--seconds takes a number of seconds above 0, up to %1")
                         .arg(maximumSeconds);
        return false;
    }
    if (parser.isSet(logSecondsOption)
        && !acceptableSeconds(parser.value(logSecondsOption), &logSeconds)) {
        *error = QStringLiteral("--log-seconds takes a number of seconds above 0, up to %1")
                         .arg(maximumSeconds);
        return false;
    }

    if (parser.isSet(minPacketsOption)) {
        bool ok = false;
        minPackets = parser.value(minPacketsOption).toLongLong(&ok);
        if (!ok || *minPackets < 0) {
            *error = QStringLiteral("--min-packets takes a whole number of packets");
            return false;
        }
    }
    if (parser.isSet(minSnrOption)) {
        bool ok = false;
        minSnr = parser.value(minSnrOption).toDouble(&ok);
        if (!ok || !std::isfinite(*minSnr)) {
            *error = QStringLiteral("--min-snr takes a number of dB");
            return false;
        }
    }
    if (command == Command::Survey && !checkSurvey(parser.isSet(secondsOption), error))
        return false;

    if (parser.isSet(waitAdapterOption)) {
        bool ok = false;
        waitAdapterSeconds = parser.value(waitAdapterOption).toDouble(&ok);
        if (!ok || !(waitAdapterSeconds >= 0 && waitAdapterSeconds <= maximumSeconds)) {
            *error = QStringLiteral("--wait-adapter takes a number of seconds from 0 to %1")
                             .arg(maximumSeconds);
            return false;
        }
    }

    out = parser.value(outOption);
    if (command == Command::Report && out.isEmpty()) {
        *error = QStringLiteral("report needs --out FILE");
        return false;
    }
    if (command == Command::Read && out.isEmpty() && ports.size() > 1) {
        *error = QStringLiteral("read on several ports needs --out with %p in the file name");
        return false;
    }
    if (!out.isEmpty() && ports.size() > 1 && !out.contains(QLatin1String("%p"))) {
        *error = QStringLiteral("--out needs %p in the file name with several ports");
        return false;
    }
    csv = parser.value(csvOption);
    if (!csv.isEmpty() && ports.size() > 1 && !csv.contains(QLatin1String("%p"))) {
        *error = QStringLiteral("--csv needs %p in the file name with several ports");
        return false;
    }

    for (const QString &entry : parser.values(setOption)) {
        const qsizetype equals = entry.indexOf(QLatin1Char('='));
        const QString field = entry.left(equals);
        const qsizetype dot = field.indexOf(QLatin1Char('.'));
        if (equals < 0 || dot <= 0) {
            *error = QStringLiteral("--set takes GROUP.KEY=VALUE, not \"%1\"").arg(entry);
            return false;
        }
        const QString group = field.left(dot);
        const QString key = field.mid(dot + 1);
        if (!FieldRules::isKnownGroup(group)) {
            *error = QStringLiteral("--set %1: unknown group %2").arg(entry, group);
            return false;
        }
        if (model >= 0 && !SettingsRules(model).groups().contains(group)) {
            *error = QStringLiteral("--set %1: %2 has no group %3")
                             .arg(entry, modelName(model), group);
            return false;
        }
        QString problem;
        const QJsonValue value = FieldRules::valueOf(group, key, entry.mid(equals + 1), &problem);
        if (value.isUndefined()) {
            *error = QStringLiteral("--set %1: %2").arg(entry, problem);
            return false;
        }
        QJsonObject fields = overrides.value(group).toObject();
        fields.insert(key, value);
        overrides.insert(group, fields);
    }

    return !takesPreset || (readPreset(presetPath, &preset, error) && checkPreset(error));
}

// What goes out is the preset with the --set values over it: a broken preset value
// that --set replaces does no harm.
bool CliOptions::checkPreset(QString *error)
{
    QJsonObject merged = preset;
    for (auto group = overrides.constBegin(); group != overrides.constEnd(); ++group) {
        QJsonObject fields = merged.value(group.key()).toObject();
        const QJsonObject set = group.value().toObject();
        for (auto field = set.constBegin(); field != set.constEnd(); ++field)
            fields.insert(field.key(), field.value());
        merged.insert(group.key(), fields);
    }
    QStringList broken;
    for (const PresetCheck::Problem &problem : PresetCheck::problems(merged)) {
        if (problem.isUnknownKey())
            leftOut.append(PresetCheck::describe(problem) + QStringLiteral(": left out"));
        else
            broken.append(PresetCheck::describe(problem));
    }
    if (!broken.isEmpty()) {
        *error = broken.join(QLatin1Char('\n'));
        return false;
    }
    preset = PresetCheck::withoutUnknownKeys(preset);
    return true;
}

// A survey reads the gateways' streams or one saved log, never both.
bool CliOptions::checkSurvey(bool secondsGiven, QString *error)
{
    if (!fromLog.isEmpty() && !ports.isEmpty())
        *error = QStringLiteral("survey takes --port or --from-log, not both");
    else if (!fromLog.isEmpty() && secondsGiven)
        *error = QStringLiteral("--from-log takes no --seconds: the saved log is read whole");
    else if (fromLog.isEmpty() && !secondsGiven)
        *error = QStringLiteral("survey needs --seconds N");
    else
        return true;
    return false;
}

QString CliOptions::withPort(const QString &pattern, const QString &port)
{
    QString name = port;
    if (name.startsWith(QLatin1String("/dev/")))
        name = name.mid(5);
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    return QString(pattern).replace(QLatin1String("%p"), name);
}

QString CliOptions::modelName(int code)
{
    return modelNames.value(code, QStringLiteral("model %1").arg(code));
}

int CliOptions::modelCode(const QString &text)
{
    for (int code = 0; code < modelNames.size(); ++code) {
        if (text.compare(modelNames[code], Qt::CaseInsensitive) == 0
            || text.compare(cyrillicModelNames[code], Qt::CaseInsensitive) == 0
            || text == QString::number(code))
            return code;
    }
    return -1;
}

QString CliOptions::versionText()
{
    return QStringLiteral("kelvane-cli %1\n").arg(QCoreApplication::applicationVersion());
}

QString CliOptions::manual()
{
    return QStringLiteral(R"(Usage: kelvane-cli ports [--json]
  or:  kelvane-cli read --port PORT... [--out FILE] [OPTION]...
  or:  kelvane-cli diff PRESET --port PORT... [OPTION]...
  or:  kelvane-cli apply PRESET --port PORT... [OPTION]...
  or:  kelvane-cli logs --port PORT... [--seconds N] [OPTION]...
  or:  kelvane-cli report --port PORT... --out FILE [--note TEXT] [OPTION]...
  or:  kelvane-cli survey --port PORT... --seconds N [--csv FILE] [OPTION]...
  or:  kelvane-cli survey --from-log FILE [--csv FILE] [OPTION]...
Read, compare and apply LoRaWAN gateway settings over the serial console.

kelvane-cli logs in on the serial console of each gateway given with --port,
starts its configuration core and runs one command, with the same link,
settings rules and field checks as the Kelvane window. With several --port
options the command runs on every gateway at once; each gateway gets one result
line on standard output, progress goes to standard error. Where standard output
carries a preset (read without --out) or the log (logs), the result lines go to
standard error too.

Each result line reads "PORT: STATUS WORD: TEXT", for example:

  /dev/ttyUSB0: 0 ok: 3 fields applied and confirmed by read-back

  /dev/ttyUSB1: 1 drift: the gateway holds other values in 200.211

Commands:
  ports             List the serial adapters, USB first: device, description,
                    maker, serial number and /dev/serial/by-id name. A built-in
                    port with nothing behind it is left out.
  read              Read the settings and write them as a preset file (to --out
                    FILE, written readable by its owner only, or to standard
                    output). The preset holds no gateway ID, device information
                    or VPN list.
  diff PRESET       Show what an apply of PRESET would change, one line per
                    field: GROUP.KEY, the field's label, the gateway's value
                    and the new value. Passwords are shown as dots.
  apply PRESET      Read the settings, lay PRESET and the --set values over
                    them, send what changed, then read the settings back and
                    compare every field sent. Fields the preset lacks keep the
                    gateway's values; the gateway ID in a preset is ignored
                    (set it with --set 100.110=...); groups the model lacks are
                    not sent.
  logs              Write the packet-forwarder log to standard output until
                    --seconds have passed or Ctrl+C (status 0). With several
                    ports each line starts with its port.
  report            Read the settings and write the commissioning report as PDF
                    to --out: date, --note, model, device information, every
                    setting (passwords masked) and, with --log-seconds N, the
                    log lines of N seconds and the signal figures they give.
  survey            Read the packet-forwarder log for --seconds (Ctrl+C ends
                    it sooner), or a saved log given with --from-log, as a
                    site survey: one result line per gateway with the
                    packets heard, the channels, the median RSSI and SNR and
                    the share of PUSH_DATA that the network server
                    acknowledged. Medians leave out packets with a bad CRC;
                    an even count's median is the mean of its two middle
                    values. Status 1 when fewer packets than --min-packets
                    came, the median SNR is below --min-snr, or no PUSH_DATA
                    was acknowledged.

Options:
  --port PORT       A device path (/dev/ttyUSB0) or a name in
                    /dev/serial/by-id. Repeatable; two names of one adapter are
                    refused.
  --user NAME       Console user; default root.
  --password-file FILE
                    Read the console password from the first line of FILE,
                    which nobody but its owner may read: the line without its
                    end (LF, CRLF, CR or none) and without a UTF-8 byte order
                    mark; spaces at its end are part of it. The password is
                    never taken as an argument.
  --model MODEL     TK-0, TK-1, TK-3 or TK-3Max (or 0..3). Default: the model
                    the gateway reports. It sets the line speed: 1500000 baud
                    for TK-3Max, 115200 for the others; without it 115200 is
                    tried first and 1500000 once when no console answers within
                    30 s.
  --set GROUP.KEY=VALUE
                    Override a preset value, e.g. 100.110=AA555A0000000101 (the
                    gateway ID, which a preset never carries) or
                    300.320=192.168.1.20. Checked with the pages' field rules;
                    booleans are true or false. Repeatable. The preset's
                    values, with these laid over them, are checked by the same
                    rules before anything is sent: each value that breaks one
                    is named on a line of its own (status 2), and keys that no
                    page shows are named and left out.
  --out FILE        Output file of read and report. With several ports it must
                    contain %p, which stands for the port as given, without
                    /dev/ and with / as _.
  --note TEXT       The installer's note in the report.
  --seconds N       Seconds of log for logs and survey, at most 86400 (a
                    day).
  --log-seconds N   Seconds of log for report, at most 86400.
  --csv FILE        Output file of survey: one row per packet (time,
                    channel, frequency, data rate, CRC status, RSSI, SNR,
                    size). With several ports it must contain %p, as --out.
  --min-packets N   The fewest packets a survey must hear.
  --min-snr DB      The lowest median SNR, in dB, a survey must hear.
  --from-log FILE   Survey a saved log instead of a gateway: the window's
                    "Upload to file" record or the output of logs. Its CSV
                    has no times.
  --wait-adapter N  When an adapter is pulled out during a command, wait N
                    seconds (default 10, at most 86400) for it to come back;
                    then log in again, check it is the same gateway and run the
                    step once more. An apply is sent again only if the gateway
                    does not hold what was sent. 0 ends at once with status 3.
  --json            One JSON object per gateway on standard output instead of
                    result lines. A survey's object also holds packets,
                    crcBad, channels (by frequency: freq, packets, crcOk,
                    crcBad, rssiMedian, snrMedian), pushAcknowledged (the
                    last statistics block's percent) and pushAckMs (the
                    median round trip); null where nothing was heard.
  -h, --help        Show this help and exit.
  --version         Show the version and exit.

Exit status:
  0   Done; for apply, every field sent was confirmed by the read-back.
  1   Drift: the gateway holds values other than those sent. For survey: the
      site fell short of --min-packets or --min-snr, or no PUSH_DATA was
      acknowledged.
  2   Usage or preset file error, or a --from-log file that cannot be read;
      nothing was sent to any gateway.
  3   Port or login failure; the adapter went away and did not come back, or
      another gateway came back behind it.
  4   The gateway refused the request or gave no answer within 30 seconds, or
      the run was interrupted (Ctrl+C, SIGTERM): an apply that was sent is then
      "outcome unknown". A second Ctrl+C ends at once.
  5   Could not write the output (the preset, the report, the CSV or standard
      output): the system's reason is named, e.g. "No space left on device".
With several gateways the program's status is the highest of theirs.

Environment:
  KELVANE_PASSWORD  The console password, when --password-file is not given.
                    Without either, the password is asked for on the terminal
                    without echo.

Files:
  ~/.local/share/Tyrnholm/Kelvane/history.log
                    The console traffic, passwords masked, shared with the
                    window.

Examples:
  $ kelvane-cli read --port /dev/ttyUSB0 --out site.gwset
  $ kelvane-cli apply site.gwset --port /dev/ttyUSB0 --port /dev/ttyUSB1
  $ kelvane-cli apply site.gwset --port /dev/ttyUSB0 --set 300.320=192.168.1.20
  $ kelvane-cli report --port /dev/ttyUSB0 --out report-%p.pdf --note "Mast 4"
  $ kelvane-cli survey --port /dev/ttyUSB0 --seconds 300 --min-snr 0 --csv s.csv
)");
}
