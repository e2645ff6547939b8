#pragma once

#include "survey/surveypacket.h"
#include "survey/valuedistribution.h"

#include <QList>
#include <QtGlobal>

#include <map>
#include <optional>
#include <vector>

// What a site survey has heard since the last reset: a bounded ring of the newest
// packets, running figures per channel (keyed by frequency) and for the backhaul.
// Counts, medians and acknowledgement rates depend only on the order of the text, never
// on arrival times, so a saved log gives the figures of the live run that made it.
class SurveyStatistics
{
public:
    static constexpr int defaultRingCapacity = 100000;
    // Aiming compares the median of the newest packets with that of as many before them.
    static constexpr int aimingWindow = 10;
    static constexpr qint64 rateWindowMs = 60000;

    // Over packets with CRC ok or no CRC; NaN while there are none.
    struct Spread
    {
        double last = NAN;
        double median = NAN;
        double low = NAN; // 10th percentile
        double high = NAN; // 90th percentile
    };

    struct Channel
    {
        double frequencyMhz = 0;
        // Of the newest packet on this frequency.
        int chan = 0;
        int rfch = 0;
        qint64 packets = 0;
        qint64 crcOk = 0;
        qint64 crcBad = 0;
        qint64 noCrc = 0;
        Spread rssi;
        Spread snr;
        // Over the last minute of arrival times (or the time since the first packet,
        // when shorter).
        double packetsPerMinute = 0;
        qint64 lastSeenMs = 0;
        QList<int> spreadingFactors;

        // Of all its packets, CRC-bad ones included; 0 before any.
        double crcOkPercent() const
        {
            return packets > 0 ? 100.0 * double(crcOk) / double(packets) : 0;
        }
    };

    // One statistics block of the forwarder; what its lines did not tell is empty.
    struct Block
    {
        // 1 for the first block since the reset, 0 before any.
        int number = 0;
        std::optional<qint64> received;
        std::optional<double> crcOkPercent;
        std::optional<double> crcFailPercent;
        std::optional<double> noCrcPercent;
        std::optional<qint64> forwarded;
        std::optional<qint64> forwardedBytes;
        std::optional<qint64> pushSent;
        std::optional<qint64> pushSentBytes;
        std::optional<double> pushAcknowledgedPercent;
        std::optional<qint64> pullSent;
        std::optional<double> pullAcknowledgedPercent;
    };

    struct Gps
    {
        enum class Fix { Unknown, Disabled, NoFix, Valid, Fake };
        Fix fix = Fix::Unknown;
        double latitude = 0;
        double longitude = 0;
        int altitudeM = 0;
        std::optional<bool> timeReferenceValid;
    };

    // In ms; NaN while none arrived.
    struct RoundTrip
    {
        qint64 count = 0;
        double last = NAN;
        double median = NAN;
    };

    struct Aiming
    {
        double lastRssi = NAN;
        double lastSnr = NAN;
        int lastSpreadingFactor = 0;
        // Medians of the newest aimingWindow packets and of the aimingWindow before.
        double recentRssi = NAN;
        double recentSnr = NAN;
        double earlierRssi = NAN;
        double earlierSnr = NAN;
    };

    explicit SurveyStatistics(int ringCapacity = defaultRingCapacity);

    void reset();
    // Nothing of a survey arrived since the reset: no packet, statistics block or
    // acknowledgement.
    bool isEmpty() const;

    void addPacket(const SurveyPacket &packet);
    // A new block begins (its first line arrived); setBlock() fills it as lines follow.
    void startBlock();
    void setBlock(const Block &block);
    void setTemperature(double celsius);
    void setGps(const Gps &gps);
    void addPushAck(double ms);
    void addPullAck(double ms);

    // Every rxpk entry since the reset, CRC-bad ones included.
    qint64 packets() const;
    qint64 crcBad() const;
    // The ring, oldest first: at most ringCapacity() of the newest packets.
    int ringCapacity() const;
    int heldPackets() const;
    const SurveyPacket &heldPacket(int index) const;
    qint64 firstHeardMs() const;
    qint64 lastHeardMs() const;

    // Ordered by frequency; nowMs ends the window of packetsPerMinute.
    QList<Channel> channels(qint64 nowMs) const;
    Spread rssi() const;
    Spread snr() const;
    Aiming aiming() const;

    Block lastBlock() const;
    // The last block sent PUSH_DATA and none was acknowledged: the gateway hears
    // devices, but its server does not answer.
    bool pushUnacknowledged() const;
    RoundTrip pushAck() const;
    RoundTrip pullAck() const;
    std::optional<double> temperature() const;
    Gps gps() const;

private:
    struct Figures
    {
        ValueDistribution rssi;
        ValueDistribution snr;
        double lastRssi = NAN;
        double lastSnr = NAN;
    };
    struct ChannelState
    {
        Channel channel;
        Figures figures;
        quint32 spreadingFactors = 0;
    };
    struct Trips
    {
        ValueDistribution values;
        double last = NAN;
    };

    static void count(Figures &figures, const SurveyPacket &packet);
    static Spread spreadOf(const ValueDistribution &values, double last);
    static RoundTrip roundTripOf(const Trips &trips);

    std::vector<SurveyPacket> ring;
    int capacity;
    int ringStart = 0;
    qint64 total = 0;
    qint64 bad = 0;
    qint64 firstHeard = 0;
    std::map<qint32, ChannelState> perFrequency;
    Figures overall;
    Block block;
    Trips pushTrips;
    Trips pullTrips;
    std::optional<double> concentratorCelsius;
    Gps gpsState;
};
