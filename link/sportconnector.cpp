#include "link/sportconnector.h"

#include "link/historylog.h"
#include "link/porterrorhint.h"
#include "link/sessionwatch.h"
#include "link/sportconnectorprivate.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QSerialPortInfo>

#include <utility>

using namespace SPortConnectorPrivate;

namespace {

constexpr int connectTimeoutMs = 30000;
// A core that never announces itself still gets its first request after this.
constexpr int firstRequestDelayMs = 2000;
// How often the boot output is fetched while a reader below waits behind a box.
constexpr int stalledReadPeriodMs = 50;
// What the port signals is read this much at a turn of the event loop: a burst of the
// log stream costs about two microseconds a byte through the history, the framer and
// the pages, and the window is drawn between two turns.
constexpr qint64 readTurnBytes = 2048;
// Writes are queued by the port and leave in order; only the closing lines are
// waited for, because the port is closed right after them.
constexpr int closingWriteTimeoutMs = 5000;
// After a disconnect the closing lines get this long, without blocking.
constexpr int closingWaitMs = 2000;

const QByteArray closeRequest = QByteArrayLiteral("REQUEST.{[--0000]}\r");
const QByteArray shellExit = QByteArrayLiteral("exit\r");

} // namespace

SPortConnector::SPortConnector(int baudRate, QObject *parent)
    : QObject(parent), serial(*new QSerialPort(this)), receiveBuffer(new QByteArray),
      replyPattern(ReplyFramer::replyPatternText), timer(this), firstRequestTimer(this),
      stalledReadTimer(this), readRestTimer(this), framer(replyPattern),
      requestPattern(QStringLiteral("REQUEST\\.\\{\\[.*\\s*\\]\\}")),
      bootDecoder(QStringConverter::Utf8), historyDecoder(QStringConverter::Utf8), uploadTimer(this)
{
    serial.setBaudRate(baudRate, QSerialPort::AllDirections);
    serial.setDataBits(QSerialPort::Data8);
    serial.setParity(QSerialPort::NoParity);
    serial.setStopBits(QSerialPort::OneStop);
    serial.setFlowControl(QSerialPort::SoftwareControl);
    timer.setObjectName(QStringLiteral("linkTimer"));
    firstRequestTimer.setObjectName(QStringLiteral("firstRequestTimer"));
    firstRequestTimer.setSingleShot(true);
    firstRequestTimer.setInterval(firstRequestDelayMs);
    connect(&firstRequestTimer, &QTimer::timeout, this, &SPortConnector::releaseHeldWrites);
    stalledReadTimer.setInterval(stalledReadPeriodMs);
    connect(&stalledReadTimer, &QTimer::timeout, this, &SPortConnector::readBehindBox);
    // The port signals only what is new: the rest of a burst is fetched by this.
    readRestTimer.setSingleShot(true);
    readRestTimer.setInterval(0);
    connect(&readRestTimer, &QTimer::timeout, this, &SPortConnector::readOnSignal);
    uploadTimer.setObjectName(QStringLiteral("uploadTimer"));
    uploadTimer.setSingleShot(true);
    connect(&uploadTimer, &QTimer::timeout, this, &SPortConnector::uploadTimedOut);
    // A hung-up line makes the port report errors on every turn of the event loop.
    connect(&serial, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError error) {
        if (error != QSerialPort::ResourceError && error != QSerialPort::ReadError
            && error != QSerialPort::WriteError)
            return;
        if (lineLossPending || !serial.isOpen())
            return;
        lineLossPending = true;
        QMetaObject::invokeMethod(this, &SPortConnector::lineLost, Qt::QueuedConnection);
    });
}

SPortConnector::~SPortConnector()
{
    if (serial.isOpen() && !closer)
        disconnectFromGatewayPort();
    if (closer)
        closer->takePort();
    delete receiveBuffer;
}

void SPortConnector::setConnectionParameters(QString portName, QByteArray login,
                                             QByteArray password)
{
    this->portName = portName;
    this->login = login;
    this->password = password;
}

bool SPortConnector::isPortAvailable()
{
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &port : ports) {
        if (port.portName() == portName)
            return true;
    }
    // A port opened by its path (a pseudo-terminal, such as the gateway emulator's)
    // is never among the listed serial ports: it is present while its node exists.
    return QDir::isAbsolutePath(portName) && QFileInfo::exists(portName);
}

void SPortConnector::connectToGatewayPort()
{
    if (serial.isOpen() && !closer)
        return;
    // The closing lines of the last connection are cut short: a port opens once.
    if (closer) {
        closer->closeNow();
        closer = nullptr;
    }
    serial.setPortName(portName);
    PortCloser::closeNow(serial.portName());
    if (!serial.open(QIODevice::ReadWrite)) {
        state = State::Failed;
        ++sessionEnds;
        const SessionWatch watch(this);
        emit stopSpinner();
        if (!watch.stands())
            return;
        const QString message = tr("Не удалось открыть порт: %1.\nПо причине: %2")
                                        .arg(portName, serial.errorString());
        emit sendTxtDialog(boxCritical, portName,
                           PortErrorHint::withHint(serial.error(), message, portName));
        if (watch.stands())
            emit connectionFailure();
        return;
    }
    state = State::LoggingIn;
    // Whatever the console sent before this attempt answers nobody.
    serial.clear(QSerialPort::Input);
    receiveBuffer->clear();
    setTimerSlot(&SPortConnector::timeoutConnected);
    timer.start(connectTimeoutMs);
    setReader(&SPortConnector::readDataConnection);
    loginTyped = passwordTyped = false;
    expectedEcho.clear();
    echoSeen.clear();
    consoleMasker.reset();
    historyDecoder.resetState();
    typeLine(promptRequest);
}

void SPortConnector::disconnectFromGatewayPort()
{
    // A console still at its login or password prompt, or booting, would take the
    // closing lines for a user name or a password.
    const bool coreRuns = state == State::Online || state == State::Dropped;
    ++sessionEnds;
    timer.stop();
    disconnect(&timer, &QTimer::timeout, this, nullptr);
    disconnect(&serial, &QSerialPort::readyRead, this, nullptr);
    readRestTimer.stop();
    framer.clear();
    // A file still in the port's queue stops at once, and its end marker makes the
    // gateway hear the closing lines as requests again. A body that has left the
    // queue whole ends with its own marker; the system's few bytes of it go too.
    const bool fileCut = holdsForUpload()
            || (upload == Upload::Confirming && serial.isOpen() && serial.bytesToWrite() > 0);
    dropHeldWrites();
    state = State::Closed;
    if (!serial.isOpen() || closer)
        return;
    if (!coreRuns) {
        closePort();
        return;
    }
    if (fileCut) {
        serial.clear(QSerialPort::Output);
        serial.write(fileEndLine);
    }
    serial.write(closeRequest);
    serial.write(shellExit);
    closer = new PortCloser(&serial, closingWaitMs);
}

void SPortConnector::drainWrites(qint64 timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (serial.isOpen() && serial.bytesToWrite() > 0 && !deadline.hasExpired()) {
        if (!serial.waitForBytesWritten(int(deadline.remainingTime())))
            break;
    }
}

// Queued bytes leave before the port closes, within a bounded wait.
void SPortConnector::closePort()
{
    dropHeldWrites();
    if (!serial.isOpen() || closer)
        return;
    drainWrites(closingWriteTimeoutMs);
    serial.close();
}

void SPortConnector::readDataConnection()
{
    readOnSignal();
}

void SPortConnector::handlerResivedData()
{
    readOnSignal();
}

void SPortConnector::readRebootLogs()
{
    readOnSignal();
}

// Replies that come while a box raised by an earlier reply stands wait for it and
// keep their order.
void SPortConnector::readOnSignal()
{
    if (readDepth > 0 && (state == State::Online || state == State::Dropped))
        return;
    readPort(readTurnBytes);
}

// Before a tick judges anything: what the system holds for the port counts too.
void SPortConnector::readPending()
{
    if (serial.isOpen() && serial.bytesAvailable() == 0)
        serial.waitForReadyRead(0);
    readPort();
}

void SPortConnector::readPort(qint64 turnBytes)
{
    QPointer<SPortConnector> self(this);
    const SessionWatch watch(this);
    ++readDepth;
    qint64 left = turnBytes;
    while (serial.isOpen() && serial.bytesAvailable() > 0) {
        if (left <= 0) {
            readRestTimer.start();
            break;
        }
        const QByteArray chunk
                = left >= serial.bytesAvailable() ? serial.readAll() : serial.read(left);
        left -= chunk.size();
        takeChunk(chunk);
        if (!self)
            return;
        // A session ended meanwhile reads no further.
        if (!watch.stands())
            break;
    }
    --readDepth;
}

// Each chunk goes to the state it finds: a chunk may end the login or start the
// reboot, and the next one belongs to the new state.
void SPortConnector::takeChunk(const QByteArray &chunk)
{
    switch (state) {
    case State::LoggingIn:
    case State::Rejoining:
        takeLoginOutput(chunk);
        break;
    case State::Online:
    case State::Dropped:
        takeReplies(chunk);
        break;
    case State::Rebooting:
        takeBootOutput(chunk);
        break;
    case State::Closed:
    case State::Failed:
    case State::Rejected:
        break;
    }
}

// A tick that finds the link moving on in what stood unread (the login prompt
// after a reboot) leaves the judging to the next one.
void SPortConnector::timeoutConnected()
{
    if (!timer.isActive())
        return;
    const State judged = state;
    const SessionWatch watch(this);
    readPending();
    if (!watch.stands() || state != judged || !timer.isActive())
        return;
    failConnection();
}

// The gateway side hung up (cable pulled, console gone): the port would only
// report errors from now on, so it closes at once and the loss is reported once.
void SPortConnector::lineLost()
{
    lineLossPending = false;
    if (!serial.isOpen() || closer)
        return;
    disconnect(&serial, &QSerialPort::readyRead, this, nullptr);
    readRestTimer.stop();
    dropHeldWrites();
    serial.close();
    const SessionWatch watch(this);
    emit portLost();
    if (!watch.stands())
        return;
    switch (state) {
    case State::LoggingIn:
    case State::Rebooting:
    case State::Rejoining:
        failConnection();
        break;
    case State::Online:
        reportLoss();
        break;
    case State::Closed:
    case State::Failed:
    case State::Rejected:
    case State::Dropped:
        timer.stop();
        break;
    }
}

void SPortConnector::failConnection()
{
    timer.stop();
    state = State::Failed;
    ++sessionEnds;
    disconnect(&serial, &QSerialPort::readyRead, this, nullptr);
    readRestTimer.stop();
    closePort();
    const SessionWatch watch(this);
    emit stopSpinner();
    if (!watch.stands())
        return;
    emit sendTxtDialog(boxWarning, tr("Ошибка подключения к порту: ") + portName,
                       tr("Не удалось подключится к базовой станции.\nВозможно выбранный COM порт "
                          "недоступен."));
    if (watch.stands())
        emit connectionFailure();
}

// The port queues the bytes and writes them in order from the event loop.
void SPortConnector::writeToPort(const QByteArray &bytes)
{
    if (!serial.isOpen() || closer)
        return;
    // The gateway would store them inside the file.
    if (holdsForUpload()) {
        uploadHeld += bytes;
        return;
    }
    if (coreStarting) {
        heldWrites += bytes;
        return;
    }
    serial.write(bytes);
}

void SPortConnector::releaseHeldWrites()
{
    if (!coreStarting)
        return;
    coreStarting = false;
    firstRequestTimer.stop();
    // They came before anything an upload holds (its announcement among them).
    const QByteArray held = std::exchange(heldWrites, QByteArray());
    if (!held.isEmpty() && serial.isOpen() && !closer)
        serial.write(held);
}

void SPortConnector::dropHeldWrites()
{
    coreStarting = false;
    firstRequestTimer.stop();
    heldWrites.clear();
    dropUpload();
}

// What arrives next starts afresh, usually with the echo of the line written now.
void SPortConnector::clearReceiveBuffer()
{
    receiveBuffer->clear();
    framer.restartLine();
}

// While an upload holds the request, the gateway's reply to the announcement may be
// half read: it must not be cleared away.
void SPortConnector::clearAndWrite(const QByteArray &bytes)
{
    if (!holdsForUpload())
        clearReceiveBuffer();
    writeToPort(bytes);
}

void SPortConnector::setReader(void (SPortConnector::*reader)())
{
    disconnect(&serial, &QSerialPort::readyRead, this, nullptr);
    connect(&serial, &QSerialPort::readyRead, this, reader);
}

void SPortConnector::setTimerSlot(void (SPortConnector::*slot)())
{
    disconnect(&timer, &QTimer::timeout, this, nullptr);
    connect(&timer, &QTimer::timeout, this, slot);
}

void SPortConnector::setHistoryTag(const QString &tag)
{
    historyTag = tag;
}

void SPortConnector::record(int level, const QString &text) const
{
    writeHistoryLog(level,
                    historyTag.isEmpty() ? text : QStringLiteral("[%1] %2").arg(historyTag, text));
}
