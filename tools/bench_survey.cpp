// The site survey's costs: how fast the log reader takes the emulator's survey traffic,
// what the statistics hold in memory after a million packets, and how long the strip
// chart takes to redraw 15 minutes at 50 packets a second.
#include "emulator/settingsstore.h"
#include "emulator/surveytraffic.h"
#include "pagekit/stripchart.h"
#include "processusage.h"
#include "survey/forwarderlogparser.h"
#include "survey/surveystatistics.h"
#include "toolhelp.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
constexpr double megabyte = 1024 * 1024;
constexpr qint64 poolBytes = 32 * 1024 * 1024;
constexpr qint64 throughputBytes = 256 * 1024 * 1024;
constexpr qint64 memoryPackets = 1000000;
// The newest model: two modules, rssis and foff in every packet.
constexpr int modelCode = 3;
constexpr double packetRate = 50;
constexpr qint64 generateStepMs = 60000;
constexpr quint32 seed = 20261207;
constexpr int smallestLinePiece = 60;
constexpr int largestLinePiece = 200;
constexpr int savedLogPiece = 64 * 1024;
constexpr qint64 chartSpanMs = 15 * 60 * 1000;
constexpr int chartWidth = 880;
constexpr int chartHeight = 240;
constexpr int chartRedraws = 200;
constexpr int fewPoints = 500;

// The emulator's own survey output, about poolBytes of it.
QString surveyLog(qint64 *packets)
{
    SurveyTraffic traffic(seed);
    traffic.setChannels(SurveyTraffic::channelPlan(SettingsStore::defaultDocument(modelCode)));
    traffic.setReceivers(true, true);
    traffic.setPacketRate(packetRate);
    QString text;
    text.reserve(poolBytes + poolBytes / 16);
    for (qint64 until = generateStepMs; text.size() < poolBytes; until += generateStepMs) {
        for (const QString &line : traffic.linesUntil(until)) {
            text += line;
            text += '\n';
        }
    }
    *packets = traffic.packetsSent();
    return text;
}

// Pieces of 60 to 200 characters, as the link hands on reply payloads, or large ones, as
// a saved log is read.
QList<QStringView> cut(const QString &text, int smallest, int largest)
{
    QRandomGenerator random(seed);
    QList<QStringView> pieces;
    for (qsizetype at = 0; at < text.size();) {
        const qsizetype length = qMin<qsizetype>(smallest + random.bounded(largest - smallest + 1),
                                                 text.size() - at);
        pieces.append(QStringView(text).mid(at, length));
        at += length;
    }
    return pieces;
}

void throughput(const char *label, const QList<QStringView> &pieces, qint64 poolPackets)
{
    SurveyStatistics statistics;
    ForwarderLogParser parser(&statistics);
    qint64 fed = 0;
    int rounds = 0;
    QElapsedTimer wall;
    wall.start();
    const double cpuBefore = cpuSeconds();
    while (fed < throughputBytes) {
        for (const QStringView piece : pieces) {
            parser.feed(piece, wall.elapsed());
            fed += piece.size();
        }
        ++rounds;
    }
    const double cpu = cpuSeconds() - cpuBefore;
    const double seconds = double(wall.nsecsElapsed()) / 1e9;
    const bool allRead
            = statistics.packets() == poolPackets * rounds && parser.malformedLines() == 0;
    std::printf("parser, %s: %.1f MB per CPU second (%.1f MB/s wall, %.0f MB); every packet "
                "read, no line malformed: %s\n",
                label, double(fed) / megabyte / cpu, double(fed) / megabyte / seconds,
                double(fed) / megabyte, allRead ? "yes" : "NO");
}

void memory(const QList<QStringView> &pieces)
{
    SurveyStatistics statistics;
    ForwarderLogParser parser(&statistics);
    const qint64 before = residentBytes();
    qint64 ringFull = 0;
    for (qint64 piece = 0; statistics.packets() < memoryPackets; ++piece) {
        parser.feed(pieces.at(piece % pieces.size()), piece);
        if (ringFull == 0 && statistics.packets() >= SurveyStatistics::defaultRingCapacity)
            ringFull = residentBytes();
    }
    const qint64 after = residentBytes();
    std::printf("memory: resident %.1f MB before, %.1f MB once the ring was full (%d packets), "
                "%.1f MB after %lld packets: %+.1f MB in all, %+.1f MB after the ring was full\n",
                double(before) / megabyte, double(ringFull) / megabyte,
                SurveyStatistics::defaultRingCapacity, double(after) / megabyte,
                static_cast<long long>(statistics.packets()), double(after - before) / megabyte,
                double(after - ringFull) / megabyte);
}

void chart(int points)
{
    StripChart chart;
    chart.resize(chartWidth, chartHeight);
    chart.setSpanMs(chartSpanMs);
    const qint64 stepMs = chartSpanMs / points;
    QRandomGenerator random(seed);
    const int channels
            = int(SurveyTraffic::channelPlan(SettingsStore::defaultDocument(modelCode)).size());
    double rssi = -90;
    for (int point = 0; point < points; ++point) {
        rssi = qBound(-130.0, rssi + random.bounded(6.0) - 3.0, -40.0);
        chart.addPoint(int(random.bounded(channels)), point * stepMs, rssi);
    }
    chart.setEndTime(points * stepMs);
    QImage image(chart.size(), QImage::Format_ARGB32_Premultiplied);
    chart.render(&image);
    // Wall time counts whatever else the machine runs meanwhile; the thread's CPU time
    // does not.
    std::vector<qint64> times;
    QElapsedTimer timer;
    const double cpuBefore = cpuSeconds();
    for (int redraw = 0; redraw < chartRedraws; ++redraw) {
        timer.start();
        chart.render(&image);
        times.push_back(timer.nsecsElapsed());
    }
    const double cpuMs = (cpuSeconds() - cpuBefore) * 1e3 / chartRedraws;
    std::sort(times.begin(), times.end());
    std::printf("strip chart, %d points over 15 min in %d series, %dx%d: %.2f ms of CPU per "
                "redraw; wall time median %.2f ms, fastest %.2f ms, slowest %.2f ms (%d "
                "redraws)\n",
                points, channels, chartWidth, chartHeight, cpuMs,
                double(times[times.size() / 2]) / 1e6, double(times.front()) / 1e6,
                double(times.back()) / 1e6, chartRedraws);
}
} // namespace

int main(int argc, char **argv)
{
    if (printedHelp(argc, argv,
                    "Usage: bench_survey\n"
                    "The site survey's costs on the emulator's survey traffic (50 packets/s):\n"
                    "the log reader's MB per CPU second, fed in 60..200 character pieces and in\n"
                    "64 KiB pieces; the resident memory after 1000000 packets; the strip chart's\n"
                    "redraw of 15 min at 50 packets/s (45000 points) and of 500 points.\n"))
        return 0;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    qint64 poolPackets = 0;
    const QString log = surveyLog(&poolPackets);
    std::printf("survey log: %.1f MB, %lld packets, fed over and over\n",
                double(log.toUtf8().size()) / megabyte, static_cast<long long>(poolPackets));
    const QList<QStringView> linePieces = cut(log, smallestLinePiece, largestLinePiece);
    // First, while no earlier run has left freed memory behind for the ring to reuse.
    memory(linePieces);
    throughput("60..200 character pieces", linePieces, poolPackets);
    throughput("64 KiB pieces", cut(log, savedLogPiece, savedLogPiece), poolPackets);
    chart(int(packetRate * chartSpanMs / 1000));
    chart(fewPoints);
    return 0;
}
