#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QRandomGenerator>
#include <QString>

class QSocketNotifier;
class QTimer;

// Master side of a pseudo-terminal, non-blocking. Writes are queued and go
// out as the pty accepts them; with chunking each write is cut into random
// pieces that leave one at a time, a short gap apart. With a line rate bytes go
// both ways no faster than a serial line carries them.
class PseudoTerminal : public QObject
{
    Q_OBJECT

public:
    explicit PseudoTerminal(QObject *parent = nullptr);
    ~PseudoTerminal() override;

    bool open();
    bool isOpen() const;
    QString errorString() const;
    QString slavePath() const;

    void write(const QByteArray &bytes);
    void setChunking(int maxChunkBytes, quint32 seed);
    // Bits per second, ten per byte, each way; 0 passes bytes as fast as they come.
    void setLineRate(int bitsPerSecond);
    // Closes this side for good: the other side sees the line hang up.
    void hangUp();
    // Closes the line as a pulled USB adapter does and readies the one that comes
    // back: a new device under another number, which carries nothing until replug().
    bool unplug();
    void replug();
    // Bytes accepted by write() and not yet taken by the pty.
    qsizetype pendingBytes() const;
    // Bytes the pty has taken from write() since the start.
    qint64 writtenBytes() const;
    // The line speed the other side set, in bits per second; 0 when unknown.
    int peerBaudRate() const;

signals:
    void dataRead(const QByteArray &bytes);

private:
    void readMaster();
    // Bytes the line carries now in one direction, given when it is free again.
    qsizetype lineAllowance(qint64 &freeAtNs);
    void flush();
    void close();
    bool openPair(int *master, int *slave, QString *name);
    static bool lockedByLiveProcess(const QString &devicePath);
    void adopt(int master, int slave, const QString &name);

    int masterFd = -1;
    // Held open so the master never sees a hang-up while the link's port is closed.
    int slaveFd = -1;
    QString slaveName;
    QString error;
    QSocketNotifier *readNotifier = nullptr;
    QSocketNotifier *writeNotifier = nullptr;
    QTimer *gapTimer;
    QTimer *lineTimer;
    QTimer *outputTimer;
    QElapsedTimer lineClock;
    qint64 lineNsPerByte = 0;
    qint64 lineSliceNs = 0;
    qint64 lineFreeAtNs = 0;
    qint64 outputFreeAtNs = 0;
    qint64 written = 0;
    QList<QByteArray> pieces;
    qsizetype queued = 0;
    int maxChunk = 0;
    bool stoppedByPeer = false;
    bool unplugged = false;
    QRandomGenerator random;
};
