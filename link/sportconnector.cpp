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

namespace {

constexpr int connectTimeoutMs = 30000;
constexpr int keepAlivePeriodMs = 60000;
constexpr int rebootTimeoutMs = 180000;
// Writes are queued by the port and leave in order; only the closing lines are
// waited for, because the port is closed right after them.
constexpr int closingWriteTimeoutMs = 5000;

constexpr int historyInfo = 0;
constexpr int historyError = 2;

constexpr int boxInformation = 1;
constexpr int boxWarning = 2;
constexpr int boxCritical = 3;

// Reply 45 reports 8 for a gateway with one LoRa module.
constexpr int singleModuleState = 8;

const QByteArray loginPrompt = QByteArrayLiteral("login:");
const QByteArray passwordPrompt = QByteArrayLiteral("Password:");
const QByteArray loginRefused = QByteArrayLiteral("Login incorrect");
const QByteArray shellPrompt = QByteArrayLiteral("root@");
const QByteArray coreAnnouncement = QByteArrayLiteral("CONNECT.");

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

QByteArray requestWithArgument(int command, const QString &argument)
{
    return QStringLiteral("REQUEST.{[--%1 ").arg(command).toUtf8() + argument.toUtf8()
            + QByteArrayLiteral("]}\r");
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
      replyPattern(ReplyFramer::replyPatternText), timer(this), framer(replyPattern),
      requestPattern(QStringLiteral("REQUEST\\.\\{\\[.*\\s*\\]\\}")),
      bootDecoder(QStringConverter::Utf8)
{
    serial.setBaudRate(baudRate, QSerialPort::AllDirections);
    serial.setDataBits(QSerialPort::Data8);
    serial.setParity(QSerialPort::NoParity);
    serial.setStopBits(QSerialPort::OneStop);
    serial.setFlowControl(QSerialPort::SoftwareControl);
    timer.setObjectName(QStringLiteral("linkTimer"));
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
    receiveBuffer->clear();
    setTimerSlot(&SPortConnector::timeoutConnected);
    timer.start(connectTimeoutMs);
    setReader(&SPortConnector::readDataConnection);
    writeToPort(promptRequest);
}

void SPortConnector::rejoinToGateway()
{
    rejoining = true;
    state = State::Rejoining;
    setReader(&SPortConnector::readDataConnection);
    writeToPort(promptRequest);
}

void SPortConnector::disconnectFromGatewayPort()
{
    timer.stop();
    disconnect(&timer, &QTimer::timeout, this, nullptr);
    disconnect(&serial, &QSerialPort::readyRead, this, nullptr);
    framer.clear();
    state = State::Closed;
    if (!serial.isOpen())
        return;
    serial.write(closeRequest);
    serial.write(shellExit);
    closePort();
}

// Queued bytes leave before the port closes, within a bounded wait.
void SPortConnector::closePort()
{
    const QDeadlineTimer deadline(closingWriteTimeoutMs);
    while (serial.bytesToWrite() > 0 && !deadline.hasExpired()) {
        if (!serial.waitForBytesWritten(int(deadline.remainingTime())))
            break;
    }
    serial.close();
}

void SPortConnector::readDataConnection()
{
    readPort();
}

void SPortConnector::handlerResivedData()
{
    readPort();
}

void SPortConnector::readRebootLogs()
{
    readPort();
}

// readyRead is not emitted again while one of its slots is on the stack (a reply
// handler's modal box), so the reader also takes what came in meanwhile, and
// hands each chunk to the state it then finds: a chunk may end the login or
// start the reboot, and the next one belongs to the new state.
void SPortConnector::readPort()
{
    QPointer<SPortConnector> self(this);
    while (serial.isOpen() && serial.bytesAvailable() > 0) {
        const QByteArray chunk = serial.readAll();
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
        if (!self)
            return;
    }
}

void SPortConnector::takeLoginOutput(const QByteArray &chunk)
{
    const QString chunkText = QString::fromUtf8(chunk);
    QString fresh = chunkText;
    if (!receiveBuffer->isEmpty())
        fresh.remove(QString::fromUtf8(*receiveBuffer));
    receiveBuffer->append(fresh.toUtf8());
    writeHistoryLog(historyInfo, QStringLiteral("Read logs - ") + chunkText);

    // Every prompt test looks at the buffer as it stood when the chunk arrived,
    // so several prompts in one chunk are all answered, in the fixed order.
    const QByteArray seen = *receiveBuffer;
    if (seen.contains(loginPrompt) && !login.isEmpty()) {
        receiveBuffer->clear();
        writeToPort(login);
        login.clear();
    }
    if (seen.contains(passwordPrompt) && !password.isEmpty()) {
        receiveBuffer->clear();
        writeToPort(password + promptRequest);
        password.clear();
    }
    if (seen.contains(loginRefused)) {
        receiveBuffer->clear();
        timer.stop();
        state = State::Rejected;
        disconnect(&serial, &QSerialPort::readyRead, this, &SPortConnector::readDataConnection);
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
        return;
    }
    if (seen.contains(shellPrompt) || seen.contains(coreAnnouncement)) {
        receiveBuffer->clear();
        setReader(&SPortConnector::handlerResivedData);
        startCore();
    }
}

// Everything changes state before the signals go out: the reboot notice of the
// main window is a modal box, and the link must already be Online while it stands.
void SPortConnector::startCore()
{
    state = State::Online;
    timer.stop();
    setTimerSlot(&SPortConnector::Ping);
    timer.start(keepAlivePeriodMs);
    writeToPort(coreStartCommand);
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
    readPort();
    if (!self || state != State::Online || tick != keepAliveTicks)
        return;
    if (!coreAlive) {
        // Stopped first: a tick during the box must not report the loss again.
        timer.stop();
        state = State::Dropped;
        emit sendTxtDialog(boxCritical, tr("Ошибка"), tr("Потеряно соединение с устройством."));
        if (self)
            emit connectionCoreDropped();
        return;
    }
    writeToPort(keepAliveProbe);
    coreAlive = false;
}

void SPortConnector::timeoutConnected()
{
    if (!timer.isActive())
        return;
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
    if (chunk.contains('}'))
        parseReceivedFrames(searchFrom);
}

void SPortConnector::parseReceivedFrames(qsizetype searchFrom)
{
    if (!framer.cutFrame(*receiveBuffer, searchFrom))
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
        receiveBuffer->clear();
        emit readyToGetOVPN();
    });
    eventOptions.insert(11, [this, vpnTitle](QString) {
        receiveBuffer->clear();
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
        receiveBuffer->clear();
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
    stopGetPacketForwarderLogs();
    state = State::Rebooting;
    setReader(&SPortConnector::readRebootLogs);
    setTimerSlot(&SPortConnector::timeoutConnected);
    timer.start(rebootTimeoutMs);
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
    receiveBuffer->clear();
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
    pauseLogStream();
    clearAndWrite(QStringLiteral("REQUEST.{[--25 %1]}\r").arg(QString::fromUtf8(json)).toUtf8());
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
    pauseLogStream();
    writeToPort(requestWithArgument(40, FilePath.section(QLatin1Char('/'), -1, -1)));
}

void SPortConnector::sendOVPNFileToGW(QByteArray Data)
{
    writeToPort(Data + promptRequest);
}

void SPortConnector::activateOVPNConfig(QString name)
{
    writeToPort(requestWithArgument(41, name));
}

void SPortConnector::runOVPNConfig(QString name)
{
    writeToPort(requestWithArgument(42, name));
}

void SPortConnector::requestOVPNState(QString name)
{
    writeToPort(requestWithArgument(43, name));
}

// The port queues the bytes and writes them in order from the event loop.
void SPortConnector::writeToPort(const QByteArray &bytes)
{
    if (serial.isOpen())
        serial.write(bytes);
}

void SPortConnector::clearAndWrite(const QByteArray &bytes)
{
    receiveBuffer->clear();
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
