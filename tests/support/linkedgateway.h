#pragma once

#include <QString>
#include <QStringList>

class GatewayEmulator;
class SPortConnector;

// A logged-in link to an emulated gateway over a real pseudo-terminal, for the
// tests of pages that talk to the gateway.
class LinkedGateway
{
public:
    LinkedGateway();
    ~LinkedGateway();
    LinkedGateway(const LinkedGateway &) = delete;
    LinkedGateway &operator=(const LinkedGateway &) = delete;

    // Starts the emulator of that model, connects a link with the model's baud
    // rate and the credentials root/kelvane, and waits for connectSucsessful and
    // for the link's first request ("--10 State") to reach the emulator.
    bool open(int modelCode = 3);

    GatewayEmulator &emulator();
    SPortConnector *link();

    // Waits until the emulator has received that request text (e.g. "--10 State")
    // since the last clearRequests().
    bool waitForRequest(const QString &request, int timeoutMs = 5000);
    QStringList requests() const;
    void clearRequests();

private:
    GatewayEmulator *gateway;
    SPortConnector *connector = nullptr;
    QStringList received;
};
