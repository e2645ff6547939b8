#pragma once

#include "survey/surveypacket.h"

#include <QString>
#include <QStringView>

#include <vector>

class SurveyStatistics;

// Reads the packet-forwarder log into survey statistics: the "JSON up" rxpk lines, the
// statistics block every 30 s and the backhaul's acknowledgement round trips. Lines are
// matched wherever they start (a syslog prefix may stand before them); a line that does
// not parse is skipped and counted. Hand-written readers instead of a JSON document or
// a regular expression per line, since a survey log is read at tens of MB/s.
class ForwarderLogParser
{
public:
    // A longer line is no forwarder output: it is skipped and counted as malformed.
    static constexpr qsizetype longestLineChars = 65536;

    explicit ForwarderLogParser(SurveyStatistics *statistics);

    // Any piece of the log; a line cut across pieces is read when its end arrives and
    // is stamped with the arrival time of that piece.
    void feed(QStringView text, qint64 arrivedMs);
    // Reads a last line without a line end, as at the end of a saved log.
    void finish(qint64 arrivedMs);
    // Forgets a partial line and the counts.
    void clear();

    // Complete lines read since the last clear.
    qint64 lines() const;
    qint64 recognisedLines() const;
    // Lines of a kind the survey reads whose content did not parse (garbled JSON, a
    // statistics line cut short).
    qint64 malformedLines() const;
    // Lines of no kind the survey reads.
    qint64 unknownLines() const;

private:
    enum class Outcome { Recognised, Malformed, Unknown };

    Outcome readLine(QStringView line, qint64 arrivedMs);
    bool readJsonUp(QStringView json, qint64 arrivedMs);
    Outcome readStatisticsLine(QStringView text);
    bool readRoundTrip(QStringView line, qsizetype marker);
    void count(Outcome outcome);

    SurveyStatistics *statistics;
    QString pending;
    bool discarding = false;
    // The packets of the line being read, added only once the whole line parsed.
    std::vector<SurveyPacket> linePackets;
    qint64 recognised = 0;
    qint64 malformed = 0;
    qint64 unknown = 0;
};
