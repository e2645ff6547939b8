#include "link/porterrorhint.h"

QString PortErrorHint::withHint(QSerialPort::SerialPortError error, const QString &message)
{
    if (error != QSerialPort::PermissionError)
        return message;
    return message + QLatin1Char('\n')
            + tr("Нет доступа к порту: добавьте пользователя в группу dialout "
                 "(sudo usermod -aG dialout $USER) и войдите в систему заново.");
}
