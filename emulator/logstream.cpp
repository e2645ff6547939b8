#include "emulator/logstream.h"

#include <QTimer>

namespace {
constexpr int defaultIntervalMs = 200;
// A forwarder that nobody reads from must not grow without bound while hidden.
constexpr int maxHeldLines = 1000;
} // namespace

LogStream::LogStream(QObject *parent)
    : QObject(parent), timer(new QTimer(this)), lines(defaultLines())
{
    timer->setInterval(defaultIntervalMs);
    connect(timer, &QTimer::timeout, this, &LogStream::tick);
}

QStringList LogStream::defaultLines()
{
    return {
            QStringLiteral("INFO: [up] PUSH_ACK received in 34 ms"),
            QStringLiteral("INFO: Received pkt from mote: 260B5A1C (fcnt=1412)"),
            QStringLiteral("JSON up: {\"rxpk\":[{\"tmst\":3512348611,\"chan\":2,\"rfch\":0,"
                           "\"freq\":864.500000,\"stat\":1,\"modu\":\"LORA\",\"datr\":\"SF7BW125\","
                           "\"codr\":\"4/5\",\"lsnr\":9.5,\"rssi\":-57,\"size\":23}] }"),
            QStringLiteral("INFO: [down] PULL_ACK received in 31 ms"),
            QStringLiteral("### [UPSTREAM] ###"),
            QStringLiteral("# RF packets received by concentrator: 12"),
            QStringLiteral("# CRC_OK: 100.00%, CRC_FAIL: 0.00%, NO_CRC: 0.00%"),
            QStringLiteral("# PUSH_DATA datagrams sent: 4 (1062 bytes)"),
            QStringLiteral("### [GPS] ###"),
            QStringLiteral("# Valid time reference (age: 0 sec)"),
            QStringLiteral(
                    "# GPS coordinates: latitude 55.75124, longitude 37.61842, altitude 156 m"),
            QStringLiteral("##### END #####"),
    };
}

void LogStream::setLines(const QStringList &newLines)
{
    lines = newLines;
    next = 0;
}

void LogStream::setIntervalMs(int intervalMs)
{
    timer->setInterval(qMax(1, intervalMs));
}

void LogStream::setSurvey(bool survey)
{
    surveying = survey;
}

SurveyTraffic &LogStream::surveyTraffic()
{
    return traffic;
}

void LogStream::start()
{
    isHidden = false;
    held.clear();
    if (!timer->isActive())
        surveyClock.start();
    timer->start();
}

void LogStream::stop()
{
    surveyRunMs = surveyTimeMs();
    surveyClock.invalidate();
    timer->stop();
    isHidden = false;
    held.clear();
}

void LogStream::hide()
{
    if (timer->isActive())
        isHidden = true;
}

void LogStream::show()
{
    if (!isHidden)
        return;
    isHidden = false;
    const QStringList release = held;
    held.clear();
    for (const QString &text : release)
        emit line(text);
}

bool LogStream::streaming() const
{
    return timer->isActive();
}

bool LogStream::hidden() const
{
    return isHidden;
}

int LogStream::heldCount() const
{
    return held.size();
}

qint64 LogStream::surveyTimeMs() const
{
    return surveyRunMs + (surveyClock.isValid() ? surveyClock.elapsed() : 0);
}

void LogStream::tick()
{
    if (surveying) {
        for (const QString &text : traffic.linesUntil(surveyTimeMs()))
            deliver(text);
        return;
    }
    if (lines.isEmpty())
        return;
    const QString text = lines.at(next);
    next = (next + 1) % lines.size();
    deliver(text);
}

void LogStream::deliver(const QString &text)
{
    if (isHidden) {
        if (held.size() >= maxHeldLines)
            held.removeFirst();
        held.append(text);
        return;
    }
    emit line(text);
}
