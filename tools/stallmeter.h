#pragma once

#include "machinepauses.h"

#include <QList>
#include <QTimer>

#include <functional>

#include <sched.h>

// The longest time between two turns of the calling thread's event loop, from its
// construction or restart on; and the longest once the time in which the thread's
// processor stood still is left out of each; and, given a clock of the time the thread
// spent handling events, the most of it between two turns. While it measures, the
// thread stays on the processor it was on, so that the witness of that processor
// speaks for it.
class StallMeter
{
public:
    StallMeter();
    ~StallMeter();
    StallMeter(const StallMeter &) = delete;
    StallMeter &operator=(const StallMeter &) = delete;

    void setWorkClock(std::function<qint64()> workNs);
    void restart();
    double longestMs() const;
    double longestOwnMs() const;
    double longestMachinePauseMs() const;
    double longestWorkMs() const;
    bool pausesWitnessed() const { return pauses.realTime(); }

private:
    QTimer ticker;
    MachinePauses pauses;
    qint64 lastTickNs = 0;
    // Only gaps that could be the longest once pauses are left out.
    struct Gap
    {
        MachinePauses::Span span;
        qint64 workNs;
    };
    QList<Gap> gaps;
    // The one the thread is held to.
    int processor = -1;
    std::function<qint64()> workClock;
    qint64 lastWorkNs = 0;
    cpu_set_t formerProcessors;
};
