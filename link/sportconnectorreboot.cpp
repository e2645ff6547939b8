#include "link/sportconnector.h"

#include "link/sessionwatch.h"
#include "link/sportconnectorprivate.h"

#include <QByteArrayView>

using namespace SPortConnectorPrivate;

namespace {

constexpr int rebootTimeoutMs = 180000;

const QByteArray loginPrompt = QByteArrayLiteral("login:");

} // namespace

// The reader and the timer move before anything is emitted, and the bytes that
// came after reply 50 in the same reads are the start of the boot output.
void SPortConnector::beginReboot()
{
    QByteArray afterReply = framer.takeRest().toUtf8();
    afterReply += *receiveBuffer;
    receiveBuffer->clear();
    const bool uploading = upload != Upload::None;
    dropHeldWrites();
    stopGetPacketForwarderLogs();
    state = State::Rebooting;
    setReader(&SPortConnector::readRebootLogs);
    setTimerSlot(&SPortConnector::timeoutConnected);
    timer.start(rebootTimeoutMs);
    stalledReadTimer.start();
    bootDecoder.resetState();

    const SessionWatch watch(this);
    if (uploading)
        emit uploadEnded(false);
    if (!watch.stands() || state != State::Rebooting)
        return;
    emit disableInterface();
    if (!watch.stands() || state != State::Rebooting)
        return;
    if (!afterReply.trimmed().isEmpty())
        takeBootOutput(afterReply);
}

// A reply's box (the reboot notice) may stand while its reader is on the stack, and
// the port does not signal readyRead again until that reader returns: during the
// reboot and the login after it the link fetches what came in by itself.
void SPortConnector::readBehindBox()
{
    if (state != State::Rebooting && state != State::Rejoining) {
        stalledReadTimer.stop();
        return;
    }
    if (readDepth > 0)
        readPending();
}

void SPortConnector::takeBootOutput(const QByteArray &chunk)
{
    const qsizetype searchFrom = qMax<qsizetype>(0, receiveBuffer->size() - loginPrompt.size() + 1);
    receiveBuffer->append(chunk);
    if (QByteArrayView(*receiveBuffer).sliced(searchFrom).contains(loginPrompt)) {
        disconnect(&serial, &QSerialPort::readyRead, this, &SPortConnector::readRebootLogs);
        rejoinToGateway();
        receiveBuffer->clear();
        return;
    }
    QString text = bootDecoder.decode(chunk);
    text.remove(replyPattern);
    text.remove(requestPattern);
    if (!text.isEmpty())
        emit sendRebootLogs(text);
}

void SPortConnector::rejoinToGateway()
{
    rejoining = true;
    state = State::Rejoining;
    setReader(&SPortConnector::readDataConnection);
    loginTyped = passwordTyped = false;
    expectedEcho.clear();
    echoSeen.clear();
    typeLine(promptRequest);
}
