#include "emulator/pseudoterminal.h"

#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
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
} // namespace

PseudoTerminal::PseudoTerminal(QObject *parent) : QObject(parent), gapTimer(new QTimer(this))
{
    gapTimer->setSingleShot(true);
    gapTimer->setInterval(chunkGapMs);
    connect(gapTimer, &QTimer::timeout, this, &PseudoTerminal::flush);
}

PseudoTerminal::~PseudoTerminal()
{
    close();
}

bool PseudoTerminal::open()
{
    if (isOpen())
        return true;
    char name[256] = {};
    if (::openpty(&masterFd, &slaveFd, name, nullptr, nullptr) != 0) {
        error = QString::fromLocal8Bit(std::strerror(errno));
        masterFd = slaveFd = -1;
        return false;
    }
    slaveName = QString::fromLocal8Bit(name);

    // No echo or CR/NL mapping before the link's port configures the line.
    termios settings{};
    if (::tcgetattr(slaveFd, &settings) == 0) {
        ::cfmakeraw(&settings);
        ::tcsetattr(slaveFd, TCSANOW, &settings);
    }
    ::fcntl(masterFd, F_SETFL, ::fcntl(masterFd, F_GETFL) | O_NONBLOCK);
    ::fcntl(masterFd, F_SETFD, FD_CLOEXEC);
    ::fcntl(slaveFd, F_SETFD, FD_CLOEXEC);

    readNotifier = new QSocketNotifier(masterFd, QSocketNotifier::Read, this);
    connect(readNotifier, &QSocketNotifier::activated, this, &PseudoTerminal::readMaster);
    writeNotifier = new QSocketNotifier(masterFd, QSocketNotifier::Write, this);
    writeNotifier->setEnabled(false);
    connect(writeNotifier, &QSocketNotifier::activated, this, [this] {
        writeNotifier->setEnabled(false);
        flush();
    });
    return true;
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
    if (bytes.isEmpty())
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
    if (!gapTimer->isActive() && !(writeNotifier && writeNotifier->isEnabled()) && !stoppedByPeer)
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

void PseudoTerminal::readMaster()
{
    QByteArray bytes;
    char block[readBlockBytes];
    for (;;) {
        const ssize_t n = ::read(masterFd, block, sizeof block);
        if (n > 0) {
            bytes.append(block, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        // EAGAIN: drained. EIO cannot happen while slaveFd stays open.
        break;
    }
    // With software flow control on the line the tty itself sends XOFF/XON.
    for (const char c : std::as_const(bytes)) {
        if (c == xoff)
            stoppedByPeer = true;
        else if (c == xon)
            stoppedByPeer = false;
    }
    bytes.removeIf([](char c) { return c == xon || c == xoff; });
    if (!stoppedByPeer && !pieces.isEmpty() && !gapTimer->isActive())
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
        QByteArray &piece = pieces.first();
        const ssize_t n = ::write(masterFd, piece.constData(), piece.size());
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
        if (n < piece.size()) {
            piece.remove(0, n);
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

void PseudoTerminal::close()
{
    delete readNotifier;
    delete writeNotifier;
    readNotifier = writeNotifier = nullptr;
    if (masterFd >= 0)
        ::close(masterFd);
    if (slaveFd >= 0)
        ::close(slaveFd);
    masterFd = slaveFd = -1;
}
