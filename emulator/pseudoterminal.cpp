#include "emulator/pseudoterminal.h"

#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <pty.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

namespace {
// Next event-loop turn: the reader gets a chance to take each piece alone.
constexpr int chunkGapMs = 0;
constexpr int readBlockBytes = 4096;
// Output waits here while nobody reads the line; past this much it is dropped,
// as bytes on a serial line nobody listens to are lost.
constexpr qsizetype maxPendingBytes = 4 * 1024 * 1024;
constexpr char xon = 0x11;
constexpr char xoff = 0x13;
constexpr qint64 bitsPerByte = 10;
constexpr qint64 nsPerSecond = 1000000000;
// An idle line saves up no more than this much time for a burst, as a UART's FIFO,
// and at least one byte's time, which a slow line needs to carry anything at all.
constexpr int lineSliceMs = 5;
constexpr qint64 nsPerMs = 1000000;
constexpr int maxLockedNumbers = 8;
} // namespace

PseudoTerminal::PseudoTerminal(QObject *parent)
    : QObject(parent), gapTimer(new QTimer(this)), lineTimer(new QTimer(this)),
      outputTimer(new QTimer(this))
{
    gapTimer->setSingleShot(true);
    gapTimer->setInterval(chunkGapMs);
    connect(gapTimer, &QTimer::timeout, this, &PseudoTerminal::flush);
    lineTimer->setSingleShot(true);
    lineTimer->setInterval(lineSliceMs);
    connect(lineTimer, &QTimer::timeout, this, [this] {
        if (!readNotifier)
            return;
        readNotifier->setEnabled(true);
        readMaster();
    });
    outputTimer->setSingleShot(true);
    outputTimer->setInterval(lineSliceMs);
    connect(outputTimer, &QTimer::timeout, this, &PseudoTerminal::flush);
}

PseudoTerminal::~PseudoTerminal()
{
    close();
}

bool PseudoTerminal::open()
{
    if (isOpen())
        return true;
    int master = -1;
    int slave = -1;
    QString name;
    if (!openPair(&master, &slave, &name))
        return false;
    adopt(master, slave, name);
    return true;
}

// A program whose own device went away may still hold the lock file of its name for a
// moment; a new device under that number could not be opened until it lets go.
bool PseudoTerminal::lockedByLiveProcess(const QString &devicePath)
{
    const QString lockName = QStringLiteral("LCK..")
            + devicePath.mid(devicePath.indexOf(QLatin1String("/dev/")) + 5)
                      .replace(QLatin1Char('/'), QLatin1Char('_'));
    for (const QString &directory : {QStringLiteral("/var/lock"), QStringLiteral("/etc/locks"),
                                     QStringLiteral("/var/spool/locks"),
                                     QStringLiteral("/var/spool/uucp"), QDir::tempPath()}) {
        QFile lock(directory + QLatin1Char('/') + lockName);
        if (!lock.open(QIODevice::ReadOnly))
            continue;
        const qint64 pid = lock.readLine().trimmed().toLongLong();
        if (pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno == EPERM))
            return true;
    }
    return false;
}

bool PseudoTerminal::openPair(int *master, int *slave, QString *name)
{
    char path[256] = {};
    // Pairs passed over stay open while the next is made, so that it gets another number.
    QList<std::pair<int, int>> passedOver;
    bool opened = false;
    for (int attempt = 0; attempt < maxLockedNumbers; ++attempt) {
        opened = ::openpty(master, slave, path, nullptr, nullptr) == 0;
        if (!opened || !lockedByLiveProcess(QString::fromLocal8Bit(path)))
            break;
        passedOver.append({*master, *slave});
    }
    const int openError = errno;
    for (const auto &[passedMaster, passedSlave] : std::as_const(passedOver)) {
        ::close(passedMaster);
        ::close(passedSlave);
    }
    if (!opened) {
        error = QString::fromLocal8Bit(std::strerror(openError));
        *master = *slave = -1;
        return false;
    }
    *name = QString::fromLocal8Bit(path);
    // No echo or CR/NL mapping before the link's port configures the line.
    termios settings{};
    if (::tcgetattr(*slave, &settings) == 0) {
        ::cfmakeraw(&settings);
        ::tcsetattr(*slave, TCSANOW, &settings);
    }
    ::fcntl(*master, F_SETFL, ::fcntl(*master, F_GETFL) | O_NONBLOCK);
    ::fcntl(*master, F_SETFD, FD_CLOEXEC);
    ::fcntl(*slave, F_SETFD, FD_CLOEXEC);
    return true;
}

void PseudoTerminal::adopt(int master, int slave, const QString &name)
{
    masterFd = master;
    slaveFd = slave;
    slaveName = name;
    stoppedByPeer = false;
    readNotifier = new QSocketNotifier(masterFd, QSocketNotifier::Read, this);
    connect(readNotifier, &QSocketNotifier::activated, this, &PseudoTerminal::readMaster);
    writeNotifier = new QSocketNotifier(masterFd, QSocketNotifier::Write, this);
    writeNotifier->setEnabled(false);
    connect(writeNotifier, &QSocketNotifier::activated, this, [this] {
        writeNotifier->setEnabled(false);
        flush();
    });
}

bool PseudoTerminal::isOpen() const
{
    return masterFd >= 0;
}

QString PseudoTerminal::errorString() const
{
    return error;
}

QString PseudoTerminal::slavePath() const
{
    return slaveName;
}

void PseudoTerminal::write(const QByteArray &bytes)
{
    // What the gateway prints while no adapter is plugged in reaches nobody.
    if (bytes.isEmpty() || unplugged)
        return;
    if (queued + bytes.size() > maxPendingBytes) {
        qWarning("pty output dropped: nobody reads the line");
        return;
    }
    if (maxChunk > 0) {
        qsizetype at = 0;
        while (at < bytes.size()) {
            const qsizetype size
                    = qMin<qsizetype>(random.bounded(1, maxChunk + 1), bytes.size() - at);
            pieces.append(bytes.mid(at, size));
            at += size;
        }
    } else {
        pieces.append(bytes);
    }
    queued += bytes.size();
    if (!gapTimer->isActive() && !outputTimer->isActive()
        && !(writeNotifier && writeNotifier->isEnabled()) && !stoppedByPeer)
        flush();
}

void PseudoTerminal::setChunking(int maxChunkBytes, quint32 seed)
{
    maxChunk = qMax(0, maxChunkBytes);
    random.seed(seed);
}

qsizetype PseudoTerminal::pendingBytes() const
{
    return queued;
}

qint64 PseudoTerminal::writtenBytes() const
{
    return written;
}

void PseudoTerminal::setLineRate(int bitsPerSecond)
{
    lineNsPerByte = bitsPerSecond > 0 ? bitsPerByte * nsPerSecond / bitsPerSecond : 0;
    lineSliceNs = qMax(lineSliceMs * nsPerMs, lineNsPerByte);
    const int sliceMs = int((lineSliceNs + nsPerMs - 1) / nsPerMs);
    lineTimer->setInterval(sliceMs);
    outputTimer->setInterval(sliceMs);
    lineClock.start();
    lineFreeAtNs = 0;
    outputFreeAtNs = 0;
}

void PseudoTerminal::hangUp()
{
    lineTimer->stop();
    gapTimer->stop();
    outputTimer->stop();
    pieces.clear();
    queued = 0;
    close();
}

// The new device is opened before the old one closes, so that it cannot take the
// old one's number.
bool PseudoTerminal::unplug()
{
    int master = -1;
    int slave = -1;
    QString name;
    const bool opened = openPair(&master, &slave, &name);
    hangUp();
    if (!opened)
        return false;
    adopt(master, slave, name);
    unplugged = true;
    return true;
}

void PseudoTerminal::replug()
{
    unplugged = false;
}

qsizetype PseudoTerminal::lineAllowance(qint64 &freeAtNs)
{
    if (lineNsPerByte == 0)
        return std::numeric_limits<qsizetype>::max();
    const qint64 now = lineClock.nsecsElapsed();
    freeAtNs = qMax(freeAtNs, now - lineSliceNs);
    return (now - freeAtNs) / lineNsPerByte;
}

void PseudoTerminal::readMaster()
{
    if (!isOpen())
        return;
    QByteArray bytes;
    char block[readBlockBytes];
    qsizetype allowance = lineAllowance(lineFreeAtNs);
    while (allowance > 0) {
        const ssize_t n = ::read(masterFd, block, size_t(qMin<qsizetype>(sizeof block, allowance)));
        if (n > 0) {
            bytes.append(block, n);
            allowance -= n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        // EAGAIN: drained. EIO cannot happen while slaveFd stays open.
        break;
    }
    if (lineNsPerByte > 0) {
        lineFreeAtNs += bytes.size() * lineNsPerByte;
        if (allowance == 0) {
            readNotifier->setEnabled(false);
            lineTimer->start();
        }
    }
    // With software flow control on the line the tty itself sends XOFF/XON.
    for (const char c : std::as_const(bytes)) {
        if (c == xoff)
            stoppedByPeer = true;
        else if (c == xon)
            stoppedByPeer = false;
    }
    bytes.removeIf([](char c) { return c == xon || c == xoff; });
    if (unplugged)
        return;
    if (!stoppedByPeer && !pieces.isEmpty() && !gapTimer->isActive() && !outputTimer->isActive())
        flush();
    if (!bytes.isEmpty())
        emit dataRead(bytes);
}

void PseudoTerminal::flush()
{
    if (!isOpen()) {
        pieces.clear();
        queued = 0;
        return;
    }
    if (stoppedByPeer)
        return;
    while (!pieces.isEmpty()) {
        const qsizetype allowance = lineAllowance(outputFreeAtNs);
        if (allowance == 0) {
            outputTimer->start();
            return;
        }
        QByteArray &piece = pieces.first();
        const qsizetype size = qMin(piece.size(), allowance);
        const ssize_t n = ::write(masterFd, piece.constData(), size_t(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK) {
                writeNotifier->setEnabled(true);
                return;
            }
            qWarning("pty write failed: %s", std::strerror(errno));
            pieces.clear();
            queued = 0;
            return;
        }
        queued -= n;
        written += n;
        if (lineNsPerByte > 0)
            outputFreeAtNs += n * lineNsPerByte;
        if (n < piece.size()) {
            piece.remove(0, n);
            if (n == size)
                continue;
            writeNotifier->setEnabled(true);
            return;
        }
        pieces.removeFirst();
        if (maxChunk > 0 && !pieces.isEmpty()) {
            gapTimer->start();
            return;
        }
    }
}

// A hang-up may come from inside a notifier's own signal: they go later.
void PseudoTerminal::close()
{
    for (QSocketNotifier *notifier : {readNotifier, writeNotifier}) {
        if (notifier) {
            notifier->setEnabled(false);
            notifier->deleteLater();
        }
    }
    readNotifier = writeNotifier = nullptr;
    if (masterFd >= 0)
        ::close(masterFd);
    if (slaveFd >= 0)
        ::close(slaveFd);
    masterFd = slaveFd = -1;
}

int PseudoTerminal::peerBaudRate() const
{
    static const QList<QPair<speed_t, int>> speeds{
            {B9600, 9600},     {B19200, 19200},   {B38400, 38400},
            {B57600, 57600},   {B115200, 115200}, {B230400, 230400},
            {B460800, 460800}, {B921600, 921600}, {B1500000, 1500000},
    };
    termios settings{};
    if (slaveFd < 0 || ::tcgetattr(slaveFd, &settings) != 0)
        return 0;
    const speed_t speed = ::cfgetospeed(&settings);
    for (const auto &[code, rate] : speeds) {
        if (code == speed)
            return rate;
    }
    return 0;
}
