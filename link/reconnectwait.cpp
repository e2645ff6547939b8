#include "link/reconnectwait.h"

#include "link/serialadapters.h"

#include <QFileInfo>

namespace {

QString deviceBehind(const QString &path)
{
    return QFileInfo(SerialAdapters::devicePath(path)).canonicalFilePath();
}

} // namespace

ReconnectWait::ReconnectWait(QObject *parent) : QObject(parent), returnTimer(this)
{
    returnTimer.setObjectName(QStringLiteral("returnTimer"));
    returnTimer.setInterval(returnPollMs);
    connect(&returnTimer, &QTimer::timeout, this, &ReconnectWait::poll);
}

ReconnectWait::~ReconnectWait()
{
    wipeCredentials();
}

void ReconnectWait::begin(const QString &portId, const QByteArray &login,
                          const QByteArray &password)
{
    end();
    adapterId = portId;
    sessionLogin = login;
    sessionPassword = password;
}

void ReconnectWait::end()
{
    returnTimer.stop();
    waiting = false;
    sinceReturn.invalidate();
    adapterId.clear();
    openedPath.clear();
    openedDevice.clear();
    wipeCredentials();
}

void ReconnectWait::setOpened(const QString &path)
{
    openedPath = path;
    openedDevice = deviceBehind(path);
}

bool ReconnectWait::adapterPresent() const
{
    const QString located = SerialAdapters::locate(adapterId);
    return !located.isEmpty() && deviceBehind(located) == openedDevice;
}

void ReconnectWait::wait()
{
    waiting = true;
    returnTimer.start();
}

void ReconnectWait::recovered()
{
    returnTimer.stop();
    waiting = false;
    sinceReturn.invalidate();
}

bool ReconnectWait::retriesQuietly(QSerialPort::SerialPortError error) const
{
    if (!waiting)
        return false;
    if (SerialAdapters::locate(adapterId).isEmpty())
        return true;
    if (!sinceReturn.isValid() || sinceReturn.hasExpired(quietRetryMs))
        return false;
    return error == QSerialPort::PermissionError || error == QSerialPort::DeviceNotFoundError
            || error == QSerialPort::ResourceError;
}

void ReconnectWait::poll()
{
    const QString located = SerialAdapters::locate(adapterId);
    if (located.isEmpty()) {
        sinceReturn.invalidate();
        return;
    }
    if (!sinceReturn.isValid())
        sinceReturn.start();
    returnTimer.stop();
    emit adapterReturned(located);
}

void ReconnectWait::wipeCredentials()
{
    sessionLogin.fill('\0');
    sessionPassword.fill('\0');
    sessionLogin.clear();
    sessionPassword.clear();
}
