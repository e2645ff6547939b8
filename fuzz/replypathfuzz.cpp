#include "fuzz/replypathfuzz.h"

#include "link/sportconnector.h"

#include <QCoreApplication>
#include <QJsonObject>
#include <QList>

#include <cstdlib>

namespace {

constexpr int startStateBits = 0x03;
constexpr int logsActiveBit = 0x04;
constexpr int serverCheckBit = 0x08;
constexpr int nestedReadBit = 0x10;
constexpr int lengthBits = 0x7f;
constexpr int tickBit = 0x80;
// Deeper nesting only tests the stack.
constexpr int maxNestedReads = 4;

struct Chunk
{
    bool tickBefore;
    QByteArray bytes;
};

void quiet(QtMsgType, const QMessageLogContext &, const QString &) { }

void prepareApplication()
{
    static int argc = 1;
    static char name[] = "kelvane-fuzz";
    static char *argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
    qInstallMessageHandler(quiet);
}

} // namespace

void ReplyPathFuzz::run(const QByteArray &input)
{
    static const bool prepared = (prepareApplication(), true);
    if (!prepared || input.isEmpty())
        return;
    const int mode = quint8(input.at(0));
    QList<Chunk> chunks;
    for (qsizetype at = 1; at < input.size();) {
        const int head = quint8(input.at(at++));
        const qsizetype length = (head & lengthBits) + 1;
        chunks.append({(head & tickBit) != 0, input.mid(at, length)});
        at += length;
    }

    SPortConnector link(115200);
    link.setConnectionParameters(QStringLiteral("fuzz"), "root\r", "kelvane\r");
    using State = SPortConnector::State;
    const State starts[] = {State::LoggingIn, State::Online, State::Rebooting, State::Rejoining};
    link.state = starts[mode & startStateBits];
    link.rejoining = link.state == State::Rejoining;
    link.logsActive = mode & logsActiveBit;
    link.serverCheckPending = mode & serverCheckBit;
    link.initEventOptions();

    // The owner's part: it disconnects on a final signal, after which the link is silent.
    bool ended = false;
    const auto mustBeLive = [&ended] {
        if (ended)
            std::abort();
    };
    const auto end = [&] {
        mustBeLive();
        ended = true;
        link.disconnectFromGatewayPort();
    };
    QObject::connect(&link, &SPortConnector::connectionFailure, &link, end);
    QObject::connect(&link, &SPortConnector::connectionCoreDropped, &link, end);
    QObject::connect(&link, &SPortConnector::connectSucsessful, &link, mustBeLive);
    QObject::connect(&link, &SPortConnector::rebootSucsess, &link, mustBeLive);
    QObject::connect(&link, &SPortConnector::disableInterface, &link, mustBeLive);
    QObject::connect(&link, &SPortConnector::sendLoRaLogs, &link, mustBeLive);
    QObject::connect(&link, &SPortConnector::sendRebootLogs, &link, mustBeLive);
    // The document lives only while the signal is delivered.
    QObject::connect(&link, &SPortConnector::resivedSettings, &link, [&](QJsonObject *settings) {
        mustBeLive();
        if (settings->contains(QStringLiteral("fuzz")))
            link.setObjectName(QStringLiteral("fuzz"));
    });

    qsizetype next = 0;
    const auto feedNext = [&] {
        const Chunk &chunk = chunks.at(next++);
        if (chunk.tickBefore)
            link.Ping();
        if (!ended)
            link.takeChunk(chunk.bytes);
    };
    int nested = 0;
    QObject::connect(&link, &SPortConnector::sendTxtDialog, &link, [&] {
        mustBeLive();
        if (!(mode & nestedReadBit) || nested >= maxNestedReads || next >= chunks.size())
            return;
        ++nested;
        feedNext();
        --nested;
    });
    while (!ended && next < chunks.size())
        feedNext();
}
