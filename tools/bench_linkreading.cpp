// Sustained reading speed of the link, to compare with the fastest console line
// (1500000 baud, about 150 KB/s): once through the reply framer alone, once
// through a logged-in link reading the emulator's pseudo-terminal.
#include "emulator/gatewayemulator.h"
#include "link/replyframer.h"
#include "link/sportconnector.h"
#include "toolhelp.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QSerialPort>
#include <QSignalSpy>
#include <QTest>

#include <cstdio>
#include <ctime>

namespace {

constexpr int lineKiloBytesPerSecond = 150;
constexpr int fastBaudRate = 1500000;
constexpr int loginWaitMs = 5000;
constexpr int streamWaitMs = 600000;

struct Stream
{
    QByteArray bytes;
    int replies = 0;
};

QByteArray settingsDocument()
{
    QJsonObject document;
    for (int group = 100; group < 400; group += 50) {
        QJsonObject values;
        for (int key = 1; key < 60; ++key)
            values.insert(QString::number(group + key),
                          QStringLiteral("value-%1-{%2}").arg(group).arg(key));
        document.insert(QString::number(group), values);
    }
    return QJsonDocument(document).toJson(QJsonDocument::Compact);
}

// Log lines, short replies, echoed requests and now and then a whole settings document.
Stream mixedStream(qsizetype targetBytes)
{
    const QByteArray document = "RESPONSE.{[33 " + settingsDocument() + "]}\r\n";
    Stream stream;
    for (int i = 0; stream.bytes.size() < targetBytes; ++i) {
        stream.bytes += "LOGS.{[INFO: [up] received packet " + QByteArray::number(i)
                + " {\"rxpk\":{\"freq\":868.1,\"rssi\":-57,\"data\":\"QAEjRWeJq83vASNF\"}}]}\r\n";
        ++stream.replies;
        if (i % 40 == 0) {
            stream.bytes += "REQUEST.{[--10 State]}\r\nRESPONSE.{[62 " + QByteArray::number(i % 7)
                    + "]}\r\n";
            ++stream.replies;
        }
        if (i % 900 == 0) {
            stream.bytes += document;
            ++stream.replies;
        }
    }
    return stream;
}

// Wall time is bound by how fast the emulator feeds the pty; the process's CPU
// time (emulator included) tells what the reading path itself could sustain.
void report(const char *path, qsizetype bytes, qint64 elapsedMs, std::clock_t cpuTicks, int replies)
{
    const double kiloBytes = bytes / 1024.0;
    const double wall = elapsedMs > 0 ? kiloBytes / (elapsedMs / 1000.0) : 0.0;
    const double cpuSeconds = double(cpuTicks) / CLOCKS_PER_SEC;
    const double cpu = cpuSeconds > 0 ? kiloBytes / cpuSeconds : 0.0;
    std::printf("%-22s %9lld bytes %6d replies %7lld ms wall: %8.0f KB/s (%5.1f x the line), "
                "per CPU second: %8.0f KB/s (%6.1f x the line)\n",
                path, static_cast<long long>(bytes), replies, static_cast<long long>(elapsedMs),
                wall, wall / lineKiloBytesPerSecond, cpu, cpu / lineKiloBytesPerSecond);
}

void benchFramer(const Stream &stream)
{
    const QRegularExpression pattern(ReplyFramer::replyPatternText);
    ReplyFramer framer(pattern);
    QRandomGenerator random(42);
    QByteArray buffer;
    int replies = 0;
    QElapsedTimer clock;
    clock.start();
    const std::clock_t cpuStart = std::clock();
    for (qsizetype at = 0; at < stream.bytes.size();) {
        const qsizetype size = qMin<qsizetype>(random.bounded(1, 4096), stream.bytes.size() - at);
        const QByteArray chunk = stream.bytes.mid(at, size);
        at += size;
        const qsizetype searchFrom = buffer.size() - 1;
        buffer += chunk;
        if (!chunk.contains('}') || !framer.cutFrame(buffer, searchFrom))
            continue;
        ReplyFramer::Reply reply;
        while (framer.takeNext(reply))
            ++replies;
    }
    report("framer alone", stream.bytes.size(), clock.elapsed(), std::clock() - cpuStart, replies);
}

bool benchLink(const Stream &stream, int chunkBytes)
{
    GatewayEmulator emulator(3);
    if (!emulator.start())
        return false;
    emulator.setChunking(chunkBytes, 42);
    SPortConnector link(fastBaudRate);
    link.setConnectionParameters(emulator.devicePath(), "root\r", "kelvane\r");
    QSignalSpy connected(&link, &SPortConnector::connectSucsessful);
    link.connectToGatewayPort();
    if (!connected.wait(loginWaitMs))
        return false;
    QSignalSpy serverState(&link, &SPortConnector::serverStatusResponse);
    if (!serverState.wait(loginWaitMs))
        return false;

    int replies = 0;
    bool finished = false;
    QObject::connect(&link, &SPortConnector::sendLoRaLogs, &link, [&replies] { ++replies; });
    QObject::connect(&link, &SPortConnector::resivedSettings, &link, [&replies] { ++replies; });
    QObject::connect(&link, &SPortConnector::openVPNState, &link, [&replies, &finished](int state) {
        ++replies;
        finished = state == 999;
    });

    QElapsedTimer clock;
    clock.start();
    const std::clock_t cpuStart = std::clock();
    emulator.sendRaw(stream.bytes + "RESPONSE.{[62 999]}\r\n");
    const bool done = QTest::qWaitFor([&finished] { return finished; }, streamWaitMs);
    report("link over the pty", stream.bytes.size(), clock.elapsed(), std::clock() - cpuStart,
           replies);
    if (replies != stream.replies + 1)
        std::printf("replies dispatched: %d, sent: %d\n", replies, stream.replies + 1);
    return done;
}

// The same stream read by a bare port: what the emulator and the pty deliver at most.
bool benchPort(const Stream &stream, int chunkBytes)
{
    GatewayEmulator emulator(3);
    if (!emulator.start())
        return false;
    emulator.setChunking(chunkBytes, 42);
    QSerialPort port(emulator.devicePath());
    port.setBaudRate(fastBaudRate);
    port.setFlowControl(QSerialPort::SoftwareControl);
    if (!port.open(QIODevice::ReadWrite))
        return false;
    qsizetype received = 0;
    QObject::connect(&port, &QSerialPort::readyRead, &port,
                     [&port, &received] { received += port.readAll().size(); });
    QElapsedTimer clock;
    clock.start();
    const std::clock_t cpuStart = std::clock();
    emulator.sendRaw(stream.bytes);
    const bool done = QTest::qWaitFor(
            [&received, &stream] { return received >= stream.bytes.size(); }, streamWaitMs);
    report("bare port over the pty", received, clock.elapsed(), std::clock() - cpuStart, 0);
    return done;
}

} // namespace

int main(int argc, char **argv)
{
    if (printedHelp(
                argc, argv,
                "Usage: bench_linkreading [MEGABYTES] [CHUNK]\n"
                "The link's reading path against the line rate of 1500000 baud: MEGABYTES\n"
                "(default 3) of replies and log lines through the framer, the port and the link,\n"
                "written by the emulator at once or in pieces of up to CHUNK bytes.\n"))
        return 0;
    QCoreApplication application(argc, argv);
    const qsizetype megaBytes = argc > 1 ? QByteArray(argv[1]).toLongLong() : 3;
    // 0: the emulator writes as fast as the pty takes it; otherwise in pieces up to this size.
    const int chunkBytes = argc > 2 ? QByteArray(argv[2]).toInt() : 0;
    const Stream stream = mixedStream(megaBytes * 1024 * 1024);
    benchFramer(stream);
    const bool portDone = benchPort(stream, chunkBytes);
    return portDone && benchLink(stream, chunkBytes) ? 0 : 1;
}
