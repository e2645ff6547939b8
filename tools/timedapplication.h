#pragma once

#include <QApplication>

// An application that adds up the time its own thread spends handling events, so that
// a benchmark can tell the program's work between two turns of the event loop from the
// time the thread waited for a processor.
class TimedApplication : public QApplication
{
public:
    TimedApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;
    // Time spent in events handed out by the event loop itself, not those sent within.
    qint64 workNs() const { return work; }

private:
    int depth = 0;
    qint64 work = 0;
};
