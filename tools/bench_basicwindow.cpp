#include "emulator/gatewayemulator.h"
#include "link/sportconnector.h"
#include "lora/loralogs.h"
#include "lora/signalpage.h"
#include "settings/settingshandlerandcollector.h"
#include "stallmeter.h"
#include "timedapplication.h"
#include "toolhelp.h"
#include "window/basicwindow.h"
#include "windowdriver.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <QTimer>

#include <functional>
#include <memory>

namespace {

constexpr int fastModel = 3;
// ТК-1: a line of 115200 baud.
constexpr int slowModel = 1;
constexpr int slowBaudRate = 115200;
constexpr int exchangeTimeoutMs = 10000;
constexpr int defaultRunSeconds = 60;
constexpr int tickPeriodMs = 1;
constexpr int logIntervalMs = 1;
// About 150 bytes a line, one a millisecond: the 1500000 baud line's rate.
constexpr int logLineBytes = 140;
// Survey packets come with their lines of about 400 bytes: the same line rate.
constexpr double fullRatePacketsPerSecond = 375;
constexpr qint64 recordMegaBytes = 300;
constexpr qint64 bytesPerMegaByte = 1024 * 1024;
constexpr int saveTimeoutMs = 600000;
constexpr qint64 uploadBytes = 1024 * 1024;
// Part of the file is on the line when the operator disconnects.
constexpr qint64 uploadStartedBytes = 32 * 1024;
// The closing lines may take up to 2 s; the stall is watched beyond that.
constexpr int afterDisconnectMs = 3000;

class BenchWindow : public BasicWindow
{
public:
    using BasicWindow::gatewayLink;
};

qint64 peakResidentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

QStringList fullRateLines()
{
    QStringList lines;
    for (int i = 0; i < 10; ++i) {
        QString line = QStringLiteral("JSON up: {\"rxpk\":[{\"tmst\":%1,\"chan\":%2,\"freq\":864.5,"
                                      "\"datr\":\"SF7BW125\",\"rssi\":-57,\"size\":23}] ")
                               .arg(3512348611LL + i)
                               .arg(i % 8);
        lines.append(line.leftJustified(logLineBytes, QLatin1Char('.')));
    }
    return lines;
}

// The emulator in a thread of its own, so that only the window's work counts.
class GatewayThread
{
public:
    explicit GatewayThread(int model, const std::function<void(GatewayEmulator &)> &setUp)
    {
        context.moveToThread(&thread);
        thread.start();
        run([&] {
            gateway = new GatewayEmulator(model);
            setUp(*gateway);
            if (gateway->start())
                path = gateway->devicePath();
        });
    }
    ~GatewayThread()
    {
        run([this] { delete gateway; });
        thread.quit();
        thread.wait();
    }
    void run(const std::function<void()> &call)
    {
        QMetaObject::invokeMethod(&context, call, Qt::BlockingQueuedConnection);
    }
    QString devicePath() const { return path; }
    GatewayEmulator *emulator() const { return gateway; }

private:
    QThread thread;
    QObject context;
    GatewayEmulator *gateway = nullptr;
    QString path;
};

template<class Condition>
bool runUntil(Condition condition, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents,
                                        tickPeriodMs);
    }
    return true;
}

void runFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

QString milliseconds(double ms)
{
    return QString::number(ms, 'f', 1) + QStringLiteral(" ms");
}

std::function<qint64()> workClock()
{
    return [] {
        return static_cast<TimedApplication *>(qApp)->workNs();
    };
}

QString stallText(const StallMeter &stalls)
{
    return QStringLiteral("longest event-loop stall %1, %2 once the spans in which its processor "
                          "stood still are left out (the whole machine's longest pause %3), at "
                          "most %4 of work on events between two turns%5")
            .arg(milliseconds(stalls.longestMs()), milliseconds(stalls.longestOwnMs()),
                 milliseconds(stalls.longestMachinePauseMs()), milliseconds(stalls.longestWorkMs()),
                 stalls.pausesWitnessed()
                         ? QString()
                         : QStringLiteral("; witnesses without real-time priority"));
}

// The log at the line rate, shown on the log tab, or read as a survey by the Signal
// tab, which turns the stream on by itself.
bool streamLogs(QTextStream &out, int seconds, bool signalTab)
{
    GatewayThread gateway(fastModel, [signalTab](GatewayEmulator &emulator) {
        emulator.setLogLines(fullRateLines());
        emulator.setSurveyTraffic(signalTab);
        emulator.setPacketRate(fullRatePacketsPerSecond);
        emulator.setLogIntervalMs(logIntervalMs);
    });
    BenchWindow window;
    auto *tabs = window.findChild<QTabWidget *>(QStringLiteral("tabs"));
    tabs->setCurrentIndex(0);
    window.show();
    WindowDriver driver(&window);
    if (gateway.devicePath().isEmpty()
        || !driver.connectTo(gateway.devicePath(), fastModel, QStringLiteral("kelvane"),
                             exchangeTimeoutMs)
        || !driver.readSettings(exchangeTimeoutMs))
        return false;
    qint64 logBytes = 0;
    QObject::connect(window.gatewayLink(), &SPortConnector::sendLoRaLogs, &window,
                     [&logBytes](const QString &text) { logBytes += text.size(); });
    auto *signal = window.findChild<SignalPage *>(QStringLiteral("signalPage"));
    if (signalTab)
        tabs->setCurrentWidget(signal);
    else
        driver.startLogStream();
    StallMeter stalls;
    stalls.setWorkClock(workClock());
    runFor(seconds * 1000);
    out << (signalTab ? "Signal tab on the survey stream" : "full-rate log stream") << " for "
        << seconds << " s (" << QString::number(logBytes / 1024.0 / seconds, 'f', 1) << " KiB/s, "
        << signal->statistics().packets() << " packets): " << stallText(stalls) << Qt::endl;
    return true;
}

bool saveRecord(QTextStream &out)
{
    BenchWindow window;
    window.show();
    WindowDriver driver(&window);
    QTemporaryDir target;
    if (!target.isValid())
        return false;
    driver.setDirectoryAnswer(target.path());
    auto *logs = window.findChild<LoRaLogs *>(QStringLiteral("logsPage"));
    auto *save = logs->findChild<QPushButton *>(QStringLiteral("saveButton"));
    // Held by the paused view, so that the feed costs the record and little else.
    logs->findChild<QPushButton *>(QStringLiteral("pauseButton"))->click();
    QString piece;
    while (piece.size() < bytesPerMegaByte)
        piece += fullRateLines().join(QLatin1Char('\n')) + QLatin1Char('\n');
    for (qint64 fed = 0; fed < recordMegaBytes * bytesPerMegaByte; fed += piece.size()) {
        logs->setLoRaLogs(piece);
        QCoreApplication::processEvents();
    }

    // Opening the directory dialog is no part of the save; closing it is, as far as
    // the time after the answer goes.
    StallMeter fromAnswer;
    QElapsedTimer clock;
    QObject::connect(&driver, &WindowDriver::directoryAnswering, &driver, [&] {
        fromAnswer.restart();
        clock.start();
    });
    emit save->pressed();
    StallMeter whileCopying;
    if (!runUntil([save] { return save->isEnabled(); }, saveTimeoutMs))
        return false;
    const qint64 elapsedMs = clock.elapsed();
    qint64 savedBytes = 0;
    for (const QFileInfo &saved : QDir(target.path()).entryInfoList(QDir::Files))
        savedBytes += saved.size();
    out << "saving a " << recordMegaBytes << " MB record (" << savedBytes / bytesPerMegaByte
        << " MB written in " << elapsedMs << " ms): longest event-loop stall "
        << milliseconds(whileCopying.longestMs()) << " while copying, "
        << milliseconds(fromAnswer.longestMs()) << " from the directory dialog's answer on"
        << Qt::endl;
    return savedBytes >= recordMegaBytes * bytesPerMegaByte;
}

bool disconnectDuringUpload(QTextStream &out)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("large.ovpn"));
    QFile file(path);
    if (!folder.isValid() || !file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray line = "remote gateway.example 1194 udp # a line of an OpenVPN file\n";
    for (qint64 written = 0; written + line.size() < uploadBytes; written += line.size())
        file.write(line);
    file.close();

    GatewayThread gateway(slowModel,
                          [](GatewayEmulator &emulator) { emulator.setLineRate(slowBaudRate); });
    BenchWindow window;
    window.show();
    WindowDriver driver(&window);
    if (gateway.devicePath().isEmpty()
        || !driver.connectTo(gateway.devicePath(), slowModel, QStringLiteral("kelvane"),
                             exchangeTimeoutMs))
        return false;
    auto *vpn = window.findChild<QWidget *>(QStringLiteral("vpnBox"));
    vpn->findChild<QLineEdit *>(QStringLiteral("pathField"))->setText(path);
    emit vpn->findChild<QPushButton *>(QStringLiteral("sendButton"))->pressed();
    qint64 received = 0;
    const bool sending = runUntil(
            [&] {
                gateway.run([&] { received = gateway.emulator()->received().size(); });
                return received > uploadStartedBytes;
            },
            exchangeTimeoutMs);
    if (!sending)
        return false;

    StallMeter stalls;
    stalls.setWorkClock(workClock());
    QElapsedTimer clock;
    clock.start();
    emit window.findChild<QPushButton *>(QStringLiteral("disconnectButton"))->pressed();
    const qint64 pressMs = clock.elapsed();
    runFor(afterDisconnectMs);
    QByteArray wire;
    gateway.run([&] { wire = gateway.emulator()->received(); });
    out << "disconnecting during a 1 MiB upload at 115200 baud (the press took " << pressMs
        << " ms, closing lines " << (wire.endsWith("exit\r") ? "arrived" : "missing")
        << "): " << stallText(stalls) << Qt::endl;
    return wire.endsWith("exit\r");
}

} // namespace

// Runs the main window against the gateway emulator and reports the longest stall of
// its event loop in four situations: the packet-forwarder log streaming at the line
// rate, the Signal tab reading survey traffic at that rate, saving a large log record,
// and disconnecting during a slow upload. An argument picks one ("stream", "signal",
// "save", "upload"); a number sets the streams' seconds.
int main(int argc, char *argv[])
{
    if (printedHelp(
                argc, argv,
                "Usage: bench_basicwindow [SECONDS] [stream] [signal] [save] [upload]\n"
                "The longest stall of the main window's event loop while the packet-forwarder log\n"
                "streams at the line rate (for SECONDS, default 60), while the Signal tab reads\n"
                "the emulator's survey traffic at the line rate (as long), while a 300 MB log\n"
                "record is saved, and while the operator disconnects during a 1 MiB upload at\n"
                "115200 baud; then the peak resident memory. Each stall is also given without the\n"
                "spans in which the window thread's processor did not run (a virtual machine's\n"
                "host may stop it). Names pick cases; none runs all.\n"))
        return 0;
    WindowDriver::preferOffscreen();
    TimedApplication application(argc, argv);
    WindowDriver::prepareApplication(QStringLiteral("KelvaneBenchmark"));
    QStringList arguments = application.arguments().mid(1);
    int runSeconds = defaultRunSeconds;
    for (const QString &argument : std::as_const(arguments)) {
        if (argument.toInt() > 0)
            runSeconds = argument.toInt();
    }
    arguments.removeIf([](const QString &argument) { return argument.toInt() > 0; });
    const auto wanted = [&arguments](const QString &name) {
        return arguments.isEmpty() || arguments.contains(name);
    };
    QTextStream out(stdout);

    SettingsHandlerAndCollector::getInstance();
    bool done = true;
    if (done && wanted(QStringLiteral("stream")))
        done = streamLogs(out, runSeconds, false);
    if (done && wanted(QStringLiteral("signal")))
        done = streamLogs(out, runSeconds, true);
    if (done && wanted(QStringLiteral("save")))
        done = saveRecord(out);
    if (done && wanted(QStringLiteral("upload")))
        done = disconnectDuringUpload(out);
    if (!done)
        out << "the window did not get through with the emulator" << Qt::endl;
    out << "peak resident memory (window and emulator): "
        << QString::number(peakResidentKiB() / 1024.0, 'f', 1) << " MiB" << Qt::endl;
    SettingsHandlerAndCollector::deleteInstance();
    return done ? 0 : 1;
}
