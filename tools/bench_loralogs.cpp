// Throughput and memory of the log page: packet-forwarder output in pieces of 60 to
// 200 bytes, with the event loop turning the way the serial reader drives it. Every run
// ends with a save whose file must equal, byte for byte, everything that was fed.
#include "lora/loralogs.h"
#include "processusage.h"
#include "toolhelp.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstdio>

namespace {
constexpr qint64 megabyte = 1024 * 1024;
constexpr qint64 memoryRunBytes = 200 * megabyte;
constexpr qint64 modeRunBytes = 20 * megabyte;
constexpr int minPieceBytes = 60;
constexpr int maxPieceBytes = 200;
// Bytes the serial port typically hands over in one readyRead at 1500000 baud.
constexpr int bytesPerReadChunk = 4096;
constexpr qint64 poolBytes = 10 * megabyte;
// The view must end with the last this many pieces.
constexpr qsizetype tailPieces = 100;
constexpr quint32 seed = 20261207;

QString packetForwarderOutput(QRandomGenerator &random, qint64 bytes)
{
    QString text;
    QTextStream out(&text);
    int second = 0;
    while (text.size() < bytes) {
        const quint32 mote = random.generate();
        out << "INFO: Received pkt from mote: " << QString::number(mote, 16).toUpper()
            << " (fcnt=" << random.bounded(65536) << ")\n";
        out << "JSON up: {\"rxpk\":[{\"tmst\":" << random.generate()
            << ",\"chan\":" << random.bounded(8) << ",\"rfch\":" << random.bounded(2)
            << ",\"freq\":868.100000,\"stat\":1,\"modu\":\"LORA\",\"datr\":\"SF7BW125\","
               "\"codr\":\"4/5\",\"lsnr\":9.2,\"rssi\":"
            << -40 - random.bounded(80)
            << ",\"size\":23,\"data\":\"QDoeASaAAQAC6zNz0k4Hk+EvQlE=\"}]}\n";
        if (++second % 20 == 0) {
            out << "\n##### 2026-12-07 05:" << (second / 60) % 60 << ":" << second % 60
                << " GMT #####\n### [UPSTREAM] ###\n# RF packets received by concentrator: 20\n"
                   "# CRC_OK: 100.00%, CRC_FAIL: 0.00%, NO_CRC: 0.00%\n"
                   "# PUSH_DATA datagrams sent: 20 (5400 bytes)\n"
                   "# PUSH_DATA acknowledged: 100.00%\n### [DOWNSTREAM] ###\n"
                   "# PULL_DATA sent: 3 (100.00% acknowledged)\n##### END #####\n";
        }
    }
    return text.left(bytes);
}

// The input is a pool of pieces fed over and over, made before the clock and the memory
// count start; a long run costs no memory for its input.
struct Pieces
{
    QStringList text;
    QList<QByteArray> bytes;
};

Pieces cutIntoPieces(const QString &text, QRandomGenerator &random)
{
    Pieces pieces;
    for (qsizetype at = 0; at < text.size();) {
        const int length = minPieceBytes + random.bounded(maxPieceBytes - minPieceBytes + 1);
        pieces.text.append(text.mid(at, length));
        pieces.bytes.append(pieces.text.last().toUtf8());
        at += length;
    }
    return pieces;
}

// Saves into a scratch directory instead of asking.
class BenchLogs : public LoRaLogs
{
public:
    QTemporaryDir directory;

protected:
    QString chooseLogDirectory() override { return directory.path(); }
};

struct Mode
{
    const char *label;
    qint64 bytes;
    int bytesPerTurn;
    QString findTerm;
    bool paused;
};

void run(const Mode &mode, const Pieces &pieces)
{
    BenchLogs page;
    page.resize(905, 582);
    page.show();
    if (!mode.findTerm.isEmpty())
        page.findChild<QLineEdit *>(QStringLiteral("findEdit"))->setText(mode.findTerm);
    if (mode.paused)
        page.findChild<QPushButton *>(QStringLiteral("pauseButton"))->setChecked(true);
    QCoreApplication::processEvents();
    const qint64 residentBefore = residentBytes();

    qsizetype fedPieces = 0;
    qint64 fedBytes = 0;
    qint64 longestCall = 0;
    qint64 longestTurn = 0;
    int sinceTurn = 0;
    QElapsedTimer total;
    QElapsedTimer call;
    const double cpuBefore = cpuSeconds();
    total.start();
    for (; fedBytes < mode.bytes; ++fedPieces) {
        const qsizetype at = fedPieces % pieces.text.size();
        call.start();
        page.setLoRaLogs(pieces.text.at(at));
        longestCall = std::max(longestCall, call.nsecsElapsed());
        fedBytes += pieces.bytes.at(at).size();
        sinceTurn += int(pieces.bytes.at(at).size());
        if (sinceTurn >= mode.bytesPerTurn) {
            call.start();
            QCoreApplication::processEvents();
            longestTurn = std::max(longestTurn, call.nsecsElapsed());
            sinceTurn = 0;
        }
    }
    // The view settles within one period after the last piece; that time counts.
    QElapsedTimer settling;
    settling.start();
    while (settling.elapsed() < 2 * LoRaLogs::settlePeriodMs)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, LoRaLogs::settlePeriodMs);
    const double seconds = double(total.nsecsElapsed()) / 1e9;
    const double cpu = cpuSeconds() - cpuBefore;
    const qint64 residentGrowth = residentBytes() - residentBefore;

    if (mode.paused)
        page.findChild<QPushButton *>(QStringLiteral("pauseButton"))->setChecked(false);
    const QPlainTextEdit *view = page.findChild<QPlainTextEdit *>(QStringLiteral("logView"));
    const int lines = view->document()->blockCount();
    QString tail;
    for (qsizetype back = 1; back <= tailPieces; ++back)
        tail.prepend(pieces.text.at((fedPieces - back) % pieces.text.size()));
    const bool viewRight = view->toPlainText().endsWith(tail) && lines >= LoRaLogs::viewLineLimit
            && lines <= LoRaLogs::viewLineLimit + LoRaLogs::viewLineSlack;

    emit page.findChild<QPushButton *>(QStringLiteral("saveButton"))->pressed();
    const QStringList saved = QDir(page.directory.path()).entryList(QDir::Files);
    QCryptographicHash fed(QCryptographicHash::Sha1);
    for (qsizetype piece = 0; piece < fedPieces; ++piece)
        fed.addData(pieces.bytes.at(piece % pieces.bytes.size()));
    QCryptographicHash savedHash(QCryptographicHash::Sha1);
    QFile file(saved.isEmpty() ? QString() : page.directory.filePath(saved.first()));
    const bool recordRight = saved.size() == 1 && file.open(QIODevice::ReadOnly)
            && savedHash.addData(&file) && file.size() == fedBytes
            && savedHash.result() == fed.result();

    const double megabytes = double(fedBytes) / double(megabyte);
    std::printf("%-34s %6.2f MB/s (%.1f s), %6.2f MB/s of CPU time; RSS %+.1f MB; longest "
                "setLoRaLogs %.2f ms, longest event-loop turn %.2f ms; view holds the newest "
                "%d lines: %s; saved file equals the input: %s\n",
                mode.label, megabytes / seconds, seconds, megabytes / cpu,
                double(residentGrowth) / double(megabyte), double(longestCall) / 1e6,
                double(longestTurn) / 1e6, lines, viewRight ? "yes" : "NO",
                recordRight ? "yes" : "NO");
    std::fflush(stdout);
}
} // namespace

int main(int argc, char **argv)
{
    if (printedHelp(
                argc, argv,
                "Usage: bench_loralogs [TEXT]\n"
                "The packet-forwarder log page fed in 60 to 200 byte pieces: MB/s per mode and\n"
                "the resident memory growth. TEXT picks the modes whose label contains it.\n"))
        return 0;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QRandomGenerator random(seed);
    const Pieces pieces = cutIntoPieces(packetForwarderOutput(random, poolBytes), random);
    std::printf("%lld pieces of %d..%d bytes fed over and over; view limit %d lines\n",
                static_cast<long long>(pieces.text.size()), minPieceBytes, maxPieceBytes,
                LoRaLogs::viewLineLimit);
    const QList<Mode> modes{
            {"200 MB, event loop every piece:", memoryRunBytes, 1, QString(), false},
            {"20 MB, event loop every 4 KiB:", modeRunBytes, bytesPerReadChunk, QString(), false},
            {"20 MB, every piece, find active:", modeRunBytes, 1, QStringLiteral("rxpk"), false},
            {"20 MB, every piece, view paused:", modeRunBytes, 1, QString(), true},
    };
    // An argument picks the modes whose label contains it.
    const QString only = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    for (const Mode &mode : modes) {
        if (QString::fromLatin1(mode.label).contains(only))
            run(mode, pieces);
    }
    return 0;
}
