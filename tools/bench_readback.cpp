#include "emulator/gatewayemulator.h"
#include "settings/settingshandlerandcollector.h"
#include "window/basicwindow.h"
#include "windowdriver.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QPair>
#include <QPushButton>
#include <QTextStream>
#include <QThread>

#include <algorithm>

namespace {

constexpr int exchangeTimeoutMs = 20000;
constexpr int pollPeriodMs = 1;
constexpr int bitsPerByte = 10;
// Lets the server-state exchange after each box finish before the next press.
constexpr int settleAfterRunMs = 200;

// Notes when the first message box after a press shows, and what it says.
class BoxWatch : public QObject
{
public:
    QString text;
    qint64 shownAtNs = -1;
    QElapsedTimer *clock = nullptr;
    std::function<void()> onShown;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && shownAtNs < 0) {
            if (auto *box = qobject_cast<QMessageBox *>(watched)) {
                shownAtNs = clock->nsecsElapsed();
                text = box->text();
                onShown();
            }
        }
        return false;
    }
};

} // namespace

// Times an apply with its read-back against the gateway emulator, which carries
// the bytes both ways at the line rate in a thread of its own: from the press of
// "Применить настройки" to the box that reports the verified outcome, and how much
// of that the serial line itself needs.
int main(int argc, char *argv[])
{
    WindowDriver::preferOffscreen();
    QApplication application(argc, argv);
    WindowDriver::prepareApplication(QStringLiteral("KelvaneBenchmark"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
            "Times apply and read-back at a serial line rate against the emulator."));
    parser.addHelpOption();
    const QCommandLineOption baudOption(QStringLiteral("baud"),
                                        QStringLiteral("Line rate in bits per second (115200)."),
                                        QStringLiteral("n"), QStringLiteral("115200"));
    const QCommandLineOption modelOption(QStringLiteral("model"),
                                         QStringLiteral("Gateway model code 0..3 (2, ТК-3)."),
                                         QStringLiteral("n"), QStringLiteral("2"));
    const QCommandLineOption runsOption(QStringLiteral("runs"),
                                        QStringLiteral("Applies to time (5)."), QStringLiteral("n"),
                                        QStringLiteral("5"));
    parser.addOptions({baudOption, modelOption, runsOption});
    parser.process(application);
    const int baud = qMax(1, parser.value(baudOption).toInt());
    const int model = qBound(0, parser.value(modelOption).toInt(), 3);
    const int runs = qMax(1, parser.value(runsOption).toInt());
    QTextStream out(stdout);

    QThread gatewayThread;
    QObject gatewayContext;
    gatewayContext.moveToThread(&gatewayThread);
    gatewayThread.start();
    GatewayEmulator *gateway = nullptr;
    QString devicePath;
    const auto inGateway = [&gatewayContext](const std::function<void()> &call) {
        QMetaObject::invokeMethod(&gatewayContext, call, Qt::BlockingQueuedConnection);
    };
    inGateway([&] {
        gateway = new GatewayEmulator(model);
        gateway->setLineRate(baud);
        if (gateway->start())
            devicePath = gateway->devicePath();
    });
    // Bytes the link wrote, and bytes the gateway wrote (its echo included), so far.
    const auto lineBytes = [&] {
        QPair<qint64, qint64> bytes;
        inGateway([&] { bytes = {gateway->received().size(), gateway->sentByteCount()}; });
        return bytes;
    };
    const auto lineMs = [baud](qint64 bytes) {
        return bytes * bitsPerByte * 1000.0 / baud;
    };

    SettingsHandlerAndCollector::getInstance();
    int status = 0;
    {
        BasicWindow window;
        window.show();
        WindowDriver driver(&window);
        if (devicePath.isEmpty()
            || !driver.connectTo(devicePath, model, QStringLiteral("kelvane"), exchangeTimeoutMs)
            || !driver.readSettings(exchangeTimeoutMs)) {
            out << "the window did not connect to the emulator" << Qt::endl;
            status = 1;
        } else {
            auto *apn = window.findChild<QLineEdit *>(QStringLiteral("sim1Adress"));
            auto *apply = window.findChild<QPushButton *>(QStringLiteral("applyButton"));
            QElapsedTimer clock;
            BoxWatch watch;
            watch.clock = &clock;
            QPair<qint64, qint64> bytesAtBox;
            watch.onShown = [&] {
                bytesAtBox = lineBytes();
            };
            application.installEventFilter(&watch);
            QList<double> totalsMs;
            QList<double> wireShares;
            out << "model " << model << ", " << baud << " bit/s, one field changed per apply"
                << Qt::endl;
            for (int run = 0; run < runs && status == 0; ++run) {
                apn->setText(QStringLiteral("apn%1.example").arg(run));
                QCoreApplication::processEvents();
                watch.shownAtNs = -1;
                const QPair<qint64, qint64> bytesBefore = lineBytes();
                clock.start();
                emit apply->pressed();
                const QDeadlineTimer deadline(exchangeTimeoutMs);
                while (watch.shownAtNs < 0 && !deadline.hasExpired())
                    QCoreApplication::processEvents(QEventLoop::AllEvents, pollPeriodMs);
                if (watch.shownAtNs < 0 || !watch.text.contains(QStringLiteral("подтвердила"))) {
                    out << "no verified box: " << watch.text << Qt::endl;
                    status = 1;
                    break;
                }
                const double totalMs = watch.shownAtNs / 1e6;
                const qint64 toGateway = bytesAtBox.first - bytesBefore.first;
                const qint64 fromGateway = bytesAtBox.second - bytesBefore.second;
                const double wireMs = lineMs(toGateway + fromGateway);
                totalsMs.append(totalMs);
                wireShares.append(wireMs / totalMs);
                out << "run " << run + 1 << ": press to verified box "
                    << QString::number(totalMs, 'f', 1) << " ms; to the gateway " << toGateway
                    << " bytes (" << QString::number(lineMs(toGateway), 'f', 1) << " ms), from it "
                    << fromGateway << " bytes with the echo ("
                    << QString::number(lineMs(fromGateway), 'f', 1) << " ms); wire time "
                    << QString::number(wireMs, 'f', 1) << " ms ("
                    << QString::number(100 * wireMs / totalMs, 'f', 0) << " %)" << Qt::endl;
                // The server state asked after the box ends the exchange.
                const QDeadlineTimer settle(exchangeTimeoutMs);
                while (!apply->isEnabled() && !settle.hasExpired())
                    QCoreApplication::processEvents(QEventLoop::AllEvents, pollPeriodMs);
                QThread::msleep(settleAfterRunMs);
                QCoreApplication::processEvents();
            }
            if (status == 0) {
                std::sort(totalsMs.begin(), totalsMs.end());
                std::sort(wireShares.begin(), wireShares.end());
                out << "median: " << QString::number(totalsMs.at(runs / 2), 'f', 1)
                    << " ms, wire share " << QString::number(100 * wireShares.at(runs / 2), 'f', 0)
                    << " %" << Qt::endl;
            }
            application.removeEventFilter(&watch);
        }
    }
    SettingsHandlerAndCollector::deleteInstance();
    inGateway([&] { delete gateway; });
    gatewayThread.quit();
    gatewayThread.wait();
    return status;
}
