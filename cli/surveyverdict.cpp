#include "cli/surveyverdict.h"

#include "cli/englishcount.h"
#include "survey/surveystatistics.h"

#include <QJsonArray>

#include <cmath>

namespace {

QJsonValue orNull(double value)
{
    return std::isnan(value) ? QJsonValue() : QJsonValue(value);
}

QString decibels(double value)
{
    return std::isnan(value) ? QStringLiteral("none") : QString::number(value, 'f', 1);
}

} // namespace

SurveyVerdict::SurveyVerdict(const SurveyStatistics &statistics, const CliOptions &options)
{
    const QList<SurveyStatistics::Channel> channels = statistics.channels(statistics.lastHeardMs());
    const double rssi = statistics.rssi().median;
    const double snr = statistics.snr().median;
    const std::optional<double> acknowledged = statistics.lastBlock().pushAcknowledgedPercent;
    const SurveyStatistics::RoundTrip push = statistics.pushAck();

    QJsonArray perChannel;
    for (const SurveyStatistics::Channel &channel : channels)
        perChannel.append(QJsonObject{{"freq", channel.frequencyMhz},
                                      {"packets", channel.packets},
                                      {"crcOk", channel.crcOk},
                                      {"crcBad", channel.crcBad},
                                      {"rssiMedian", orNull(channel.rssi.median)},
                                      {"snrMedian", orNull(channel.snr.median)}});
    json = {{"packets", statistics.packets()},
            {"crcBad", statistics.crcBad()},
            {"channels", perChannel},
            {"pushAcknowledged", acknowledged ? QJsonValue(*acknowledged) : QJsonValue()},
            {"pushAckMs", orNull(push.median)}};

    line = QStringLiteral("%1 on %2, median RSSI %3 dBm, SNR %4 dB, PUSH_DATA acknowledged %5")
                   .arg(EnglishCount::of(statistics.packets(), QStringLiteral("packet")),
                        EnglishCount::of(channels.size(), QStringLiteral("channel")),
                        decibels(rssi), decibels(snr),
                        acknowledged ? QStringLiteral("%1 %").arg(*acknowledged)
                                     : QStringLiteral("unknown (no statistics block)"));
    QStringList shortfalls;
    if (options.minPackets && statistics.packets() < *options.minPackets)
        shortfalls.append(QStringLiteral("fewer than --min-packets %1").arg(*options.minPackets));
    if (options.minSnr && !(snr >= *options.minSnr))
        shortfalls.append(QStringLiteral("median SNR below --min-snr %1 dB").arg(*options.minSnr));
    // Before the first statistics block only the PUSH_ACK lines tell.
    if (statistics.pushUnacknowledged() || (push.count == 0 && !(acknowledged.value_or(0) > 0)))
        shortfalls.append(QStringLiteral("no PUSH_DATA acknowledged"));
    if (!shortfalls.isEmpty()) {
        line += QStringLiteral("; ") + shortfalls.join(QStringLiteral("; "));
        verdict = CliOptions::Shortfall;
    }
}
