#include "emulator/gatewayemulator.h"
#include "settings/settingshandlerandcollector.h"
#include "toolhelp.h"
#include "window/basicwindow.h"
#include "window/connectionstateline.h"
#include "windowdriver.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>

namespace {

using State = ConnectionStateLine::State;

constexpr int gatewayModel = 3;
constexpr int exchangeTimeoutMs = 10000;
constexpr int defaultRounds = 5;
constexpr int replugAfterMs = 1000;
constexpr int samplePeriodMs = 1;

// Runs the event loop until the state line shows the state; its time in µs, or -1.
qint64 usUntil(const ConnectionStateLine *line, State state, const QElapsedTimer &since)
{
    const QDeadlineTimer deadline(exchangeTimeoutMs);
    while (line->state() != state) {
        if (deadline.hasExpired())
            return -1;
        QCoreApplication::processEvents(QEventLoop::AllEvents, samplePeriodMs);
    }
    return since.nsecsElapsed() / 1000;
}

QString summary(QList<qint64> times)
{
    std::sort(times.begin(), times.end());
    if (times.isEmpty() || times.first() < 0)
        return QStringLiteral("failed");
    const auto ms = [](qint64 us) {
        return QString::number(us / 1000.0, 'f', 1);
    };
    return QStringLiteral("min %1 ms, median %2 ms, max %3 ms")
            .arg(ms(times.first()), ms(times.at(times.size() / 2)), ms(times.last()));
}

} // namespace

// Pulls the emulator's adapter out from under the connected main window, round after
// round, and reports how long the window takes to notice and, once the adapter is
// back, to be connected again. Two ways to go: the line hangs up as the device goes
// (a USB adapter pulled out), or only the device's link goes while the line stays
// quiet, which leaves it to the window's presence poll.
int main(int argc, char *argv[])
{
    if (printedHelp(
                argc, argv,
                "Usage: bench_reconnect [ROUNDS]\n"
                "How long the main window takes to notice a pulled adapter and to be connected\n"
                "again once it returns, over ROUNDS (default 5) rounds: once with the line\n"
                "hanging up as the device goes, once with only the device's link gone.\n"))
        return 0;
    WindowDriver::preferOffscreen();
    QApplication application(argc, argv);
    WindowDriver::prepareApplication(QStringLiteral("KelvaneBenchmark"));
    const int rounds = application.arguments().value(1).toInt() > 0
            ? application.arguments().value(1).toInt()
            : defaultRounds;
    QTextStream out(stdout);
    QTemporaryDir scratch;
    const QString port = scratch.filePath(QStringLiteral("kelvane-gateway"));

    GatewayEmulator gateway(gatewayModel);
    gateway.setLinkPath(port);
    if (!scratch.isValid() || !gateway.start()) {
        out << "emulator: " << gateway.errorString() << Qt::endl;
        return 1;
    }
    SettingsHandlerAndCollector::getInstance();
    int status = 0;
    {
        BasicWindow window;
        window.show();
        WindowDriver driver(&window);
        const auto *line = window.findChild<ConnectionStateLine *>(QStringLiteral("stateLine"));
        if (!driver.connectTo(port, gatewayModel, QStringLiteral("kelvane"), exchangeTimeoutMs)
            || !driver.readSettings(exchangeTimeoutMs)) {
            out << "the window did not connect to the emulator" << Qt::endl;
            return 1;
        }
        QList<qint64> hangUpNoticed, pollNoticed, hangUpBack, pollBack;
        QElapsedTimer clock;
        QObject::connect(&gateway, &GatewayEmulator::unplugged, &gateway,
                         [&clock] { clock.start(); });
        QObject::connect(&gateway, &GatewayEmulator::replugged, &gateway,
                         [&clock] { clock.start(); });
        for (int round = 0; round < rounds; ++round) {
            gateway.setUnplugAt(GatewayEmulator::Step::Read, replugAfterMs);
            driver.readSettings(0);
            hangUpNoticed.append(usUntil(line, State::WaitingForAdapter, clock));
            QDeadlineTimer replug(exchangeTimeoutMs);
            while (clock.elapsed() < replugAfterMs / 2 && !replug.hasExpired())
                QCoreApplication::processEvents(QEventLoop::AllEvents, samplePeriodMs);
            hangUpBack.append(usUntil(line, State::Connected, clock));

            const QString device = gateway.devicePath();
            QFile::remove(port);
            clock.start();
            pollNoticed.append(usUntil(line, State::WaitingForAdapter, clock));
            QFile::link(device, port);
            clock.start();
            pollBack.append(usUntil(line, State::Connected, clock));
        }
        out << "line hangs up:    noticed " << summary(hangUpNoticed) << Qt::endl
            << "                  back    " << summary(hangUpBack) << Qt::endl
            << "presence poll:    noticed " << summary(pollNoticed) << Qt::endl
            << "                  back    " << summary(pollBack) << Qt::endl;
        for (const auto *times : {&hangUpNoticed, &pollNoticed, &hangUpBack, &pollBack})
            status |= times->contains(-1) ? 1 : 0;
    }
    SettingsHandlerAndCollector::deleteInstance();
    return status;
}
