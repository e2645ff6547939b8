#pragma once

#include "link/reconnectwait.h"
#include "link/sportconnector.h"
#include "session/applyoutcome.h"
#include "session/gatewayidentity.h"
#include "settings/settingsrules.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

// One gateway session, for the window and the command line alike: the link and
// its adapter, the state of the connection and of the one exchange under way, the
// line speed, the time-outs, the read-back of every apply and the way back after
// a pulled adapter. It shows nothing; it tells what happened, and its owner says it.
// Tests fire its timers by name: "exchangeTimer" (30 s for each answer),
// "connectionTimer" (the adapter's presence) and the wait's "returnTimer".
class GatewaySession : public QObject
{
    Q_OBJECT

public:
    enum class State {
        Disconnected,
        // The port is being opened.
        Connecting,
        LoggingIn,
        Connected,
        Reading,
        Applying,
        // Reading back what an apply wrote.
        Verifying,
        Rebooting,
        // The adapter went during the session; the session waits for it.
        WaitingForAdapter,
        // The adapter is back: logging in again and checking it is the same gateway.
        Reconnecting,
    };
    Q_ENUM(State)

    // Why a read, or a reply nobody waited for, came to nothing.
    enum class Failure { ErrorReply, DamagedReply, NoReply };
    Q_ENUM(Failure)

    static constexpr int exchangeTimeoutMs = 30000;
    // A pulled adapter is noticed by this poll at the latest, when no read error on
    // the line has told already.
    static constexpr int presencePollMs = 500;
    static constexpr int slowBaudRate = 115200;
    static constexpr int fastBaudRate = 1500000;

    // The model's line speed; 0 for a code the program does not know.
    static int baudRateOf(int modelCode);

    explicit GatewaySession(QObject *parent = nullptr);
    ~GatewaySession() override;

    // The line speed of the next connection follows the model; an unknown code
    // keeps the last known speed.
    void setModel(int modelCode);
    // A console that stays silent at the slow speed is tried once at the fast one.
    void setSpeedFallback(bool on);
    // Names the port in every history entry of this session's links: several
    // sessions of one process share the history file.
    void setHistoryTag(const QString &tag);
    // path: what the link opens; adapterId: what finds the adapter again after it
    // was pulled. The credentials live in memory until the session ends.
    void open(const QString &path, const QString &adapterId, const QByteArray &login,
              const QByteArray &password);
    // The operator ends the session: the gateway hears the closing lines.
    void close();

    State state() const { return current; }
    // The gateway takes requests: logged in, and not rebooting.
    bool isOnline() const;
    // Connected and no exchange under way.
    bool isIdle() const { return current == State::Connected; }
    // The last session ended because the gateway or its adapter went away.
    bool endedByLoss() const { return lostConnection; }
    // Another gateway came back under the adapter, or it could not be told: until a
    // read of this one, nothing may be applied.
    bool applyBlocked() const { return needsRead; }
    int baudRate() const { return lineRate; }
    QString portPath() const;
    // The link while one exists, for the boxes that talk to it; null otherwise.
    SPortConnector *link() const { return connector; }

    // Each returns false, doing nothing, unless the session is idle.
    bool read();
    // Sends what the rules make of the held document and the shown groups, then
    // reads it back; ends in applyFinished.
    bool apply(int modelCode, const QJsonObject &held, const SettingsRules::PageGroups &shown);

public slots:
    void startLogStream();
    void stopLogStream();
    void requestServerState();
    void requestModuleState();
    void resetSettings();
    void resetLoRaSettings();
    void reboot();
    void runPacketForwarder(bool doubleModule);

signals:
    void stateChanged(GatewaySession::State state);
    // The link's own words, for the owner to show or print.
    void linkMessage(int icon, const QString &title, const QString &text);
    // A new session logged in (not after a reboot or a returned adapter).
    void connected();
    void loginRefused();
    // The attempt failed: the port did not open, or (portOpened) no console answered.
    void connectionFailed(bool portOpened);
    // A new line speed is tried (the fast one after a silent console).
    void attemptStarted(int baudRate);
    void settingsRead(const QJsonObject &document);
    void applyFinished(const ApplyOutcome &outcome);
    // A read failed, or an error came that no exchange waited for (exchange None).
    void exchangeFailed(GatewaySession::State exchange, GatewaySession::Failure failure, int code,
                        const QString &text);
    // Reply 31 after its apply had been given up.
    void applyAnsweredLate();
    // applyOutcomeUnknown: an apply or its read-back was under way.
    void adapterLost(bool applyOutcomeUnknown);
    void coreLost(bool applyOutcomeUnknown);
    // The same gateway is back; current is what it holds now.
    void reconnected(const QJsonObject &current);
    // Another gateway is behind the adapter now; its gateway ID or MAC address.
    void otherGateway(const QString &name);
    // Whether the returned gateway is the same one could not be told.
    void identityUnconfirmed();
    void modelReported(int code);
    void logText(const QString &text);
    void bootText(const QString &text);
    void rebootStarted();
    void rebooted();
    void moduleStateReported(bool twoModules);

private:
    void startLink(const QString &path);
    void wireLink();
    void dropLink();
    void setState(State state);
    void endSession(bool lost);
    void loggedIn();
    void linkFailed();
    void refused();
    void forwardMessage(int icon, const QString &title, const QString &text);
    void flushMessages();
    void checkPresence();
    void loseAdapter();
    void adapterReturned(const QString &path);
    void takeModel(int code);
    void takeSettings(QJsonObject *settings);
    void takeApplied();
    void takeError(int code, const QString &detail);
    void takeDamaged();
    void exchangeTimedOut();
    void beginExchange(State exchange);
    void endExchange();
    void startVerify();
    void finishApply(ApplyOutcome::Verdict verdict, ApplyOutcome::Cause cause);
    void finishIdentityCheck(const QJsonObject &current);
    void beginReboot();
    void endReboot();
    void lostCore();
    bool recovering() const;
    // The link while it takes requests.
    SPortConnector *onlineLink() const;

    QPointer<SPortConnector> connector;
    ReconnectWait *reconnect;
    QTimer exchangeTimer;
    QTimer connectionTimer;
    State current = State::Disconnected;
    int modelCode = -1;
    int lineRate = slowBaudRate;
    bool speedFallback = false;
    bool lostConnection = false;
    bool needsRead = false;
    bool logStreamWanted = false;
    QString historyTag;
    // The link's words during an attempt: shown when it fails for good, dropped
    // when the returning adapter explains the failure and it is tried again.
    struct Message
    {
        int icon;
        QString title;
        QString text;
    };
    QList<Message> heldMessages;
    // What the last report of the gateway tells of it, and the model its link
    // reported last (each link reports it anew).
    GatewayIdentity identity;
    int linkModel = -1;
    // The apply under way.
    QJsonObject sent;
    ApplyOutcome applying;
};
