#include "survey/forwarderlogparser.h"

#include "survey/logcursor.h"
#include "survey/surveystatistics.h"

#include <cmath>

namespace {

constexpr QStringView jsonMarker = u"JSON up:";
constexpr QStringView ackMarker = u"_ACK received in";
constexpr double hertzPerMegahertz = 1e6;

// "SF7BW125" for LoRa, a number (the bit rate) for FSK; anything else is left unknown.
void readDataRate(QStringView text, SurveyPacket *packet)
{
    LogCursor cursor(text);
    double factor = 0;
    double bandwidth = 0;
    if (cursor.takeWord(u"SF") && cursor.number(&factor) && cursor.takeWord(u"BW")
        && cursor.number(&bandwidth) && factor >= SurveyPacket::lowestSpreadingFactor
        && factor <= SurveyPacket::highestSpreadingFactor) {
        packet->spreadingFactor = qint8(factor);
        packet->bandwidthKhz = qint32(bandwidth);
    }
}

bool readPacket(LogCursor &cursor, SurveyPacket *packet)
{
    if (!cursor.take(u'{'))
        return false;
    bool hasFrequency = false;
    bool hasRssi = false;
    bool hasStat = false;
    do {
        QStringView key;
        double value = 0;
        if (!cursor.string(&key) || !cursor.take(u':'))
            return false;
        if (key == u"datr") {
            QStringView text;
            if (cursor.string(&text)) {
                readDataRate(text, packet);
            } else if (cursor.number(&value)) {
                packet->bitRate = qint32(value);
            } else {
                return false;
            }
            continue;
        }
        const bool known = key == u"chan" || key == u"rfch" || key == u"freq" || key == u"stat"
                || key == u"rssi" || key == u"rssis" || key == u"lsnr" || key == u"size"
                || key == u"foff";
        if (!known) {
            if (!cursor.skipValue())
                return false;
            continue;
        }
        if (!cursor.number(&value))
            return false;
        if (key == u"chan") {
            packet->chan = qint8(value);
        } else if (key == u"rfch") {
            packet->rfch = qint8(value);
        } else if (key == u"freq") {
            packet->frequencyHz = qint32(std::lround(value * hertzPerMegahertz));
            hasFrequency = true;
        } else if (key == u"stat") {
            if (value != SurveyPacket::CrcOk && value != SurveyPacket::CrcBad
                && value != SurveyPacket::NoCrc)
                return false;
            packet->crc = qint8(value);
            hasStat = true;
        } else if (key == u"rssi") {
            packet->rssi = float(value);
            hasRssi = true;
        } else if (key == u"rssis") {
            packet->rssis = float(value);
        } else if (key == u"lsnr") {
            packet->snr = float(value);
        } else if (key == u"size") {
            packet->size = qint16(value);
        } else {
            packet->foffHz = qint32(value);
            packet->hasFoff = true;
        }
    } while (cursor.take(u','));
    return cursor.take(u'}') && hasFrequency && hasRssi && hasStat;
}

enum class StatisticsLine {
    Received,
    CrcShares,
    Forwarded,
    PushSent,
    PushAcknowledged,
    PullSent,
    Temperature,
    Coordinates,
    FakeCoordinates,
    NoCoordinates,
    GpsDisabled,
    ValidTime,
    InvalidTime,
};

struct Label
{
    QStringView text;
    StatisticsLine kind;
};

constexpr Label statisticsLabels[] = {
        {u"RF packets received by concentrator:", StatisticsLine::Received},
        {u"CRC_OK:", StatisticsLine::CrcShares},
        {u"RF packets forwarded:", StatisticsLine::Forwarded},
        {u"PUSH_DATA datagrams sent:", StatisticsLine::PushSent},
        {u"PUSH_DATA acknowledged:", StatisticsLine::PushAcknowledged},
        {u"PULL_DATA sent:", StatisticsLine::PullSent},
        {u"Concentrator temperature:", StatisticsLine::Temperature},
        {u"GPS coordinates:", StatisticsLine::Coordinates},
        {u"GPS *FAKE* coordinates:", StatisticsLine::FakeCoordinates},
        {u"no valid GPS coordinates", StatisticsLine::NoCoordinates},
        {u"GPS sync is disabled", StatisticsLine::GpsDisabled},
        {u"Valid time reference", StatisticsLine::ValidTime},
        {u"Invalid time reference", StatisticsLine::InvalidTime},
};

// "N (B bytes)"
bool countAndBytes(LogCursor &cursor, std::optional<qint64> *count, std::optional<qint64> *bytes)
{
    double packets = 0;
    double size = 0;
    if (!cursor.number(&packets) || !cursor.take(u'(') || !cursor.number(&size)
        || !cursor.takeWord(u"bytes"))
        return false;
    *count = qint64(packets);
    *bytes = qint64(size);
    return true;
}

bool percent(LogCursor &cursor, std::optional<double> *share)
{
    double value = 0;
    if (!cursor.number(&value) || !cursor.take(u'%'))
        return false;
    *share = value;
    return true;
}

// "latitude 55.75124, longitude 37.61842, altitude 156 m"
bool coordinates(LogCursor &cursor, SurveyStatistics::Gps *gps)
{
    double altitude = 0;
    if (!cursor.takeWord(u"latitude") || !cursor.number(&gps->latitude) || !cursor.take(u',')
        || !cursor.takeWord(u"longitude") || !cursor.number(&gps->longitude) || !cursor.take(u',')
        || !cursor.takeWord(u"altitude") || !cursor.number(&altitude))
        return false;
    gps->altitudeM = int(altitude);
    return true;
}

} // namespace

ForwarderLogParser::ForwarderLogParser(SurveyStatistics *statistics) : statistics(statistics) { }

void ForwarderLogParser::feed(QStringView text, qint64 arrivedMs)
{
    qsizetype start = 0;
    for (qsizetype end; (end = text.indexOf(u'\n', start)) >= 0; start = end + 1) {
        const QStringView line = text.mid(start, end - start);
        if (discarding) {
            discarding = false;
        } else if (pending.isEmpty()) {
            count(readLine(line, arrivedMs));
        } else {
            pending.append(line);
            count(readLine(pending, arrivedMs));
            pending.clear();
        }
    }
    const QStringView rest = text.mid(start);
    if (rest.isEmpty() || discarding)
        return;
    if (pending.size() + rest.size() > longestLineChars) {
        pending.clear();
        discarding = true;
        count(Outcome::Malformed);
        return;
    }
    pending.append(rest);
}

void ForwarderLogParser::finish(qint64 arrivedMs)
{
    if (!pending.isEmpty())
        count(readLine(pending, arrivedMs));
    pending.clear();
    discarding = false;
}

void ForwarderLogParser::clear()
{
    pending.clear();
    discarding = false;
    recognised = 0;
    malformed = 0;
    unknown = 0;
}

qint64 ForwarderLogParser::lines() const
{
    return recognised + malformed + unknown;
}

qint64 ForwarderLogParser::recognisedLines() const
{
    return recognised;
}

qint64 ForwarderLogParser::malformedLines() const
{
    return malformed;
}

qint64 ForwarderLogParser::unknownLines() const
{
    return unknown;
}

void ForwarderLogParser::count(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Recognised:
        ++recognised;
        break;
    case Outcome::Malformed:
        ++malformed;
        break;
    case Outcome::Unknown:
        ++unknown;
        break;
    }
}

ForwarderLogParser::Outcome ForwarderLogParser::readLine(QStringView line, qint64 arrivedMs)
{
    const qsizetype json = line.indexOf(jsonMarker);
    if (json >= 0)
        return readJsonUp(line.mid(json + jsonMarker.size()), arrivedMs) ? Outcome::Recognised
                                                                         : Outcome::Malformed;
    const qsizetype hash = line.indexOf(u'#');
    if (hash >= 0)
        return readStatisticsLine(line.mid(hash));
    const qsizetype ack = line.indexOf(ackMarker);
    if (ack >= 0)
        return readRoundTrip(line, ack) ? Outcome::Recognised : Outcome::Malformed;
    return Outcome::Unknown;
}

bool ForwarderLogParser::readJsonUp(QStringView json, qint64 arrivedMs)
{
    LogCursor cursor(json);
    if (!cursor.take(u'{'))
        return false;
    linePackets.clear();
    if (!cursor.take(u'}')) {
        do {
            QStringView key;
            if (!cursor.string(&key) || !cursor.take(u':'))
                return false;
            if (key != u"rxpk") {
                if (!cursor.skipValue())
                    return false;
                continue;
            }
            if (!cursor.take(u'['))
                return false;
            if (cursor.take(u']'))
                continue;
            do {
                SurveyPacket packet;
                if (!readPacket(cursor, &packet))
                    return false;
                packet.heardMs = arrivedMs;
                linePackets.push_back(packet);
            } while (cursor.take(u','));
            if (!cursor.take(u']'))
                return false;
        } while (cursor.take(u','));
        if (!cursor.take(u'}'))
            return false;
    }
    for (const SurveyPacket &packet : linePackets)
        statistics->addPacket(packet);
    return true;
}

ForwarderLogParser::Outcome ForwarderLogParser::readStatisticsLine(QStringView text)
{
    qsizetype from = 0;
    while (from < text.size() && (text[from] == u'#' || text[from] == u' '))
        ++from;
    text = text.mid(from);
    const Label *label = nullptr;
    for (const Label &candidate : statisticsLabels) {
        if (text.startsWith(candidate.text)) {
            label = &candidate;
            break;
        }
    }
    if (!label)
        return Outcome::Unknown;

    LogCursor cursor(text.mid(label->text.size()));
    SurveyStatistics::Block block = statistics->lastBlock();
    SurveyStatistics::Gps gps = statistics->gps();
    double value = 0;
    bool read = false;
    switch (label->kind) {
    case StatisticsLine::Received:
        if ((read = cursor.number(&value))) {
            statistics->startBlock();
            block = SurveyStatistics::Block();
            block.received = qint64(value);
        }
        break;
    case StatisticsLine::CrcShares:
        read = percent(cursor, &block.crcOkPercent) && cursor.take(u',')
                && cursor.takeWord(u"CRC_FAIL:") && percent(cursor, &block.crcFailPercent)
                && cursor.take(u',') && cursor.takeWord(u"NO_CRC:")
                && percent(cursor, &block.noCrcPercent);
        break;
    case StatisticsLine::Forwarded:
        read = countAndBytes(cursor, &block.forwarded, &block.forwardedBytes);
        break;
    case StatisticsLine::PushSent:
        read = countAndBytes(cursor, &block.pushSent, &block.pushSentBytes);
        break;
    case StatisticsLine::PushAcknowledged:
        read = percent(cursor, &block.pushAcknowledgedPercent);
        break;
    case StatisticsLine::PullSent:
        if ((read = cursor.number(&value) && cursor.take(u'(')
                     && percent(cursor, &block.pullAcknowledgedPercent)))
            block.pullSent = qint64(value);
        break;
    case StatisticsLine::Temperature:
        if ((read = cursor.number(&value)))
            statistics->setTemperature(value);
        return read ? Outcome::Recognised : Outcome::Malformed;
    case StatisticsLine::Coordinates:
    case StatisticsLine::FakeCoordinates:
        read = coordinates(cursor, &gps);
        gps.fix = label->kind == StatisticsLine::Coordinates ? SurveyStatistics::Gps::Fix::Valid
                                                             : SurveyStatistics::Gps::Fix::Fake;
        break;
    case StatisticsLine::NoCoordinates:
        gps.fix = SurveyStatistics::Gps::Fix::NoFix;
        read = true;
        break;
    case StatisticsLine::GpsDisabled:
        gps.fix = SurveyStatistics::Gps::Fix::Disabled;
        read = true;
        break;
    case StatisticsLine::ValidTime:
    case StatisticsLine::InvalidTime:
        gps.timeReferenceValid = label->kind == StatisticsLine::ValidTime;
        read = true;
        break;
    }
    if (!read)
        return Outcome::Malformed;
    statistics->setBlock(block);
    statistics->setGps(gps);
    return Outcome::Recognised;
}

bool ForwarderLogParser::readRoundTrip(QStringView line, qsizetype marker)
{
    constexpr qsizetype kindChars = 4;
    if (marker < kindChars)
        return false;
    const QStringView kind = line.mid(marker - kindChars, kindChars);
    LogCursor cursor(line.mid(marker + ackMarker.size()));
    double ms = 0;
    if ((kind != u"PUSH" && kind != u"PULL") || !cursor.number(&ms) || !cursor.takeWord(u"ms"))
        return false;
    if (kind == u"PUSH")
        statistics->addPushAck(ms);
    else
        statistics->addPullAck(ms);
    return true;
}
