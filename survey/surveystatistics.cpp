#include "survey/surveystatistics.h"

namespace {
constexpr double lowFraction = 0.1;
constexpr double highFraction = 0.9;
constexpr qint64 shortestRateWindowMs = 1000;
} // namespace

SurveyStatistics::SurveyStatistics(int ringCapacity) : capacity(qMax(1, ringCapacity))
{
    // Reserved once, so that the ring never reallocates past its bound.
    ring.reserve(size_t(capacity));
}

void SurveyStatistics::reset()
{
    ring.clear();
    ringStart = 0;
    total = 0;
    bad = 0;
    firstHeard = 0;
    perFrequency.clear();
    overall = Figures();
    block = Block();
    pushTrips = Trips();
    pullTrips = Trips();
    concentratorCelsius.reset();
    gpsState = Gps();
}

bool SurveyStatistics::isEmpty() const
{
    return total == 0 && block.number == 0 && pushTrips.values.count() == 0
            && pullTrips.values.count() == 0;
}

void SurveyStatistics::addPacket(const SurveyPacket &packet)
{
    if (total == 0)
        firstHeard = packet.heardMs;
    ++total;
    if (int(ring.size()) < capacity) {
        ring.push_back(packet);
    } else {
        ring[size_t(ringStart)] = packet;
        ringStart = (ringStart + 1) % capacity;
    }

    ChannelState &state = perFrequency[packet.frequencyHz];
    Channel &channel = state.channel;
    channel.frequencyMhz = packet.frequencyMhz();
    channel.chan = packet.chan;
    channel.rfch = packet.rfch;
    channel.lastSeenMs = packet.heardMs;
    ++channel.packets;
    // Spreading factors seen are kept as bits of one word.
    if (packet.spreadingFactor >= SurveyPacket::lowestSpreadingFactor
        && packet.spreadingFactor <= SurveyPacket::highestSpreadingFactor)
        state.spreadingFactors |= 1u << packet.spreadingFactor;
    switch (packet.crc) {
    case SurveyPacket::CrcBad:
        ++channel.crcBad;
        ++bad;
        return;
    case SurveyPacket::NoCrc:
        ++channel.noCrc;
        break;
    default:
        ++channel.crcOk;
        break;
    }
    count(state.figures, packet);
    count(overall, packet);
}

void SurveyStatistics::count(Figures &figures, const SurveyPacket &packet)
{
    figures.rssi.add(packet.rssi);
    figures.lastRssi = packet.rssi;
    if (packet.hasSnr()) {
        figures.snr.add(packet.snr);
        figures.lastSnr = packet.snr;
    }
}

void SurveyStatistics::startBlock()
{
    const int number = block.number + 1;
    block = Block();
    block.number = number;
}

void SurveyStatistics::setBlock(const Block &figures)
{
    const int number = block.number;
    block = figures;
    block.number = number;
}

void SurveyStatistics::setTemperature(double celsius)
{
    concentratorCelsius = celsius;
}

void SurveyStatistics::setGps(const Gps &gps)
{
    gpsState = gps;
}

void SurveyStatistics::addPushAck(double ms)
{
    pushTrips.values.add(ms);
    pushTrips.last = ms;
}

void SurveyStatistics::addPullAck(double ms)
{
    pullTrips.values.add(ms);
    pullTrips.last = ms;
}

qint64 SurveyStatistics::packets() const
{
    return total;
}

qint64 SurveyStatistics::crcBad() const
{
    return bad;
}

int SurveyStatistics::ringCapacity() const
{
    return capacity;
}

int SurveyStatistics::heldPackets() const
{
    return int(ring.size());
}

const SurveyPacket &SurveyStatistics::heldPacket(int index) const
{
    return ring[size_t((ringStart + index) % capacity)];
}

qint64 SurveyStatistics::firstHeardMs() const
{
    return firstHeard;
}

qint64 SurveyStatistics::lastHeardMs() const
{
    return ring.empty() ? 0 : heldPacket(heldPackets() - 1).heardMs;
}

QList<SurveyStatistics::Channel> SurveyStatistics::channels(qint64 nowMs) const
{
    std::map<qint32, qint64> recent;
    const qint64 windowStart = nowMs - rateWindowMs;
    for (int index = heldPackets() - 1; index >= 0; --index) {
        const SurveyPacket &packet = heldPacket(index);
        if (packet.heardMs <= windowStart)
            break;
        ++recent[packet.frequencyHz];
    }
    const qint64 windowMs = qBound(shortestRateWindowMs, nowMs - firstHeard, rateWindowMs);

    QList<Channel> list;
    list.reserve(qsizetype(perFrequency.size()));
    for (const auto &[frequency, state] : perFrequency) {
        Channel channel = state.channel;
        channel.rssi = spreadOf(state.figures.rssi, state.figures.lastRssi);
        channel.snr = spreadOf(state.figures.snr, state.figures.lastSnr);
        const auto found = recent.find(frequency);
        channel.packetsPerMinute = found == recent.end()
                ? 0
                : double(found->second) * double(rateWindowMs) / double(windowMs);
        for (int factor = SurveyPacket::lowestSpreadingFactor;
             factor <= SurveyPacket::highestSpreadingFactor; ++factor)
            if (state.spreadingFactors & (1u << factor))
                channel.spreadingFactors.append(factor);
        list.append(channel);
    }
    return list;
}

SurveyStatistics::Spread SurveyStatistics::spreadOf(const ValueDistribution &values, double last)
{
    Spread spread;
    spread.last = last;
    spread.median = values.median();
    spread.low = values.percentile(lowFraction);
    spread.high = values.percentile(highFraction);
    return spread;
}

SurveyStatistics::Spread SurveyStatistics::rssi() const
{
    return spreadOf(overall.rssi, overall.lastRssi);
}

SurveyStatistics::Spread SurveyStatistics::snr() const
{
    return spreadOf(overall.snr, overall.lastSnr);
}

SurveyStatistics::Aiming SurveyStatistics::aiming() const
{
    Aiming aiming;
    ValueDistribution recentRssi;
    ValueDistribution recentSnr;
    ValueDistribution earlierRssi;
    ValueDistribution earlierSnr;
    int taken = 0;
    for (int index = heldPackets() - 1; index >= 0 && taken < 2 * aimingWindow; --index) {
        const SurveyPacket &packet = heldPacket(index);
        if (!packet.counted())
            continue;
        if (taken == 0) {
            aiming.lastRssi = packet.rssi;
            aiming.lastSnr = packet.snr;
            aiming.lastSpreadingFactor = packet.spreadingFactor;
        }
        const bool recent = taken < aimingWindow;
        (recent ? recentRssi : earlierRssi).add(packet.rssi);
        (recent ? recentSnr : earlierSnr).add(packet.snr);
        ++taken;
    }
    aiming.recentRssi = recentRssi.median();
    aiming.recentSnr = recentSnr.median();
    aiming.earlierRssi = earlierRssi.median();
    aiming.earlierSnr = earlierSnr.median();
    return aiming;
}

SurveyStatistics::Block SurveyStatistics::lastBlock() const
{
    return block;
}

bool SurveyStatistics::pushUnacknowledged() const
{
    return block.pushAcknowledgedPercent == 0.0 && block.pushSent.value_or(1) > 0;
}

SurveyStatistics::RoundTrip SurveyStatistics::roundTripOf(const Trips &trips)
{
    RoundTrip trip;
    trip.count = trips.values.count();
    trip.last = trips.last;
    trip.median = trips.values.median();
    return trip;
}

SurveyStatistics::RoundTrip SurveyStatistics::pushAck() const
{
    return roundTripOf(pushTrips);
}

SurveyStatistics::RoundTrip SurveyStatistics::pullAck() const
{
    return roundTripOf(pullTrips);
}

std::optional<double> SurveyStatistics::temperature() const
{
    return concentratorCelsius;
}

SurveyStatistics::Gps SurveyStatistics::gps() const
{
    return gpsState;
}
