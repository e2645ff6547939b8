#pragma once

#include <QCoreApplication>
#include <QSerialPort>
#include <QString>

// On Debian serial devices belong to the group "dialout": a port that refuses
// access usually only needs the operator to join it.
class PortErrorHint
{
    Q_DECLARE_TR_FUNCTIONS(PortErrorHint)

public:
    static QString withHint(QSerialPort::SerialPortError error, const QString &message);
};
