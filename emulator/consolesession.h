#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>

class GatewayCore;
class ReplyPacer;
class QTimer;

// The gateway's serial console: login program, root shell, the running core
// and the reboot. Assembles input lines, echoes like a tty and hands lines to
// whoever owns the console at that moment.
class ConsoleSession : public QObject
{
    Q_OBJECT

public:
    // Refusing: the login program's delay after a wrong password. CoreStarting: the
    // shell switches the terminal for the core.
    enum class State { Login, Password, Refusing, Shell, CoreStarting, Core, Upload, Rebooting };
    Q_ENUM(State)

    static const QByteArray loginPrompt;
    static const QByteArray passwordPrompt;
    static const QByteArray shellPrompt;
    static const QByteArray uploadEnd;

    ConsoleSession(GatewayCore *core, ReplyPacer *pacer, QObject *parent = nullptr);

    static QList<QByteArray> bootLines();

    State state() const;
    void setCredentials(const QByteArray &user, const QByteArray &password);
    void setAtShell(bool atShell);
    void setCoreRunning(bool running);
    void setEcho(bool echo);
    void setRefuseLogin(bool refuse);
    void setRefusalDelayMs(int delayMs);
    void setDropTypeahead(bool drop);
    void setRebootStepMs(int stepMs);

    void feed(const QByteArray &bytes);

signals:
    void lineReceived(const QByteArray &line);
    void loggedIn();
    void coreStarted();
    void rebootStarted();
    // Reply 50 is out and the first boot line follows.
    void kernelBooting();
    void rebootFinished();

private:
    void feedUpload(const QByteArray &bytes);
    void handleLine(const QByteArray &line);
    void answerLine(const QByteArray &line);
    void handleShellLine(const QByteArray &line);
    void finishRefusal();
    void finishCoreStart();
    void startReboot();
    void rebootStep();
    void flushEcho();

    GatewayCore *core;
    ReplyPacer *pacer;
    QTimer *rebootTimer;
    QTimer *refusalTimer;
    QTimer *coreStartTimer;
    State current = State::Login;
    QByteArray user = "root";
    QByteArray password = "kelvane";
    QByteArray typedUser;
    QByteArray line;
    QByteArray pendingEcho;
    QByteArray uploadBuffer;
    QList<QByteArray> rebootOutput;
    QList<QByteArray> typedDuringRefusal;
    int rebootStepsShown = 0;
    bool echo = true;
    bool refuseLogin = false;
    bool dropTypeahead = false;
    // After a refusal the login program prompts itself and takes an empty line as a
    // user name; the first prompt is getty's, which just asks again.
    bool loginProgramPrompt = false;
    bool lastWasCr = false;
};
