#include "emulator/gatewayemulator.h"

#include "emulator/consolesession.h"
#include "emulator/devicelink.h"
#include "emulator/gatewaycore.h"
#include "emulator/logstream.h"
#include "emulator/pseudoterminal.h"
#include "emulator/replypacer.h"

#include <QTimer>

GatewayEmulator::GatewayEmulator(int modelCode, QObject *parent)
    : QObject(parent), model(qBound(0, modelCode, 3)), terminal(new PseudoTerminal(this)),
      pacer(new ReplyPacer(terminal, this)), core(new GatewayCore(model, pacer, this)),
      session(new ConsoleSession(core, pacer, this)), deviceLink(new DeviceLink)
{
    connect(terminal, &PseudoTerminal::dataRead, this, &GatewayEmulator::handleInput);
    connect(session, &ConsoleSession::lineReceived, this, &GatewayEmulator::lineReceived);
    connect(session, &ConsoleSession::loggedIn, this, &GatewayEmulator::loggedIn);
    connect(session, &ConsoleSession::coreStarted, this, &GatewayEmulator::coreStarted);
    connect(session, &ConsoleSession::rebootStarted, this, &GatewayEmulator::rebootStarted);
    connect(session, &ConsoleSession::rebootFinished, this, &GatewayEmulator::rebootFinished);
    connect(core, &GatewayCore::requestReceived, this, &GatewayEmulator::requestReceived);
    connect(core, &GatewayCore::fileStored, this, &GatewayEmulator::fileStored);

    connect(session, &ConsoleSession::lineReceived, this, [this](const QByteArray &line) {
        if (session->state() == ConsoleSession::State::Login && !line.trimmed().isEmpty())
            reach(Step::Login);
        else if (session->state() == ConsoleSession::State::Shell && line.trimmed() == "KVNCore")
            reach(Step::CoreStart);
    });
    connect(core, &GatewayCore::requestReceived, this, [this](const QString &request) {
        if (request == QLatin1String("--26"))
            reach(Step::Read);
        else if (request.startsWith(QLatin1String("--25")))
            reach(Step::Apply);
        else if (request == QLatin1String("--50 Start"))
            reach(Step::LogStream);
    });
    connect(session, &ConsoleSession::kernelBooting, this, [this] { reach(Step::Reboot); });
}

GatewayEmulator::~GatewayEmulator()
{
    delete deviceLink;
}

bool GatewayEmulator::start()
{
    if (!terminal->open())
        return false;
    if (deviceLink->place(terminal->slavePath()))
        return true;
    linkError = deviceLink->errorString();
    return false;
}

QString GatewayEmulator::errorString() const
{
    return linkError.isEmpty() ? terminal->errorString() : linkError;
}

void GatewayEmulator::setLinkPath(const QString &path)
{
    deviceLink->setPath(path);
}

QString GatewayEmulator::linkPath() const
{
    return deviceLink->path();
}

QString GatewayEmulator::devicePath() const
{
    return terminal->slavePath();
}

int GatewayEmulator::modelCode() const
{
    return model;
}

void GatewayEmulator::setCredentials(const QByteArray &user, const QByteArray &password)
{
    session->setCredentials(user, password);
}

void GatewayEmulator::setAtShell(bool atShell)
{
    session->setAtShell(atShell);
}

void GatewayEmulator::setCoreRunning(bool running)
{
    session->setCoreRunning(running);
}

void GatewayEmulator::setEcho(bool echo)
{
    session->setEcho(echo);
}

bool GatewayEmulator::coreRunning() const
{
    return core->running();
}

bool GatewayEmulator::atShell() const
{
    return session->state() == ConsoleSession::State::Shell;
}

void GatewayEmulator::setRefusalDelayMs(int delayMs)
{
    session->setRefusalDelayMs(delayMs);
}

void GatewayEmulator::setDropTypeahead(bool drop)
{
    session->setDropTypeahead(drop);
}

void GatewayEmulator::setLineRate(int bitsPerSecond)
{
    terminal->setLineRate(bitsPerSecond);
}

void GatewayEmulator::setConsoleBaudRate(int bitsPerSecond)
{
    consoleBaudRate = bitsPerSecond;
}

void GatewayEmulator::setRefuseLogin(bool refuse)
{
    session->setRefuseLogin(refuse);
}

void GatewayEmulator::setHangUpAt(Step step)
{
    hangUpStep = step;
}

void GatewayEmulator::setUnplugAt(Step step, int replugAfterMs)
{
    unplugStep = step;
    replugDelayMs = qMax(0, replugAfterMs);
}

void GatewayEmulator::reach(Step step)
{
    if (step == Step::None || !terminal->isOpen())
        return;
    if (step == hangUpStep) {
        deviceLink->remove();
        terminal->hangUp();
        emit hungUp();
    } else if (step == unplugStep) {
        unplugStep = Step::None;
        deviceLink->remove();
        terminal->unplug();
        emit unplugged();
        QTimer::singleShot(replugDelayMs, this, &GatewayEmulator::replug);
    }
}

void GatewayEmulator::replug()
{
    terminal->replug();
    deviceLink->place(terminal->slavePath());
    emit replugged();
}

void GatewayEmulator::setKeepAliveSilent(bool silent)
{
    core->setKeepAliveSilent(silent);
}

void GatewayEmulator::setErrorReply(const QString &command, int errorCode)
{
    core->setErrorReply(command, errorCode);
}

void GatewayEmulator::clearErrorReplies()
{
    core->clearErrorReplies();
}

void GatewayEmulator::setChunking(int maxChunkBytes, quint32 seed)
{
    terminal->setChunking(maxChunkBytes, seed);
}

void GatewayEmulator::setNoise(bool noise)
{
    pacer->setNoise(noise);
}

void GatewayEmulator::setKernelNoise(bool noise, quint32 seed)
{
    pacer->setKernelNoise(noise, seed);
}

void GatewayEmulator::setIgnoredKeys(const QStringList &keys)
{
    core->setIgnoredKeys(keys);
}

void GatewayEmulator::setReplyDelayMs(int delayMs)
{
    pacer->setDelayMs(delayMs);
}

void GatewayEmulator::setForwarderRunning(bool running)
{
    core->setForwarderRunning(running);
}

QJsonObject GatewayEmulator::settingsDocument() const
{
    return core->document();
}

void GatewayEmulator::setSettingsDocument(const QJsonObject &document)
{
    core->setDocument(document);
}

bool GatewayEmulator::serverEnabled() const
{
    return core->serverEnabled();
}

bool GatewayEmulator::serverStarted() const
{
    return core->serverStarted();
}

bool GatewayEmulator::sdCardMissing() const
{
    return core->sdCardMissing();
}

void GatewayEmulator::setServerState(bool enabled, bool started, bool sdCardMissing)
{
    core->setServerState(enabled, started, sdCardMissing);
}

int GatewayEmulator::ovpnState(const QString &name) const
{
    return core->ovpnState(name);
}

int GatewayEmulator::lastOvpnState() const
{
    return core->lastOvpnState();
}

void GatewayEmulator::setOvpnState(const QString &name, int state)
{
    core->setOvpnState(name, state);
}

int GatewayEmulator::loraModuleState() const
{
    return core->loraModuleState();
}

QMap<QString, QByteArray> GatewayEmulator::storedFiles() const
{
    return core->storedFiles();
}

bool GatewayEmulator::logsStreaming() const
{
    return core->logStream()->streaming();
}

bool GatewayEmulator::logsHidden() const
{
    return core->logStream()->hidden();
}

int GatewayEmulator::heldLogCount() const
{
    return core->logStream()->heldCount();
}

void GatewayEmulator::setLogLines(const QStringList &lines)
{
    core->logStream()->setLines(lines);
}

void GatewayEmulator::setLogIntervalMs(int intervalMs)
{
    core->logStream()->setIntervalMs(intervalMs);
}

void GatewayEmulator::setSurveyTraffic(bool survey, quint32 seed)
{
    core->logStream()->setSurvey(survey);
    core->logStream()->surveyTraffic().restart(seed);
}

void GatewayEmulator::setPacketRate(double perSecond)
{
    core->logStream()->surveyTraffic().setPacketRate(perSecond);
}

void GatewayEmulator::setStatisticsPeriodMs(int periodMs)
{
    core->logStream()->surveyTraffic().setStatisticsPeriodMs(periodMs);
}

void GatewayEmulator::setBackhaulDownAfterMs(qint64 afterMs)
{
    core->logStream()->surveyTraffic().setBackhaulDownAfterMs(afterMs);
}

void GatewayEmulator::setRebootPacing(int stepMs)
{
    session->setRebootStepMs(stepMs);
}

QByteArray GatewayEmulator::received() const
{
    return receivedBytes;
}

qint64 GatewayEmulator::sentByteCount() const
{
    return terminal->writtenBytes();
}

QList<QByteArray> GatewayEmulator::receivedLines() const
{
    QList<QByteArray> lines = receivedBytes.split('\r');
    // The part after the last "\r" is not a line yet.
    lines.removeLast();
    return lines;
}

void GatewayEmulator::clearReceived()
{
    receivedBytes.clear();
}

void GatewayEmulator::sendRaw(const QByteArray &bytes)
{
    terminal->write(bytes);
}

void GatewayEmulator::handleInput(const QByteArray &bytes)
{
    if (session->state() == ConsoleSession::State::Upload) {
        reach(Step::Upload);
        if (!terminal->isOpen())
            return;
    }
    receivedBytes.append(bytes);
    emit bytesReceived(bytes);
    if (consoleBaudRate != 0 && terminal->peerBaudRate() != consoleBaudRate)
        return;
    session->feed(bytes);
}
