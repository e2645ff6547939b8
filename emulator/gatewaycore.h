#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QMap>
#include <QObject>
#include <QString>

#include "emulator/settingsstore.h"

class LogStream;
class ReplyPacer;

// The configuration core that "KVNCore" starts: answers keep-alives and
// request lines, and keeps what the requests change.
class GatewayCore : public QObject
{
    Q_OBJECT

public:
    // Code of the ERROR reply to a request the core does not know.
    static constexpr int unknownRequestError = 1000;

    GatewayCore(int modelCode, ReplyPacer *pacer, QObject *parent = nullptr);

    int modelCode() const;
    // announce: print the CONNECT reply a freshly started core sends.
    void start(bool announce);
    void end();
    bool running() const;

    // One input line while the core runs (without its "\r").
    void handleLine(const QByteArray &line);
    // The body that followed an upload announcement, without its end marker.
    void finishUpload(const QByteArray &content);
    QString uploadName() const;

    void setKeepAliveSilent(bool silent);
    void setErrorReply(const QString &command, int errorCode);
    void clearErrorReplies();
    void setForwarderRunning(bool running);
    void setIgnoredKeys(const QStringList &keys);

    // Held document plus "301", the OpenVPN configurations present.
    QJsonObject document() const;
    void setDocument(const QJsonObject &document);
    bool serverEnabled() const;
    bool serverStarted() const;
    bool sdCardMissing() const;
    void setServerState(bool enabled, bool started, bool sdMissing);
    int ovpnState(const QString &name) const;
    int lastOvpnState() const;
    void setOvpnState(const QString &name, int state);
    int loraModuleState() const;
    QMap<QString, QByteArray> storedFiles() const;
    LogStream *logStream() const;

signals:
    void requestReceived(const QString &request);
    void uploadAnnounced(const QString &name);
    void fileStored(const QString &name, const QByteArray &content);
    void rebootRequested();
    void ended();

private:
    void announce();
    void handleRequest(const QString &request);
    bool replyConfiguredError(const QString &body);
    void respond(const QByteArray &payload);
    void fail(int errorCode, const QByteArray &detail = QByteArray());
    void serverCommand(const QString &word);
    void forwarderCommand(const QString &word);
    void activateConfig(const QString &name);
    void runConfig(const QString &name);
    void reportConfig(const QString &name);

    int model;
    ReplyPacer *pacer;
    LogStream *logs;
    SettingsStore store;
    bool isRunning = false;
    bool keepAliveSilent = false;
    bool forwarderRunning = true;
    bool enabled = false;
    bool started = false;
    bool sdMissing = false;
    int moduleState;
    int lastOvpn = -1;
    QString pendingUpload;
    QMap<QString, int> errorReplies;
    QMap<QString, int> ovpnConfigs;
    QMap<QString, QByteArray> files;
};
