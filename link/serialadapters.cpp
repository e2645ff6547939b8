#include "link/serialadapters.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSerialPortInfo>
#include <QStringList>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

const QString SerialAdapters::byIdDirectory = QStringLiteral("/dev/serial/by-id");
const QString SerialAdapters::ttyClassDirectory = QStringLiteral("/sys/class/tty");

namespace {

const QString serialIdPrefix = QStringLiteral("serial:");
const QString emulatorLinkName = QStringLiteral("kelvane-gateway");

// by-id links point at the devices they name, relative to their directory.
QHash<QString, QString> byIdLinks(const QString &directory)
{
    QHash<QString, QString> linkOfDevice;
    const QFileInfoList links = QDir(directory).entryInfoList(QDir::System | QDir::Files);
    for (const QFileInfo &link : links) {
        const QString device = link.canonicalFilePath();
        if (!device.isEmpty())
            linkOfDevice.insert(device, link.absoluteFilePath());
    }
    return linkOfDevice;
}

QString canonical(const QString &path)
{
    const QString resolved = QFileInfo(path).canonicalFilePath();
    return resolved.isEmpty() ? path : resolved;
}

// The kernel keeps a line for every possible 8250 UART; where it found none, the
// line reports type, I/O port and interrupt 0.
bool reportsNoDevice(const QString &portName, const QString &ttyClassDir)
{
    const QDir line(QDir(ttyClassDir).filePath(portName));
    for (const char *attribute : {"type", "port", "irq"}) {
        QFile file(line.filePath(QLatin1String(attribute)));
        if (!file.open(QIODevice::ReadOnly))
            return false;
        bool ok = false;
        // The port is written in hexadecimal ("0x3F8"), the others in decimal.
        if (file.readAll().trimmed().toLongLong(&ok, 0) != 0 || !ok)
            return false;
    }
    return true;
}

} // namespace

QList<SerialAdapter> SerialAdapters::present(const QString &byIdDir)
{
    const QHash<QString, QString> links = byIdLinks(byIdDir);
    QList<SerialAdapter> adapters;
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &port : ports)
        adapters.append(fromInfo(port, links.value(canonical(port.systemLocation()))));
    return adapters;
}

QList<SerialAdapter> SerialAdapters::arranged(const QList<SerialAdapter> &ports,
                                              const QString &ttyClassDir)
{
    QList<SerialAdapter> usb;
    QList<SerialAdapter> builtIn;
    for (const SerialAdapter &port : ports) {
        if (isUsb(port))
            usb.append(port);
        else if (!reportsNoDevice(port.portName, ttyClassDir))
            builtIn.append(port);
    }
    return usb + builtIn;
}

bool SerialAdapters::isUsb(const SerialAdapter &adapter)
{
    // The kernel names USB-serial adapters ttyUSB and CDC-ACM modems ttyACM.
    return adapter.portName.startsWith(QLatin1String("ttyUSB"))
            || adapter.portName.startsWith(QLatin1String("ttyACM"));
}

int SerialAdapters::preselected(const QList<SerialAdapter> &listed, const QString &remembered)
{
    const QString emulator = emulatorLinkPath();
    QList<int> candidates;
    for (int index = 0; index < listed.size(); ++index) {
        if (!remembered.isEmpty() && stableId(listed[index]) == remembered)
            return index;
        if (isUsb(listed[index]) || listed[index].systemLocation == emulator)
            candidates.append(index);
    }
    return candidates.size() == 1 ? candidates.first() : -1;
}

SerialAdapter SerialAdapters::fromInfo(const QSerialPortInfo &info, const QString &byIdPath)
{
    return {info.systemLocation(), info.portName(),     info.description(),
            info.manufacturer(),   info.serialNumber(), byIdPath};
}

SerialAdapter SerialAdapters::fromPath(const QString &path)
{
    SerialAdapter adapter;
    adapter.systemLocation = path;
    adapter.portName = path;
    return adapter;
}

QString SerialAdapters::displayText(const SerialAdapter &adapter)
{
    QStringList details;
    for (const QString &detail : {adapter.description, adapter.manufacturer}) {
        if (!detail.trimmed().isEmpty() && !details.contains(detail.trimmed()))
            details.append(detail.trimmed());
    }
    if (!adapter.serialNumber.trimmed().isEmpty())
        details.append(tr("с/н %1").arg(adapter.serialNumber.trimmed()));
    if (!adapter.byIdPath.isEmpty())
        details.append(QFileInfo(adapter.byIdPath).fileName());
    if (details.isEmpty())
        return adapter.portName;
    return adapter.portName + QStringLiteral(" — ") + details.join(QStringLiteral(", "));
}

QString SerialAdapters::shortName(const SerialAdapter &adapter)
{
    if (!adapter.description.trimmed().isEmpty())
        return adapter.description.trimmed();
    return adapter.portName;
}

QString SerialAdapters::stableId(const SerialAdapter &adapter)
{
    if (!adapter.byIdPath.isEmpty())
        return adapter.byIdPath;
    if (!adapter.serialNumber.trimmed().isEmpty())
        return serialIdPrefix + adapter.serialNumber.trimmed();
    return adapter.systemLocation;
}

QString SerialAdapters::locate(const QString &idOrPath, const QList<SerialAdapter> &adapters)
{
    if (idOrPath.isEmpty())
        return {};
    for (const SerialAdapter &adapter : adapters) {
        if (stableId(adapter) == idOrPath || adapter.portName == idOrPath
            || adapter.systemLocation == idOrPath || adapter.byIdPath == idOrPath)
            return adapter.systemLocation;
    }
    // Pseudo-terminals and links to them are never among the listed ports.
    if (QDir::isAbsolutePath(idOrPath) && QFileInfo::exists(idOrPath))
        return idOrPath;
    return {};
}

QString SerialAdapters::locate(const QString &idOrPath)
{
    // A typed path needs no look at the system's port list; a by-id name opens as
    // the device it names, which is what other programs lock.
    if (QDir::isAbsolutePath(idOrPath) && !idOrPath.startsWith(byIdDirectory)
        && QFileInfo::exists(idOrPath))
        return idOrPath;
    return locate(idOrPath, present());
}

QString SerialAdapters::devicePath(const QString &portName)
{
    if (portName.isEmpty() || QDir::isAbsolutePath(portName))
        return portName;
    return QStringLiteral("/dev/") + portName;
}

QString SerialAdapters::emulatorLinkPath()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return QDir(runtime.isEmpty() ? QStringLiteral("/tmp") : runtime).filePath(emulatorLinkName);
}

bool SerialAdapters::isOwnEmulatorLink(const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat link = {};
    struct stat device = {};
    const QByteArray name = QFile::encodeName(path);
    if (::lstat(name.constData(), &link) != 0 || !S_ISLNK(link.st_mode)
        || ::stat(name.constData(), &device) != 0 || !S_ISCHR(device.st_mode))
        return false;
    return link.st_uid == ::geteuid() && device.st_uid == ::geteuid();
#else
    Q_UNUSED(path)
    return false;
#endif
}
