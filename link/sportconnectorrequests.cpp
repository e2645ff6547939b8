#include "link/sportconnector.h"

#include "link/historylog.h"
#include "link/sessionwatch.h"
#include "link/sportconnectorprivate.h"

#include <QByteArrayView>

#include <climits>
#include <utility>

using namespace SPortConnectorPrivate;

namespace {

// What the gateway takes to answer an announcement, and a body after the line carried it.
constexpr int uploadReplyTimeoutMs = 15000;
// Start bit, eight data bits, stop bit.
constexpr int bitsPerByte = 10;
constexpr qint64 msPerSecond = 1000;

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

} // namespace

void SPortConnector::pauseLogStream()
{
    if (!logsActive)
        return;
    clearAndWrite(logsHideRequest);
}

void SPortConnector::resumeLogStream()
{
    if (!logsActive)
        return;
    clearAndWrite(logsShowRequest);
}

void SPortConnector::getCurrentSettings()
{
    const SessionWatch watch(this);
    emit blockRequestBTN();
    if (!watch.stands())
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

// From the announcement on, the gateway takes every byte as the file's content until
// the end marker: other requests wait until the body has gone (writeToPort).
void SPortConnector::runOVPNFileToGW(QString FilePath)
{
    const QByteArray name = FilePath.section(QLatin1Char('/'), -1, -1).toUtf8();
    if (refusesArgument(name))
        return;
    if (upload != Upload::None) {
        record(historyWarning,
                        QStringLiteral("Запрос не отправлен: файл %1 ещё передаётся - %2")
                                .arg(uploadName, QString::fromUtf8(name)));
        return;
    }
    pauseLogStream();
    writeToPort(requestWithArgument(40, name));
    if (!serial.isOpen() || closer)
        return;
    upload = Upload::Announced;
    uploadName = QString::fromUtf8(name);
    uploadTimer.start(uploadReplyTimeoutMs);
}

void SPortConnector::sendOVPNFileToGW(QByteArray Data)
{
    const bool announced = holdsForUpload();
    if (announced)
        upload = Upload::Confirming;
    writeToPort(Data + promptRequest);
    // Its name and size only: the content is the operator's secret.
    record(historyInfo,
                    QStringLiteral("Отправлен файл %1: %2 байт")
                            .arg(announced ? uploadName : QString())
                            .arg(Data.size()));
    consoleMasker.expectEcho(QString::fromUtf8(Data + promptRequest));
    if (!announced)
        return;
    const QByteArray held = std::exchange(uploadHeld, QByteArray());
    if (!held.isEmpty())
        writeToPort(held);
    const qint64 lineTimeMs
            = Data.size() * bitsPerByte * msPerSecond / qMax<qint32>(1, serial.baudRate());
    uploadTimer.start(int(qMin<qint64>(lineTimeMs + uploadReplyTimeoutMs, INT_MAX)));
}

bool SPortConnector::isUploading() const
{
    return upload != Upload::None;
}

bool SPortConnector::holdsForUpload() const
{
    return upload == Upload::Announced || upload == Upload::Sending;
}

void SPortConnector::endUpload(bool delivered)
{
    if (upload == Upload::None)
        return;
    uploadTimer.stop();
    upload = Upload::None;
    const QByteArray held = std::exchange(uploadHeld, QByteArray());
    if (!held.isEmpty())
        writeToPort(held);
    emit uploadEnded(delivered);
}

// The line is closing or the gateway restarts: nothing waits any more.
void SPortConnector::dropUpload()
{
    uploadTimer.stop();
    upload = Upload::None;
    uploadHeld.clear();
}

// Whatever the gateway took since the announcement ends as the file here, so that it
// hears requests again.
void SPortConnector::uploadTimedOut()
{
    if (upload == Upload::None)
        return;
    if (holdsForUpload()) {
        upload = Upload::Confirming;
        writeToPort(fileEndLine);
    }
    const SessionWatch watch(this);
    endUpload(false);
    if (watch.stands())
        emit sendTxtDialog(boxWarning, QStringLiteral("VPN config"),
                           tr("Базовая станция не подтвердила приём файла %1.").arg(uploadName));
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
    // On one line, so that the masker sees the whole document the argument may be.
    const QString shown = QString::fromUtf8(argument)
                                  .replace(QLatin1Char('\r'), QLatin1String("\\r"))
                                  .replace(QLatin1Char('\n'), QLatin1String("\\n"));
    record(historyWarning,
                    HistoryMasker::maskAlone(
                            QStringLiteral("Запрос не отправлен: перевод строки в аргументе - %1")
                                    .arg(shown)));
    return true;
}
