#pragma once

#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>

// Packet-forwarder output while an installer surveys a site: packets on every channel of
// the plan at a set rate, their RSSI and SNR on a seeded random walk per channel under a
// slow rise and fall (an antenna turned past its best direction), some with a bad CRC,
// some lines behind a syslog prefix, PUSH_ACK and PULL_ACK round trips and a statistics
// block every period. Once the backhaul is down nothing is acknowledged any more. The
// lines depend only on the seed and on the traffic time they are due at.
class SurveyTraffic
{
public:
    struct Channel
    {
        int chan;
        int rfch;
        qint32 frequencyHz;
    };

    static constexpr double defaultPacketRate = 5;
    static constexpr int defaultStatisticsPeriodMs = 30000;

    explicit SurveyTraffic(quint32 seed = 1);

    // The enabled channels of a settings document's LoRa groups, each frequency once.
    static QList<Channel> channelPlan(const QJsonObject &document);

    void setChannels(const QList<Channel> &channels);
    QList<Channel> channels() const;
    // Both take effect from the traffic time reached.
    void setPacketRate(double perSecond);
    void setStatisticsPeriodMs(int periodMs);
    // Traffic time after which no datagram is acknowledged; negative: never.
    void setBackhaulDownAfterMs(qint64 afterMs);
    // A GPS receiver (the block reports a fix) and a concentrator that adds rssis and foff.
    void setReceivers(bool gps, bool signalDetails);
    // Back to traffic time 0 with a new seed.
    void restart(quint32 seed);

    // Every line due up to that traffic time (ms since the start), in order, without
    // line ends.
    QStringList linesUntil(qint64 elapsedMs);
    qint64 packetsSent() const;

private:
    struct Walk
    {
        double rssi;
        double baseRssi;
    };
    struct Counts
    {
        int received = 0;
        int crcOk = 0;
        int crcBad = 0;
        int bytes = 0;
        int pushSent = 0;
        int pushBytes = 0;
        int pushAcknowledged = 0;
        int pullSent = 0;
        int pullAcknowledged = 0;
    };

    void emitPackets(qint64 atMs, QStringList *lines);
    QString packetJson(qint64 atMs);
    void emitPull(qint64 atMs, QStringList *lines);
    void emitStatistics(qint64 atMs, QStringList *lines);
    void emitLine(qint64 atMs, const QString &text, QStringList *lines);
    bool backhaulUp(qint64 atMs) const;
    qint64 nextPacketGapMs();
    double uniform(double low, double high);

    QRandomGenerator random;
    QList<Channel> plan;
    QHash<qint32, Walk> walks;
    double packetRate = defaultPacketRate;
    int statisticsPeriodMs = defaultStatisticsPeriodMs;
    qint64 backhaulDownMs = -1;
    bool gps = true;
    bool signalDetails = false;
    // Traffic time of the last event.
    qint64 nowMs = 0;
    qint64 nextPacketMs = 0;
    qint64 nextPullMs = 0;
    qint64 nextStatisticsMs = 0;
    qint64 sent = 0;
    double pushRoundTripMs = 0;
    double temperatureC = 0;
    Counts counts;
    QString pendingStat;
    quint32 nextFcnt = 0;
};
