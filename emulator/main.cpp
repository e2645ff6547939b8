#include "emulator/devicelink.h"
#include "emulator/gatewayemulator.h"
#include "emulator/surveytraffic.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QList>
#include <QPair>
#include <QSocketNotifier>
#include <QTextStream>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[0], &byte, 1);
}

const QList<QPair<QString, GatewayEmulator::Step>> hangUpSteps = {
        {QStringLiteral("login"), GatewayEmulator::Step::Login},
        {QStringLiteral("core-start"), GatewayEmulator::Step::CoreStart},
        {QStringLiteral("read"), GatewayEmulator::Step::Read},
        {QStringLiteral("apply"), GatewayEmulator::Step::Apply},
        {QStringLiteral("log-stream"), GatewayEmulator::Step::LogStream},
        {QStringLiteral("upload"), GatewayEmulator::Step::Upload},
        {QStringLiteral("reboot"), GatewayEmulator::Step::Reboot},
};

// The step a command-line name stands for; false for an unknown name.
bool stepNamed(const QString &name, GatewayEmulator::Step *step)
{
    const auto found = std::find_if(hangUpSteps.cbegin(), hangUpSteps.cend(),
                                    [&name](const auto &entry) { return entry.first == name; });
    if (found == hangUpSteps.cend())
        return false;
    *step = found->second;
    return true;
}

// Whoever started the emulator waits for this line, so it goes out at once.
void printDevicePath(const QString &path)
{
    std::fprintf(stdout, "%s\n", QFile::encodeName(path).constData());
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kelvane-gateway-emulator"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KELVANE_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
            "Plays a Kelvane gateway's serial console on a pseudo-terminal: the login program,\n"
            "the root shell and the configuration core with its settings, log stream, file\n"
            "upload and reboot. It prints the pseudo-terminal's device path and keeps a\n"
            "symbolic link to it until it is stopped (Ctrl+C, SIGTERM)."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption linkOption(QStringLiteral("link"),
                                        QStringLiteral("Symbolic link to the device (default "
                                                       "$XDG_RUNTIME_DIR/kelvane-gateway, or "
                                                       "/tmp/kelvane-gateway without "
                                                       "XDG_RUNTIME_DIR)."),
                                        QStringLiteral("path"), DeviceLink::defaultPath());
    const QCommandLineOption modelOption(QStringLiteral("model"),
                                         QStringLiteral("Model code 0..3 (default 3)."),
                                         QStringLiteral("n"), QStringLiteral("3"));
    const QCommandLineOption userOption(QStringLiteral("user"),
                                        QStringLiteral("Console user (default root)."),
                                        QStringLiteral("name"), QStringLiteral("root"));
    const QCommandLineOption passwordOption(QStringLiteral("password"),
                                            QStringLiteral("Console password (default kelvane)."),
                                            QStringLiteral("pw"), QStringLiteral("kelvane"));
    const QCommandLineOption atShellOption(
            QStringLiteral("at-shell"),
            QStringLiteral("Console already logged in at the root shell."));
    const QCommandLineOption refuseOption(QStringLiteral("refuse-login"),
                                          QStringLiteral("Refuse every login."));
    const QCommandLineOption silentOption(QStringLiteral("silent-keepalive"),
                                          QStringLiteral("Leave keep-alive probes unanswered."));
    const QCommandLineOption errorOption(
            QStringLiteral("error"),
            QStringLiteral("Answer a request with an ERROR code, e.g. 26=1007 or \"50 Start=1005\"."
                           " Repeatable."),
            QStringLiteral("request=code"));
    const QCommandLineOption chunkOption(
            QStringLiteral("chunk"), QStringLiteral("Cut every write into pieces of 1..n bytes."),
            QStringLiteral("n"), QStringLiteral("0"));
    const QCommandLineOption seedOption(QStringLiteral("seed"),
                                        QStringLiteral("Seed of the chunk cuts (default 1)."),
                                        QStringLiteral("s"), QStringLiteral("1"));
    const QCommandLineOption noiseOption(
            QStringLiteral("noise"),
            QStringLiteral("Mix shell noise and request echoes between replies."));
    const QCommandLineOption kernelNoiseOption(
            QStringLiteral("kernel-noise"),
            QStringLiteral("Print a kernel line into every settings reply at a random point "
                           "(seeded by --seed)."));
    const QCommandLineOption ignoreKeyOption(
            QStringLiteral("ignore-key"),
            QStringLiteral("Take writes but keep the old value of KEY (in any group) or "
                           "GROUP/KEY. Repeatable."),
            QStringLiteral("key"));
    const QCommandLineOption baudOption(
            QStringLiteral("baud"),
            QStringLiteral("Carry bytes both ways no faster than a serial line of N bits per "
                           "second (default 0: at once)."),
            QStringLiteral("n"), QStringLiteral("0"));
    const QCommandLineOption delayOption(QStringLiteral("delay"),
                                         QStringLiteral("Delay every reply by ms."),
                                         QStringLiteral("ms"), QStringLiteral("0"));
    const QCommandLineOption typeaheadOption(
            QStringLiteral("drop-typeahead"),
            QStringLiteral(
                    "Lose input typed while the shell starts the core, as a real tty does."));
    const QCommandLineOption hangUpOption(
            QStringLiteral("hang-up-at"),
            QStringLiteral("Hang up the line and end at a step: login, core-start, read, apply,"
                           " log-stream, upload or reboot."),
            QStringLiteral("step"));
    const QCommandLineOption unplugOption(
            QStringLiteral("unplug-at"),
            QStringLiteral("Pull the adapter once at a step (the steps of --hang-up-at): the"
                           " device and its link go, and a new device comes back under the link."),
            QStringLiteral("step"));
    const QCommandLineOption replugOption(
            QStringLiteral("replug-after"),
            QStringLiteral("Milliseconds until the pulled adapter comes back (default 2000)."),
            QStringLiteral("ms"), QStringLiteral("2000"));
    const QCommandLineOption trafficOption(
            QStringLiteral("traffic"),
            QStringLiteral("What the log stream carries: default (a cycle of sample lines) or"
                           " survey (packets on every channel of the plan, statistics blocks,"
                           " acknowledgement round trips; seeded by --seed)."),
            QStringLiteral("kind"), QStringLiteral("default"));
    const QCommandLineOption packetRateOption(
            QStringLiteral("packet-rate"), QStringLiteral("Survey packets per second (default 5)."),
            QStringLiteral("n"), QString::number(SurveyTraffic::defaultPacketRate));
    const QCommandLineOption backhaulOption(
            QStringLiteral("backhaul-down-after"),
            QStringLiteral("Seconds of survey streaming after which no PUSH_DATA or PULL_DATA is"
                           " acknowledged."),
            QStringLiteral("s"));
    parser.addOptions({linkOption,       modelOption,   userOption,   passwordOption,
                       atShellOption,    refuseOption,  silentOption, errorOption,
                       chunkOption,      seedOption,    noiseOption,  kernelNoiseOption,
                       ignoreKeyOption,  baudOption,    delayOption,  typeaheadOption,
                       hangUpOption,     unplugOption,  replugOption, trafficOption,
                       packetRateOption, backhaulOption});
    parser.process(app);

    QTextStream err(stderr);
    bool ok = false;
    const int model = parser.value(modelOption).toInt(&ok);
    if (!ok || model < 0 || model > 3) {
        err << "--model takes 0, 1, 2 or 3\n";
        return 2;
    }

    GatewayEmulator emulator(model);
    emulator.setCredentials(parser.value(userOption).toUtf8(),
                            parser.value(passwordOption).toUtf8());
    emulator.setAtShell(parser.isSet(atShellOption));
    emulator.setRefuseLogin(parser.isSet(refuseOption));
    emulator.setKeepAliveSilent(parser.isSet(silentOption));
    emulator.setNoise(parser.isSet(noiseOption));
    emulator.setKernelNoise(parser.isSet(kernelNoiseOption), parser.value(seedOption).toUInt());
    emulator.setIgnoredKeys(parser.values(ignoreKeyOption));
    const int baud = parser.value(baudOption).toInt(&ok);
    if (!ok || baud < 0) {
        err << "--baud takes a number of bits per second, e.g. 115200\n";
        return 2;
    }
    emulator.setLineRate(baud);
    emulator.setReplyDelayMs(qMax(0, parser.value(delayOption).toInt()));
    emulator.setChunking(qMax(0, parser.value(chunkOption).toInt()),
                         parser.value(seedOption).toUInt());
    emulator.setDropTypeahead(parser.isSet(typeaheadOption));
    const QString traffic = parser.value(trafficOption);
    if (traffic != QLatin1String("default") && traffic != QLatin1String("survey")) {
        err << "--traffic takes default or survey\n";
        return 2;
    }
    emulator.setSurveyTraffic(traffic == QLatin1String("survey"),
                              parser.value(seedOption).toUInt());
    const double packetRate = parser.value(packetRateOption).toDouble(&ok);
    if (!ok || packetRate <= 0) {
        err << "--packet-rate takes packets per second, e.g. 5\n";
        return 2;
    }
    emulator.setPacketRate(packetRate);
    if (parser.isSet(backhaulOption)) {
        const double seconds = parser.value(backhaulOption).toDouble(&ok);
        if (!ok || seconds < 0) {
            err << "--backhaul-down-after takes seconds\n";
            return 2;
        }
        emulator.setBackhaulDownAfterMs(qRound64(seconds * 1000));
    }
    const char *steps = "login, core-start, read, apply, log-stream, upload or reboot";
    if (parser.isSet(hangUpOption)) {
        GatewayEmulator::Step step;
        if (!stepNamed(parser.value(hangUpOption), &step)) {
            err << "--hang-up-at takes " << steps << "\n";
            return 2;
        }
        emulator.setHangUpAt(step);
        QObject::connect(&emulator, &GatewayEmulator::hungUp, &app, &QCoreApplication::quit,
                         Qt::QueuedConnection);
    }
    if (parser.isSet(unplugOption)) {
        GatewayEmulator::Step step;
        const int replugMs = parser.value(replugOption).toInt(&ok);
        if (!stepNamed(parser.value(unplugOption), &step)) {
            err << "--unplug-at takes " << steps << "\n";
            return 2;
        }
        if (!ok || replugMs < 0) {
            err << "--replug-after takes milliseconds\n";
            return 2;
        }
        emulator.setUnplugAt(step, replugMs);
        QObject::connect(&emulator, &GatewayEmulator::replugged, &app,
                         [&emulator] { printDevicePath(emulator.devicePath()); });
    }
    for (const QString &entry : parser.values(errorOption)) {
        const qsizetype split = entry.lastIndexOf('=');
        const int code = split > 0 ? entry.mid(split + 1).toInt(&ok) : 0;
        if (split <= 0 || !ok || code <= 0) {
            err << "--error takes REQUEST=CODE, e.g. 26=1007\n";
            return 2;
        }
        emulator.setErrorReply(entry.left(split), code);
    }

    emulator.setLinkPath(parser.value(linkOption));
    if (!emulator.start()) {
        err << "cannot start: " << emulator.errorString() << '\n';
        return 1;
    }

    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) == 0) {
        auto *notifier = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, &app);
        QObject::connect(notifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
        struct sigaction action = {};
        action.sa_handler = onSignal;
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGINT, &action, nullptr);
        ::sigaction(SIGTERM, &action, nullptr);
        ::sigaction(SIGHUP, &action, nullptr);
    }

    printDevicePath(emulator.devicePath());
    return app.exec();
}
