#include "emulator/devicelink.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString DeviceLink::defaultPath()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return QDir(runtime.isEmpty() ? QStringLiteral("/tmp") : runtime)
            .filePath(QStringLiteral("kelvane-gateway"));
}

DeviceLink::DeviceLink(const QString &path) : linkPath(path) { }

DeviceLink::~DeviceLink()
{
    remove();
}

QString DeviceLink::path() const
{
    return linkPath;
}

void DeviceLink::setPath(const QString &path)
{
    remove();
    linkPath = path;
}

bool DeviceLink::place(const QString &target)
{
    if (linkPath.isEmpty())
        return true;
    remove();
    const QFileInfo existing(linkPath);
    if (existing.isSymLink()) {
        QFile::remove(linkPath);
    } else if (existing.exists()) {
        error = QStringLiteral("%1 exists and is not a symbolic link").arg(linkPath);
        return false;
    }
    if (!QFile::link(target, linkPath)) {
        error = QStringLiteral("cannot create the symbolic link %1").arg(linkPath);
        return false;
    }
    placedTarget = target;
    return true;
}

void DeviceLink::remove()
{
    if (placedTarget.isEmpty())
        return;
    const QFileInfo info(linkPath);
    if (info.isSymLink() && info.symLinkTarget() == placedTarget)
        QFile::remove(linkPath);
    placedTarget.clear();
}

QString DeviceLink::errorString() const
{
    return error;
}
