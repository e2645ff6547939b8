#pragma once

#include <QList>
#include <QtGlobal>

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// When processors stood still. The host of a virtual machine may stop one or all of
// its processors for tens of milliseconds, and a thread inside takes that for a stall of
// its own (even its processor clock runs on). One witness thread per processor, held to
// it at real-time priority where allowed, wakes each millisecond and notes when it could
// not: nothing of the guest ran on that processor meanwhile.
class MachinePauses
{
public:
    struct Span
    {
        qint64 beginNs;
        qint64 endNs;
    };

    MachinePauses();
    ~MachinePauses();
    MachinePauses(const MachinePauses &) = delete;
    MachinePauses &operator=(const MachinePauses &) = delete;

    // The monotonic clock the spans are on.
    static qint64 nowNs();
    // Whether every witness runs at real-time priority: if not, our own work on every
    // processor at once could pass for a pause.
    bool realTime() const { return allRealTime; }
    // How long the processor stood still between the two times; a processor without a
    // witness was never seen to.
    qint64 pausedWithin(qint64 beginNs, qint64 endNs, int processor) const;
    // The longest time that every processor stood still at once.
    qint64 longestNs() const;

private:
    struct Witness
    {
        int processor;
        std::thread thread;
        mutable std::mutex mutex;
        QList<Span> missed;
    };

    void watch(Witness *witness, int processor);
    QList<Span> pauses(int processor) const;

    std::vector<std::unique_ptr<Witness>> witnesses;
    std::atomic<bool> stopping{false};
    std::atomic<bool> allRealTime{true};
};
