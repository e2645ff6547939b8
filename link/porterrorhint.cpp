#include "link/porterrorhint.h"

#include "link/serialadapters.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <unistd.h>
#endif

namespace {

const QString processDirectory = QStringLiteral("/proc");

bool accessRefused(const QString &devicePath)
{
#ifdef Q_OS_UNIX
    return ::access(QFile::encodeName(devicePath).constData(), R_OK | W_OK) != 0 && errno == EACCES;
#else
    Q_UNUSED(devicePath)
    return true;
#endif
}

} // namespace

QString PortErrorHint::withHint(QSerialPort::SerialPortError error, const QString &message,
                                const QString &portName)
{
    if (error != QSerialPort::PermissionError)
        return message;
    const QString device = SerialAdapters::devicePath(portName);
    return withHint(error, message, accessRefused(device), holdersOf(device));
}

QString PortErrorHint::withHint(QSerialPort::SerialPortError error, const QString &message,
                                bool accessRefused, const QList<Holder> &holders)
{
    if (error != QSerialPort::PermissionError)
        return message;
    QString hint;
    if (!holders.isEmpty()) {
        hint = tr("Порт занят программой %1 (PID %2): закройте её и подключитесь снова.")
                       .arg(holders.first().program)
                       .arg(holders.first().pid);
    } else if (accessRefused) {
        hint = tr("Нет доступа к порту: добавьте пользователя в группу dialout "
                  "(sudo usermod -aG dialout $USER) и войдите в систему заново.");
    } else {
        hint = tr("Порт занят другой программой: закройте её и подключитесь снова.");
    }
    return message + QLatin1Char('\n') + hint;
}

QList<PortErrorHint::Holder> PortErrorHint::holdersOf(const QString &devicePath)
{
    QList<Holder> holders;
    const QString device = QFileInfo(devicePath).canonicalFilePath();
    if (device.isEmpty())
        return holders;
    const QStringList processes
            = QDir(processDirectory).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &process : processes) {
        bool isNumber = false;
        const qint64 pid = process.toLongLong(&isNumber);
        if (!isNumber)
            continue;
        const QString descriptors
                = processDirectory + QLatin1Char('/') + process + QStringLiteral("/fd");
        const QFileInfoList open = QDir(descriptors).entryInfoList(QDir::System | QDir::Files);
        for (const QFileInfo &descriptor : open) {
            if (descriptor.symLinkTarget() != device)
                continue;
            QFile name(processDirectory + QLatin1Char('/') + process + QStringLiteral("/comm"));
            const QString program = name.open(QIODevice::ReadOnly)
                    ? QString::fromLocal8Bit(name.readAll()).trimmed()
                    : QString();
            holders.append({pid, program});
            break;
        }
    }
    return holders;
}
