#include "emulator/replypacer.h"

#include "emulator/pseudoterminal.h"

#include <QTimer>

namespace {
constexpr quint32 noiseSeed = 0x4b564e;
constexpr int noisePercent = 50;

const QByteArray settingsReplyStart = "RESPONSE.{[33 {";
// After the document: "]}" and the line end.
constexpr qsizetype frameEndBytes = 4;

const char *const noiseTemplates[] = {
        "[%1] usb 1-1: new high-speed USB device number 3 using ehci-platform",
        "[%1] wlan0: link becomes ready",
        "[%1] eth0: Link is Up - 100Mbps/Full - flow control off",
        "[%1] random: crng init done",
        "[%1] option 1-1:1.2: GSM modem (1-port) converter detected",
        "[%1] mmc0: new high speed SDHC card at address 0001",
};
} // namespace

ReplyPacer::ReplyPacer(PseudoTerminal *terminal, QObject *parent)
    : QObject(parent), terminal(terminal), timer(new QTimer(this)), random(noiseSeed)
{
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, this, &ReplyPacer::release);
    clock.start();
}

void ReplyPacer::setDelayMs(int delay)
{
    delayMs = qMax(0, delay);
}

void ReplyPacer::setNoise(bool noise)
{
    noisy = noise;
}

bool ReplyPacer::noise() const
{
    return noisy;
}

void ReplyPacer::setKernelNoise(bool noise, quint32 seed)
{
    kernelNoisy = noise;
    kernelRandom.seed(seed);
}

QByteArray ReplyPacer::frame(const QByteArray &type, const QByteArray &payload)
{
    QByteArray safePayload = payload;
    // The link ends a payload at its first "]}".
    safePayload.replace("]}", "] }");
    // A line break inside a payload would end the link's match, but one at its end
    // is taken with the white space before "]}": a log line keeps its own.
    const bool endsLine = safePayload.endsWith('\n');
    if (endsLine)
        safePayload.chop(1);
    safePayload.replace('\r', ' ').replace('\n', ' ');
    if (endsLine)
        safePayload.append('\n');
    return type + ".{[" + safePayload + "]}\r\n";
}

void ReplyPacer::print(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return;
    if (delayMs == 0 && pending.isEmpty()) {
        terminal->write(bytes);
        return;
    }
    pending.append({clock.elapsed() + delayMs, bytes});
    if (!timer->isActive())
        timer->start(int(qMax<qint64>(0, pending.first().dueMs - clock.elapsed())));
}

void ReplyPacer::reply(const QByteArray &type, const QByteArray &payload)
{
    QByteArray bytes;
    if (noisy && int(random.bounded(100)) < noisePercent)
        bytes = noiseLine(random);
    QByteArray framed = frame(type, payload);
    if (kernelNoisy && framed.startsWith(settingsReplyStart)) {
        qsizetype at
                = kernelRandom.bounded(settingsReplyStart.size(), framed.size() - frameEndBytes);
        // Between characters, not inside one.
        while ((quint8(framed.at(at)) & 0xc0) == 0x80)
            --at;
        framed.insert(at, "\r\n" + noiseLine(kernelRandom));
    }
    print(bytes + framed);
}

void ReplyPacer::echo(const QByteArray &bytes)
{
    terminal->write(bytes);
}

void ReplyPacer::release()
{
    const qint64 now = clock.elapsed();
    while (!pending.isEmpty() && pending.first().dueMs <= now)
        terminal->write(pending.takeFirst().bytes);
    if (!pending.isEmpty())
        timer->start(int(pending.first().dueMs - now));
}

QByteArray ReplyPacer::noiseLine(QRandomGenerator &generator)
{
    const int count = int(sizeof noiseTemplates / sizeof noiseTemplates[0]);
    const QString uptime = QString::number(double(clock.elapsed()) / 1000.0 + 12.5, 'f', 6)
                                   .rightJustified(12, ' ');
    return QString::fromLatin1(noiseTemplates[generator.bounded(count)]).arg(uptime).toUtf8()
            + "\r\n";
}
