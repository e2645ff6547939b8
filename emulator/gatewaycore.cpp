#include "emulator/gatewaycore.h"

#include "emulator/logstream.h"
#include "emulator/replypacer.h"
#include "emulator/surveytraffic.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {
constexpr int oneModule = 8;
constexpr int twoModules = 16;
constexpr int activatedDigit = 10;
constexpr int runningDigit = 1;
const QByteArray requestStart = "REQUEST.{[";
const QByteArray requestEnd = "]}";
const QString configSuffix = QStringLiteral(".ovpn");
// Keys a real core names when reading or writing them failed.
const QByteArray failedKeys = "121 211";

QByteArray number(int value)
{
    return QByteArray::number(value);
}
} // namespace

GatewayCore::GatewayCore(int modelCode, ReplyPacer *pacer, QObject *parent)
    : QObject(parent), model(modelCode), pacer(pacer), logs(new LogStream(this)), store(modelCode),
      moduleState(modelCode >= 2 ? twoModules : oneModule)
{
    connect(logs, &LogStream::line, this,
            [this](const QString &text) { this->pacer->reply("LOGS", text.toUtf8() + '\n'); });
    // ТК-0 has no GPS receiver; the ТК-3Max's concentrator reports rssis and foff.
    logs->surveyTraffic().setReceivers(modelCode != 0, modelCode == 3);
}

int GatewayCore::modelCode() const
{
    return model;
}

void GatewayCore::start(bool announceStart)
{
    isRunning = true;
    pendingUpload.clear();
    if (announceStart)
        announce();
}

void GatewayCore::end()
{
    isRunning = false;
    pendingUpload.clear();
    logs->stop();
}

bool GatewayCore::running() const
{
    return isRunning;
}

void GatewayCore::handleLine(const QByteArray &line)
{
    const QByteArray text = line.trimmed();
    if (text.startsWith(requestStart) && text.endsWith(requestEnd)) {
        const QString request = QString::fromUtf8(text.mid(
                requestStart.size(), text.size() - requestStart.size() - requestEnd.size()));
        emit requestReceived(request);
        handleRequest(request);
        return;
    }
    if (text == "1") {
        if (!keepAliveSilent)
            announce();
        return;
    }
    // A second "KVNCore" or a bare return reaches a core that already runs.
    if (text.isEmpty() || text == "KVNCore")
        announce();
}

void GatewayCore::finishUpload(const QByteArray &content)
{
    const QString name = pendingUpload;
    pendingUpload.clear();
    if (name.isEmpty())
        return;
    files.insert(name, content);
    if (name.endsWith(configSuffix) && !ovpnConfigs.contains(name))
        ovpnConfigs.insert(name, 0);
    emit fileStored(name, content);
    respond("11");
}

QString GatewayCore::uploadName() const
{
    return pendingUpload;
}

void GatewayCore::setKeepAliveSilent(bool silent)
{
    keepAliveSilent = silent;
}

void GatewayCore::setErrorReply(const QString &command, int errorCode)
{
    errorReplies.insert(command, errorCode);
}

void GatewayCore::clearErrorReplies()
{
    errorReplies.clear();
}

void GatewayCore::setForwarderRunning(bool running)
{
    forwarderRunning = running;
    if (!running)
        logs->stop();
}

void GatewayCore::setIgnoredKeys(const QStringList &keys)
{
    store.setIgnoredKeys(keys);
}

QJsonObject GatewayCore::document() const
{
    QJsonObject document = store.document();
    QJsonArray configs;
    for (auto it = ovpnConfigs.constBegin(); it != ovpnConfigs.constEnd(); ++it) {
        if (it.key().endsWith(configSuffix))
            configs.append(QJsonObject{{"1", it.key()}});
    }
    document.insert("301", configs);
    return document;
}

void GatewayCore::setDocument(const QJsonObject &document)
{
    QJsonObject held = document;
    const QJsonArray configs = held.take("301").toArray();
    for (const QJsonValue &entry : configs) {
        const QJsonObject object = entry.toObject();
        if (object.isEmpty())
            continue;
        const QString name = object.value(object.keys().first()).toString();
        if (!name.isEmpty() && !ovpnConfigs.contains(name))
            ovpnConfigs.insert(name, 0);
    }
    store.setDocument(held);
}

bool GatewayCore::serverEnabled() const
{
    return enabled;
}

bool GatewayCore::serverStarted() const
{
    return started;
}

bool GatewayCore::sdCardMissing() const
{
    return sdMissing;
}

void GatewayCore::setServerState(bool enable, bool start, bool missing)
{
    enabled = enable;
    started = start;
    sdMissing = missing;
}

int GatewayCore::ovpnState(const QString &name) const
{
    return ovpnConfigs.value(name, -1);
}

int GatewayCore::lastOvpnState() const
{
    return lastOvpn;
}

void GatewayCore::setOvpnState(const QString &name, int state)
{
    ovpnConfigs.insert(name, state);
}

int GatewayCore::loraModuleState() const
{
    return moduleState;
}

QMap<QString, QByteArray> GatewayCore::storedFiles() const
{
    return files;
}

LogStream *GatewayCore::logStream() const
{
    return logs;
}

void GatewayCore::announce()
{
    pacer->reply("CONNECT", "1 " + number(model));
}

void GatewayCore::respond(const QByteArray &payload)
{
    pacer->reply("RESPONSE", payload);
}

void GatewayCore::fail(int errorCode, const QByteArray &detail)
{
    pacer->reply("ERROR", detail.isEmpty() ? number(errorCode) : number(errorCode) + ' ' + detail);
}

bool GatewayCore::replyConfiguredError(const QString &body)
{
    int code = errorReplies.value(body, 0);
    if (code == 0)
        code = errorReplies.value(body.section(' ', 0, 0), 0);
    if (code == 0)
        return false;
    fail(code, code == 1007 || code == 1008 ? failedKeys : QByteArray());
    return true;
}

void GatewayCore::handleRequest(const QString &request)
{
    if (!request.startsWith(QLatin1String("--"))) {
        fail(unknownRequestError);
        return;
    }
    const QString body = request.mid(2);
    const QString command = body.section(' ', 0, 0);
    const QString argument = body.section(' ', 1);
    if (replyConfiguredError(body))
        return;

    if (command == QLatin1String("26")) {
        respond("33 " + SettingsStore::frameSafeJson(document()));
    } else if (command == QLatin1String("25")) {
        const QJsonDocument incoming = QJsonDocument::fromJson(argument.toUtf8());
        if (!incoming.isObject()) {
            fail(1008);
            return;
        }
        store.merge(incoming.object());
        respond("31");
    } else if (command == QLatin1String("20")) {
        store.resetAll();
        respond("32");
    } else if (command == QLatin1String("21")) {
        store.resetLoRa();
        respond("30");
    } else if (command == QLatin1String("90")) {
        respond("930");
        end();
        emit rebootRequested();
    } else if (command == QLatin1String("10")) {
        serverCommand(argument);
    } else if (command == QLatin1String("50")) {
        forwarderCommand(argument);
    } else if (command == QLatin1String("40")) {
        // The name becomes a file name on the gateway: no paths.
        if (argument.isEmpty() || argument.contains('/') || argument == QLatin1String(".")
            || argument == QLatin1String("..")) {
            fail(1006);
            return;
        }
        pendingUpload = argument;
        emit uploadAnnounced(argument);
        respond("10");
    } else if (command == QLatin1String("41")) {
        activateConfig(argument);
    } else if (command == QLatin1String("42")) {
        runConfig(argument);
    } else if (command == QLatin1String("43")) {
        reportConfig(argument);
    } else if (command == QLatin1String("0000")) {
        end();
        emit ended();
    } else {
        fail(unknownRequestError);
    }
}

void GatewayCore::serverCommand(const QString &word)
{
    if (word == QLatin1String("State")) {
        respond("20 " + number(enabled) + ' ' + number(started) + ' ' + number(sdMissing));
        return;
    }
    if (word == QLatin1String("Enable"))
        enabled = true;
    else if (word == QLatin1String("Disable"))
        enabled = false;
    else if (word == QLatin1String("Start"))
        started = !sdMissing;
    else if (word == QLatin1String("Stop"))
        started = false;
    else {
        fail(unknownRequestError);
        return;
    }
    respond("21");
}

void GatewayCore::forwarderCommand(const QString &word)
{
    if (word == QLatin1String("Start")) {
        if (!forwarderRunning) {
            fail(1005);
            return;
        }
        respond("40");
        // Survey packets follow the plan the gateway holds now.
        logs->surveyTraffic().setChannels(SurveyTraffic::channelPlan(store.document()));
        logs->start();
    } else if (word == QLatin1String("Stop")) {
        logs->stop();
    } else if (word == QLatin1String("Hide")) {
        logs->hide();
    } else if (word == QLatin1String("Show")) {
        logs->show();
    } else if (word == QLatin1String("State")) {
        respond("45 " + number(moduleState));
    } else if (word == QLatin1String("RunX16") || word == QLatin1String("RunX8")) {
        // Restarting the forwarder ends a running stream.
        logs->stop();
        const bool both = word == QLatin1String("RunX16");
        moduleState = both ? twoModules : oneModule;
        respond(both ? "46" : "47");
    } else {
        fail(unknownRequestError);
    }
}

void GatewayCore::activateConfig(const QString &name)
{
    if (!ovpnConfigs.contains(name)) {
        fail(1009);
        return;
    }
    if (ovpnConfigs.value(name) / activatedDigit % 10 != 0) {
        fail(9909);
        return;
    }
    // One configuration is active at a time.
    for (auto it = ovpnConfigs.begin(); it != ovpnConfigs.end(); ++it)
        it.value() = 0;
    ovpnConfigs[name] = activatedDigit;
    respond("60");
}

void GatewayCore::runConfig(const QString &name)
{
    const int state = ovpnConfigs.value(name, -1);
    if (state < 0 || state / activatedDigit % 10 == 0) {
        fail(1010);
        return;
    }
    if (state % 10 != 0) {
        fail(9910);
        return;
    }
    ovpnConfigs[name] = state + runningDigit;
    respond("61");
}

void GatewayCore::reportConfig(const QString &name)
{
    lastOvpn = qMax(0, ovpnConfigs.value(name, 0));
    respond("62 " + number(lastOvpn));
}
