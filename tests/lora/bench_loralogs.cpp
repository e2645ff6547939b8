// Throughput of the log page: 10 MB of packet-forwarder output in pieces of
// 60 to 200 bytes, with the event loop turning the way the serial reader drives it.
#include "lora/loralogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QStringList>
#include <QTextStream>

#include <algorithm>
#include <cstdio>

namespace {
constexpr qint64 totalBytes = 10 * 1024 * 1024;
constexpr int minPieceBytes = 60;
constexpr int maxPieceBytes = 200;
// Bytes the serial port typically hands over in one readyRead at 1500000 baud.
constexpr int bytesPerReadChunk = 4096;

QString packetForwarderOutput(QRandomGenerator &random)
{
    QString text;
    QTextStream out(&text);
    int second = 0;
    while (text.size() < totalBytes) {
        const quint32 mote = random.generate();
        const int rssi = -40 - random.bounded(80);
        out << "INFO: Received pkt from mote: " << QString::number(mote, 16).toUpper()
            << " (fcnt=" << random.bounded(65536) << ")\n";
        out << "JSON up: {\"rxpk\":[{\"tmst\":" << random.generate()
            << ",\"chan\":" << random.bounded(8) << ",\"rfch\":" << random.bounded(2)
            << ",\"freq\":868.100000,\"stat\":1,\"modu\":\"LORA\",\"datr\":\"SF7BW125\","
               "\"codr\":\"4/5\",\"lsnr\":9.2,\"rssi\":"
            << rssi << ",\"size\":23,\"data\":\"QDoeASaAAQAC6zNz0k4Hk+EvQlE=\"}]}\n";
        if (++second % 20 == 0) {
            out << "\n##### 2026-12-07 05:" << (second / 60) % 60 << ":" << second % 60
                << " GMT #####\n### [UPSTREAM] ###\n# RF packets received by concentrator: 20\n"
                   "# CRC_OK: 100.00%, CRC_FAIL: 0.00%, NO_CRC: 0.00%\n"
                   "# PUSH_DATA datagrams sent: 20 (5400 bytes)\n"
                   "# PUSH_DATA acknowledged: 100.00%\n### [DOWNSTREAM] ###\n"
                   "# PULL_DATA sent: 3 (100.00% acknowledged)\n##### END #####\n";
        }
    }
    return text.left(totalBytes);
}

QStringList cutIntoPieces(const QString &text, QRandomGenerator &random)
{
    QStringList pieces;
    for (qsizetype at = 0; at < text.size();) {
        const int length = minPieceBytes + random.bounded(maxPieceBytes - minPieceBytes + 1);
        pieces.append(text.mid(at, length));
        at += length;
    }
    return pieces;
}

struct Run
{
    double seconds;
    qint64 longestCallNs;
    qint64 longestTurnNs;
    bool complete;
};

Run feed(const QString &text, const QStringList &pieces, int bytesPerTurn)
{
    LoRaLogs page;
    page.resize(905, 582);
    page.show();
    QCoreApplication::processEvents();

    QElapsedTimer total;
    QElapsedTimer call;
    qint64 longest = 0;
    qint64 longestTurn = 0;
    int sinceTurn = 0;
    total.start();
    for (const QString &piece : pieces) {
        call.start();
        page.setLoRaLogs(piece);
        longest = std::max(longest, call.nsecsElapsed());
        sinceTurn += piece.size();
        if (sinceTurn >= bytesPerTurn) {
            call.start();
            QCoreApplication::processEvents();
            longestTurn = std::max(longestTurn, call.nsecsElapsed());
            sinceTurn = 0;
        }
    }
    // Every piece must be in the view before the clock stops.
    const QPlainTextEdit *view = page.findChild<QPlainTextEdit *>();
    while (view->document()->characterCount() <= totalBytes)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double seconds = total.nsecsElapsed() / 1e9;
    return {seconds, longest, longestTurn, view->toPlainText() == text};
}

void report(const char *label, const Run &run)
{
    const double megabytes = double(totalBytes) / (1024.0 * 1024.0);
    std::printf("%-26s %7.2f MB/s (%.2f s); longest setLoRaLogs call %.3f ms, longest event-loop "
                "turn %.2f ms; view shows the whole input: %s\n",
                label, megabytes / run.seconds, run.seconds, run.longestCallNs / 1e6,
                run.longestTurnNs / 1e6, run.complete ? "yes" : "NO");
}
} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QRandomGenerator random(20261207);
    const QString text = packetForwarderOutput(random);
    const QStringList pieces = cutIntoPieces(text, random);
    std::printf("%lld bytes in %lld pieces of %d..%d bytes\n", static_cast<long long>(totalBytes),
                static_cast<long long>(pieces.size()), minPieceBytes, maxPieceBytes);
    report("event loop every piece:", feed(text, pieces, 1));
    report("event loop every 4 KiB:", feed(text, pieces, bytesPerReadChunk));
    return 0;
}
