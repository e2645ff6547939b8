// Records what the link reads from the gateway emulator in a session of every kind,
// one seed input of the fuzz target (see replypathfuzz.h) per part of the session,
// into the folder given as the first argument.
#include "emulator/gatewayemulator.h"
#include "link/sportconnector.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSerialPort>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <functional>
#include <utility>

namespace {

constexpr int waitMs = 3000;
constexpr int settleMs = 300;
constexpr int maxChunkBytes = 128;
constexpr char loggingIn = 0;
constexpr char online = 1;
constexpr char tickBit = char(0x80);

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("seeds"));
    folder.mkpath(QStringLiteral("."));
    GatewayEmulator emulator(3);
    if (!emulator.start())
        return 1;
    emulator.setRebootPacing(5);
    emulator.setLogIntervalMs(5);
    emulator.setNoise(true);
    SPortConnector link(1500000);
    link.setConnectionParameters(emulator.devicePath(), "root\r", "kelvane\r");
    QObject::connect(&link, &SPortConnector::disableInterface, &link, [&] {
        link.setConnectionParameters(emulator.devicePath(), "root\r", "kelvane\r");
    });
    QObject::connect(&link, &SPortConnector::readyToGetOVPN, &link,
                     [&] { link.sendOVPNFileToGW("client\nremote vpn.example 1194\n((EOF))"); });

    // Connected ahead of the link's reader, so each read is seen as the link takes it.
    QByteArray seed;
    bool tick = false;
    QSerialPort *port = link.findChild<QSerialPort *>();
    QObject::connect(port, &QSerialPort::readyRead, port, [&] {
        const QByteArray bytes = port->peek(port->bytesAvailable());
        for (qsizetype at = 0; at < bytes.size(); at += maxChunkBytes) {
            const QByteArray piece = bytes.mid(at, maxChunkBytes);
            seed += char(piece.size() - 1 + (std::exchange(tick, false) ? tickBit : 0)) + piece;
        }
    });
    const auto part
            = [&](const char *name, char mode, const std::function<void()> &action, auto signal) {
                  seed = QByteArray(1, mode);
                  QSignalSpy done(&link, signal);
                  action();
                  done.wait(waitMs);
                  QTest::qWait(settleMs);
                  QFile file(folder.filePath(QString::fromLatin1(name)));
                  return file.open(QIODevice::WriteOnly) && file.write(seed) == seed.size();
              };

    const bool recorded
            = part(
                      "login", loggingIn, [&] { link.connectToGatewayPort(); },
                      &SPortConnector::serverStatusResponse)
            && part(
                      "settings", online,
                      [&] {
                          link.getCurrentSettings();
                          link.sendSettings(R"({"350":{"352":"RESPONSE.{[50]}","353":"p]}w"}})");
                      },
                      &SPortConnector::unlockApplyBTN)
            && part(
                      "server", online,
                      [&] {
                          link.localServerEnableRequest(true);
                          link.localServerStartRequest(true);
                          link.runPacketForwarder(false);
                          link.requestLoRaModulesState();
                          tick = true;
                          QMetaObject::invokeMethod(link.findChild<QTimer *>("linkTimer"),
                                                    "timeout");
                      },
                      &SPortConnector::recivedStatusLoRaModules)
            && part(
                      "logs", online,
                      [&] {
                          link.startGetPacketForwarderLogs();
                          QTest::qWait(settleMs);
                          link.getCurrentSettings();
                      },
                      &SPortConnector::resivedSettings)
            && part(
                      "vpn", online,
                      [&] {
                          link.runOVPNFileToGW(QStringLiteral("office.ovpn"));
                          QTest::qWait(settleMs);
                          link.activateOVPNConfig(QStringLiteral("office.ovpn"));
                          link.runOVPNConfig(QStringLiteral("office.ovpn"));
                          link.runOVPNConfig(QStringLiteral("office.ovpn"));
                          link.requestOVPNState(QStringLiteral("office.ovpn"));
                      },
                      &SPortConnector::openVPNState)
            && part(
                      "errors", online,
                      [&] {
                          emulator.setErrorReply(QStringLiteral("26"), 1007);
                          emulator.setErrorReply(QStringLiteral("25"), 1008);
                          emulator.setErrorReply(QStringLiteral("50 Start"), 1005);
                          emulator.setErrorReply(QStringLiteral("20"), 4242);
                          link.getCurrentSettings();
                          link.sendSettings("{}");
                          link.startGetPacketForwarderLogs();
                          link.resetDefaultSettings();
                      },
                      &SPortConnector::unlockApplyBTN)
            && part(
                      "reboot", online,
                      [&] {
                          emulator.clearErrorReplies();
                          emulator.setChunking(7, 1);
                          link.rebootGateway();
                      },
                      &SPortConnector::rebootSucsess);
    link.disconnectFromGatewayPort();
    return recorded ? 0 : 1;
}
