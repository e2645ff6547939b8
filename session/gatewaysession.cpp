#include "session/gatewaysession.h"

#include "link/sportconnector.h"

#include <QJsonDocument>

#include <utility>

namespace {

constexpr int modelTk3Max = 3;
constexpr int lastModelCode = 3;
// ERROR 1008: the gateway took some fields of a write and not others.
constexpr int someSettingsNotSet = 1008;

} // namespace

int GatewaySession::baudRateOf(int modelCode)
{
    if (modelCode < 0 || modelCode > lastModelCode)
        return 0;
    return modelCode == modelTk3Max ? fastBaudRate : slowBaudRate;
}

GatewaySession::GatewaySession(QObject *parent)
    : QObject(parent), reconnect(new ReconnectWait(this)), exchangeTimer(this),
      connectionTimer(this)
{
    exchangeTimer.setObjectName(QStringLiteral("exchangeTimer"));
    exchangeTimer.setSingleShot(true);
    exchangeTimer.setInterval(exchangeTimeoutMs);
    connect(&exchangeTimer, &QTimer::timeout, this, &GatewaySession::exchangeTimedOut);
    connectionTimer.setObjectName(QStringLiteral("connectionTimer"));
    connectionTimer.setInterval(presencePollMs);
    connect(&connectionTimer, &QTimer::timeout, this, &GatewaySession::checkPresence);
    connect(reconnect, &ReconnectWait::adapterReturned, this, &GatewaySession::adapterReturned);
}

// No event loop may run again to delete the link later.
GatewaySession::~GatewaySession()
{
    if (connector) {
        disconnect(connector, nullptr, this, nullptr);
        connector->disconnectFromGatewayPort();
        delete connector.data();
    }
}

void GatewaySession::setModel(int code)
{
    modelCode = code;
    if (const int rate = baudRateOf(code))
        lineRate = rate;
}

void GatewaySession::setSpeedFallback(bool on)
{
    speedFallback = on;
}

void GatewaySession::setHistoryTag(const QString &tag)
{
    historyTag = tag;
    if (connector)
        connector->setHistoryTag(tag);
}

SPortConnector *GatewaySession::onlineLink() const
{
    return isOnline() ? connector.data() : nullptr;
}

bool GatewaySession::isOnline() const
{
    switch (current) {
    case State::Connected:
    case State::Reading:
    case State::Applying:
    case State::Verifying:
        return true;
    default:
        return false;
    }
}

QString GatewaySession::portPath() const
{
    return reconnect->opened();
}

void GatewaySession::open(const QString &path, const QString &adapterId, const QByteArray &login,
                          const QByteArray &password)
{
    if (connector || current != State::Disconnected)
        close();
    lostConnection = false;
    needsRead = false;
    identity = GatewayIdentity();
    reconnect->begin(adapterId, login, password);
    startLink(path);
}

void GatewaySession::close()
{
    if (connector)
        connector->disconnectFromGatewayPort();
    heldMessages.clear();
    endSession(false);
}

// The operator's attempt and every attempt after a returned adapter start here,
// with the credentials typed for this session.
void GatewaySession::startLink(const QString &path)
{
    const bool returning = recovering();
    connector = new SPortConnector(lineRate, this);
    reconnect->setOpened(path);
    connector->setConnectionParameters(path, reconnect->login(), reconnect->password());
    connector->setHistoryTag(historyTag);
    // Every outcome is reported by the owner, from this session's signals.
    connector->setOutcomeBoxes(false);
    linkModel = -1;
    wireLink();
    setState(returning ? State::Reconnecting : State::Connecting);
    const QPointer<SPortConnector> opening = connector;
    connector->connectToGatewayPort();
    if (opening && connector == opening && current == State::Connecting)
        setState(State::LoggingIn);
}

void GatewaySession::wireLink()
{
    SPortConnector *link = connector;
    connect(link, &SPortConnector::sendTxtDialog, this, &GatewaySession::forwardMessage);
    connect(link, &SPortConnector::connectSucsessful, this, &GatewaySession::loggedIn);
    connect(link, &SPortConnector::loginRefused, this, &GatewaySession::refused);
    connect(link, &SPortConnector::connectionFailure, this, &GatewaySession::linkFailed);
    connect(link, &SPortConnector::portLost, this, &GatewaySession::loseAdapter);
    connect(link, &SPortConnector::disableInterface, this, &GatewaySession::beginReboot);
    connect(link, &SPortConnector::rebootSucsess, this, &GatewaySession::endReboot);
    connect(link, &SPortConnector::connectionCoreDropped, this, &GatewaySession::lostCore);
    connect(link, &SPortConnector::gatewayModel, this, &GatewaySession::takeModel);
    connect(link, &SPortConnector::resivedSettings, this, &GatewaySession::takeSettings);
    connect(link, &SPortConnector::settingsApplied, this, &GatewaySession::takeApplied);
    connect(link, &SPortConnector::errorReply, this, &GatewaySession::takeError);
    connect(link, &SPortConnector::settingsDamaged, this, &GatewaySession::takeDamaged);
    connect(link, &SPortConnector::sendLoRaLogs, this, &GatewaySession::logText);
    connect(link, &SPortConnector::sendRebootLogs, this, &GatewaySession::bootText);
    connect(link, &SPortConnector::recivedStatusLoRaModules, this,
            &GatewaySession::moduleStateReported);
}

// Cuts every tie to the link before it goes, so no later signal of it reaches the
// session. It is deleted from the event loop, never while one of its functions runs.
void GatewaySession::dropLink()
{
    if (!connector)
        return;
    SPortConnector *gone = std::exchange(connector, nullptr);
    disconnect(gone, nullptr, this, nullptr);
    gone->deleteLater();
}

void GatewaySession::setState(State state)
{
    if (state == current)
        return;
    current = state;
    emit stateChanged(state);
}

void GatewaySession::endSession(bool lost)
{
    exchangeTimer.stop();
    connectionTimer.stop();
    reconnect->end();
    dropLink();
    lostConnection = lost;
    needsRead = false;
    logStreamWanted = false;
    sent = QJsonObject();
    applying = ApplyOutcome();
    setState(State::Disconnected);
}

bool GatewaySession::recovering() const
{
    return current == State::WaitingForAdapter || current == State::Reconnecting;
}

// During an attempt the link's words wait for its outcome: a failure that the
// returning adapter explains is tried again without a word.
void GatewaySession::forwardMessage(int icon, const QString &title, const QString &text)
{
    if (current == State::Connecting || current == State::LoggingIn
        || current == State::Reconnecting) {
        heldMessages.append({icon, title, text});
        return;
    }
    emit linkMessage(icon, title, text);
}

void GatewaySession::flushMessages()
{
    const QPointer<GatewaySession> self(this);
    const QList<Message> messages = std::exchange(heldMessages, {});
    for (const Message &message : messages) {
        emit linkMessage(message.icon, message.title, message.text);
        if (!self)
            return;
    }
}

void GatewaySession::loggedIn()
{
    connectionTimer.start();
    if (current == State::Reconnecting) {
        reconnect->recovered();
        // Whatever stands behind the adapter now must prove it is the same gateway.
        if (identity.isKnown()) {
            exchangeTimer.start();
            connector->getCurrentSettings();
        } else {
            finishIdentityCheck(QJsonObject());
        }
        return;
    }
    setState(State::Connected);
    const QPointer<GatewaySession> self(this);
    flushMessages();
    if (self)
        emit connected();
}

void GatewaySession::linkFailed()
{
    const QPointer<GatewaySession> self(this);
    switch (current) {
    case State::Connecting:
    case State::LoggingIn: {
        const bool portOpened = current == State::LoggingIn;
        // A console at another line speed answers nothing readable.
        if (portOpened && speedFallback && lineRate == slowBaudRate) {
            heldMessages.clear();
            dropLink();
            lineRate = fastBaudRate;
            emit attemptStarted(lineRate);
            if (self && current == State::LoggingIn)
                startLink(reconnect->opened());
            return;
        }
        endSession(false);
        flushMessages();
        if (self)
            emit connectionFailed(portOpened);
        return;
    }
    case State::Reconnecting:
        if (reconnect->retriesQuietly(connector ? connector->portError() : QSerialPort::NoError)) {
            heldMessages.clear();
            dropLink();
            setState(State::WaitingForAdapter);
            reconnect->wait();
            return;
        }
        endSession(true);
        flushMessages();
        return;
    default:
        // The gateway did not come back from a reboot.
        endSession(true);
        return;
    }
}

void GatewaySession::refused()
{
    const bool returning = current == State::Reconnecting || current == State::Rebooting;
    endSession(returning);
    const QPointer<GatewaySession> self(this);
    flushMessages();
    if (self && !returning)
        emit loginRefused();
}

void GatewaySession::checkPresence()
{
    if (connector && reconnect->adapterPresent())
        return;
    loseAdapter();
}

// The adapter went (or the line hung up) during a session: the session keeps what
// it knows of the gateway and waits for the same adapter to return.
void GatewaySession::loseAdapter()
{
    switch (current) {
    case State::Connected:
    case State::Reading:
    case State::Applying:
    case State::Verifying:
    case State::Rebooting:
    case State::Reconnecting:
        break;
    default:
        return;
    }
    const bool applyUnknown = current == State::Applying || current == State::Verifying;
    exchangeTimer.stop();
    connectionTimer.stop();
    heldMessages.clear();
    sent = QJsonObject();
    applying = ApplyOutcome();
    dropLink();
    setState(State::WaitingForAdapter);
    reconnect->wait();
    emit adapterLost(applyUnknown);
}

void GatewaySession::adapterReturned(const QString &path)
{
    if (connector || current != State::WaitingForAdapter)
        return;
    startLink(path);
}

// Every keep-alive answer repeats the model: only a new one is news. While a
// returned adapter is checked, the model waits for the verdict.
void GatewaySession::takeModel(int code)
{
    if (current == State::Reconnecting) {
        linkModel = code;
        return;
    }
    if (code == linkModel)
        return;
    linkModel = code;
    identity.model = code;
    emit modelReported(code);
}

void GatewaySession::takeSettings(QJsonObject *settings)
{
    const QJsonObject received = settings ? *settings : QJsonObject();
    switch (current) {
    case State::Reading:
    case State::Connected:
        // Connected: a reply that came after its read was given up still reads.
        endExchange();
        if (received.isEmpty())
            return;
        identity.takeDocument(received);
        needsRead = false;
        emit settingsRead(received);
        return;
    case State::Verifying:
        applying.readBack = received;
        if (received.isEmpty()) {
            finishApply(ApplyOutcome::Verdict::NotVerified, ApplyOutcome::Cause::DamagedReply);
            return;
        }
        identity.takeDocument(received);
        applying.drift = SettingsRules::verify(sent, received);
        finishApply(applying.drift.isEmpty() ? ApplyOutcome::Verdict::Confirmed
                                             : ApplyOutcome::Verdict::Drift,
                    ApplyOutcome::Cause::None);
        return;
    case State::Reconnecting:
        finishIdentityCheck(received);
        return;
    default:
        return;
    }
}

void GatewaySession::takeApplied()
{
    if (current == State::Applying)
        startVerify();
    else if (current == State::Connected)
        emit applyAnsweredLate();
}

void GatewaySession::takeError(int code, const QString &detail)
{
    const QString text = SPortConnector::errorText(code, detail);
    switch (current) {
    case State::Applying:
        if (code == someSettingsNotSet) {
            // The read-back tells which fields the gateway took.
            applying.refusal = text;
            startVerify();
            return;
        }
        applying.errorCode = code;
        applying.errorText = text;
        finishApply(ApplyOutcome::Verdict::Failed, ApplyOutcome::Cause::ErrorReply);
        return;
    case State::Verifying:
        applying.errorCode = code;
        applying.errorText = text;
        finishApply(ApplyOutcome::Verdict::NotVerified, ApplyOutcome::Cause::ErrorReply);
        return;
    case State::Reconnecting:
        finishIdentityCheck(QJsonObject());
        return;
    case State::Reading:
        endExchange();
        emit exchangeFailed(State::Reading, Failure::ErrorReply, code, text);
        return;
    default:
        emit exchangeFailed(State::Connected, Failure::ErrorReply, code, text);
        return;
    }
}

void GatewaySession::takeDamaged()
{
    const QString text = SPortConnector::damagedSettingsText();
    switch (current) {
    case State::Verifying:
        finishApply(ApplyOutcome::Verdict::NotVerified, ApplyOutcome::Cause::DamagedReply);
        return;
    case State::Reconnecting:
        finishIdentityCheck(QJsonObject());
        return;
    case State::Reading:
        endExchange();
        emit exchangeFailed(State::Reading, Failure::DamagedReply, 0, text);
        return;
    default:
        emit exchangeFailed(State::Connected, Failure::DamagedReply, 0, text);
        return;
    }
}

void GatewaySession::exchangeTimedOut()
{
    // The request hid the log stream, and no reply will show it again.
    if (connector)
        connector->resumeLogStream();
    switch (current) {
    case State::Reading:
        endExchange();
        emit exchangeFailed(State::Reading, Failure::NoReply, 0, QString());
        return;
    case State::Applying:
        finishApply(ApplyOutcome::Verdict::Unanswered, ApplyOutcome::Cause::NoReply);
        return;
    case State::Verifying:
        finishApply(ApplyOutcome::Verdict::NotVerified, ApplyOutcome::Cause::NoReply);
        return;
    case State::Reconnecting:
        finishIdentityCheck(QJsonObject());
        return;
    default:
        return;
    }
}

void GatewaySession::beginExchange(State exchange)
{
    setState(exchange);
    exchangeTimer.start();
}

void GatewaySession::endExchange()
{
    exchangeTimer.stop();
    if (current == State::Reading || current == State::Applying || current == State::Verifying)
        setState(State::Connected);
}

bool GatewaySession::read()
{
    if (!isIdle() || !connector)
        return false;
    beginExchange(State::Reading);
    connector->getCurrentSettings();
    return true;
}

bool GatewaySession::apply(int model, const QJsonObject &held,
                           const SettingsRules::PageGroups &shown)
{
    if (!isIdle() || !connector || needsRead)
        return false;
    const SettingsRules rules(model);
    applying = ApplyOutcome();
    applying.changedFields = int(rules.pendingChanges(held, shown).size());
    sent = rules.applyDocument(held, shown);
    beginExchange(State::Applying);
    connector->sendSettings(QJsonDocument(sent).toJson(QJsonDocument::Compact));
    return true;
}

// Every apply is read back: only what the gateway then holds counts as taken.
void GatewaySession::startVerify()
{
    beginExchange(State::Verifying);
    connector->getCurrentSettings();
}

void GatewaySession::finishApply(ApplyOutcome::Verdict verdict, ApplyOutcome::Cause cause)
{
    ApplyOutcome outcome = std::exchange(applying, ApplyOutcome());
    outcome.verdict = verdict;
    outcome.cause = cause;
    sent = QJsonObject();
    endExchange();
    emit applyFinished(outcome);
}

// current is empty when the returned gateway could not be read.
void GatewaySession::finishIdentityCheck(const QJsonObject &currentDocument)
{
    exchangeTimer.stop();
    GatewayIdentity returned;
    returned.model = linkModel;
    returned.takeDocument(currentDocument);
    const bool unread = identity.isKnown() && currentDocument.isEmpty();
    const bool other = !unread && identity.differsFrom(returned);
    if (other)
        identity = returned;
    else
        identity.takeDocument(currentDocument);
    if (linkModel >= 0)
        identity.model = linkModel;
    needsRead = needsRead || unread || other;
    setState(State::Connected);

    const QPointer<GatewaySession> self(this);
    flushMessages();
    if (self && linkModel >= 0)
        emit modelReported(linkModel);
    if (!self || current != State::Connected)
        return;
    if (logStreamWanted && connector)
        connector->startGetPacketForwarderLogs();
    if (unread)
        emit identityUnconfirmed();
    else if (other)
        emit otherGateway(returned.name());
    else
        emit reconnected(currentDocument);
}

// The link needs the credentials again to log in after the reboot.
void GatewaySession::beginReboot()
{
    if (!connector)
        return;
    connector->setConnectionParameters(reconnect->opened(), reconnect->login(),
                                       reconnect->password());
    exchangeTimer.stop();
    sent = QJsonObject();
    applying = ApplyOutcome();
    setState(State::Rebooting);
    emit rebootStarted();
}

void GatewaySession::endReboot()
{
    setState(State::Connected);
    emit rebooted();
}

void GatewaySession::lostCore()
{
    const bool applyUnknown = current == State::Applying || current == State::Verifying;
    if (connector)
        connector->disconnectFromGatewayPort();
    endSession(true);
    emit coreLost(applyUnknown);
}

void GatewaySession::startLogStream()
{
    logStreamWanted = true;
    if (SPortConnector *online = onlineLink())
        online->startGetPacketForwarderLogs();
}

void GatewaySession::stopLogStream()
{
    logStreamWanted = false;
    if (connector)
        connector->stopGetPacketForwarderLogs();
}

void GatewaySession::requestServerState()
{
    if (SPortConnector *online = onlineLink())
        online->serverPowerUpCheckRequest();
}

void GatewaySession::requestModuleState()
{
    if (SPortConnector *online = onlineLink())
        online->requestLoRaModulesState();
}

void GatewaySession::resetSettings()
{
    if (SPortConnector *online = onlineLink())
        online->resetDefaultSettings();
}

void GatewaySession::resetLoRaSettings()
{
    if (SPortConnector *online = onlineLink())
        online->resetLoRaDefaultSettings();
}

void GatewaySession::reboot()
{
    if (SPortConnector *online = onlineLink())
        online->rebootGateway();
}

void GatewaySession::runPacketForwarder(bool doubleModule)
{
    if (SPortConnector *online = onlineLink())
        online->runPacketForwarder(doubleModule);
}
