#pragma once

#include <QByteArray>

class SurveyStatistics;

// The packets a survey holds, as CSV for a spreadsheet: one row per packet, oldest
// first, with its arrival time, channel, frequency, data rate, CRC status, RSSI, SNR
// and size.
class SurveyCsv
{
public:
    // Without times (a saved log read at once, which tells none) the time column
    // stays empty.
    static QByteArray of(const SurveyStatistics &statistics, bool withTimes);
};
