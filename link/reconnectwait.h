#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QSerialPort>
#include <QString>
#include <QTimer>

// What a connection needs to come back by itself when its adapter is pulled out
// and plugged in again: which adapter it was, the device it was opened as, and the
// credentials typed for this session, which live in memory only and are wiped when
// the session ends. Tests fire the return poll through its timer, "returnTimer".
class ReconnectWait : public QObject
{
    Q_OBJECT

public:
    static constexpr int returnPollMs = 200;
    // udev gives a returning device its group a moment after the device appears.
    static constexpr int quietRetryMs = 5000;

    explicit ReconnectWait(QObject *parent = nullptr);
    ~ReconnectWait() override;

    void begin(const QString &portId, const QByteArray &login, const QByteArray &password);
    void end();
    QString portId() const { return adapterId; }
    QByteArray login() const { return sessionLogin; }
    QByteArray password() const { return sessionPassword; }

    // The path a link opens now; the device behind it is what presence is judged by.
    void setOpened(const QString &path);
    QString opened() const { return openedPath; }
    // The adapter is still there as the device that was opened.
    bool adapterPresent() const;

    // Polls for the adapter until it is back, then keeps recovering() true until
    // recovered() or end().
    void wait();
    void recovered();
    bool recovering() const { return waiting; }
    // A reconnection attempt that failed so: tried again without a word, while the
    // adapter is away again or has only just come back.
    bool retriesQuietly(QSerialPort::SerialPortError error) const;

signals:
    void adapterReturned(const QString &path);

private:
    void poll();
    void wipeCredentials();

    QTimer returnTimer;
    QElapsedTimer sinceReturn;
    QString adapterId;
    QString openedPath;
    QString openedDevice;
    QByteArray sessionLogin;
    QByteArray sessionPassword;
    bool waiting = false;
};
