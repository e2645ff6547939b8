#include "link/sportconnector.h"

#include "link/historylog.h"
#include "link/sessionwatch.h"
#include "link/sportconnectorprivate.h"

#include <QDebug>
#include <QJsonDocument>
#include <QStringList>

using namespace SPortConnectorPrivate;

namespace {

// Reply 45 reports 8 for a gateway with one LoRa module.
constexpr int singleModuleState = 8;

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

void SPortConnector::takeReplies(const QByteArray &chunk)
{
    recordChunk(chunk);
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
    record(historyInfo, QStringLiteral("Seraching types by protocol."));
    const SessionWatch watch(this);
    ReplyFramer::Reply reply;
    while ((state == State::Online || state == State::Dropped) && framer.takeNext(reply)) {
        record(historyInfo,
                        QStringLiteral("Finded - ") + reply.type + QStringLiteral("  ")
                                + HistoryMasker::maskAlone(reply.message));
        dispatchByType(reply.type, reply.message);
        if (!watch.stands())
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
    record(historyInfo,
                    QStringLiteral("Получен ответ. Код - %1, сообщение - %2")
                            .arg(code)
                            .arg(HistoryMasker::maskAlone(text)));
    // A copy: a nested event loop inside the handler may refill the table.
    const std::function<void(QString)> handler = eventOptions.value(code);
    if (!handler) {
        qDebug() << "Неизвестный ключ" << code;
        record(historyError,
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
    if (message.size() > codeOnlyLength) {
        const qsizetype space = message.indexOf(QLatin1Char(' '));
        code = message.left(space + 1).toInt();
        detail = message.mid(space + 1);
    } else {
        code = message.toInt();
    }

    const SessionWatch watch(this);
    emit errorReply(code, detail);
    if (!watch.stands())
        return;
    if (code == 1006) {
        endUpload(false);
        if (!watch.stands())
            return;
    }
    // The request that hid the log stream has ended.
    resumeLogStream();
    if (code == 1007) {
        QJsonObject empty;
        emit resivedSettings(&empty);
    } else if (code == 1008) {
        emit unlockApplyBTN();
    }
    if (watch.stands() && outcomeBoxes)
        emit sendTxtDialog(boxCritical, tr("Ошибка"), errorText(code, detail));
}

QString SPortConnector::errorText(int code, const QString &detail)
{
    // Failed keys stand one per line; without them the code stands in their place.
    const QString keys = detail.isEmpty()
            ? QString::number(code)
            : QString(detail).replace(QLatin1Char(' '), QLatin1Char('\n'));
    switch (code) {
    case 1005:
        return tr("Служба lora_pkt_fwd не запущена.");
    case 1006:
        return tr("Не удалось открыть файл .ovpn для записи.");
    case 1007:
        return tr("Не удалось получить некоторые настройки.\nКод ошибки: %1").arg(keys);
    case 1008:
        return tr("Не удалось установить некоторые настройки.\nКод ошибки: %1").arg(keys);
    case 1009:
        return tr("Не удалось активировать сервис OpenVPN.");
    case 1010:
        return tr("Не удалось запустить сервис OpenVPN.");
    case 9909:
        return tr("Сервис OpenVPN уже активирован.");
    case 9910:
        return tr("Сервис OpenVPN уже запущен.");
    default:
        return tr("В приложении возникла ошибка. Код ошибки: %1").arg(code);
    }
}

QString SPortConnector::damagedSettingsText()
{
    return tr("Ответ базовой станции с настройками пришёл повреждённым. Запросите настройки ещё "
              "раз.");
}

void SPortConnector::setOutcomeBoxes(bool shown)
{
    outcomeBoxes = shown;
}

// Kernel lines are taken out first: a console prints them into the middle of a reply.
void SPortConnector::takeSettings(const QString &text)
{
    QJsonParseError error;
    const QJsonDocument document
            = QJsonDocument::fromJson(ReplyFramer::withoutKernelLines(text).toUtf8(), &error);
    QJsonObject settings = document.object();
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        record(
                historyWarning,
                QStringLiteral("Ответ с настройками повреждён: %1").arg(error.errorString()));
        const SessionWatch watch(this);
        emit settingsDamaged();
        if (!watch.stands())
            return;
        resumeLogStream();
        if (outcomeBoxes)
            emit sendTxtDialog(boxWarning, tr("Ошибка"), damagedSettingsText());
        if (!watch.stands())
            return;
    }
    emit resivedSettings(&settings);
}

void SPortConnector::initEventOptions()
{
    const QString settingsTitle = tr("Настройки");
    const QString vpnTitle = QStringLiteral("VPN config");
    const QString forwarderTitle = QStringLiteral("Lora_Pkt_Fwd");

    eventOptions.insert(10, [this](QString) {
        clearReceiveBuffer();
        if (upload == Upload::Announced) {
            upload = Upload::Sending;
            uploadTimer.start();
        }
        emit readyToGetOVPN();
    });
    eventOptions.insert(11, [this, vpnTitle](QString) {
        clearReceiveBuffer();
        const SessionWatch watch(this);
        endUpload(true);
        if (!watch.stands())
            return;
        resumeLogStream();
        emit sendTxtDialog(boxInformation, vpnTitle, tr("Передача файла завершена"));
    });
    eventOptions.insert(20, [this](QString text) { serverPowerUpCheckResponce(text); });
    eventOptions.insert(21, [this](QString) { serverPowerUpCheckRequest(); });
    eventOptions.insert(30, [this, settingsTitle](QString) {
        emit sendTxtDialog(boxInformation, settingsTitle, tr("Настройки LoRa успешно сброшены!"));
    });
    eventOptions.insert(31, [this, settingsTitle](QString) {
        const SessionWatch watch(this);
        emit settingsApplied();
        if (watch.stands() && outcomeBoxes)
            emit sendTxtDialog(boxInformation, settingsTitle, tr("Настройки применены!"));
        if (watch.stands())
            emit unlockApplyBTN();
    });
    eventOptions.insert(32, [this, settingsTitle](QString) {
        emit sendTxtDialog(boxInformation, settingsTitle,
                           tr("Настройки базовой станции успешно сброшены!"));
    });
    eventOptions.insert(33, [this](QString text) { takeSettings(text); });
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

// The chunk as read, without what must not be written down.
void SPortConnector::recordChunk(const QByteArray &chunk)
{
    record(historyInfo,
                    QStringLiteral("Read logs - ")
                            + consoleMasker.maskPiece(historyDecoder.decode(chunk)));
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

    const SessionWatch watch(this);
    emit serverStatusResponse(enable, start);
    if (!watch.stands())
        return;
    if (serverCheckPending && sdMissing) {
        serverCheckPending = false;
        emit sendTxtDialog(
                boxWarning, tr("Ошибка"),
                tr("Локальный LoRaWAN сервер не запущен, поскольку отсутсвует SD накопитель"));
        if (!watch.stands())
            return;
    }
    resumeLogStream();
}
