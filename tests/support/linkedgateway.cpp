#include "linkedgateway.h"

#include "emulator/gatewayemulator.h"
#include "link/sportconnector.h"

#include <QObject>
#include <QSignalSpy>
#include <QTest>

namespace {

// Generous: a loaded machine (a parallel build) slows the emulator in this process.
constexpr int loginWaitMs = 10000;
constexpr int maxModelCode = 3;
constexpr int fastBaudRate = 1500000;
constexpr int baudRate = 115200;

} // namespace

LinkedGateway::LinkedGateway() : gateway(nullptr) { }

LinkedGateway::~LinkedGateway()
{
    if (connector) {
        connector->disconnectFromGatewayPort();
        delete connector;
    }
    delete gateway;
}

bool LinkedGateway::open(int modelCode)
{
    if (gateway || modelCode < 0 || modelCode > maxModelCode)
        return false;
    gateway = new GatewayEmulator(modelCode);
    QObject::connect(gateway, &GatewayEmulator::requestReceived, gateway,
                     [this](const QString &request) { received.append(request); });
    if (!gateway->start())
        return false;

    connector = new SPortConnector(modelCode == maxModelCode ? fastBaudRate : baudRate);
    connector->setConnectionParameters(gateway->devicePath(), QByteArrayLiteral("root\r"),
                                       QByteArrayLiteral("kelvane\r"));
    QSignalSpy connected(connector, &SPortConnector::connectSucsessful);
    if (!connected.isValid())
        return false;
    connector->connectToGatewayPort();
    // The link's first request waits for the core to start: it has left once this returns.
    return (connected.count() > 0 || connected.wait(loginWaitMs))
            && waitForRequest(QStringLiteral("--10 State"), loginWaitMs);
}

GatewayEmulator &LinkedGateway::emulator()
{
    return *gateway;
}

SPortConnector *LinkedGateway::link()
{
    return connector;
}

bool LinkedGateway::waitForRequest(const QString &request, int timeoutMs)
{
    return QTest::qWaitFor([this, &request] { return received.contains(request); }, timeoutMs);
}

QStringList LinkedGateway::requests() const
{
    return received;
}

void LinkedGateway::clearRequests()
{
    received.clear();
}
