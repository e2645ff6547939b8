#include "emulator/surveytraffic.h"

#include <algorithm>
#include <cmath>

namespace {
const QStringList loraGroups{QStringLiteral("100"), QStringLiteral("150")};
constexpr int msPerSecond = 1000;
constexpr int secondsPerMinute = 60;
constexpr int secondsPerHour = 3600;
constexpr int secondsPerDay = 24 * secondsPerHour;
// The clock of the printed times starts at 05:00:00.
constexpr int startSecondOfDay = 5 * secondsPerHour;
// The forwarder's keep-alive to its server.
constexpr int pullPeriodMs = 10000;
// The antenna passes its best direction once a minute; off it the signal is this much lower.
constexpr double aimPeriodMs = 60000;
constexpr double aimSwingDb = 12;
constexpr double walkStepDb = 1.5;
constexpr double walkReachDb = 8;
constexpr double firstChannelRssi = -70;
constexpr double rssiStepPerChannel = 6;
constexpr double baseSpreadDb = 3;
constexpr double noiseFloorDbm = -118;
constexpr double snrCeilingDb = 10.5;
constexpr double crcBadShare = 0.05;
constexpr double crcBadLossDb = 6;
constexpr double snrJitterDb = 1;
constexpr double prefixShare = 0.1;
constexpr double pairShare = 0.08;
// Far devices send at the slow factors: half the packets come at SF7.
constexpr double lowestFactorShare = 0.5;
constexpr int lowestFactor = 7;
constexpr int highestFactor = 12;
constexpr int smallestPayload = 12;
constexpr int largestPayload = 51;
constexpr int datagramHeaderBytes = 12;
constexpr double fastestTripMs = 18;
constexpr double slowestTripMs = 400;
constexpr double tripStepMs = 25;
constexpr double pullJitterMs = 5;
constexpr double coolestC = 38;
constexpr double warmestC = 46;
constexpr double percent = 100;
constexpr int largestFoffHz = 2500;
constexpr int rssisBelowRssiDb = 3;

QString clock(qint64 atMs)
{
    const qint64 second = (startSecondOfDay + atMs / msPerSecond) % secondsPerDay;
    return QString::asprintf("%02d:%02d:%02d", int(second / secondsPerHour),
                             int(second / secondsPerMinute % secondsPerMinute),
                             int(second % secondsPerMinute));
}

double share(int part, int whole)
{
    return whole > 0 ? percent * part / whole : 0;
}
} // namespace

SurveyTraffic::SurveyTraffic(quint32 seed)
{
    restart(seed);
}

QList<SurveyTraffic::Channel> SurveyTraffic::channelPlan(const QJsonObject &document)
{
    QList<Channel> channels;
    for (const QString &group : loraGroups) {
        const QJsonObject settings = document.value(group).toObject();
        for (int n = 0; settings.contains(QStringLiteral("ch%1_1").arg(n)); ++n) {
            const QString prefix = QStringLiteral("ch%1_").arg(n);
            const qint32 frequency = settings.value(prefix + '3').toInt();
            const bool known = std::any_of(channels.cbegin(), channels.cend(),
                                           [frequency](const Channel &channel) {
                                               return channel.frequencyHz == frequency;
                                           });
            if (settings.value(prefix + '1').toBool() && frequency > 0 && !known)
                channels.append({n, settings.value(prefix + '2').toInt(), frequency});
        }
    }
    return channels;
}

void SurveyTraffic::setChannels(const QList<Channel> &channels)
{
    plan = channels;
}

QList<SurveyTraffic::Channel> SurveyTraffic::channels() const
{
    return plan;
}

void SurveyTraffic::setPacketRate(double perSecond)
{
    packetRate = perSecond > 0 ? perSecond : defaultPacketRate;
    nextPacketMs = nowMs + nextPacketGapMs();
}

void SurveyTraffic::setStatisticsPeriodMs(int periodMs)
{
    statisticsPeriodMs = qMax(1, periodMs);
    nextStatisticsMs = nowMs + statisticsPeriodMs;
}

void SurveyTraffic::setBackhaulDownAfterMs(qint64 afterMs)
{
    backhaulDownMs = afterMs;
}

void SurveyTraffic::setReceivers(bool hasGps, bool hasSignalDetails)
{
    gps = hasGps;
    signalDetails = hasSignalDetails;
}

void SurveyTraffic::restart(quint32 seed)
{
    random.seed(seed);
    walks.clear();
    counts = Counts();
    pendingStat.clear();
    sent = 0;
    nextFcnt = 0;
    nowMs = 0;
    nextPullMs = 0;
    nextStatisticsMs = statisticsPeriodMs;
    pushRoundTripMs = uniform(fastestTripMs, 2 * fastestTripMs);
    temperatureC = uniform(coolestC, warmestC);
    nextPacketMs = nextPacketGapMs();
}

qint64 SurveyTraffic::packetsSent() const
{
    return sent;
}

QStringList SurveyTraffic::linesUntil(qint64 elapsedMs)
{
    QStringList lines;
    for (;;) {
        const qint64 next = std::min({nextPacketMs, nextPullMs, nextStatisticsMs});
        if (next > elapsedMs)
            break;
        nowMs = next;
        if (next == nextStatisticsMs) {
            emitStatistics(next, &lines);
            nextStatisticsMs += statisticsPeriodMs;
        } else if (next == nextPullMs) {
            emitPull(next, &lines);
            nextPullMs += pullPeriodMs;
        } else {
            emitPackets(next, &lines);
            nextPacketMs += nextPacketGapMs();
        }
    }
    return lines;
}

bool SurveyTraffic::backhaulUp(qint64 atMs) const
{
    return backhaulDownMs < 0 || atMs < backhaulDownMs;
}

qint64 SurveyTraffic::nextPacketGapMs()
{
    // Devices send independently of one another: exponential gaps around the mean.
    const double meanMs = msPerSecond / packetRate;
    return qMax<qint64>(1, qint64(-std::log(1.0 - random.generateDouble()) * meanMs));
}

double SurveyTraffic::uniform(double low, double high)
{
    return low + (high - low) * random.generateDouble();
}

void SurveyTraffic::emitLine(qint64 atMs, const QString &text, QStringList *lines)
{
    if (random.generateDouble() < prefixShare)
        lines->append(QStringLiteral("Dec  7 %1 kelvane-gw lora_pkt_fwd[812]: %2")
                              .arg(clock(atMs), text));
    else
        lines->append(text);
}

void SurveyTraffic::emitPackets(qint64 atMs, QStringList *lines)
{
    if (plan.isEmpty())
        return;
    QStringList packets{packetJson(atMs)};
    if (random.generateDouble() < pairShare)
        packets.append(packetJson(atMs));
    for (int i = 0; i < packets.size(); ++i)
        emitLine(atMs,
                 QString::asprintf("INFO: Received pkt from mote: %08X (fcnt=%u)",
                                   random.generate(), nextFcnt++),
                 lines);
    QString json = QStringLiteral("{\"rxpk\":[") + packets.join(',') + ']';
    if (!pendingStat.isEmpty())
        json += QStringLiteral(",\"stat\":") + pendingStat;
    json += '}';
    pendingStat.clear();
    emitLine(atMs, QStringLiteral("JSON up: ") + json, lines);

    ++counts.pushSent;
    counts.pushBytes += int(json.size()) + datagramHeaderBytes;
    if (!backhaulUp(atMs))
        return;
    ++counts.pushAcknowledged;
    pushRoundTripMs = qBound(fastestTripMs, pushRoundTripMs + uniform(-tripStepMs, tripStepMs),
                             slowestTripMs);
    emitLine(atMs,
             QStringLiteral("INFO: [up] PUSH_ACK received in %1 ms").arg(qRound(pushRoundTripMs)),
             lines);
}

QString SurveyTraffic::packetJson(qint64 atMs)
{
    const int index = int(random.bounded(quint32(plan.size())));
    const Channel &channel = plan.at(index);
    auto walk = walks.find(channel.frequencyHz);
    if (walk == walks.end()) {
        const double base = firstChannelRssi - rssiStepPerChannel * index
                + uniform(-baseSpreadDb, baseSpreadDb);
        walk = walks.insert(channel.frequencyHz, {base, base});
    }
    walk->rssi = qBound(walk->baseRssi - walkReachDb, walk->rssi + uniform(-walkStepDb, walkStepDb),
                        walk->baseRssi + walkReachDb);
    const double aim = aimSwingDb * 0.5 * (1 - std::cos(2 * M_PI * atMs / aimPeriodMs));
    const bool crcBad = random.generateDouble() < crcBadShare;
    const double rssi = walk->rssi - aimSwingDb + aim - (crcBad ? crcBadLossDb : 0);
    const double snr
            = std::min(snrCeilingDb, rssi - noiseFloorDbm) + uniform(-snrJitterDb, snrJitterDb);
    const int factor = random.generateDouble() < lowestFactorShare
            ? lowestFactor
            : lowestFactor + int(random.bounded(highestFactor - lowestFactor + 1));
    const int size = smallestPayload + int(random.bounded(largestPayload - smallestPayload + 1));
    QByteArray payload(size, Qt::Uninitialized);
    for (char &byte : payload)
        byte = char(random.generate());

    ++sent;
    ++counts.received;
    ++(crcBad ? counts.crcBad : counts.crcOk);
    counts.bytes += size;
    QString json = QString::asprintf(
            "{\"tmst\":%u,\"chan\":%d,\"rfch\":%d,\"freq\":%.6f,\"stat\":%d,\"modu\":\"LORA\","
            "\"datr\":\"SF%dBW125\",\"codr\":\"4/5\",\"lsnr\":%.1f,\"rssi\":%d,",
            quint32(atMs * msPerSecond), channel.chan, channel.rfch, channel.frequencyHz / 1e6,
            crcBad ? -1 : 1, factor, snr, int(std::lround(rssi)));
    if (signalDetails)
        json += QString::asprintf("\"rssis\":%d,\"foff\":%d,",
                                  int(std::lround(rssi))
                                          - int(random.bounded(rssisBelowRssiDb + 1)),
                                  int(random.bounded(2 * largestFoffHz + 1)) - largestFoffHz);
    return json
            + QStringLiteral("\"size\":%1,\"data\":\"%2\"}")
                      .arg(size)
                      .arg(QString::fromLatin1(payload.toBase64()));
}

void SurveyTraffic::emitPull(qint64 atMs, QStringList *lines)
{
    ++counts.pullSent;
    if (!backhaulUp(atMs))
        return;
    ++counts.pullAcknowledged;
    emitLine(atMs,
             QStringLiteral("INFO: [down] PULL_ACK received in %1 ms")
                     .arg(qRound(pushRoundTripMs + uniform(-pullJitterMs, pullJitterMs))),
             lines);
}

void SurveyTraffic::emitStatistics(qint64 atMs, QStringList *lines)
{
    temperatureC = qBound(coolestC, temperatureC + uniform(-0.5, 0.5), warmestC);
    const double pushAcknowledged = share(counts.pushAcknowledged, counts.pushSent);
    QStringList block{
            QStringLiteral("##### 2026-12-07 %1 GMT #####").arg(clock(atMs)),
            QStringLiteral("### [UPSTREAM] ###"),
            QStringLiteral("# RF packets received by concentrator: %1").arg(counts.received),
            QString::asprintf("# CRC_OK: %.2f%%, CRC_FAIL: %.2f%%, NO_CRC: 0.00%%",
                              share(counts.crcOk, counts.received),
                              share(counts.crcBad, counts.received)),
            QStringLiteral("# RF packets forwarded: %1 (%2 bytes)")
                    .arg(counts.received)
                    .arg(counts.bytes),
            QStringLiteral("# PUSH_DATA datagrams sent: %1 (%2 bytes)")
                    .arg(counts.pushSent)
                    .arg(counts.pushBytes),
            QString::asprintf("# PUSH_DATA acknowledged: %.2f%%", pushAcknowledged),
            QStringLiteral("### [DOWNSTREAM] ###"),
            QString::asprintf("# PULL_DATA sent: %d (%.2f%% acknowledged)", counts.pullSent,
                              share(counts.pullAcknowledged, counts.pullSent)),
            QStringLiteral("# PULL_RESP(onse) datagrams received: 0 (0 bytes)"),
            QStringLiteral("# RF packets sent to concentrator: 0 (0 bytes)"),
            QStringLiteral("# TX errors: 0"),
            QStringLiteral("### [GPS] ###"),
    };
    if (gps)
        block << QStringLiteral("# Valid time reference (age: 0 sec)")
              << QStringLiteral("# GPS coordinates: latitude 55.75124, longitude 37.61842, "
                                "altitude 156 m");
    else
        block << QStringLiteral("# GPS sync is disabled");
    block << QString::asprintf("### Concentrator temperature: %.0f C ###", temperatureC)
          << QStringLiteral("##### END #####");
    for (const QString &text : block)
        emitLine(atMs, text, lines);

    pendingStat = QString::asprintf(
            "{\"time\":\"2026-12-07 %s GMT\",\"rxnb\":%d,\"rxok\":%d,\"rxfw\":%d,\"ackr\":%.1f,"
            "\"dwnb\":0,\"txnb\":0}",
            qPrintable(clock(atMs)), counts.received, counts.crcOk, counts.received,
            pushAcknowledged);
    counts = Counts();
}
