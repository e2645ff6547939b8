#include "machinepauses.h"

#include <pthread.h>
#include <sched.h>
#include <time.h>

namespace {

constexpr qint64 wakePeriodNs = 1000000;
// A witness late by more than this missed its turn.
constexpr qint64 missedAfterNs = 2000000;
constexpr int witnessPriority = 1;
constexpr int allProcessors = -1;

// What is in both lists of spans, each in time order.
QList<MachinePauses::Span> common(const QList<MachinePauses::Span> &a,
                                  const QList<MachinePauses::Span> &b)
{
    QList<MachinePauses::Span> both;
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        const qint64 begin = qMax(a[i].beginNs, b[j].beginNs);
        const qint64 end = qMin(a[i].endNs, b[j].endNs);
        if (begin < end)
            both.append({begin, end});
        if (a[i].endNs < b[j].endNs)
            ++i;
        else
            ++j;
    }
    return both;
}

} // namespace

MachinePauses::MachinePauses()
{
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    sched_getaffinity(0, sizeof allowed, &allowed);
    for (int processor = 0; processor < CPU_SETSIZE; ++processor) {
        if (!CPU_ISSET(processor, &allowed))
            continue;
        auto witness = std::make_unique<Witness>();
        witness->processor = processor;
        Witness *raw = witness.get();
        witness->thread = std::thread([this, raw, processor] { watch(raw, processor); });
        witnesses.push_back(std::move(witness));
    }
}

MachinePauses::~MachinePauses()
{
    stopping = true;
    for (const auto &witness : witnesses)
        witness->thread.join();
}

qint64 MachinePauses::nowNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

void MachinePauses::watch(Witness *witness, int processor)
{
    cpu_set_t only;
    CPU_ZERO(&only);
    CPU_SET(processor, &only);
    sched_param priority{};
    priority.sched_priority = witnessPriority;
    if (pthread_setaffinity_np(pthread_self(), sizeof only, &only) != 0
        || pthread_setschedparam(pthread_self(), SCHED_FIFO, &priority) != 0)
        allRealTime = false;
    qint64 last = nowNs();
    const timespec period{0, wakePeriodNs};
    while (!stopping) {
        clock_nanosleep(CLOCK_MONOTONIC, 0, &period, nullptr);
        const qint64 now = nowNs();
        if (now - last > wakePeriodNs + missedAfterNs) {
            const std::lock_guard<std::mutex> lock(witness->mutex);
            witness->missed.append({last + wakePeriodNs, now});
        }
        last = now;
    }
}

// Processor -1 means all of them at once.
QList<MachinePauses::Span> MachinePauses::pauses(int processor) const
{
    QList<Span> all;
    bool first = true;
    for (const auto &witness : witnesses) {
        if (processor >= 0 && witness->processor != processor)
            continue;
        const std::lock_guard<std::mutex> lock(witness->mutex);
        all = first ? witness->missed : common(all, witness->missed);
        first = false;
    }
    return all;
}

qint64 MachinePauses::pausedWithin(qint64 beginNs, qint64 endNs, int processor) const
{
    qint64 paused = 0;
    for (const Span &span : common(pauses(processor), {{beginNs, endNs}}))
        paused += span.endNs - span.beginNs;
    return paused;
}

qint64 MachinePauses::longestNs() const
{
    qint64 longest = 0;
    for (const Span &span : pauses(allProcessors))
        longest = qMax(longest, span.endNs - span.beginNs);
    return longest;
}
