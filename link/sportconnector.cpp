#include "link/sportconnector.h"

#include "link/historylog.h"
#include "link/porterrorhint.h"

#include <QByteArrayView>
#include <QDeadlineTimer>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QPointer>
#include <QSerialPortInfo>

#include <utility>

namespace {

constexpr int connectTimeoutMs = 30000;
constexpr int keepAlivePeriodMs = 60000;
constexpr int rebootTimeoutMs = 180000;
// A core that never announces itself still gets its first request after this.
constexpr int firstRequestDelayMs = 2000;
// How often the boot output is fetched while a reader below waits behind a box.
constexpr int stalledReadPeriodMs = 50;
// Writes are queued by the port and leave in order; only the closing lines are
// waited for, because the port is closed right after them.
constexpr int closingWriteTimeoutMs = 5000;
// Start bit, eight data bits, stop bit.
constexpr int bitsPerByte = 10;

constexpr int historyInfo = 0;
constexpr int historyWarning = 1;
constexpr int historyError = 2;

constexpr int boxInformation = 1;
constexpr int boxWarning = 2;
constexpr int boxCritical = 3;

// Reply 45 reports 8 for a gateway with one LoRa module.
constexpr int singleModuleState = 8;

const QByteArray loginPrompt = QByteArrayLiteral("login:");

enum class Prompt { Login, Password, Refusal, Shell, Core };

struct ConsoleMark
{
    Prompt prompt;
    QByteArrayView text;
};

// "root@" is the root shell's prompt, "CONNECT." the start of a running core's reply.
constexpr ConsoleMark consoleMarks[] = {
        {Prompt::Login, "login:"},
        {Prompt::Password, "Password:"},
        {Prompt::Refusal, "Login incorrect"},
        {Prompt::Shell, "root@"},
        {Prompt::Core, "CONNECT."},
};

const QByteArray promptRequest = QByteArrayLiteral("\r");
const QByteArray coreStartCommand = QByteArrayLiteral("KVNCore\r");
const QByteArray keepAliveProbe = QByteArrayLiteral("1\r");
const QByteArray shellExit = QByteArrayLiteral("exit\r");

const QByteArray closeRequest = QByteArrayLiteral("REQUEST.{[--0000]}\r");
const QByteArray readRequest = QByteArrayLiteral("REQUEST.{[--26]}\r");
const QByteArray resetAllRequest = QByteArrayLiteral("REQUEST.{[--20]}\r");
const QByteArray resetLoRaRequest = QByteArrayLiteral("REQUEST.{[--21]}\r");
const QByteArray rebootRequest = QByteArrayLiteral("REQUEST.{[--90]}\r");
const QByteArray serverStateRequest = QByteArrayLiteral("REQUEST.{[--10 State]}\r");
const QByteArray serverEnableRequest = QByteArrayLiteral("REQUEST.{[--10 Enable]}\r");
const QByteArray serverDisableRequest = QByteArrayLiteral("REQUEST.{[--10 Disable]}\r");
const QByteArray serverStartRequest = QByteArrayLiteral("REQUEST.{[--10 Start]}\r");
const QByteArray serverStopRequest = QByteArrayLiteral("REQUEST.{[--10 Stop]}\r");
const QByteArray logsStartRequest = QByteArrayLiteral("REQUEST.{[--50 Start]}\r");
const QByteArray logsStopRequest = QByteArrayLiteral("REQUEST.{[--50 Stop]}\r");
const QByteArray logsHideRequest = QByteArrayLiteral("REQUEST.{[--50 Hide]}\r");
const QByteArray logsShowRequest = QByteArrayLiteral("REQUEST.{[--50 Show]}\r");
const QByteArray modulesStateRequest = QByteArrayLiteral("REQUEST.{[--50 State]}\r");
const QByteArray doubleModuleRequest = QByteArrayLiteral("REQUEST.{[--50 RunX16]}\r");
const QByteArray singleModuleRequest = QByteArrayLiteral("REQUEST.{[--50 RunX8]}\r");

QByteArray requestWithArgument(int command, const QByteArray &argument)
{
    return QStringLiteral("REQUEST.{[--%1 ").arg(command).toUtf8() + argument
            + QByteArrayLiteral("]}\r");
}

// The gateway ends a request at its first "]}", so the document never holds one
// before the end: inside a string the "}" becomes the JSON escape "\u007d", which
// reads back as the same text; between tokens a space keeps the two apart.
QByteArray frameSafeJson(const QByteArray &json)
{
    QByteArray safe;
    safe.reserve(json.size());
    bool inString = false;
    bool escaped = false;
    for (const char c : json) {
        if (c == '}' && !escaped && safe.endsWith(']')) {
            safe.append(inString ? QByteArrayView("\\u007d") : QByteArrayView(" }"));
            continue;
        }
        if (inString) {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        }
        safe.append(c);
    }
    return safe;
}

// White space may stand between a payload and its closing "]}"; a code must not
// be read from "31\r\n" as if it were a longer message without a space.
QString withoutTrailingSpace(const QString &payload)
{
    qsizetype end = payload.size();
    while (end > 0 && payload.at(end - 1).isSpace())
        --end;
    return payload.left(end);
}

} // namespace

SPortConnector::SPortConnector(int baudRate, QObject *parent)
    : QObject(parent), serial(this), receiveBuffer(new QByteArray),
      replyPattern(ReplyFramer::replyPatternText), timer(this), firstRequestTimer(this),
      stalledReadTimer(this), framer(replyPattern),
      requestPattern(QStringLiteral("REQUEST\\.\\{\\[.*\\s*\\]\\}")),
      bootDecoder(QStringConverter::Utf8)
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
    if (serial.isOpen())
        disconnectFromGatewayPort();
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
    if (serial.isOpen())
        return;
    serial.setPortName(portName);
    if (!serial.open(QIODevice::ReadWrite)) {
        state = State::Failed;
        emit stopSpinner();
        QPointer<SPortConnector> self(this);
        const QString message = tr("Не удалось открыть порт: %1.\nПо причине: %2")
                                        .arg(portName, serial.errorString());
        emit sendTxtDialog(boxCritical, portName, PortErrorHint::withHint(serial.error(), message));
        if (self)
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
    typeLine(promptRequest);
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

void SPortConnector::disconnectFromGatewayPort()
{
    timer.stop();
    disconnect(&timer, &QTimer::timeout, this, nullptr);
    disconnect(&serial, &QSerialPort::readyRead, this, nullptr);
    framer.clear();
    dropHeldWrites();
    state = State::Closed;
    if (!serial.isOpen())
        return;
    // Bytes still queued (a large upload) leave first, for as long as the line needs
    // to carry them, so that the closing lines are not lost behind them.
    const qint64 lineTimeMs
            = serial.bytesToWrite() * bitsPerByte * 1000 / qMax<qint32>(1, serial.baudRate());
    drainWrites(closingWriteTimeoutMs + lineTimeMs);
    serial.write(closeRequest);
    serial.write(shellExit);
    closePort();
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
    if (!serial.isOpen())
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
    readPort();
}

// Before a tick judges anything: what the system holds for the port counts too.
void SPortConnector::readPending()
{
    if (serial.isOpen() && serial.bytesAvailable() == 0)
        serial.waitForReadyRead(0);
    readPort();
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

void SPortConnector::readPort()
{
    QPointer<SPortConnector> self(this);
    ++readDepth;
    while (serial.isOpen() && serial.bytesAvailable() > 0) {
        takeChunk(serial.readAll());
        if (!self)
            return;
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

// Prompts are answered in the order they stand, and once one is matched only what
// came after it counts: a refusal or prompt from before (a console left at
// "Password:" by an earlier session) is never acted on twice.
void SPortConnector::takeLoginOutput(const QByteArray &chunk)
{
    writeHistoryLog(historyInfo, QStringLiteral("Read logs - ") + QString::fromUtf8(chunk));
    receiveBuffer->append(withoutEcho(chunk));
    for (;;) {
        const ConsoleMark *found = nullptr;
        qsizetype at = -1;
        for (const ConsoleMark &mark : consoleMarks) {
            const qsizetype index = receiveBuffer->indexOf(mark.text);
            if (index >= 0 && (at < 0 || index < at)) {
                at = index;
                found = &mark;
            }
        }
        if (!found)
            return;
        receiveBuffer->remove(0, at + found->text.size());
        switch (found->prompt) {
        case Prompt::Login:
            if (!login.isEmpty()) {
                typeLine(login);
                loginTyped = true;
                login.clear();
            }
            break;
        case Prompt::Password:
            // Asked before the link typed its login (the login program took a bare
            // return as a user name): a return leads back to the login prompt.
            if (!loginTyped) {
                typeLine(promptRequest);
            } else if (!passwordTyped && !password.isEmpty()) {
                writeToPort(password + promptRequest);
                passwordTyped = true;
                password.clear();
            }
            break;
        case Prompt::Refusal:
            // Only an answer to the link's own password ends the attempt.
            if (passwordTyped) {
                refuseLogin();
                return;
            }
            break;
        case Prompt::Shell:
        case Prompt::Core:
            receiveBuffer->clear();
            setReader(&SPortConnector::handlerResivedData);
            startCore(found->prompt == Prompt::Core);
            return;
        }
    }
}

// The console's echo of what the link typed comes back first: only there is it
// taken away. Bytes that look like the echo are held until the echoed line is
// complete; the first byte that differs shows they were console output after all.
QByteArray SPortConnector::withoutEcho(const QByteArray &chunk)
{
    qsizetype at = 0;
    while (at < chunk.size() && !expectedEcho.isEmpty()) {
        const char expected = expectedEcho.front();
        if (chunk.at(at) == expected) {
            echoSeen += chunk.at(at++);
            expectedEcho.remove(0, 1);
        } else if (expected == '\n') {
            expectedEcho.remove(0, 1);
        } else {
            expectedEcho.clear();
            return std::exchange(echoSeen, QByteArray()) + chunk.mid(at);
        }
        if (expected == '\n')
            echoSeen.clear();
    }
    if (expectedEcho.isEmpty())
        echoSeen.clear();
    return chunk.mid(at);
}

// A terminal echoes the return of a typed line as "\r\n".
void SPortConnector::typeLine(const QByteArray &line)
{
    writeToPort(line);
    expectedEcho += QByteArray(line).replace("\r", "\r\n");
}

void SPortConnector::refuseLogin()
{
    receiveBuffer->clear();
    timer.stop();
    state = State::Rejected;
    disconnect(&serial, &QSerialPort::readyRead, this, nullptr);
    closePort();
    QPointer<SPortConnector> self(this);
    if (!rejoining)
        emit stopSpinner();
    if (!self)
        return;
    emit sendTxtDialog(
            boxWarning, tr("Не удалось авторизоваться"),
            tr("Не верные данные для авторизации.\nПроверьте пароль и логин и попробуйте "
               "снова"));
}

// Everything changes state before the signals go out: the reboot notice of the
// main window is a modal box, and the link must already be Online while it stands.
void SPortConnector::startCore(bool coreRuns)
{
    state = State::Online;
    timer.stop();
    setTimerSlot(&SPortConnector::Ping);
    timer.start(keepAlivePeriodMs);
    writeToPort(coreStartCommand);
    // The shell switches the terminal while the core starts and drops lines typed
    // meanwhile: requests wait for the core's first CONNECT reply.
    if (!coreRuns) {
        coreStarting = true;
        firstRequestTimer.start();
    }
    initEventOptions();
    serverPowerUpCheckRequest();
    if (rejoining) {
        rejoining = false;
        emit rebootSucsess();
        return;
    }
    QPointer<SPortConnector> self(this);
    emit connectSucsessful();
    if (self)
        emit stopSpinner();
}

void SPortConnector::Ping()
{
    // Answers that stand unread behind a modal box count as well. A tick that
    // came while this one was reading has judged already and leaves this one out.
    const quint64 tick = ++keepAliveTicks;
    QPointer<SPortConnector> self(this);
    readPending();
    if (self && state == State::Online && framer.hasPending())
        parseReceivedFrames(receiveBuffer->size());
    if (!self || state != State::Online || tick != keepAliveTicks)
        return;
    if (!coreAlive) {
        reportLoss();
        return;
    }
    writeToPort(keepAliveProbe);
    coreAlive = false;
}

void SPortConnector::reportLoss()
{
    // Stopped first: a tick during the box must not report the loss again.
    timer.stop();
    state = State::Dropped;
    QPointer<SPortConnector> self(this);
    emit sendTxtDialog(boxCritical, tr("Ошибка"), tr("Потеряно соединение с устройством."));
    if (self)
        emit connectionCoreDropped();
}

// A tick that finds the link moving on in what stood unread (the login prompt
// after a reboot) leaves the judging to the next one.
void SPortConnector::timeoutConnected()
{
    if (!timer.isActive())
        return;
    const State judged = state;
    QPointer<SPortConnector> self(this);
    readPending();
    if (!self || state != judged || !timer.isActive())
        return;
    failConnection();
}

// The gateway side hung up (cable pulled, console gone): the port would only
// report errors from now on, so it closes at once and the loss is reported once.
void SPortConnector::lineLost()
{
    lineLossPending = false;
    if (!serial.isOpen())
        return;
    disconnect(&serial, &QSerialPort::readyRead, this, nullptr);
    dropHeldWrites();
    serial.close();
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
    disconnect(&serial, &QSerialPort::readyRead, this, nullptr);
    closePort();
    QPointer<SPortConnector> self(this);
    emit stopSpinner();
    if (!self)
        return;
    emit sendTxtDialog(boxWarning, tr("Ошибка подключения к порту: ") + portName,
                       tr("Не удалось подключится к базовой станции.\nВозможно выбранный COM порт "
                          "недоступен."));
    if (self)
        emit connectionFailure();
}

void SPortConnector::takeReplies(const QByteArray &chunk)
{
    writeHistoryLog(historyInfo, QStringLiteral("Read logs - ") + QString::fromUtf8(chunk));
    // Nothing before the old end can hold a "]}": every one was cut when it arrived.
    const qsizetype searchFrom = receiveBuffer->size() - 1;
    receiveBuffer->append(chunk);
    if (chunk.contains('}') || framer.hasPending())
        parseReceivedFrames(searchFrom);
}

// Replies cut earlier may still wait: a reply's box (the notice of reply 930) stood
// while the reply after it (50) came in the same read.
void SPortConnector::parseReceivedFrames(qsizetype searchFrom)
{
    if (!framer.cutFrame(*receiveBuffer, searchFrom) && !framer.hasPending())
        return;
    writeHistoryLog(historyInfo, QStringLiteral("Seraching types by protocol."));
    QPointer<SPortConnector> self(this);
    ReplyFramer::Reply reply;
    while ((state == State::Online || state == State::Dropped) && framer.takeNext(reply)) {
        writeHistoryLog(historyInfo,
                        QStringLiteral("Finded - ") + reply.type + QStringLiteral("  ")
                                + reply.message);
        dispatchByType(reply.type, reply.message);
        if (!self)
            return;
    }
}

void SPortConnector::dispatchByType(QString type, QString message)
{
    const QString payload = ReplyFramer::payloadOf(message);
    if (type.contains(QLatin1String("CONNECT"))) {
        releaseHeldWrites();
        const QStringList parts = payload.split(QLatin1Char(' '));
        coreAlive = parts.first().toInt() != 0;
        if (parts.size() >= 2)
            emit gatewayModel(parts.last().toInt());
    } else if (type.contains(QLatin1String("LOGS"))) {
        emit sendLoRaLogs(payload);
    } else if (type.contains(QLatin1String("RESPONSE"))) {
        parsingMessageInResponse(withoutTrailingSpace(payload));
    } else if (type.contains(QLatin1String("ERROR"))) {
        handleError(withoutTrailingSpace(payload));
    }
}

void SPortConnector::parsingMessageInResponse(QString message)
{
    constexpr qsizetype codeOnlyLength = 3;
    int code = 0;
    QString text;
    if (message.size() <= codeOnlyLength) {
        code = message.toInt();
        text = message;
    } else {
        const qsizetype space = message.indexOf(QLatin1Char(' '));
        code = message.left(space + 1).toInt();
        text = message.mid(space + 1);
    }
    writeHistoryLog(historyInfo,
                    QStringLiteral("Получен ответ. Код - %1, сообщение - %2").arg(code).arg(text));
    // A copy: a nested event loop inside the handler may refill the table.
    const std::function<void(QString)> handler = eventOptions.value(code);
    if (!handler) {
        qDebug() << "Неизвестный ключ" << code;
        writeHistoryLog(historyError,
                        QStringLiteral("parsingMessageInResponse - Неизвестный ключ %1").arg(code));
        return;
    }
    handler(text);
}

void SPortConnector::handleError(QString message)
{
    constexpr qsizetype codeOnlyLength = 4;
    int code = 0;
    QString detail;
    if (message.size() <= codeOnlyLength) {
        code = message.toInt();
        detail = message;
    } else {
        const qsizetype space = message.indexOf(QLatin1Char(' '));
        code = message.left(space + 1).toInt();
        detail = message.mid(space + 1).replace(QLatin1Char(' '), QLatin1Char('\n'));
    }

    QPointer<SPortConnector> self(this);
    QString text;
    switch (code) {
    case 1005:
        text = tr("Служба lora_pkt_fwd не запущена.");
        break;
    case 1006:
        text = tr("Не удалось открыть файл .ovpn для записи.");
        break;
    case 1007: {
        text = tr("Не удалось получить некоторые настройки.\nКод ошибки: %1").arg(detail);
        QJsonObject empty;
        emit resivedSettings(&empty);
        break;
    }
    case 1008:
        text = tr("Не удалось установить некоторые настройки.\nКод ошибки: %1").arg(detail);
        emit unlockApplyBTN();
        break;
    case 1009:
        text = tr("Не удалось активировать сервис OpenVPN.");
        break;
    case 1010:
        text = tr("Не удалось запустить сервис OpenVPN.");
        break;
    case 9909:
        text = tr("Сервис OpenVPN уже активирован.");
        break;
    case 9910:
        text = tr("Сервис OpenVPN уже запущен.");
        break;
    default:
        text = tr("В приложении возникла ошибка. Код ошибки: %1").arg(code);
        break;
    }
    if (self)
        emit sendTxtDialog(boxCritical, tr("Ошибка"), text);
}

void SPortConnector::initEventOptions()
{
    const QString settingsTitle = tr("Настройки");
    const QString vpnTitle = QStringLiteral("VPN config");
    const QString forwarderTitle = QStringLiteral("Lora_Pkt_Fwd");

    eventOptions.insert(10, [this](QString) {
        clearReceiveBuffer();
        emit readyToGetOVPN();
    });
    eventOptions.insert(11, [this, vpnTitle](QString) {
        clearReceiveBuffer();
        resumeLogStream();
        emit sendTxtDialog(boxInformation, vpnTitle, tr("Передача файла завершена"));
    });
    eventOptions.insert(20, [this](QString text) { serverPowerUpCheckResponce(text); });
    eventOptions.insert(21, [this](QString) { serverPowerUpCheckRequest(); });
    eventOptions.insert(30, [this, settingsTitle](QString) {
        emit sendTxtDialog(boxInformation, settingsTitle, tr("Настройки LoRa успешно сброшены!"));
    });
    eventOptions.insert(31, [this, settingsTitle](QString) {
        QPointer<SPortConnector> self(this);
        emit sendTxtDialog(boxInformation, settingsTitle, tr("Настройки применены!"));
        if (self)
            emit unlockApplyBTN();
    });
    eventOptions.insert(32, [this, settingsTitle](QString) {
        emit sendTxtDialog(boxInformation, settingsTitle,
                           tr("Настройки базовой станции успешно сброшены!"));
    });
    eventOptions.insert(33, [this](QString text) {
        QJsonObject settings = QJsonDocument::fromJson(text.toUtf8()).object();
        emit resivedSettings(&settings);
    });
    eventOptions.insert(40, [this](QString) {
        clearReceiveBuffer();
        logsActive = true;
    });
    eventOptions.insert(45, [this](QString text) {
        emit recivedStatusLoRaModules(text.toInt() != singleModuleState);
    });
    eventOptions.insert(46, [this, forwarderTitle](QString) {
        emit sendTxtDialog(boxInformation, forwarderTitle,
                           tr("Дополнительный модуль LoRa запущен!"));
    });
    eventOptions.insert(47, [this, forwarderTitle](QString) {
        emit sendTxtDialog(boxInformation, forwarderTitle,
                           tr("Дополнительный модуль LoRa остановлен!"));
    });
    eventOptions.insert(50, [this](QString) { beginReboot(); });
    eventOptions.insert(60, [this, vpnTitle](QString) {
        resumeLogStream();
        emit sendTxtDialog(boxInformation, vpnTitle, tr("Сервис OpenVPN активирован."));
    });
    eventOptions.insert(61, [this, vpnTitle](QString) {
        resumeLogStream();
        emit sendTxtDialog(boxInformation, vpnTitle, tr("Сервис OpenVPN запущен."));
    });
    eventOptions.insert(62, [this](QString text) { emit openVPNState(text.toInt()); });
    eventOptions.insert(930, [this, settingsTitle](QString) {
        emit sendTxtDialog(boxInformation, settingsTitle,
                           tr("Базовая станция будет перезагружена."));
    });
}

void SPortConnector::serverPowerUpCheckResponce(QString Message)
{
    constexpr int sdCardMissingFlag = 1;
    const QStringList sections = Message.split(QLatin1Char(' '));
    const auto section = [&sections](int index) {
        return index < sections.size() ? sections.at(index).toInt() : 0;
    };
    const bool enable = section(0) != 0;
    const bool start = section(1) != 0;
    const bool sdMissing = section(2) == sdCardMissingFlag;

    QPointer<SPortConnector> self(this);
    emit serverStatusResponse(enable, start);
    if (!self)
        return;
    if (serverCheckPending && sdMissing) {
        serverCheckPending = false;
        emit sendTxtDialog(
                boxWarning, tr("Ошибка"),
                tr("Локальный LoRaWAN сервер не запущен, поскольку отсутсвует SD накопитель"));
        if (!self)
            return;
    }
    resumeLogStream();
}

// The reader and the timer move before anything is emitted, and the bytes that
// came after reply 50 in the same reads are the start of the boot output.
void SPortConnector::beginReboot()
{
    QByteArray afterReply = framer.takeRest().toUtf8();
    afterReply += *receiveBuffer;
    receiveBuffer->clear();
    dropHeldWrites();
    stopGetPacketForwarderLogs();
    state = State::Rebooting;
    setReader(&SPortConnector::readRebootLogs);
    setTimerSlot(&SPortConnector::timeoutConnected);
    timer.start(rebootTimeoutMs);
    stalledReadTimer.start();
    bootDecoder.resetState();

    QPointer<SPortConnector> self(this);
    emit disableInterface();
    if (!self || state != State::Rebooting)
        return;
    if (!afterReply.trimmed().isEmpty())
        takeBootOutput(afterReply);
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

void SPortConnector::pauseLogStream()
{
    if (!logsActive)
        return;
    clearReceiveBuffer();
    writeToPort(logsHideRequest);
}

void SPortConnector::resumeLogStream()
{
    if (!logsActive)
        return;
    clearAndWrite(logsShowRequest);
}

void SPortConnector::getCurrentSettings()
{
    QPointer<SPortConnector> self(this);
    emit blockRequestBTN();
    if (!self)
        return;
    pauseLogStream();
    clearAndWrite(readRequest);
}

void SPortConnector::sendSettings(QByteArray json)
{
    if (refusesArgument(json))
        return;
    pauseLogStream();
    clearAndWrite(QStringLiteral("REQUEST.{[--25 %1]}\r")
                          .arg(QString::fromUtf8(frameSafeJson(json)))
                          .toUtf8());
}

void SPortConnector::resetDefaultSettings()
{
    pauseLogStream();
    if (serial.isOpen())
        clearAndWrite(resetAllRequest);
}

void SPortConnector::resetLoRaDefaultSettings()
{
    pauseLogStream();
    if (serial.isOpen())
        clearAndWrite(resetLoRaRequest);
}

void SPortConnector::rebootGateway()
{
    writeToPort(rebootRequest);
}

void SPortConnector::serverPowerUpCheckRequest()
{
    pauseLogStream();
    writeToPort(serverStateRequest);
}

void SPortConnector::localServerEnableRequest(bool Enable)
{
    pauseLogStream();
    writeToPort(Enable ? serverEnableRequest : serverDisableRequest);
    serverCheckPending = true;
}

void SPortConnector::localServerStartRequest(bool Start)
{
    pauseLogStream();
    writeToPort(Start ? serverStartRequest : serverStopRequest);
    serverCheckPending = true;
}

void SPortConnector::startGetPacketForwarderLogs()
{
    clearAndWrite(logsStartRequest);
}

void SPortConnector::stopGetPacketForwarderLogs()
{
    if (!logsActive)
        return;
    clearAndWrite(logsStopRequest);
    logsActive = false;
}

void SPortConnector::requestLoRaModulesState()
{
    clearAndWrite(modulesStateRequest);
}

void SPortConnector::runPacketForwarder(bool doubleModule)
{
    clearAndWrite(doubleModule ? doubleModuleRequest : singleModuleRequest);
    logsActive = false;
}

void SPortConnector::runOVPNFileToGW(QString FilePath)
{
    const QByteArray name = FilePath.section(QLatin1Char('/'), -1, -1).toUtf8();
    if (refusesArgument(name))
        return;
    pauseLogStream();
    writeToPort(requestWithArgument(40, name));
}

void SPortConnector::sendOVPNFileToGW(QByteArray Data)
{
    writeToPort(Data + promptRequest);
}

void SPortConnector::activateOVPNConfig(QString name)
{
    if (!refusesArgument(name.toUtf8()))
        writeToPort(requestWithArgument(41, name.toUtf8()));
}

void SPortConnector::runOVPNConfig(QString name)
{
    if (!refusesArgument(name.toUtf8()))
        writeToPort(requestWithArgument(42, name.toUtf8()));
}

void SPortConnector::requestOVPNState(QString name)
{
    if (!refusesArgument(name.toUtf8()))
        writeToPort(requestWithArgument(43, name.toUtf8()));
}

// A line break would end the request line early and send the rest as a line of its own.
bool SPortConnector::refusesArgument(const QByteArray &argument)
{
    if (!argument.contains('\r') && !argument.contains('\n'))
        return false;
    writeHistoryLog(historyWarning,
                    QStringLiteral("Запрос не отправлен: перевод строки в аргументе - %1")
                            .arg(QString::fromUtf8(argument)));
    return true;
}

// The port queues the bytes and writes them in order from the event loop.
void SPortConnector::writeToPort(const QByteArray &bytes)
{
    if (!serial.isOpen())
        return;
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
    const QByteArray held = std::exchange(heldWrites, QByteArray());
    if (!held.isEmpty())
        writeToPort(held);
}

void SPortConnector::dropHeldWrites()
{
    coreStarting = false;
    firstRequestTimer.stop();
    heldWrites.clear();
}

// What arrives next starts afresh, usually with the echo of the line written now.
void SPortConnector::clearReceiveBuffer()
{
    receiveBuffer->clear();
    framer.restartLine();
}

void SPortConnector::clearAndWrite(const QByteArray &bytes)
{
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
