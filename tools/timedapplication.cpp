#include "timedapplication.h"

#include "machinepauses.h"

#include <QThread>

TimedApplication::TimedApplication(int &argc, char **argv) : QApplication(argc, argv) { }

bool TimedApplication::notify(QObject *receiver, QEvent *event)
{
    if (depth > 0 || QThread::currentThread() != thread())
        return QApplication::notify(receiver, event);
    const qint64 start = MachinePauses::nowNs();
    ++depth;
    const bool handled = QApplication::notify(receiver, event);
    --depth;
    work += MachinePauses::nowNs() - start;
    return handled;
}
