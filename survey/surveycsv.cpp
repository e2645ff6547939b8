#include "survey/surveycsv.h"

#include "survey/surveystatistics.h"

#include <QDateTime>

namespace {
// Digits enough for a frequency in MHz as the forwarder prints it.
constexpr int frequencyDigits = 10;
// Bytes a row takes at most, about.
constexpr int rowBytes = 80;

QByteArray crcWord(int crc)
{
    switch (crc) {
    case SurveyPacket::CrcOk:
        return "ok";
    case SurveyPacket::CrcBad:
        return "bad";
    default:
        return "none";
    }
}
} // namespace

QByteArray SurveyCsv::of(const SurveyStatistics &statistics, bool withTimes)
{
    QByteArray text = "time,channel,frequency_mhz,data_rate,crc,rssi_dbm,snr_db,size\n";
    text.reserve(text.size() + qsizetype(statistics.heldPackets()) * rowBytes);
    for (int index = 0; index < statistics.heldPackets(); ++index) {
        const SurveyPacket &packet = statistics.heldPacket(index);
        if (withTimes)
            text += QDateTime::fromMSecsSinceEpoch(packet.heardMs)
                            .toString(Qt::ISODateWithMs)
                            .toLatin1();
        text += ',' + QByteArray::number(packet.chan) + ','
                + QByteArray::number(packet.frequencyMhz(), 'g', frequencyDigits) + ','
                + packet.dataRate().toLatin1() + ',' + crcWord(packet.crc) + ','
                + QByteArray::number(double(packet.rssi)) + ','
                + (packet.hasSnr() ? QByteArray::number(double(packet.snr)) : QByteArray()) + ','
                + QByteArray::number(packet.size) + '\n';
    }
    return text;
}
