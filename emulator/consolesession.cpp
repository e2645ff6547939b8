#include "emulator/consolesession.h"

#include "emulator/gatewaycore.h"
#include "emulator/replypacer.h"

#include <QTimer>

#include <utility>

namespace {
constexpr int defaultRebootStepMs = 100;
// The login program's pause before "Login incorrect".
constexpr int defaultRefusalDelayMs = 2000;
// How long the shell takes to hand the terminal to the core.
constexpr int coreStartMs = 50;
const QByteArray keepAliveLine = "1\r";
const QByteArray shellBanner = "\r\n\r\nBusyBox v1.36.1 built-in shell (ash)\r\n\r\n";
} // namespace

const QByteArray ConsoleSession::loginPrompt = "kelvane-gw login: ";
const QByteArray ConsoleSession::passwordPrompt = "Password: ";
const QByteArray ConsoleSession::shellPrompt = "root@kelvane-gw:~# ";
const QByteArray ConsoleSession::uploadEnd = "((EOF))\r";

ConsoleSession::ConsoleSession(GatewayCore *core, ReplyPacer *pacer, QObject *parent)
    : QObject(parent), core(core), pacer(pacer), rebootTimer(new QTimer(this)),
      refusalTimer(new QTimer(this)), coreStartTimer(new QTimer(this))
{
    rebootTimer->setInterval(defaultRebootStepMs);
    connect(rebootTimer, &QTimer::timeout, this, &ConsoleSession::rebootStep);
    refusalTimer->setSingleShot(true);
    refusalTimer->setInterval(defaultRefusalDelayMs);
    connect(refusalTimer, &QTimer::timeout, this, &ConsoleSession::finishRefusal);
    coreStartTimer->setSingleShot(true);
    coreStartTimer->setInterval(coreStartMs);
    connect(coreStartTimer, &QTimer::timeout, this, &ConsoleSession::finishCoreStart);
    connect(core, &GatewayCore::uploadAnnounced, this, [this] { current = State::Upload; });
    connect(core, &GatewayCore::ended, this, [this] {
        current = State::Shell;
        this->pacer->print(shellPrompt);
    });
    connect(core, &GatewayCore::rebootRequested, this, &ConsoleSession::startReboot);
}

QList<QByteArray> ConsoleSession::bootLines()
{
    return {
            "\r\nU-Boot 2021.07 (Mar 12 2024 - 10:15:42 +0300)\r\n",
            "DRAM:  512 MiB\r\n",
            "Starting kernel ...\r\n\r\n",
            "[    0.000000] Booting Linux on physical CPU 0x0\r\n",
            "[    0.000000] Linux version 5.15.118 (gcc version 12.2.0) #1 SMP PREEMPT\r\n",
            "[    1.204311] mmc0: new high speed SDHC card at address 0001\r\n",
            "[    2.318734] EXT4-fs (mmcblk0p2): mounted filesystem with ordered data mode\r\n",
            "Starting syslogd: OK\r\n",
            "Starting network: OK\r\n",
            "Starting lora_pkt_fwd: OK\r\n",
            "\r\nWelcome to Kelvane Gateway\r\n",
    };
}

ConsoleSession::State ConsoleSession::state() const
{
    return current;
}

void ConsoleSession::setCredentials(const QByteArray &newUser, const QByteArray &newPassword)
{
    user = newUser;
    password = newPassword;
}

void ConsoleSession::setAtShell(bool atShell)
{
    if (atShell && (current == State::Login || current == State::Password))
        current = State::Shell;
    else if (!atShell && current == State::Shell)
        current = State::Login;
}

void ConsoleSession::setCoreRunning(bool running)
{
    if (running && current != State::Core && current != State::Upload) {
        current = State::Core;
        core->start(false);
    } else if (!running && (current == State::Core || current == State::Upload)) {
        core->end();
        current = State::Shell;
    }
}

void ConsoleSession::setEcho(bool on)
{
    echo = on;
}

void ConsoleSession::setRefuseLogin(bool refuse)
{
    refuseLogin = refuse;
}

void ConsoleSession::setRefusalDelayMs(int delayMs)
{
    refusalTimer->setInterval(qMax(0, delayMs));
}

void ConsoleSession::setDropTypeahead(bool drop)
{
    dropTypeahead = drop;
}

void ConsoleSession::setRebootStepMs(int stepMs)
{
    rebootTimer->setInterval(qMax(1, stepMs));
}

void ConsoleSession::feed(const QByteArray &bytes)
{
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (current == State::Upload) {
            flushEcho();
            feedUpload(bytes.mid(i));
            return;
        }
        // The terminal is being switched: what was typed ahead is lost.
        if (current == State::CoreStarting)
            break;
        const char c = bytes.at(i);
        const bool wasCr = lastWasCr;
        lastWasCr = c == '\r';
        if (c == '\n' && wasCr)
            continue;
        const bool lineEnd = c == '\r' || c == '\n';
        if (echo && current != State::Password)
            pendingEcho.append(lineEnd ? QByteArray("\r\n") : QByteArray(1, c));
        if (!lineEnd) {
            line.append(c);
            continue;
        }
        flushEcho();
        const QByteArray complete = line;
        line.clear();
        handleLine(complete);
    }
    flushEcho();
}

void ConsoleSession::feedUpload(const QByteArray &bytes)
{
    uploadBuffer.append(bytes);
    // The link's bodies carry no "\r", so a keep-alive probe written between
    // the announcement and the body is a line of its own, not content.
    while (uploadBuffer.startsWith(keepAliveLine)) {
        uploadBuffer.remove(0, keepAliveLine.size());
        emit lineReceived("1");
        core->handleLine("1");
    }
    const qsizetype end = uploadBuffer.indexOf(
            uploadEnd, qMax<qsizetype>(0, uploadBuffer.size() - bytes.size() - uploadEnd.size()));
    if (end < 0)
        return;
    const QByteArray content = uploadBuffer.left(end);
    const QByteArray rest = uploadBuffer.mid(end + uploadEnd.size());
    uploadBuffer.clear();
    lastWasCr = true;
    current = State::Core;
    core->finishUpload(content);
    if (!rest.isEmpty())
        feed(rest);
}

void ConsoleSession::handleLine(const QByteArray &text)
{
    emit lineReceived(text);
    answerLine(text);
}

void ConsoleSession::answerLine(const QByteArray &text)
{
    switch (current) {
    case State::Login:
        if (text.trimmed().isEmpty() && !loginProgramPrompt) {
            pacer->print(loginPrompt);
            return;
        }
        typedUser = text;
        current = State::Password;
        pacer->print(passwordPrompt);
        return;
    case State::Password:
        if (!refuseLogin && typedUser == user && text == password) {
            current = State::Shell;
            loginProgramPrompt = false;
            pacer->print(shellBanner + shellPrompt);
            emit loggedIn();
        } else {
            current = State::Refusing;
            refusalTimer->start();
        }
        typedUser.clear();
        return;
    case State::Refusing:
        // The terminal keeps what is typed meanwhile for the next prompt.
        typedDuringRefusal.append(text);
        return;
    case State::Shell:
        handleShellLine(text.trimmed());
        return;
    case State::Core:
        if (pacer->noise() && !echo && !text.isEmpty())
            pacer->print(text + "\r\n");
        core->handleLine(text);
        return;
    case State::CoreStarting:
    case State::Upload:
    case State::Rebooting:
        return;
    }
}

void ConsoleSession::finishRefusal()
{
    if (current != State::Refusing)
        return;
    current = State::Login;
    loginProgramPrompt = true;
    pacer->print("\r\nLogin incorrect\r\n" + loginPrompt);
    const QList<QByteArray> typed = std::exchange(typedDuringRefusal, {});
    for (const QByteArray &text : typed)
        answerLine(text);
}

void ConsoleSession::finishCoreStart()
{
    if (current != State::CoreStarting)
        return;
    current = State::Core;
    core->start(true);
    emit coreStarted();
}

void ConsoleSession::handleShellLine(const QByteArray &command)
{
    if (command.isEmpty()) {
        pacer->print(shellPrompt);
    } else if (command == "KVNCore") {
        if (dropTypeahead) {
            current = State::CoreStarting;
            coreStartTimer->start();
            return;
        }
        current = State::Core;
        core->start(true);
        emit coreStarted();
    } else if (command == "exit") {
        current = State::Login;
        loginProgramPrompt = false;
        pacer->print("logout\r\n\r\n" + loginPrompt);
    } else {
        pacer->print("-sh: " + command + ": not found\r\n" + shellPrompt);
    }
}

void ConsoleSession::startReboot()
{
    current = State::Rebooting;
    loginProgramPrompt = false;
    line.clear();
    rebootOutput.clear();
    rebootStepsShown = 0;
    rebootOutput.append(ReplyPacer::frame("RESPONSE", "50"));
    rebootOutput.append(bootLines());
    rebootOutput.append(loginPrompt);
    emit rebootStarted();
    rebootTimer->start();
}

void ConsoleSession::rebootStep()
{
    if (rebootOutput.isEmpty()) {
        rebootTimer->stop();
        return;
    }
    if (++rebootStepsShown == 2)
        emit kernelBooting();
    pacer->print(rebootOutput.takeFirst());
    if (rebootOutput.isEmpty()) {
        rebootTimer->stop();
        current = State::Login;
        emit rebootFinished();
    }
}

void ConsoleSession::flushEcho()
{
    if (pendingEcho.isEmpty())
        return;
    pacer->echo(pendingEcho);
    pendingEcho.clear();
}
