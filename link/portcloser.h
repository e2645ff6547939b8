#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

class QSerialPort;

// Closes a port once the bytes queued for it have gone out, or when the wait is up,
// without blocking the event loop. The link that owned the port may be deleted
// meanwhile (takePort): the port then goes with its closing.
class PortCloser : public QObject
{
    Q_OBJECT

public:
    // Becomes a child of the port.
    PortCloser(QSerialPort *port, int waitMs);
    ~PortCloser() override;

    // The port's owner is gone: the port is deleted once closed.
    void takePort();
    void closeNow();

    // A port cannot be opened twice: a new connection closes a closing one at once.
    static void closeNow(const QString &portName);
    // Runs the event loop until every closing port is closed, at most waitMs: for
    // the end of the program, after the last event loop.
    static void finishAll(int waitMs);

private:
    void closeWhenWritten();
    static bool anyOpen();
    static void deleteOrphanedPorts();

    QSerialPort *port;
    QTimer deadline;
    bool ownsPort = false;
    bool closed = false;
};
