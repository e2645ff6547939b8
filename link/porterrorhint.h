#pragma once

#include <QCoreApplication>
#include <QList>
#include <QSerialPort>
#include <QString>

// Qt reports a port that another program holds (its lock, or the device opened for
// exclusive use) as a permission error, like a device the user may not open. Only
// the second needs the user to join the group "dialout", which owns serial devices on
// Debian; the first needs the other program closed.
class PortErrorHint
{
    Q_DECLARE_TR_FUNCTIONS(PortErrorHint)

public:
    struct Holder
    {
        qint64 pid = 0;
        QString program;
    };

    // Asks the system whether the device refuses this user and who holds it open.
    static QString withHint(QSerialPort::SerialPortError error, const QString &message,
                            const QString &portName);
    static QString withHint(QSerialPort::SerialPortError error, const QString &message,
                            bool accessRefused, const QList<Holder> &holders);
    // The processes with the device open, as far as /proc shows them to this user.
    static QList<Holder> holdersOf(const QString &devicePath);
};
