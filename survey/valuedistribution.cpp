#include "survey/valuedistribution.h"

#include <cmath>

namespace {
constexpr double stepsPerUnit = 100.0;
} // namespace

void ValueDistribution::add(double value)
{
    if (std::isnan(value))
        return;
    ++counts[qint32(std::lround(value * stepsPerUnit))];
    ++total;
}

void ValueDistribution::clear()
{
    counts.clear();
    total = 0;
}

qint64 ValueDistribution::count() const
{
    return total;
}

double ValueDistribution::median() const
{
    return percentile(0.5);
}

double ValueDistribution::percentile(double fraction) const
{
    if (total == 0)
        return NAN;
    const double position = double(total - 1) * qBound(0.0, fraction, 1.0);
    const qint64 below = qint64(std::floor(position));
    const double share = position - double(below);
    const double low = keyAtRank(below);
    if (share == 0)
        return low / stepsPerUnit;
    const double high = keyAtRank(below + 1);
    return (low + (high - low) * share) / stepsPerUnit;
}

qint32 ValueDistribution::keyAtRank(qint64 rank) const
{
    qint64 seen = 0;
    for (const auto &[key, count] : counts) {
        seen += count;
        if (rank < seen)
            return key;
    }
    return counts.rbegin()->first;
}
