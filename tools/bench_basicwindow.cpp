#include "emulator/gatewayemulator.h"
#include "link/sportconnector.h"
#include "settings/settingshandlerandcollector.h"
#include "window/basicwindow.h"
#include "windowdriver.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>
#include <QThread>
#include <QTimer>

namespace {

constexpr int gatewayModel = 3;
constexpr int exchangeTimeoutMs = 10000;
constexpr int defaultRunSeconds = 60;
constexpr int tickPeriodMs = 1;
constexpr int logIntervalMs = 1;
// About 150 bytes a line, one a millisecond: the 1500000 baud line's rate.
constexpr int logLineBytes = 140;

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

} // namespace

// Runs the main window against the gateway emulator (in a thread of its own, so
// that only the window's work counts) with the packet-forwarder log streaming at
// the line rate, and reports the longest stall of the window's event loop.
int main(int argc, char *argv[])
{
    WindowDriver::preferOffscreen();
    QApplication application(argc, argv);
    WindowDriver::prepareApplication(QStringLiteral("KelvaneBenchmark"));
    const int runSeconds = application.arguments().value(1).toInt() > 0
            ? application.arguments().value(1).toInt()
            : defaultRunSeconds;
    QTextStream out(stdout);

    QThread gatewayThread;
    QObject gatewayContext;
    gatewayContext.moveToThread(&gatewayThread);
    gatewayThread.start();
    GatewayEmulator *gateway = nullptr;
    QString devicePath;
    QMetaObject::invokeMethod(
            &gatewayContext,
            [&] {
                gateway = new GatewayEmulator(gatewayModel);
                gateway->setLogLines(fullRateLines());
                gateway->setLogIntervalMs(logIntervalMs);
                if (gateway->start())
                    devicePath = gateway->devicePath();
            },
            Qt::BlockingQueuedConnection);

    SettingsHandlerAndCollector::getInstance();
    int status = 0;
    {
        BenchWindow window;
        window.show();
        WindowDriver driver(&window);
        if (devicePath.isEmpty()
            || !driver.connectTo(devicePath, gatewayModel, QStringLiteral("kelvane"),
                                 exchangeTimeoutMs)
            || !driver.readSettings(exchangeTimeoutMs)) {
            out << "the window did not connect to the emulator" << Qt::endl;
            status = 1;
        } else {
            qint64 logBytes = 0;
            QObject::connect(window.gatewayLink(), &SPortConnector::sendLoRaLogs, &window,
                             [&logBytes](const QString &text) { logBytes += text.size(); });
            driver.startLogStream();

            QElapsedTimer clock;
            qint64 lastTickNs = 0;
            qint64 longestStallNs = 0;
            QTimer ticker;
            ticker.setTimerType(Qt::PreciseTimer);
            QObject::connect(&ticker, &QTimer::timeout, &window, [&] {
                const qint64 now = clock.nsecsElapsed();
                longestStallNs = qMax(longestStallNs, now - lastTickNs);
                lastTickNs = now;
            });
            QTimer::singleShot(runSeconds * 1000, &application, &QCoreApplication::quit);
            clock.start();
            ticker.start(tickPeriodMs);
            application.exec();

            out << "run: " << runSeconds << " s, log text received: "
                << QString::number(logBytes / 1024.0 / runSeconds, 'f', 1) << " KiB/s" << Qt::endl;
            out << "longest event-loop stall: " << QString::number(longestStallNs / 1e6, 'f', 1)
                << " ms" << Qt::endl;
            out << "peak resident memory (window and emulator): "
                << QString::number(peakResidentKiB() / 1024.0, 'f', 1) << " MiB" << Qt::endl;
        }
    }
    SettingsHandlerAndCollector::deleteInstance();
    QMetaObject::invokeMethod(
            &gatewayContext, [&] { delete gateway; }, Qt::BlockingQueuedConnection);
    gatewayThread.quit();
    gatewayThread.wait();
    return status;
}
