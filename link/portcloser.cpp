#include "link/portcloser.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QList>
#include <QSerialPort>

#include <algorithm>

namespace {

constexpr int finishPollMs = 10;

QList<PortCloser *> &closers()
{
    static QList<PortCloser *> all;
    return all;
}

} // namespace

PortCloser::PortCloser(QSerialPort *port, int waitMs) : QObject(port), port(port), deadline(this)
{
    static const bool cleanupAdded = (qAddPostRoutine(&PortCloser::deleteOrphanedPorts), true);
    Q_UNUSED(cleanupAdded);
    closers().append(this);
    deadline.setSingleShot(true);
    connect(&deadline, &QTimer::timeout, this, qOverload<>(&PortCloser::closeNow));
    // Never closed from inside the port's own signal.
    connect(port, &QSerialPort::bytesWritten, this, &PortCloser::closeWhenWritten,
            Qt::QueuedConnection);
    // A line that hung up takes nothing more.
    connect(port, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError error) {
        if (error != QSerialPort::NoError)
            QMetaObject::invokeMethod(this, qOverload<>(&PortCloser::closeNow),
                                      Qt::QueuedConnection);
    });
    deadline.start(waitMs);
    QMetaObject::invokeMethod(this, &PortCloser::closeWhenWritten, Qt::QueuedConnection);
}

PortCloser::~PortCloser()
{
    closers().removeOne(this);
}

void PortCloser::takePort()
{
    port->setParent(nullptr);
    ownsPort = true;
    if (closed)
        port->deleteLater();
}

void PortCloser::closeWhenWritten()
{
    if (port->bytesToWrite() == 0)
        closeNow();
}

void PortCloser::closeNow()
{
    if (closed)
        return;
    closed = true;
    deadline.stop();
    port->close();
    if (ownsPort)
        port->deleteLater();
    else
        deleteLater();
}

void PortCloser::closeNow(const QString &portName)
{
    const QList<PortCloser *> all = closers();
    for (PortCloser *closer : all) {
        if (!closer->closed && closer->port->portName() == portName)
            closer->closeNow();
    }
}

void PortCloser::finishAll(int waitMs)
{
    const QDeadlineTimer until(waitMs);
    while (anyOpen() && !until.hasExpired()) {
        QEventLoop loop;
        QTimer::singleShot(finishPollMs, &loop, &QEventLoop::quit);
        loop.exec();
    }
    deleteOrphanedPorts();
}

bool PortCloser::anyOpen()
{
    const QList<PortCloser *> &all = closers();
    return std::any_of(all.cbegin(), all.cend(),
                       [](PortCloser *closer) { return !closer->closed; });
}

// Ports whose owners are gone are not left behind when no event loop runs again.
void PortCloser::deleteOrphanedPorts()
{
    const QList<PortCloser *> left = closers();
    for (PortCloser *closer : left) {
        if (!closer->ownsPort)
            continue;
        closer->closeNow();
        delete closer->port;
    }
}
