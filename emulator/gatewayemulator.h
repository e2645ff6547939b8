#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QObject>
#include <QString>
#include <QStringList>

class ConsoleSession;
class DeviceLink;
class PseudoTerminal;
class GatewayCore;
class ReplyPacer;

// Plays the gateway on the master side of a pseudo-terminal: its serial console
// with login and root shell, and the configuration core started by "KVNCore".
// The program's link opens devicePath() with a real QSerialPort.
// Single-threaded; everything runs from the event loop of the creating thread.
class GatewayEmulator : public QObject
{
    Q_OBJECT

public:
    // Where a session may hang up: a user name typed at the login prompt, "KVNCore"
    // at the shell, the requests "--26", "--25" and "--50 Start", the body of an
    // upload, the boot output after reply 50.
    enum class Step { None, Login, CoreStart, Read, Apply, LogStream, Upload, Reboot };
    Q_ENUM(Step)

    explicit GatewayEmulator(int modelCode = 3, QObject *parent = nullptr);
    ~GatewayEmulator() override;

    // Opens the pty and places the link to it; false (with errorString()) on failure.
    bool start();
    QString errorString() const;
    // Slave path the link opens, e.g. /dev/pts/7; empty before start(). A new one
    // after an unplug.
    QString devicePath() const;
    // A symbolic link to the device, kept by start() and removed while unplugged
    // and at the end, as udev keeps a by-id link; none by default.
    void setLinkPath(const QString &path);
    QString linkPath() const;
    int modelCode() const;

    // console
    void setCredentials(const QByteArray &user, const QByteArray &password);
    // Console already at the root shell prompt ("root@kelvane-gw:~# ").
    void setAtShell(bool atShell);
    // Core already runs: an empty line or "KVNCore" is answered with a CONNECT reply.
    void setCoreRunning(bool running);
    // Echo typed input like a real console (default true; never the password
    // nor an uploaded file body).
    void setEcho(bool echo);
    bool coreRunning() const;
    bool atShell() const;

    // login program: a refused login is answered this long after the password
    // (default 2000 ms); after a refusal its own prompt takes an empty line as a
    // user name and asks for a password.
    void setRefusalDelayMs(int delayMs);
    // Input typed while the shell hands the terminal to the core (until the core's
    // CONNECT announcement) is lost, as on a real tty.
    void setDropTypeahead(bool drop);
    // Carries bytes both ways no faster than a serial line of that many bits per
    // second; 0 (default) passes them at once.
    void setLineRate(int bitsPerSecond);
    // The console hears only a port set to this speed (0, default: any); at any
    // other speed what comes is noise to it and it answers nothing.
    void setConsoleBaudRate(int bitsPerSecond);

    // faults
    void setRefuseLogin(bool refuse);
    // Closes the emulator's side of the pty, and removes its link, when the session
    // reaches that step.
    void setHangUpAt(Step step);
    // The first time the session reaches that step the adapter is pulled: the device
    // and its link go, and replugAfterMs later a new device (another number) comes
    // under the same link. The console and the core carry on meanwhile, as a gateway
    // does when the cable is pulled at the laptop; what they print then is lost.
    void setUnplugAt(Step step, int replugAfterMs);
    void setKeepAliveSilent(bool silent);
    // command = the request text after "--" (e.g. "50 Start") or just its number
    // (e.g. "26", "25", "40", "41", "50"); the exact text wins over the number.
    // 1007 and 1008 carry two failed key numbers as detail words.
    void setErrorReply(const QString &command, int errorCode);
    void clearErrorReplies();
    // Cuts every write into pieces of 1..maxChunkBytes at seeded random points;
    // 0 = off.
    void setChunking(int maxChunkBytes, quint32 seed);
    // Shell-like noise lines (and request echoes even with echo off) between replies.
    void setNoise(bool noise);
    // A kernel line ("[  812.110000] usb ...") printed into the middle of every
    // settings reply, at seeded random points.
    void setKernelNoise(bool noise, quint32 seed = 1);
    // Writes are taken, but these keys keep their old values ("KEY" in any group,
    // or "GROUP/KEY"), like a gateway that silently ignores a setting.
    void setIgnoredKeys(const QStringList &keys);
    // Delays every reply and prompt (echo is immediate, like a tty's).
    void setReplyDelayMs(int delayMs);
    // "--50 Start" answers ERROR 1005 while the forwarder is not running (default running).
    void setForwarderRunning(bool running);

    // state the core keeps
    // Current document for the model: groups plus device keys "8".."16" and "301".
    QJsonObject settingsDocument() const;
    void setSettingsDocument(const QJsonObject &document);
    bool serverEnabled() const;
    bool serverStarted() const;
    bool sdCardMissing() const;
    void setServerState(bool enabled, bool started, bool sdCardMissing);
    // 62 state of a configuration: tens digit activated, units digit running;
    // -1 for an unknown name. setOvpnState() also makes the name known.
    int ovpnState(const QString &name) const;
    // State sent in the last 62 reply, -1 before any.
    int lastOvpnState() const;
    void setOvpnState(const QString &name, int state);
    // 8 (one module) or 16 (two modules), as "--50 State" reports it.
    int loraModuleState() const;
    // Uploaded files by name (content without "((EOF))").
    QMap<QString, QByteArray> storedFiles() const;
    bool logsStreaming() const;
    bool logsHidden() const;
    // Log lines produced while hidden and not yet sent.
    int heldLogCount() const;
    // What the LOGS stream sends, one line per reply, in a cycle.
    void setLogLines(const QStringList &lines);
    void setLogIntervalMs(int intervalMs);
    // Survey traffic on the LOGS stream instead of the cycle of lines: packets on every
    // enabled channel of the held plan, statistics blocks, acknowledgement round trips.
    // Its clock runs while the stream does.
    void setSurveyTraffic(bool survey, quint32 seed = 1);
    void setPacketRate(double perSecond);
    // The statistics block comes every 30 s by default.
    void setStatisticsPeriodMs(int periodMs);
    // After that much streaming no datagram is acknowledged; negative: never.
    void setBackhaulDownAfterMs(qint64 afterMs);
    // Pace of the reboot: reply 50, each boot line and the login prompt are this far apart.
    void setRebootPacing(int stepMs);

    // inspection and raw access for tests
    // Every byte the link wrote, in order.
    QByteArray received() const;
    // How many bytes the link was sent so far, echo included.
    qint64 sentByteCount() const;
    // received() split at "\r" (each without the "\r"); an unterminated tail is left out.
    QList<QByteArray> receivedLines() const;
    void clearReceived();
    // Writes arbitrary bytes to the link (framing tests); chunking applies.
    void sendRaw(const QByteArray &bytes);

signals:
    void bytesReceived(const QByteArray &chunk);
    // Each "\r"-terminated input line, without the "\r" (upload bodies excluded).
    void lineReceived(const QByteArray &line);
    // Text between "REQUEST.{[" and "]}", e.g. "--26", "--10 State".
    void requestReceived(const QString &request);
    void fileStored(const QString &name, const QByteArray &content);
    void loggedIn();
    void coreStarted();
    void rebootStarted();
    // The boot output has ended with a new login prompt.
    void rebootFinished();
    void hungUp();
    void unplugged();
    void replugged();

private:
    void handleInput(const QByteArray &bytes);
    void reach(Step step);
    void replug();

    int model;
    QByteArray receivedBytes;
    PseudoTerminal *terminal;
    ReplyPacer *pacer;
    GatewayCore *core;
    ConsoleSession *session;
    DeviceLink *deviceLink;
    QString linkError;
    Step hangUpStep = Step::None;
    Step unplugStep = Step::None;
    int replugDelayMs = 0;
    int consoleBaudRate = 0;
};
