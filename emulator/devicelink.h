#pragma once

#include <QString>

// The symbolic link under which the emulator's pseudo-terminal is found, as a
// by-id link names a USB adapter. Only a symbolic link is ever replaced or removed,
// never a real file, and only the one this object placed.
class DeviceLink
{
public:
    // $XDG_RUNTIME_DIR/kelvane-gateway, a directory only its user may enter;
    // /tmp/kelvane-gateway when the session has no runtime directory.
    static QString defaultPath();

    explicit DeviceLink(const QString &path = QString());
    ~DeviceLink();
    DeviceLink(const DeviceLink &) = delete;
    DeviceLink &operator=(const DeviceLink &) = delete;

    QString path() const;
    void setPath(const QString &path);
    bool place(const QString &target);
    void remove();
    QString errorString() const;

private:
    QString linkPath;
    QString placedTarget;
    QString error;
};
