#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QMap>
#include <QObject>
#include <QPointer>
#include <QRegularExpression>
#include <QSerialPort>
#include <QString>
#include <QStringDecoder>
#include <QTimer>

#include <limits>

#include "link/historymasker.h"
#include "link/portcloser.h"
#include "link/replyframer.h"

#include <functional>

// The program's one link to the gateway: owns the console port, logs in,
// starts the gateway core, writes every request line and dispatches every reply.
// Owners must delete it with deleteLater(): its signals may reach slots that
// run nested event loops (message boxes) while one of its functions is on the stack.
// connectionFailure, connectionCoreDropped and loginRefused are always its last
// action, and a disconnect from a slot ends whatever the link was doing below it.
// Tests fire its timers without waiting through the child QTimers named "linkTimer",
// "firstRequestTimer" and "uploadTimer".
class SPortConnector : public QObject
{
    Q_OBJECT
    // Feeds console bytes straight into the readers, without a port.
    friend class ReplyPathFuzz;
    friend class SessionWatch;

public:
    explicit SPortConnector(int baudRate, QObject *parent = nullptr);
    ~SPortConnector() override;

    void setConnectionParameters(QString portName, QByteArray login, QByteArray password);
    bool isPortAvailable();
    // Why the port last failed: to open, or while open.
    QSerialPort::SerialPortError portError() const { return serial.error(); }

    void requestLoRaModulesState();
    void runPacketForwarder(bool doubleModule);
    void activateOVPNConfig(QString name);
    void runOVPNConfig(QString name);
    void requestOVPNState(QString name);
    void sendSettings(QByteArray json);
    // Shows the packet-forwarder stream again after a request that hid it ended
    // without a reply that shows it (no reply at all).
    void resumeLogStream();

    // Every history entry of this link names it: several sessions of one process
    // share the history file.
    void setHistoryTag(const QString &tag);

    // While off, the replies that end a settings exchange or report an error (31,
    // a damaged settings reply, every ERROR) raise no box: the owner reports them
    // from settingsApplied, settingsDamaged and errorReply. On by default.
    void setOutcomeBoxes(bool shown);
    // The text of the box an ERROR reply raises; detail as the reply's words.
    static QString errorText(int code, const QString &detail);
    static QString damagedSettingsText();

    // From the announcement until the gateway confirms or refuses the file, the line
    // hangs up or the gateway stays silent; the VPN box waits for uploadEnded.
    bool isUploading() const;

signals:
    // Reply 31: the gateway took the whole write.
    void settingsApplied();
    // Every ERROR reply, before anything else the link does for it.
    void errorReply(int code, QString detail);
    // A settings reply whose document cannot be read, kernel lines taken out; the
    // empty resivedSettings follows.
    void settingsDamaged();
    void resivedSettings(QJsonObject *Settings);
    void connectSucsessful();
    // The console refused the credentials: the port is closed, and no
    // connectionFailure follows (after its warning box).
    void loginRefused();
    void rebootSucsess();
    void disableInterface();
    void readyToGetOVPN();
    void sendTxtDialog(int index, QString PortName, QString Err);
    void sendRebootLogs(QString Logs);
    void sendLoRaLogs(QString Logs);
    void stopSpinner();
    void serverStatusResponse(bool Enable, bool Start);
    void unlockApplyBTN();
    void blockRequestBTN();
    void connectionCoreDropped();
    void connectionFailure();
    void openVPNState(int State);
    void gatewayModel(int Version);
    void recivedStatusLoRaModules(bool state);
    // The line hung up or the adapter went away; the link's own report follows,
    // so an owner that waits for the adapter drops the link right here.
    void portLost();
    void uploadEnded(bool delivered);

public slots:
    void connectToGatewayPort();
    void rejoinToGateway();
    void disconnectFromGatewayPort();

    void getCurrentSettings();
    void resetLoRaDefaultSettings();
    void resetDefaultSettings();
    void rebootGateway();
    void startGetPacketForwarderLogs();
    void stopGetPacketForwarderLogs();
    void runOVPNFileToGW(QString FilePath);
    void sendOVPNFileToGW(QByteArray Data);
    void serverPowerUpCheckRequest();
    void localServerEnableRequest(bool Enable);
    void localServerStartRequest(bool Start);

private slots:
    void readDataConnection();
    void handlerResivedData();
    void readRebootLogs();
    void timeoutConnected();
    void serverPowerUpCheckResponce(QString Message);
    void Ping();

private:
    // On the heap: its closing lines may still be going out when the link is deleted.
    QSerialPort &serial;
    QByteArray *receiveBuffer;
    QRegularExpression replyPattern;
    QString portName;
    QByteArray login;
    QByteArray password;
    QMap<int, std::function<void(QString)>> eventOptions;
    bool logsActive = false;
    bool rejoining = false;
    bool serverCheckPending = false;
    bool coreAlive = false;
    // Counts the disconnects and final signals; see SessionWatch.
    quint64 sessionEnds = 0;
    QTimer timer;
    QTimer firstRequestTimer;
    QTimer stalledReadTimer;
    QTimer readRestTimer;

    enum class State { Closed, LoggingIn, Online, Rebooting, Rejoining, Failed, Rejected, Dropped };
    State state = State::Closed;
    quint64 keepAliveTicks = 0;
    int readDepth = 0;
    ReplyFramer framer;
    QRegularExpression requestPattern;
    QStringDecoder bootDecoder;
    // A character the console cut between two reads is recorded whole.
    QStringDecoder historyDecoder;
    bool loginTyped = false;
    bool passwordTyped = false;
    QByteArray expectedEcho;
    QByteArray echoSeen;
    bool coreStarting = false;
    QByteArray heldWrites;
    bool lineLossPending = false;
    bool outcomeBoxes = true;
    // Announced: waiting for reply 10; Sending: for the body; Confirming: for reply 11.
    enum class Upload { None, Announced, Sending, Confirming };
    Upload upload = Upload::None;
    QString uploadName;
    // What was written while the gateway takes everything as the file's content.
    QByteArray uploadHeld;
    QTimer uploadTimer;
    QPointer<PortCloser> closer;
    HistoryMasker consoleMasker;
    QString historyTag;

    void initEventOptions();
    void startCore(bool coreRuns);
    void pauseLogStream();
    void parseReceivedFrames(qsizetype searchFrom);
    void dispatchByType(QString type, QString message);
    void parsingMessageInResponse(QString message);
    void handleError(QString message);
    void takeSettings(const QString &text);
    void beginReboot();
    void takeBootOutput(const QByteArray &chunk);
    void readOnSignal();
    void readBehindBox();
    void readPending();
    void readPort(qint64 turnBytes = std::numeric_limits<qint64>::max());
    void takeChunk(const QByteArray &chunk);
    void takeLoginOutput(const QByteArray &chunk);
    QByteArray withoutEcho(const QByteArray &chunk);
    void typeLine(const QByteArray &line);
    void refuseLogin();
    void takeReplies(const QByteArray &chunk);
    void failConnection();
    void reportLoss();
    void lineLost();
    void releaseHeldWrites();
    void dropHeldWrites();
    bool holdsForUpload() const;
    void endUpload(bool delivered);
    void dropUpload();
    void uploadTimedOut();
    void recordChunk(const QByteArray &chunk);
    void record(int level, const QString &text) const;
    bool refusesArgument(const QByteArray &argument);
    void drainWrites(qint64 timeoutMs);
    void closePort();
    void writeToPort(const QByteArray &bytes);
    void clearReceiveBuffer();
    void clearAndWrite(const QByteArray &bytes);
    void setReader(void (SPortConnector::*reader)());
    void setTimerSlot(void (SPortConnector::*slot)());
};
