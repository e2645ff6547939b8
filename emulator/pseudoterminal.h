#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QRandomGenerator>
#include <QString>

class QSocketNotifier;
class QTimer;

// Master side of a pseudo-terminal, non-blocking. Writes are queued and go
// out as the pty accepts them; with chunking each write is cut into random
// pieces that leave one at a time, a short gap apart.
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
    // Bytes accepted by write() and not yet taken by the pty.
    qsizetype pendingBytes() const;

signals:
    void dataRead(const QByteArray &bytes);

private:
    void readMaster();
    void flush();
    void close();

    int masterFd = -1;
    // Held open so the master never sees a hang-up while the link's port is closed.
    int slaveFd = -1;
    QString slaveName;
    QString error;
    QSocketNotifier *readNotifier = nullptr;
    QSocketNotifier *writeNotifier = nullptr;
    QTimer *gapTimer;
    QList<QByteArray> pieces;
    qsizetype queued = 0;
    int maxChunk = 0;
    bool stoppedByPeer = false;
    QRandomGenerator random;
};
