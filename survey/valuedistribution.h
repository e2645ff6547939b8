#pragma once

#include <QtGlobal>

#include <map>

// Counts of values at a resolution of 0.01, so that medians and percentiles over any
// number of values take memory bounded by the distinct values seen (the forwarder
// prints RSSI, SNR and round trips with at most two decimals).
class ValueDistribution
{
public:
    void add(double value);
    void clear();
    qint64 count() const;
    // NaN while empty.
    double median() const;
    // Linear between the two nearest ranks at (count - 1) * fraction, so that an even
    // count's median is the mean of its two middle values.
    double percentile(double fraction) const;

private:
    qint32 keyAtRank(qint64 rank) const;

    std::map<qint32, qint64> counts;
    qint64 total = 0;
};
