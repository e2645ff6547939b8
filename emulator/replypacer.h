#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QRandomGenerator>

class PseudoTerminal;
class QTimer;

// Everything the gateway prints except the tty echo passes here, so that one
// reply delay holds for all of it and the order never changes. With noise on,
// kernel-like lines sometimes stand before a reply; with kernel noise on, one
// stands inside every settings reply, as a console prints the kernel's messages.
class ReplyPacer : public QObject
{
    Q_OBJECT

public:
    explicit ReplyPacer(PseudoTerminal *terminal, QObject *parent = nullptr);

    void setDelayMs(int delayMs);
    void setNoise(bool noise);
    bool noise() const;
    void setKernelNoise(bool noise, quint32 seed);

    // Console output (prompts, boot lines).
    void print(const QByteArray &bytes);
    // A core reply: "TYPE.{[payload]}\r\n"; noise may go first.
    void reply(const QByteArray &type, const QByteArray &payload);
    // The tty's own echo: immediate.
    void echo(const QByteArray &bytes);

    static QByteArray frame(const QByteArray &type, const QByteArray &payload);

private:
    struct Pending
    {
        qint64 dueMs;
        QByteArray bytes;
    };

    void release();
    QByteArray noiseLine(QRandomGenerator &generator);

    PseudoTerminal *terminal;
    QTimer *timer;
    QElapsedTimer clock;
    QList<Pending> pending;
    int delayMs = 0;
    bool noisy = false;
    bool kernelNoisy = false;
    QRandomGenerator random;
    QRandomGenerator kernelRandom;
};
