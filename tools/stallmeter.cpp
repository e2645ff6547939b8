#include "stallmeter.h"

namespace {

constexpr int tickPeriodMs = 1;
constexpr qint64 noticedGapNs = 2000000;
constexpr double nsPerMs = 1e6;

} // namespace

StallMeter::StallMeter()
{
    CPU_ZERO(&formerProcessors);
    sched_getaffinity(0, sizeof formerProcessors, &formerProcessors);
    cpu_set_t current;
    CPU_ZERO(&current);
    processor = sched_getcpu();
    CPU_SET(processor, &current);
    sched_setaffinity(0, sizeof current, &current);
    restart();
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, &ticker, [this] {
        const qint64 now = MachinePauses::nowNs();
        const qint64 work = workClock ? workClock() : 0;
        if (now - lastTickNs > noticedGapNs)
            gaps.append({{lastTickNs, now}, work - lastWorkNs});
        lastTickNs = now;
        lastWorkNs = work;
    });
    ticker.start(tickPeriodMs);
}

StallMeter::~StallMeter()
{
    sched_setaffinity(0, sizeof formerProcessors, &formerProcessors);
}

void StallMeter::setWorkClock(std::function<qint64()> workNs)
{
    workClock = std::move(workNs);
    restart();
}

void StallMeter::restart()
{
    lastTickNs = MachinePauses::nowNs();
    lastWorkNs = workClock ? workClock() : 0;
    gaps.clear();
}

double StallMeter::longestMs() const
{
    qint64 longest = 0;
    for (const Gap &gap : gaps)
        longest = qMax(longest, gap.span.endNs - gap.span.beginNs);
    return longest / nsPerMs;
}

double StallMeter::longestOwnMs() const
{
    qint64 longest = 0;
    for (const Gap &gap : gaps) {
        const qint64 paused = pauses.pausedWithin(gap.span.beginNs, gap.span.endNs, processor);
        longest = qMax(longest, gap.span.endNs - gap.span.beginNs - paused);
    }
    return longest / nsPerMs;
}

double StallMeter::longestMachinePauseMs() const
{
    return pauses.longestNs() / nsPerMs;
}

double StallMeter::longestWorkMs() const
{
    qint64 longest = 0;
    for (const Gap &gap : gaps)
        longest = qMax(longest, gap.workNs);
    return longest / nsPerMs;
}
