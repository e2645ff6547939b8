#include "link/sportconnector.h"

#include "link/sessionwatch.h"
#include "link/sportconnectorprivate.h"

#include <QByteArrayView>

#include <utility>

using namespace SPortConnectorPrivate;

namespace {

constexpr int keepAlivePeriodMs = 60000;

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

const QByteArray coreStartCommand = QByteArrayLiteral("KVNCore\r");
const QByteArray keepAliveProbe = QByteArrayLiteral("1\r");

// The password as the console would echo it, without the line ends the owner added.
QString typedText(QByteArray line)
{
    while (line.endsWith('\r') || line.endsWith('\n'))
        line.chop(1);
    return QString::fromUtf8(line);
}

} // namespace

// Prompts are answered in the order they stand, and once one is matched only what
// came after it counts: a refusal or prompt from before (a console left at
// "Password:" by an earlier session) is never acted on twice.
void SPortConnector::takeLoginOutput(const QByteArray &chunk)
{
    recordChunk(chunk);
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
                consoleMasker.expectSecretEcho(typedText(password));
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
    ++sessionEnds;
    disconnect(&serial, &QSerialPort::readyRead, this, nullptr);
    closePort();
    const SessionWatch watch(this);
    if (!rejoining)
        emit stopSpinner();
    if (!watch.stands())
        return;
    emit sendTxtDialog(
            boxWarning, tr("Не удалось авторизоваться"),
            tr("Не верные данные для авторизации.\nПроверьте пароль и логин и попробуйте "
               "снова"));
    if (watch.stands())
        emit loginRefused();
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
    const SessionWatch watch(this);
    emit connectSucsessful();
    if (watch.stands())
        emit stopSpinner();
}

void SPortConnector::Ping()
{
    // Answers that stand unread behind a modal box count as well. A tick that
    // came while this one was reading has judged already and leaves this one out.
    const quint64 tick = ++keepAliveTicks;
    const SessionWatch watch(this);
    readPending();
    if (watch.stands() && state == State::Online && framer.hasPending())
        parseReceivedFrames(receiveBuffer->size());
    if (!watch.stands() || state != State::Online || tick != keepAliveTicks)
        return;
    // The gateway answers nothing while a file reaches it: the probe waits with the
    // other requests, and the loss is judged once the upload has ended.
    if (upload != Upload::None) {
        writeToPort(keepAliveProbe);
        return;
    }
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
    ++sessionEnds;
    const SessionWatch watch(this);
    emit sendTxtDialog(boxCritical, tr("Ошибка"), tr("Потеряно соединение с устройством."));
    if (watch.stands())
        emit connectionCoreDropped();
}
