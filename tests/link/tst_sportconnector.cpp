#include "emulator/gatewayemulator.h"
#include "emulator/pseudoterminal.h"
#include "link/historylog.h"
#include "link/sportconnector.h"
#include "linkedgateway.h"
#include "settings/catalogue.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QPointer>
#include <QScopeGuard>
#include <QSerialPort>
#include <QSignalSpy>
#include <QStringDecoder>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QTranslator>

#include <functional>
#include <memory>
#include <utility>

using LinkAction = std::function<void(SPortConnector *)>;
Q_DECLARE_METATYPE(LinkAction)

namespace {

constexpr int waitMs = 5000;
constexpr int fastBaudRate = 1500000;
const QByteArray sentinelRequest = QByteArrayLiteral("REQUEST.{[--50 State]}\r");
const QByteArray sentinelReply = QByteArrayLiteral("RESPONSE.{[62 999]}\r\n");
const QString sentinelEvent = QStringLiteral("vpn 999");

const QString refusedTitle = QStringLiteral("Не удалось авторизоваться");
const QString refusedText = QStringLiteral(
        "Не верные данные для авторизации.\nПроверьте пароль и логин и попробуйте снова");
const QString lostBox = QStringLiteral("box 3|Ошибка|Потеряно соединение с устройством.");
const QString timeoutText = QStringLiteral(
        "Не удалось подключится к базовой станции.\nВозможно выбранный COM порт недоступен.");

QTimer *linkTimer(SPortConnector *link)
{
    return link->findChild<QTimer *>(QStringLiteral("linkTimer"));
}

// A tick as the running timer delivers it: a stopped timer gives none.
bool fireTick(SPortConnector *link)
{
    QTimer *timer = linkTimer(link);
    if (!timer || !timer->isActive())
        return false;
    return QMetaObject::invokeMethod(timer, "timeout");
}

bool portOpen(SPortConnector *link)
{
    const QSerialPort *port = link->findChild<QSerialPort *>();
    return port && port->isOpen();
}

QString historyPath()
{
    return historyLogPath();
}

QString historyText()
{
    QFile file(historyPath());
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

int historyCount(const QString &text)
{
    return historyText().count(text);
}

// Every signal of the link as one line of text, in the order of emission.
class SignalLog : public QObject
{
public:
    explicit SignalLog(SPortConnector *link)
    {
        connect(link, &SPortConnector::resivedSettings, this, [this](QJsonObject *settings) {
            add(QStringLiteral("settings ")
                + QString::fromUtf8(QJsonDocument(*settings).toJson(QJsonDocument::Compact)));
        });
        connect(link, &SPortConnector::connectSucsessful, this, [this] { add("connected"); });
        connect(link, &SPortConnector::rebootSucsess, this, [this] { add("rebooted"); });
        connect(link, &SPortConnector::disableInterface, this, [this] { add("disable"); });
        connect(link, &SPortConnector::readyToGetOVPN, this, [this] { add("readyToGetOVPN"); });
        connect(link, &SPortConnector::sendTxtDialog, this,
                [this](int index, const QString &title, const QString &text) {
                    add(QStringLiteral("box %1|%2|%3").arg(index).arg(title, text));
                });
        connect(link, &SPortConnector::sendRebootLogs, this,
                [this](const QString &text) { bootText += text; });
        connect(link, &SPortConnector::sendLoRaLogs, this,
                [this](const QString &text) { add(QStringLiteral("logs ") + text); });
        connect(link, &SPortConnector::stopSpinner, this, [this] { add("stopSpinner"); });
        connect(link, &SPortConnector::serverStatusResponse, this, [this](bool enable, bool start) {
            add(QStringLiteral("server %1 %2").arg(int(enable)).arg(int(start)));
        });
        connect(link, &SPortConnector::unlockApplyBTN, this, [this] { add("unlock"); });
        connect(link, &SPortConnector::settingsApplied, this, [this] { add("applied"); });
        connect(link, &SPortConnector::settingsDamaged, this, [this] { add("damaged"); });
        connect(link, &SPortConnector::errorReply, this, [this](int code, const QString &detail) {
            add(QStringLiteral("error %1 %2").arg(code).arg(detail).trimmed());
        });
        connect(link, &SPortConnector::blockRequestBTN, this, [this] { add("block"); });
        connect(link, &SPortConnector::connectionCoreDropped, this, [this] { add("dropped"); });
        connect(link, &SPortConnector::connectionFailure, this, [this] { add("failure"); });
        connect(link, &SPortConnector::openVPNState, this,
                [this](int state) { add(QStringLiteral("vpn %1").arg(state)); });
        connect(link, &SPortConnector::gatewayModel, this,
                [this](int model) { add(QStringLiteral("model %1").arg(model)); });
        connect(link, &SPortConnector::recivedStatusLoRaModules, this,
                [this](bool two) { add(QStringLiteral("modules %1").arg(two ? "two" : "one")); });
    }

    int count(const QString &prefix) const
    {
        int found = 0;
        for (const QString &event : events) {
            if (event.startsWith(prefix))
                ++found;
        }
        return found;
    }
    bool waitFor(const QString &prefix, int times = 1)
    {
        return QTest::qWaitFor([&] { return count(prefix) >= times; }, waitMs);
    }
    // The events without the stream's log lines and keep-alive answers.
    QStringList replies() const
    {
        QStringList kept;
        for (const QString &event : events) {
            if (!event.startsWith(QLatin1String("logs ")) && !event.startsWith("model "))
                kept.append(event);
        }
        return kept;
    }

    QStringList events;
    QString bootText;

private:
    void add(const QString &event) { events.append(event); }
};

// The raw master side of a pseudo-terminal, for console dialogues scripted byte by byte.
struct RawConsole
{
    PseudoTerminal terminal;
    QByteArray received;

    bool open()
    {
        QObject::connect(&terminal, &PseudoTerminal::dataRead, &terminal,
                         [this](const QByteArray &bytes) { received += bytes; });
        return terminal.open();
    }
};

// A link without owner, logged in to the emulator; the caller deletes it.
SPortConnector *loggedInLink(GatewayEmulator &emulator)
{
    auto *link = new SPortConnector(fastBaudRate);
    link->setConnectionParameters(emulator.devicePath(), "root\r", "kelvane\r");
    QSignalSpy connected(link, &SPortConnector::connectSucsessful);
    link->connectToGatewayPort();
    if (!connected.wait(waitMs)) {
        delete link;
        return nullptr;
    }
    return link;
}

} // namespace

class TestSPortConnector : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void portPresence_data();
    void portPresence();

    void loginConversation_data();
    void loginConversation();
    void consoleDialogue_data();
    void consoleDialogue();
    void loginAfterEarlierSession_data();
    void loginAfterEarlierSession();
    void connectOnOpenPortDoesNothing();
    void openFailure();
    void connectionTimeout_data();
    void connectionTimeout();

    void requestLines_data();
    void requestLines();

    void replies_data();
    void replies();
    void replySplitAcrossReads_data();
    void replySplitAcrossReads();
    void historyOfOneReply();
    void unknownCodeGivesOneErrorLine();
    void wifiNamesThatLookLikeReplies_data();
    void wifiNamesThatLookLikeReplies();

    void keepAliveAnswered();
    void keepAliveLossReportedOnce_data();
    void keepAliveLossReportedOnce();

    void rebootAndRejoin();
    void bootOutputFiltering_data();
    void bootOutputFiltering();
    void loginPromptInTheReadOfReplyFifty();
    void refusedRejoinKeepsSpinner();
    void rebootWithOutputUnread_data();
    void rebootWithOutputUnread();
    void rebootReplyBehindNoticeBox();
    void echoCutByClearKeepsNextReply();

    void upload_data();
    void upload();
    void closingLines_data();
    void closingLines();
    void disconnectDuringSlowUpload_data();
    void disconnectDuringSlowUpload();
    void requestsWaitForTheFile();
    void historyHoldsNoSecret();
    void hangUpAtEveryStep_data();
    void hangUpAtEveryStep();

    void modalBoxKeepsDispatchOrder_data();
    void modalBoxKeepsDispatchOrder();
    void keepAliveTickInsideItsOwnBox();
    void modalBoxDuringKeepAliveLoss();
    void silentAfterLossInsideReplyBox_data();
    void silentAfterLossInsideReplyBox();
    void deletedDuringModalBox();
    void deletedOnFinalSignal_data();
    void deletedOnFinalSignal();

    void serverStateAfterCommand_data();
    void serverStateAfterCommand();
    void englishReplyTexts_data();
    void englishReplyTexts();
    void englishConnectionTexts();

    void endToEndSession();
};

void TestSPortConnector::initTestCase()
{
    QFile::remove(historyPath());
}

void TestSPortConnector::loginConversation_data()
{
    QTest::addColumn<bool>("atShell");
    QTest::addColumn<bool>("coreRunning");
    QTest::addColumn<bool>("dropTypeahead");
    QTest::addColumn<QByteArray>("written");

    const QByteArray full = "\rroot\rkelvane\r\rKVNCore\rREQUEST.{[--10 State]}\r";
    QTest::newRow("login and password") << false << false << false << full;
    QTest::newRow("console already at the shell")
            << true << false << false << QByteArray("\rKVNCore\rREQUEST.{[--10 State]}\r");
    QTest::newRow("core already running")
            << false << true << false << QByteArray("\rKVNCore\rREQUEST.{[--10 State]}\r");
    QTest::newRow("input typed ahead of the core lost") << false << false << true << full;
}

void TestSPortConnector::loginConversation()
{
    QFETCH(bool, atShell);
    QFETCH(bool, coreRunning);
    QFETCH(bool, dropTypeahead);
    QFETCH(QByteArray, written);

    GatewayEmulator emulator(1);
    QVERIFY(emulator.start());
    emulator.setAtShell(atShell);
    emulator.setCoreRunning(coreRunning);
    emulator.setDropTypeahead(dropTypeahead);
    SPortConnector link(115200);
    SignalLog log(&link);
    link.setConnectionParameters(emulator.devicePath(), "root\r", "kelvane\r");
    link.connectToGatewayPort();
    QVERIFY(log.waitFor("server "));

    QCOMPARE(emulator.received(), written);
    QCOMPARE(log.replies(), QStringList({"connected", "stopSpinner", "server 0 0"}));
    QVERIFY(emulator.coreRunning());
    QCOMPARE(linkTimer(&link)->interval(), 60000);
    QVERIFY(linkTimer(&link)->isActive());
}

void TestSPortConnector::consoleDialogue_data()
{
    QTest::addColumn<QList<QByteArray>>("console");
    QTest::addColumn<QList<QByteArray>>("written");
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<bool>("openAtEnd");

    const QByteArray login = "\rroot\r";
    const QByteArray both = "\rroot\rkelvane\r\r";
    // A shell prompt starts the core; its first request waits for the core's reply.
    const QByteArray coreStart = "KVNCore\r";
    const QByteArray core = "KVNCore\rREQUEST.{[--10 State]}\r";
    const QStringList connected{"connected", "stopSpinner"};
    const QStringList refused{"stopSpinner", "box 2|" + refusedTitle + "|" + refusedText};

    QTest::newRow("login, password, shell prompt")
            << QList<QByteArray>{"gw login: ", "root\r\nPassword: ", "\r\nroot@gw:~# "}
            << QList<QByteArray>{login, both, both + coreStart} << connected << true;
    QTest::newRow("login prompt split across reads")
            << QList<QByteArray>{"gw log", "in: "} << QList<QByteArray>{"\r", login}
            << QStringList() << true;
    QTest::newRow("several prompts in one read")
            << QList<QByteArray>{"gw login: Password: ", "root@gw:~# "}
            << QList<QByteArray>{both, both + coreStart} << connected << true;
    QTest::newRow("last login notice is no login prompt")
            << QList<QByteArray>{"gw login: ", "Password: ", "\r\nLast login: today\r\nroot@gw:~# "}
            << QList<QByteArray>{login, both, both + coreStart} << connected << true;
    QTest::newRow("credentials refused")
            << QList<QByteArray>{"gw login: ", "Password: ", "\r\nLogin incorrect\r\ngw login: "}
            << QList<QByteArray>{login, both, both} << refused << false;
    QTest::newRow("password typed once")
            << QList<QByteArray>{"gw login: ", "Password: ", "Password: ", "Login incorrect\r\n"}
            << QList<QByteArray>{login, both, both, both} << refused << false;
    QTest::newRow("refusal in the read of the password prompt")
            << QList<QByteArray>{"gw login: Password: \r\nLogin incorrect\r\n"}
            << QList<QByteArray>{both} << refused << false;
    QTest::newRow("echo of the login cut between reads")
            << QList<QByteArray>{"gw login: ", "r", "oot\r\nPassword: "}
            << QList<QByteArray>{login, login, both} << QStringList() << true;
    QTest::newRow("password asked before the login was typed")
            << QList<QByteArray>{"Password: ", "\r\nLogin incorrect\r\ngw login: ", "Password: "}
            << QList<QByteArray>{"\r\r", "\r\rroot\r", "\r\rroot\rkelvane\r\r"} << QStringList()
            << true;
    QTest::newRow("core announcement ends the login")
            << QList<QByteArray>{"CONNECT.{[1 3]}\r\n"} << QList<QByteArray>{"\r" + core}
            << connected << true;
}

void TestSPortConnector::consoleDialogue()
{
    QFETCH(QList<QByteArray>, console);
    QFETCH(QList<QByteArray>, written);
    QFETCH(QStringList, events);
    QFETCH(bool, openAtEnd);

    RawConsole raw;
    QVERIFY(raw.open());
    SPortConnector link(115200);
    SignalLog log(&link);
    link.setConnectionParameters(raw.terminal.slavePath(), "root\r", "kelvane\r");
    link.connectToGatewayPort();
    QTRY_COMPARE(raw.received, QByteArray("\r"));
    // Each piece is read alone before the next one is written.
    for (int step = 0; step < console.size(); ++step) {
        const QString entry = QStringLiteral("Read logs - ") + QString::fromUtf8(console.at(step));
        const int before = historyCount(entry);
        raw.terminal.write(console.at(step));
        QTRY_COMPARE(historyCount(entry), before + 1);
        QTRY_COMPARE(raw.received, written.at(step));
    }
    QTRY_COMPARE(log.events, events);
    QCOMPARE(portOpen(&link), openAtEnd);
    QCOMPARE(linkTimer(&link)->isActive(), openAtEnd);
    QCOMPARE(raw.received, written.last());
    // A core that never answers gets its first request after a while.
    if (written.last().endsWith("KVNCore\r")) {
        QVERIFY(QMetaObject::invokeMethod(
                link.findChild<QTimer *>(QStringLiteral("firstRequestTimer")), "timeout"));
        QTRY_COMPARE(raw.received, written.last() + "REQUEST.{[--10 State]}\r");
    }
}

void TestSPortConnector::loginAfterEarlierSession_data()
{
    QTest::addColumn<QByteArray>("typed");
    QTest::addColumn<QByteArray>("shown");

    // The login program's own prompt after a refusal takes the link's first return
    // as an empty user name and asks for a password.
    QTest::newRow("wrong password typed before")
            << QByteArray("\rroot\rwrong\r") << QByteArray("incorrect\r\nkelvane-gw login: ");
    QTest::newRow("link refused before, its extra return typed ahead")
            << QByteArray("\rroot\rwrong\r\r") << QByteArray("login: Password: ");
    QTest::newRow("console left at the password prompt")
            << QByteArray("\rroot\r") << QByteArray("Password: ");
}

void TestSPortConnector::loginAfterEarlierSession()
{
    QFETCH(QByteArray, typed);
    QFETCH(QByteArray, shown);

    GatewayEmulator emulator(1);
    QVERIFY(emulator.start());
    emulator.setRefusalDelayMs(20);
    {
        QSerialPort earlier;
        earlier.setPortName(emulator.devicePath());
        QVERIFY(earlier.open(QIODevice::ReadWrite));
        QByteArray console;
        QObject::connect(&earlier, &QSerialPort::readyRead, &earlier,
                         [&] { console += earlier.readAll(); });
        earlier.write(typed);
        QTRY_VERIFY(console.endsWith(shown));
    }
    SPortConnector link(115200);
    SignalLog log(&link);
    link.setConnectionParameters(emulator.devicePath(), "root\r", "kelvane\r");
    link.connectToGatewayPort();
    QVERIFY2(log.waitFor("server "), qPrintable(log.events.join(", ")));
    QCOMPARE(log.count("box"), 0);
}

void TestSPortConnector::connectOnOpenPortDoesNothing()
{
    LinkedGateway gateway;
    QVERIFY(gateway.open(2));
    SignalLog log(gateway.link());
    QVERIFY(log.waitFor("server "));
    gateway.emulator().clearReceived();
    log.events.clear();

    gateway.link()->connectToGatewayPort();
    gateway.link()->requestLoRaModulesState();
    QVERIFY(log.waitFor("modules "));
    QCOMPARE(gateway.emulator().received(), sentinelRequest);
    QCOMPARE(log.replies(), QStringList{"modules two"});
}

void TestSPortConnector::openFailure()
{
    const QString missing = QStringLiteral("/dev/kelvane-no-such-port");
    SPortConnector link(115200);
    SignalLog log(&link);
    link.setConnectionParameters(missing, "root\r", "kelvane\r");
    link.connectToGatewayPort();

    QCOMPARE(log.events.size(), 3);
    QCOMPARE(log.events.at(0), QStringLiteral("stopSpinner"));
    QVERIFY2(log.events.at(1).startsWith("box 3|" + missing + "|Не удалось открыть порт: " + missing
                                         + ".\nПо причине: "),
             qPrintable(log.events.at(1)));
    // The reason is the port's own error text.
    QVERIFY(!log.events.at(1).section(QStringLiteral("По причине: "), 1).isEmpty());
    QCOMPARE(log.events.at(2), QStringLiteral("failure"));
    QVERIFY(!linkTimer(&link)->isActive());
}

void TestSPortConnector::connectionTimeout_data()
{
    QTest::addColumn<bool>("duringReboot");
    QTest::addColumn<int>("interval");

    QTest::newRow("no prompt after opening") << false << 30000;
    QTest::newRow("no prompt after reply 50") << true << 180000;
}

void TestSPortConnector::connectionTimeout()
{
    QFETCH(bool, duringReboot);
    QFETCH(int, interval);

    GatewayEmulator emulator(0);
    QVERIFY(emulator.start());
    RawConsole raw;
    QVERIFY(raw.open());
    const QString path = duringReboot ? emulator.devicePath() : raw.terminal.slavePath();
    SPortConnector link(115200);
    link.setConnectionParameters(path, "root\r", "kelvane\r");
    SignalLog log(&link);
    link.connectToGatewayPort();
    if (duringReboot) {
        QVERIFY(log.waitFor("server "));
        emulator.sendRaw("RESPONSE.{[50]}\r\n");
        QVERIFY(log.waitFor("disable"));
    }
    log.events.clear();

    QCOMPARE(linkTimer(&link)->interval(), interval);
    QVERIFY(fireTick(&link));
    const QStringList expected{"stopSpinner",
                               "box 2|Ошибка подключения к порту: " + path + "|" + timeoutText,
                               "failure"};
    QCOMPARE(log.events, expected);
    QVERIFY(!portOpen(&link));
    QVERIFY(!fireTick(&link));
    QCOMPARE(log.events, expected);
}

void TestSPortConnector::requestLines_data()
{
    QTest::addColumn<LinkAction>("action");
    QTest::addColumn<bool>("logsActive");
    QTest::addColumn<QByteArray>("written");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("sentinel");

    const QByteArray hide = "REQUEST.{[--50 Hide]}\r";
    const QByteArray show = "REQUEST.{[--50 Show]}\r";
    const QByteArray state = "REQUEST.{[--10 State]}\r";
    const QJsonObject document{{"350", QJsonObject{{"351", "Дача"}}}};
    const QByteArray json = QJsonDocument(document).toJson(QJsonDocument::Compact);

    const LinkAction read = [](SPortConnector *link) {
        link->getCurrentSettings();
    };
    const LinkAction apply = [json](SPortConnector *link) {
        link->sendSettings(json);
    };
    const LinkAction resetAll = [](SPortConnector *link) {
        link->resetDefaultSettings();
    };
    const LinkAction resetLoRa = [](SPortConnector *link) {
        link->resetLoRaDefaultSettings();
    };
    const LinkAction serverState = [](SPortConnector *link) {
        link->serverPowerUpCheckRequest();
    };
    const LinkAction enable = [](SPortConnector *link) {
        link->localServerEnableRequest(true);
    };
    const LinkAction disable = [](SPortConnector *link) {
        link->localServerEnableRequest(false);
    };
    const LinkAction start = [](SPortConnector *link) {
        link->localServerStartRequest(true);
    };
    const LinkAction stop = [](SPortConnector *link) {
        link->localServerStartRequest(false);
    };
    const LinkAction logsStop = [](SPortConnector *link) {
        link->stopGetPacketForwarderLogs();
    };
    const LinkAction forwarderThenRead = [](SPortConnector *link) {
        link->runPacketForwarder(true);
        link->getCurrentSettings();
    };
    const LinkAction announce = [](SPortConnector *link) {
        link->runOVPNFileToGW(QStringLiteral("/home/installer/vpn/client.ovpn"));
    };

    for (const bool active : {false, true}) {
        const QByteArray pause = active ? hide : QByteArray();
        const QByteArray resume = active ? show : QByteArray();
        const char *suffix = active ? " (log stream on)" : " (log stream off)";
        const auto row = [suffix](const char *name) -> QTestData & {
            return QTest::newRow(qPrintable(QString::fromLatin1(name) + QLatin1String(suffix)));
        };
        row("read settings") << read << active << pause + "REQUEST.{[--26]}\r"
                             << QStringLiteral("settings ") << true;
        row("apply settings") << apply << active << pause + "REQUEST.{[--25 " + json + "]}\r"
                              << QStringLiteral("unlock") << true;
        row("reset all") << resetAll << active << pause + "REQUEST.{[--20]}\r"
                         << QStringLiteral("box 1") << true;
        row("reset LoRa") << resetLoRa << active << pause + "REQUEST.{[--21]}\r"
                          << QStringLiteral("box 1") << true;
        row("server state") << serverState << active << pause + state + resume
                            << QStringLiteral("server ") << true;
        row("server enable") << enable << active
                             << pause + "REQUEST.{[--10 Enable]}\r" + pause + state + resume
                             << QStringLiteral("server ") << true;
        row("server disable") << disable << active
                              << pause + "REQUEST.{[--10 Disable]}\r" + pause + state + resume
                              << QStringLiteral("server ") << true;
        row("server start") << start << active
                            << pause + "REQUEST.{[--10 Start]}\r" + pause + state + resume
                            << QStringLiteral("server ") << true;
        row("server stop") << stop << active
                           << pause + "REQUEST.{[--10 Stop]}\r" + pause + state + resume
                           << QStringLiteral("server ") << true;
        row("log stream stop") << logsStop << active
                               << (active ? QByteArray("REQUEST.{[--50 Stop]}\r") : QByteArray())
                               << QString() << true;
        row("forwarder restart ends the stream")
                << forwarderThenRead << active
                << QByteArray("REQUEST.{[--50 RunX16]}\rREQUEST.{[--26]}\r")
                << QStringLiteral("settings ") << true;
        row("file announcement") << announce << active << pause + "REQUEST.{[--40 client.ovpn]}\r"
                                 << QStringLiteral("readyToGetOVPN") << false;
    }

    const auto plain = [](const char *name, LinkAction action, const QByteArray &line,
                          const QString &answer, bool sentinel = true) {
        QTest::newRow(name) << action << false << line << answer << sentinel;
    };
    plain(
            "log stream start", [](SPortConnector *link) { link->startGetPacketForwarderLogs(); },
            "REQUEST.{[--50 Start]}\r", "logs ");
    plain(
            "module state", [](SPortConnector *link) { link->requestLoRaModulesState(); },
            sentinelRequest, "modules ");
    plain(
            "forwarder with one module",
            [](SPortConnector *link) { link->runPacketForwarder(false); },
            "REQUEST.{[--50 RunX8]}\r", "box 1|Lora_Pkt_Fwd|");
    plain(
            "file name without folders",
            [](SPortConnector *link) { link->runOVPNFileToGW(QStringLiteral("client.ovpn")); },
            "REQUEST.{[--40 client.ovpn]}\r", "readyToGetOVPN", false);
    plain(
            "activate configuration",
            [](SPortConnector *link) { link->activateOVPNConfig(QStringLiteral("офис.ovpn")); },
            QStringLiteral("REQUEST.{[--41 офис.ovpn]}\r").toUtf8(), "box 3");
    plain(
            "run configuration",
            [](SPortConnector *link) { link->runOVPNConfig(QStringLiteral("home.ovpn")); },
            "REQUEST.{[--42 home.ovpn]}\r", "box 3");
    plain(
            "configuration state with empty name",
            [](SPortConnector *link) { link->requestOVPNState(QString()); }, "REQUEST.{[--43 ]}\r",
            "vpn ");
    plain(
            "file body", [](SPortConnector *link) { link->sendOVPNFileToGW("a\nb\n((EOF))"); },
            "a\nb\n((EOF))\r", QString());
    plain(
            "file name with a line break refused",
            [](SPortConnector *link) { link->runOVPNFileToGW(QStringLiteral("/tmp/a\nb.ovpn")); },
            QByteArray(), QString());
}

// Each request runs against a fresh gateway; its answer is awaited, then a last
// request proves that nothing else was written in between.
void TestSPortConnector::requestLines()
{
    QFETCH(LinkAction, action);
    QFETCH(bool, logsActive);
    QFETCH(QByteArray, written);
    QFETCH(QString, answer);
    QFETCH(bool, sentinel);

    LinkedGateway gateway;
    QVERIFY(gateway.open(3));
    SPortConnector *link = gateway.link();
    SignalLog log(link);
    QVERIFY(log.waitFor("server "));
    if (logsActive) {
        gateway.emulator().setLogIntervalMs(5);
        link->startGetPacketForwarderLogs();
        QVERIFY(log.waitFor("logs "));
    }
    gateway.emulator().clearReceived();
    log.events.clear();

    action(link);
    if (!answer.isEmpty())
        QVERIFY2(log.waitFor(answer), qPrintable(log.replies().join(", ")));
    // A file announcement leaves the gateway waiting for a body: no further request.
    if (!sentinel) {
        QCOMPARE(gateway.emulator().received(), written);
        return;
    }
    const int modulesBefore = log.count("modules ");
    link->requestLoRaModulesState();
    QVERIFY(log.waitFor("modules ", modulesBefore + 1));
    QCOMPARE(gateway.emulator().received(), written + sentinelRequest);
}

void TestSPortConnector::replies_data()
{
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<int>("chunk");

    const QString settings = QStringLiteral("box 1|Настройки|");
    const QString vpn = QStringLiteral("box 1|VPN config|");
    const QString error = QStringLiteral("box 3|Ошибка|");

    struct Row
    {
        const char *name;
        QByteArray raw;
        QStringList events;
    };
    const QList<Row> rows{
            {"ready for the file body", "RESPONSE.{[10]}\r\n", {"readyToGetOVPN"}},
            {"file body received", "RESPONSE.{[11]}\r\n", {vpn + "Передача файла завершена"}},
            {"server state", "RESPONSE.{[20 1 0 0]}\r\n", {"server 1 0"}},
            {"server state with missing fields", "RESPONSE.{[20 1]}\r\n", {"server 1 0"}},
            {"LoRa reset", "RESPONSE.{[30]}\r\n", {settings + "Настройки LoRa успешно сброшены!"}},
            {"settings applied",
             "RESPONSE.{[31]}\r\n",
             {"applied", settings + "Настройки применены!", "unlock"}},
            {"factory reset",
             "RESPONSE.{[32]}\r\n",
             {settings + "Настройки базовой станции успешно сброшены!"}},
            {"settings document",
             "RESPONSE.{[33 {\"100\":{\"101\":\"ё\"},\"9\":\"1.2.0\"}]}\r\n",
             {"settings {\"100\":{\"101\":\"ё\"},\"9\":\"1.2.0\"}"}},
            {"malformed settings document",
             "RESPONSE.{[33 {\"100\":]}\r\n",
             {"damaged", "box 2|Ошибка|" + SPortConnector::damagedSettingsText(), "settings {}"}},
            {"one LoRa module", "RESPONSE.{[45 8]}\r\n", {"modules one"}},
            {"two LoRa modules", "RESPONSE.{[45 16]}\r\n", {"modules two"}},
            {"second module started",
             "RESPONSE.{[46]}\r\n",
             {"box 1|Lora_Pkt_Fwd|Дополнительный модуль LoRa запущен!"}},
            {"second module stopped",
             "RESPONSE.{[47]}\r\n",
             {"box 1|Lora_Pkt_Fwd|Дополнительный модуль LoRa остановлен!"}},
            {"OpenVPN activated", "RESPONSE.{[60]}\r\n", {vpn + "Сервис OpenVPN активирован."}},
            {"OpenVPN started", "RESPONSE.{[61]}\r\n", {vpn + "Сервис OpenVPN запущен."}},
            {"OpenVPN state", "RESPONSE.{[62 11]}\r\n", {"vpn 11"}},
            {"reboot notice",
             "RESPONSE.{[930]}\r\n",
             {settings + "Базовая станция будет перезагружена."}},
            {"code without handler", "RESPONSE.{[77 text]}\r\n", {}},
            {"forwarder not running",
             "ERROR.{[1005]}\r\n",
             {"error 1005", error + "Служба lora_pkt_fwd не запущена."}},
            {"file not writable",
             "ERROR.{[1006]}\r\n",
             {"error 1006", error + "Не удалось открыть файл .ovpn для записи."}},
            {"settings not read with keys",
             "ERROR.{[1007 101 205]}\r\n",
             {"error 1007 101 205", "settings {}",
              error + "Не удалось получить некоторые настройки.\nКод ошибки: 101\n205"}},
            {"settings not read",
             "ERROR.{[1007]}\r\n",
             {"error 1007", "settings {}",
              error + "Не удалось получить некоторые настройки.\nКод ошибки: 1007"}},
            {"settings not set with keys",
             "ERROR.{[1008 352 353]}\r\n",
             {"error 1008 352 353", "unlock",
              error + "Не удалось установить некоторые настройки.\nКод ошибки: 352\n353"}},
            {"OpenVPN not activated",
             "ERROR.{[1009]}\r\n",
             {"error 1009", error + "Не удалось активировать сервис OpenVPN."}},
            {"OpenVPN not started",
             "ERROR.{[1010]}\r\n",
             {"error 1010", error + "Не удалось запустить сервис OpenVPN."}},
            {"OpenVPN already activated",
             "ERROR.{[9909]}\r\n",
             {"error 9909", error + "Сервис OpenVPN уже активирован."}},
            {"OpenVPN already started",
             "ERROR.{[9910]}\r\n",
             {"error 9910", error + "Сервис OpenVPN уже запущен."}},
            {"error code not in the table",
             "ERROR.{[4242 x]}\r\n",
             {"error 4242 x", error + "В приложении возникла ошибка. Код ошибки: 4242"}},
            {"alive with model", "CONNECT.{[1 2]}\r\n", {"model 2"}},
            {"alive without model", "CONNECT.{[1]}\r\n", {}},
            {"log line with braces",
             "LOGS.{[{\"rxpk\":{\"freq\":868.1}}]}\r\n",
             {"logs {\"rxpk\":{\"freq\":868.1}}"}},
            {"white space before the closing", "RESPONSE.{[62 4\r\n]}\r\n", {"vpn 4"}},
            {"code alone before a line break",
             "RESPONSE.{[31\r\n]}\r\n",
             {"applied", settings + "Настройки применены!", "unlock"}},
            {"several replies, one per line",
             "LOGS.{[first]}\r\nRESPONSE.{[62 1]}\r\nLOGS.{[second]}\r\n",
             {"logs first", "vpn 1", "logs second"}},
            {"two replies on one line",
             "RESPONSE.{[62 5]}RESPONSE.{[45 16]}\r\n",
             {"vpn 5", "modules two"}},
            {"echo and shell noise dropped",
             "REQUEST.{[--43 a]}\r\n-sh: x: not found\r\nRESPONSE.{[62 3]}\r\n[  12.5] usb 1-1\r\n",
             {"vpn 3"}},
            {"type inside a log line",
             "LOGS.{[no RESPONSE.{[here]}\r\n",
             {"logs no RESPONSE.{[here"}},
            {"closing inside a settings value",
             "RESPONSE.{[33 {\"a\":\"p]}w\"}]}RESPONSE.{[62 5]}\r\n",
             {"settings {\"a\":\"p]}w\"}", "vpn 5"}},
    };
    for (const int chunk : {0, 3}) {
        for (const Row &row : rows) {
            const QString name = QString::fromLatin1(row.name)
                    + (chunk ? QStringLiteral(" (in pieces)") : QString());
            QTest::newRow(qPrintable(name)) << row.raw << row.events << chunk;
        }
    }
    // Longer than one turn of the event loop reads: the rest is fetched without a new signal.
    QTest::newRow("document longer than a turn's read")
            << "RESPONSE.{[33 {\"a\":\"" + QByteArray(5000, 'x') + "\"}]}\r\n"
            << QStringList{"settings {\"a\":\"" + QString(5000, u'x') + "\"}"} << 0;
}

void TestSPortConnector::replies()
{
    QFETCH(QByteArray, raw);
    QFETCH(QStringList, events);
    QFETCH(int, chunk);

    LinkedGateway gateway;
    QVERIFY(gateway.open(3));
    SignalLog log(gateway.link());
    QVERIFY(log.waitFor("server "));
    log.events.clear();
    if (chunk)
        gateway.emulator().setChunking(chunk, 7);

    gateway.emulator().sendRaw(raw + sentinelReply);
    QVERIFY(log.waitFor(sentinelEvent));
    QCOMPARE(log.events, events + QStringList{sentinelEvent});
}

void TestSPortConnector::replySplitAcrossReads_data()
{
    QTest::addColumn<QList<QByteArray>>("reads");
    QTest::addColumn<QStringList>("events");

    QTest::newRow("closing brace in the next read")
            << QList<QByteArray>{"RESPONSE.{[31]", "}\r\n"}
            << QStringList{"applied", "box 1|Настройки|Настройки применены!", "unlock"};
    QTest::newRow("closing split after the bracket")
            << QList<QByteArray>{"RESPONSE.{[62 8", "]", "}\r\n"} << QStringList{"vpn 8"};
    QTest::newRow("brace inside the document before the closing")
            << QList<QByteArray>{"RESPONSE.{[33 {\"100\":{\"101\":1}", "}]}\r\n"}
            << QStringList{"settings {\"100\":{\"101\":1}}"};
    QTest::newRow("reply completed together with the next one")
            << QList<QByteArray>{"LOGS.{[a]}\r\nLOGS.{[b", "]}\r\nLOGS.{[c]}\r\n"}
            << QStringList{"logs a", "logs b", "logs c"};
    QTest::newRow("character cut between reads")
            << QList<QByteArray>{"LOGS.{[\xd0", "\x96]}\r\n"} << QStringList{"logs Ж"};
    QTest::newRow("read ends at a closing inside a settings value")
            << QList<QByteArray>{"RESPONSE.{[33 {\"a\":\"p]}", "w\"}]}\r\n"}
            << QStringList{"settings {\"a\":\"p]}w\"}"};
}

void TestSPortConnector::replySplitAcrossReads()
{
    QFETCH(QList<QByteArray>, reads);
    QFETCH(QStringList, events);

    LinkedGateway gateway;
    QVERIFY(gateway.open(3));
    SignalLog log(gateway.link());
    QVERIFY(log.waitFor("server "));
    log.events.clear();

    // A character cut between reads is recorded whole, with the read that ends it.
    QStringDecoder decoder(QStringConverter::Utf8);
    for (const QByteArray &read : reads) {
        const QString entry = QStringLiteral("Read logs - ") + decoder.decode(read);
        const int before = historyCount(entry);
        gateway.emulator().sendRaw(read);
        QTRY_COMPARE(historyCount(entry), before + 1);
    }
    gateway.emulator().sendRaw(sentinelReply);
    QVERIFY(log.waitFor(sentinelEvent));
    QCOMPARE(log.events, events + QStringList{sentinelEvent});
}

void TestSPortConnector::historyOfOneReply()
{
    LinkedGateway gateway;
    QVERIFY(gateway.open(3));
    SignalLog log(gateway.link());
    QVERIFY(log.waitFor("server "));
    const qsizetype start = historyText().size();

    gateway.emulator().sendRaw("noise RESPONSE.{[62 5]}\r\n");
    QVERIFY(log.waitFor("vpn 5"));
    const QStringList lines = historyText().mid(start).split('\n', Qt::SkipEmptyParts);
    // The chunk as read, the start of the search, the matched reply, its code and text.
    QCOMPARE(lines.size(), 4);
    const QRegularExpression entry(QStringLiteral(
            "^\\(INFO\\) - \\[\\d\\d\\.\\d\\d\\.\\d{4} - \\d\\d:\\d\\d:\\d\\d\\] - "));
    for (const QString &line : lines)
        QVERIFY2(entry.match(line).hasMatch(), qPrintable(line));
    const QList<QRegularExpression> marks{
            QRegularExpression(QRegularExpression::escape("noise RESPONSE.{[62 5]}\r")),
            QRegularExpression(QStringLiteral("RESPONSE.*\\{\\[62 5\\]\\}")),
            QRegularExpression(QStringLiteral("62\\D+5"))};
    qsizetype at = 0;
    for (const QRegularExpression &mark : marks) {
        while (at < lines.size() && !lines.at(at).contains(mark))
            ++at;
        QVERIFY2(at < lines.size(), qPrintable(mark.pattern()));
        ++at;
    }
}

void TestSPortConnector::unknownCodeGivesOneErrorLine()
{
    LinkedGateway gateway;
    QVERIFY(gateway.open(3));
    SignalLog log(gateway.link());
    QVERIFY(log.waitFor("server "));
    const qsizetype start = historyText().size();
    log.events.clear();

    gateway.emulator().sendRaw("RESPONSE.{[77 text]}\r\nRESPONSE.{[62 1]}\r\n");
    QVERIFY(log.waitFor("vpn 1"));
    const QString added = historyText().mid(start);
    QCOMPARE(added.count(QStringLiteral("(ERR) - ")), 1);
    QVERIFY(added.contains(QRegularExpression(QStringLiteral(
            "\\(ERR\\) - \\[[^]]+\\] - parsingMessageInResponse - Неизвестный ключ 77\n"))));
    QCOMPARE(log.events, QStringList{"vpn 1"});
}

void TestSPortConnector::wifiNamesThatLookLikeReplies_data()
{
    QTest::addColumn<QString>("name");

    QTest::newRow("reply 50") << QStringLiteral("RESPONSE.{[50]}");
    QTest::newRow("error 1005") << QStringLiteral("ERROR.{[1005]}");
    QTest::newRow("closing inside") << QStringLiteral("p]}w");
}

// The console echoes the apply line with the name in it; the name travels and
// comes back unchanged, and the echo is never taken for a reply.
void TestSPortConnector::wifiNamesThatLookLikeReplies()
{
    QFETCH(QString, name);

    LinkedGateway gateway;
    QVERIFY(gateway.open(3));
    SPortConnector *link = gateway.link();
    GatewayEmulator &emulator = gateway.emulator();
    SignalLog log(link);
    QVERIFY(log.waitFor("server "));
    QJsonObject wifi = emulator.settingsDocument().value("350").toObject();
    wifi.insert("352", name);
    const QByteArray json
            = QJsonDocument(QJsonObject{{"350", wifi}}).toJson(QJsonDocument::Compact);
    emulator.clearReceived();
    log.events.clear();

    link->sendSettings(json);
    QVERIFY(log.waitFor("unlock"));
    QCOMPARE(emulator.received(),
             "REQUEST.{[--25 " + QByteArray(json).replace("]}", "]\\u007d") + "]}\r");
    QCOMPARE(emulator.settingsDocument().value("350").toObject().value("352").toString(), name);
    QJsonObject readBack;
    QObject::connect(link, &SPortConnector::resivedSettings, link,
                     [&readBack](QJsonObject *settings) { readBack = *settings; });
    link->getCurrentSettings();
    QVERIFY(log.waitFor("settings "));
    QCOMPARE(readBack.value("350").toObject().value("352").toString(), name);
    QCOMPARE(log.replies().first(), QStringLiteral("applied"));
    QCOMPARE(log.count("box"), 1);
}

void TestSPortConnector::keepAliveAnswered()
{
    LinkedGateway gateway;
    QVERIFY(gateway.open(3));
    SPortConnector *link = gateway.link();
    SignalLog log(link);
    QVERIFY(log.waitFor("server "));
    QCOMPARE(linkTimer(link)->interval(), 60000);
    QVERIFY(linkTimer(link)->isActive());
    gateway.emulator().clearReceived();

    for (int probe = 1; probe <= 3; ++probe) {
        const int answers = log.count("model 3");
        QVERIFY(fireTick(link));
        QVERIFY(log.waitFor("model 3", answers + 1));
    }
    QCOMPARE(gateway.emulator().received(), QByteArray("1\r1\r1\r"));
    QCOMPARE(log.count("dropped"), 0);
    QCOMPARE(log.count("box"), 0);
}

void TestSPortConnector::keepAliveLossReportedOnce_data()
{
    QTest::addColumn<QByteArray>("answer");

    QTest::newRow("core silent") << QByteArray();
    QTest::newRow("answer with alive flag 0") << QByteArray("CONNECT.{[0 3]}\r\n");
    QTest::newRow("answer with unreadable flag") << QByteArray("CONNECT.{[x 3]}\r\n");
}

void TestSPortConnector::keepAliveLossReportedOnce()
{
    QFETCH(QByteArray, answer);

    LinkedGateway gateway;
    QVERIFY(gateway.open(3));
    SPortConnector *link = gateway.link();
    SignalLog log(link);
    QVERIFY(log.waitFor("server "));
    gateway.emulator().setKeepAliveSilent(true);

    QVERIFY(fireTick(link));
    QTRY_VERIFY(gateway.emulator().received().endsWith("1\r"));
    if (!answer.isEmpty()) {
        gateway.emulator().sendRaw(answer);
        QVERIFY(log.waitFor("model 3", log.count("model 3") + 1));
    }
    QCOMPARE(log.count("dropped"), 0);
    log.events.clear();
    QVERIFY(fireTick(link));
    QCOMPARE(log.events, QStringList({lostBox, "dropped"}));
    QVERIFY(!fireTick(link));
    QCOMPARE(log.events, QStringList({lostBox, "dropped"}));
}

void TestSPortConnector::rebootAndRejoin()
{
    LinkedGateway gateway;
    QVERIFY(gateway.open(3));
    SPortConnector *link = gateway.link();
    GatewayEmulator &emulator = gateway.emulator();
    SignalLog log(link);
    QVERIFY(log.waitFor("server "));
    emulator.setRebootPacing(5);
    emulator.setLogIntervalMs(5);
    int intervalWhileRebooting = 0;
    QObject::connect(link, &SPortConnector::disableInterface, link, [&] {
        intervalWhileRebooting = linkTimer(link)->interval();
        link->setConnectionParameters(emulator.devicePath(), "root\r", "kelvane\r");
    });
    // The main window shows a modal box here: the link must be online already.
    int intervalAtRebootNotice = 0;
    QObject::connect(link, &SPortConnector::rebootSucsess, link,
                     [&] { intervalAtRebootNotice = linkTimer(link)->interval(); });
    link->startGetPacketForwarderLogs();
    QVERIFY(log.waitFor("logs "));
    emulator.clearReceived();
    log.events.clear();

    link->rebootGateway();
    QVERIFY(log.waitFor("rebooted"));
    QVERIFY(log.waitFor("server "));
    QCOMPARE(log.replies(),
             QStringList({"box 1|Настройки|Базовая станция будет перезагружена.", "disable",
                          "rebooted", "server 0 0"}));
    QCOMPARE(intervalWhileRebooting, 180000);
    QCOMPARE(intervalAtRebootNotice, 60000);
    QCOMPARE(linkTimer(link)->interval(), 60000);
    QVERIFY(linkTimer(link)->isActive());
    QCOMPARE(emulator.received(),
             QByteArray("REQUEST.{[--90]}\rREQUEST.{[--50 Stop]}\r\rroot\rkelvane\r\rKVNCore\r"
                        "REQUEST.{[--10 State]}\r"));
    QVERIFY2(log.bootText.contains("Starting kernel ...") && log.bootText.contains("U-Boot"),
             qPrintable(log.bootText));
    QVERIFY(!log.bootText.contains("login:"));
    QVERIFY(!log.bootText.contains("RESPONSE"));

    link->getCurrentSettings();
    QVERIFY(log.waitFor("settings {\""));
}

void TestSPortConnector::bootOutputFiltering_data()
{
    QTest::addColumn<QList<QByteArray>>("reads");
    QTest::addColumn<QString>("forwarded");

    QTest::newRow("echoed request removed")
            << QList<QByteArray>{"REQUEST.{[--50 Stop]}\r\nStarting kernel ...\r\n"}
            << QStringLiteral("\r\nStarting kernel ...\r\n");
    QTest::newRow("late reply removed")
            << QList<QByteArray>{"RESPONSE.{[930]}\r\nDRAM:  512 MiB\r\n"}
            << QStringLiteral("\r\nDRAM:  512 MiB\r\n");
    QTest::newRow("boot lines in order")
            << QList<QByteArray>{"[    0.000000] Booting Linux\r\n", "Starting syslogd: OK\r\n"}
            << QStringLiteral("[    0.000000] Booting Linux\r\nStarting syslogd: OK\r\n");
    QTest::newRow("character cut between reads")
            << QList<QByteArray>{"Загр\xd1", "\x83зка\r\n"} << QStringLiteral("Загрузка\r\n");
}

void TestSPortConnector::bootOutputFiltering()
{
    QFETCH(QList<QByteArray>, reads);
    QFETCH(QString, forwarded);

    LinkedGateway gateway;
    QVERIFY(gateway.open(3));
    SignalLog log(gateway.link());
    QVERIFY(log.waitFor("server "));
    gateway.emulator().sendRaw("RESPONSE.{[50]}");
    QVERIFY(log.waitFor("disable"));

    for (const QByteArray &read : reads) {
        const qsizetype before = log.bootText.size();
        gateway.emulator().sendRaw(read);
        QTRY_VERIFY(log.bootText.size() > before);
    }
    gateway.emulator().sendRaw("Welcome\r\nkelvane-gw login: ");
    QVERIFY(log.waitFor("rebooted"));
    QCOMPARE(log.bootText, forwarded);
}

void TestSPortConnector::loginPromptInTheReadOfReplyFifty()
{
    LinkedGateway gateway;
    QVERIFY(gateway.open(3));
    SignalLog log(gateway.link());
    QVERIFY(log.waitFor("server "));
    log.events.clear();

    gateway.emulator().sendRaw("RESPONSE.{[50]}\r\nWelcome\r\nkelvane-gw login: ");
    QVERIFY(log.waitFor("rebooted"));
    QCOMPARE(log.events.mid(0, 2), QStringList({"disable", "rebooted"}));
}

void TestSPortConnector::refusedRejoinKeepsSpinner()
{
    RawConsole raw;
    QVERIFY(raw.open());
    SPortConnector link(115200);
    SignalLog log(&link);
    link.setConnectionParameters(raw.terminal.slavePath(), "root\r", "kelvane\r");
    QObject::connect(&link, &SPortConnector::disableInterface, &link, [&] {
        link.setConnectionParameters(raw.terminal.slavePath(), "root\r", "kelvane\r");
    });
    link.connectToGatewayPort();
    QTRY_COMPARE(raw.received, QByteArray("\r"));
    raw.terminal.write("root@gw:~# ");
    QVERIFY(log.waitFor("connected"));
    QTRY_VERIFY(raw.received.endsWith("KVNCore\r"));
    log.events.clear();
    raw.received.clear();

    raw.terminal.write("RESPONSE.{[50]}\r\n");
    QVERIFY(log.waitFor("disable"));
    raw.terminal.write("Starting kernel ...\r\ngw login: ");
    QTRY_COMPARE(raw.received, QByteArray("\r"));
    raw.terminal.write("gw login: ");
    QTRY_COMPARE(raw.received, QByteArray("\rroot\r"));
    raw.terminal.write("Password: ");
    QTRY_COMPARE(raw.received, QByteArray("\rroot\rkelvane\r\r"));
    raw.terminal.write("\r\nLogin incorrect\r\n");
    QVERIFY(log.waitFor("box 2"));
    QCOMPARE(log.events, QStringList({"disable", "box 2|" + refusedTitle + "|" + refusedText}));
    QVERIFY(!portOpen(&link));
}

void TestSPortConnector::rebootWithOutputUnread_data()
{
    QTest::addColumn<bool>("noticeStands");

    QTest::newRow("reboot notice box stands through the reboot") << true;
    QTest::newRow("login prompt unread at the time-out tick") << false;
}

void TestSPortConnector::rebootWithOutputUnread()
{
    QFETCH(bool, noticeStands);

    LinkedGateway gateway;
    QVERIFY(gateway.open(3));
    SPortConnector *link = gateway.link();
    GatewayEmulator &emulator = gateway.emulator();
    SignalLog log(link);
    QVERIFY(log.waitFor("server "));
    emulator.setRebootPacing(5);
    QObject::connect(link, &SPortConnector::disableInterface, link, [&] {
        link->setConnectionParameters(emulator.devicePath(), "root\r", "kelvane\r");
    });

    bool rebootedBehindBox = !noticeStands;
    if (noticeStands) {
        QObject::connect(link, &SPortConnector::sendTxtDialog, link, [&] {
            QSignalSpy booted(&emulator, &GatewayEmulator::rebootFinished);
            if (!booted.wait(waitMs))
                return;
            // The keep-alive tick reads reply 50 behind the box; later ticks time out.
            fireTick(link);
            rebootedBehindBox = log.waitFor("rebooted");
            if (!rebootedBehindBox)
                fireTick(link);
        });
        link->rebootGateway();
    } else {
        emulator.sendRaw("RESPONSE.{[50]}\r\n");
        QVERIFY(log.waitFor("disable"));
        emulator.sendRaw("kelvane-gw login: ");
        QVERIFY(fireTick(link));
    }
    QVERIFY(log.waitFor("rebooted"));
    QVERIFY(rebootedBehindBox);
    QCOMPARE(log.count("failure"), 0);
    QCOMPARE(log.bootText.contains("Starting kernel ..."), noticeStands);
}

// Reply 930's box stands while reply 50, read with it, waits: the keep-alive tick
// hands it out instead of taking the silent console for a lost core.
void TestSPortConnector::rebootReplyBehindNoticeBox()
{
    LinkedGateway gateway;
    QVERIFY(gateway.open(3));
    SPortConnector *link = gateway.link();
    SignalLog log(link);
    QVERIFY(log.waitFor("server "));
    gateway.emulator().setKeepAliveSilent(true);
    bool firstBox = true;
    QObject::connect(link, &SPortConnector::sendTxtDialog, link, [&] {
        if (!std::exchange(firstBox, false))
            return;
        fireTick(link);
        fireTick(link);
    });

    gateway.emulator().sendRaw("RESPONSE.{[930]}\r\nRESPONSE.{[50]}\r\n");
    QVERIFY(log.waitFor("disable"));
    QCOMPARE(log.count("dropped"), 0);
}

// A clear that drops the line break ending an echo must not swallow the next reply.
void TestSPortConnector::echoCutByClearKeepsNextReply()
{
    LinkedGateway gateway;
    QVERIFY(gateway.open(3));
    SPortConnector *link = gateway.link();
    SignalLog log(link);
    QVERIFY(log.waitFor("server "));
    // As the main window does on every CONNECT reply of a two-module gateway.
    QObject::connect(link, &SPortConnector::gatewayModel, link,
                     [link] { link->requestLoRaModulesState(); });

    gateway.emulator().sendRaw("CONNECT.{[1 3]}\r\nREQUEST.{[--26]}\r\n");
    QVERIFY(log.waitFor("model 3"));
    gateway.emulator().sendRaw("RESPONSE.{[33 {\"9\":\"1.2.0\"}]}\r\n");
    QVERIFY(log.waitFor("settings "));
}

void TestSPortConnector::upload_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QByteArray>("stored");

    QTest::newRow("lines") << QByteArray("client\ndev tun\n((EOF))")
                           << QByteArray("client\ndev tun\n");
    QTest::newRow("empty file") << QByteArray("((EOF))") << QByteArray();
    QTest::newRow("no final line break")
            << QByteArray("remote 10.0.0.1 1194((EOF))") << QByteArray("remote 10.0.0.1 1194");
    QTest::newRow("text beyond ASCII") << QStringLiteral("# сервер\n((EOF))").toUtf8()
                                       << QStringLiteral("# сервер\n").toUtf8();
}

void TestSPortConnector::upload()
{
    QFETCH(QByteArray, body);
    QFETCH(QByteArray, stored);

    LinkedGateway gateway;
    QVERIFY(gateway.open(3));
    SPortConnector *link = gateway.link();
    SignalLog log(link);
    QVERIFY(log.waitFor("server "));
    gateway.emulator().clearReceived();

    link->runOVPNFileToGW(QStringLiteral("/home/installer/client.ovpn"));
    QVERIFY(log.waitFor("readyToGetOVPN"));
    link->sendOVPNFileToGW(body);
    QVERIFY(log.waitFor("box 1|VPN config|Передача файла завершена"));
    QCOMPARE(gateway.emulator().storedFiles().value("client.ovpn"), stored);
    QCOMPARE(gateway.emulator().received(),
             QByteArray("REQUEST.{[--40 client.ovpn]}\r") + body + "\r");
}

void TestSPortConnector::closingLines_data()
{
    QTest::addColumn<bool>("byDestructor");
    QTest::addColumn<int>("pendingBytes");

    QTest::newRow("disconnect") << false << 0;
    QTest::newRow("destructor") << true << 0;
    QTest::newRow("disconnect right after a long write") << false << 4096;
}

void TestSPortConnector::closingLines()
{
    QFETCH(bool, byDestructor);
    QFETCH(int, pendingBytes);

    GatewayEmulator emulator(3);
    QVERIFY(emulator.start());
    emulator.setEcho(false);
    QPointer<SPortConnector> link = loggedInLink(emulator);
    QVERIFY(link);
    SignalLog log(link);
    QVERIFY(log.waitFor("server "));
    emulator.clearReceived();

    const QByteArray body(pendingBytes, 'k');
    if (pendingBytes)
        link->sendOVPNFileToGW(body);
    if (byDestructor) {
        delete link;
    } else {
        link->disconnectFromGatewayPort();
        QTRY_VERIFY(!portOpen(link));
    }
    const QByteArray closing = "REQUEST.{[--0000]}\rexit\r";
    QTRY_COMPARE(emulator.received().size(),
                 pendingBytes + closing.size() + (pendingBytes ? 1 : 0));
    QVERIFY(emulator.received().endsWith(closing));
    QVERIFY(!emulator.coreRunning());
    QVERIFY(!emulator.atShell());
    delete link;
}

void TestSPortConnector::disconnectDuringSlowUpload_data()
{
    QTest::addColumn<bool>("deleted");
    QTest::newRow("disconnected, deleted later") << false;
    QTest::newRow("deleted") << true;
}

// A file the line needs 90 s to carry stops at once, and the closing lines follow its
// end marker. The emulator reads at the line rate in its own thread.
void TestSPortConnector::disconnectDuringSlowUpload()
{
    QFETCH(bool, deleted);
    constexpr int uploadBytes = 1024 * 1024;
    QThread line;
    auto *emulator = new GatewayEmulator(3);
    emulator->setLineRate(115200);
    emulator->moveToThread(&line);
    line.start();
    const auto inEmulator = [emulator](const std::function<void()> &call) {
        QMetaObject::invokeMethod(emulator, call, Qt::BlockingQueuedConnection);
    };
    const auto stop = qScopeGuard([&] {
        inEmulator([emulator] { delete emulator; });
        line.quit();
        line.wait();
    });
    bool started = false;
    inEmulator([&] { started = emulator->start(); });
    QVERIFY(started);
    QPointer<SPortConnector> link = loggedInLink(*emulator);
    QVERIFY(link);
    SignalLog log(link);
    QVERIFY(log.waitFor("server "));

    link->runOVPNFileToGW(QStringLiteral("big.ovpn"));
    QVERIFY(log.waitFor("readyToGetOVPN"));
    link->sendOVPNFileToGW(QByteArray(uploadBytes, 'k') + "((EOF))");
    QByteArray received;
    QTRY_VERIFY((inEmulator([&] { received = emulator->received(); }), received.contains("kkk")));
    QElapsedTimer clock;
    clock.start();
    if (deleted) {
        delete link;
    } else {
        link->disconnectFromGatewayPort();
        link->deleteLater();
    }
    QVERIFY2(clock.elapsed() < 200, qPrintable(QString::number(clock.elapsed())));
    QTRY_VERIFY_WITH_TIMEOUT((inEmulator([&] { received = emulator->received(); }),
                              received.endsWith("((EOF))\rREQUEST.{[--0000]}\rexit\r")),
                             waitMs);
    int stored = 0;
    inEmulator([&] { stored = int(emulator->storedFiles().value("big.ovpn").size()); });
    QVERIFY(stored < uploadBytes / 10);
}

// What the gateway hears between the announcement and the end marker lands in the
// file: requests and the keep-alive wait for the body, also at the core's start.
void TestSPortConnector::requestsWaitForTheFile()
{
    GatewayEmulator emulator(3);
    QVERIFY(emulator.start());
    emulator.setDropTypeahead(true);
    const QByteArray body = "client\ndev tun\n((EOF))";
    const auto link = std::make_unique<SPortConnector>(fastBaudRate);
    SignalLog log(link.get());
    QObject::connect(link.get(), &SPortConnector::readyToGetOVPN, link.get(),
                     [&] { link->sendOVPNFileToGW(body); });
    QObject::connect(link.get(), &SPortConnector::connectSucsessful, link.get(), [&] {
        link->runOVPNFileToGW(QStringLiteral("client.ovpn"));
        link->getCurrentSettings();
        link->requestLoRaModulesState();
        fireTick(link.get());
    });
    link->setConnectionParameters(emulator.devicePath(), "root\r", "kelvane\r");
    link->connectToGatewayPort();
    QVERIFY(log.waitFor("box 1|VPN config|"));
    QVERIFY(log.waitFor("modules "));
    QCOMPARE(emulator.storedFiles().value("client.ovpn"), QByteArray("client\ndev tun\n"));
    const QByteArray afterFile = emulator.received().split('(').last();
    QVERIFY2(afterFile.contains("REQUEST.{[--26]}\rREQUEST.{[--50 State]}\r1\r"),
             afterFile.constData());
}

void TestSPortConnector::historyHoldsNoSecret()
{
    const qsizetype start = historyText().size();
    LinkedGateway gateway;
    QVERIFY(gateway.open(3));
    SPortConnector *link = gateway.link();
    SignalLog log(link);
    QVERIFY(log.waitFor("server "));
    // Secrets cut across reads.
    gateway.emulator().setChunking(16, 20);
    link->getCurrentSettings();
    QVERIFY(log.waitFor("settings "));
    const QJsonObject applied{{"350", QJsonObject{{"352", "Guest"}, {"353", "wifi-applied"}}},
                              {"400", QJsonObject{{"420", "server-applied"}}}};
    link->sendSettings(QJsonDocument(applied).toJson(QJsonDocument::Compact));
    QVERIFY(log.waitFor("unlock"));
    QObject::connect(link, &SPortConnector::readyToGetOVPN, link,
                     [link] { link->sendOVPNFileToGW("key file-content\n((EOF))"); });
    link->runOVPNFileToGW(QStringLiteral("office.ovpn"));
    QVERIFY(log.waitFor("box 1|VPN config|"));
    const QString written = historyText().mid(start);
    QVERIFY(written.contains(QLatin1String("office.ovpn")));
    QVERIFY(written.contains("\"353\":\"" + HistoryMasker::mask + '"'));
    for (const char *secret :
         {"office-pass", "kelvane123", "wifi-applied", "server-applied", "file-content"})
        QVERIFY2(!written.contains(QLatin1String(secret)), secret);
    // The password's letters elsewhere stay.
    for (const char *shown : {"root@kelvane-gw", "lns.kelvane.local"})
        QVERIFY2(written.contains(QLatin1String(shown)), shown);
}

namespace {

QStringList writesToClosedPort;

void recordClosedPortWrites(QtMsgType, const QMessageLogContext &, const QString &message)
{
    if (message.contains(QLatin1String("not open")))
        writesToClosedPort.append(message);
}

} // namespace

void TestSPortConnector::hangUpAtEveryStep_data()
{
    using Step = GatewayEmulator::Step;
    QTest::addColumn<GatewayEmulator::Step>("step");

    QTest::newRow("login") << Step::Login;
    QTest::newRow("core start") << Step::CoreStart;
    QTest::newRow("read") << Step::Read;
    QTest::newRow("apply") << Step::Apply;
    QTest::newRow("log stream") << Step::LogStream;
    QTest::newRow("upload") << Step::Upload;
    QTest::newRow("reboot") << Step::Reboot;
}

// The owner disconnects and deletes the link on its final signal, as the main window does.
void TestSPortConnector::hangUpAtEveryStep()
{
    using Step = GatewayEmulator::Step;
    QFETCH(GatewayEmulator::Step, step);

    GatewayEmulator emulator(3);
    QVERIFY(emulator.start());
    emulator.setHangUpAt(step);
    emulator.setRebootPacing(5);
    QSignalSpy hungUp(&emulator, &GatewayEmulator::hungUp);
    QVERIFY(hungUp.isValid());
    QPointer<SPortConnector> link = new SPortConnector(fastBaudRate);
    SignalLog log(link);
    QObject owner;
    const auto release = [&] {
        link->disconnectFromGatewayPort();
        link->deleteLater();
    };
    QObject::connect(link, &SPortConnector::connectionFailure, &owner, release);
    QObject::connect(link, &SPortConnector::connectionCoreDropped, &owner, release);
    QObject::connect(link, &SPortConnector::connectSucsessful, &owner, [&] {
        if (step == Step::Read)
            link->getCurrentSettings();
        else if (step == Step::Apply)
            link->sendSettings("{}");
        else if (step == Step::LogStream)
            link->startGetPacketForwarderLogs();
        else if (step == Step::Upload)
            link->runOVPNFileToGW(QStringLiteral("client.ovpn"));
        else if (step == Step::Reboot)
            link->rebootGateway();
    });
    QObject::connect(link, &SPortConnector::readyToGetOVPN, &owner,
                     [&] { link->sendOVPNFileToGW("client\ndev tun\n((EOF))"); });
    writesToClosedPort.clear();
    const QtMessageHandler previous = qInstallMessageHandler(recordClosedPortWrites);
    const auto restore = qScopeGuard([previous] { qInstallMessageHandler(previous); });

    link->setConnectionParameters(emulator.devicePath(), "root\r", "kelvane\r");
    link->connectToGatewayPort();
    QTRY_VERIFY(link.isNull());
    QCOMPARE(hungUp.count(), 1);
    const bool loggingIn = step == Step::Login || step == Step::Reboot;
    const QString final = loggingIn ? QStringLiteral("failure") : QStringLiteral("dropped");
    QCOMPARE(log.events.last(), final);
    QCOMPARE(log.count(final), 1);
    const QString box = loggingIn ? QStringLiteral("box 2|Ошибка подключения") : lostBox;
    QVERIFY2(log.events.at(log.events.size() - 2).startsWith(box),
             qPrintable(log.events.join(", ")));
    QCOMPARE(writesToClosedPort, QStringList());
}

void TestSPortConnector::modalBoxKeepsDispatchOrder_data()
{
    QTest::addColumn<bool>("ticksDuringBox");
    QTest::addColumn<QStringList>("events");

    const QString applied = QStringLiteral("box 1|Настройки|Настройки применены!");
    QTest::newRow("box closed before more is read")
            << false
            << QStringList({"applied", applied, "unlock", "vpn 1", "vpn 2", sentinelEvent});
    QTest::newRow("keep-alive ticks while the box stands")
            << true
            << QStringList({"applied", applied, "vpn 1", "vpn 2", "model 3", "unlock", "model 3",
                            sentinelEvent});
}

// The box of reply 31 stands while more replies arrive: every reply is dispatched
// once and in order, and keep-alive answers behind the box still count.
void TestSPortConnector::modalBoxKeepsDispatchOrder()
{
    QFETCH(bool, ticksDuringBox);
    QFETCH(QStringList, events);

    LinkedGateway gateway;
    QVERIFY(gateway.open(3));
    SPortConnector *link = gateway.link();
    QSerialPort *port = link->findChild<QSerialPort *>();
    QVERIFY(port);
    SignalLog log(link);
    QVERIFY(log.waitFor("server "));
    log.events.clear();
    int boxes = 0;
    bool ticked = true;
    QObject::connect(link, &SPortConnector::sendTxtDialog, link, [&] {
        if (++boxes > 1)
            return;
        const auto waitForUnread = [port] {
            return QTest::qWaitFor([port] { return port->bytesAvailable() > 0; }, waitMs);
        };
        gateway.emulator().sendRaw("RESPONSE.{[62 2]}\r\n");
        waitForUnread();
        if (ticksDuringBox) {
            for (int tick = 0; tick < 2; ++tick) {
                ticked = ticked && fireTick(link);
                waitForUnread();
            }
        }
    });

    gateway.emulator().sendRaw("RESPONSE.{[31]}\r\nRESPONSE.{[62 1]}\r\n");
    QVERIFY(log.waitFor("unlock"));
    gateway.emulator().sendRaw(sentinelReply);
    QVERIFY(log.waitFor(sentinelEvent));
    QVERIFY(ticked);
    QCOMPARE(boxes, 1);
    QCOMPARE(log.events, events);
    QCOMPARE(log.count("dropped"), 0);
}

// A reply read by a keep-alive tick opens a box, and the next tick comes while it
// stands: that tick judges the keep-alive, the one below it must not judge again.
void TestSPortConnector::keepAliveTickInsideItsOwnBox()
{
    LinkedGateway gateway;
    QVERIFY(gateway.open(3));
    SPortConnector *link = gateway.link();
    QSerialPort *port = link->findChild<QSerialPort *>();
    SignalLog log(link);
    QVERIFY(log.waitFor("server "));
    gateway.emulator().clearReceived();
    int boxes = 0;
    QObject::connect(link, &SPortConnector::sendTxtDialog, link, [&] {
        if (++boxes == 1) {
            gateway.emulator().sendRaw("RESPONSE.{[30]}\r\n");
            if (QTest::qWaitFor([port] { return port->bytesAvailable() > 0; }, waitMs))
                fireTick(link);
        } else if (boxes == 2) {
            fireTick(link);
        }
    });

    const int answers = log.count("model 3");
    gateway.emulator().sendRaw("RESPONSE.{[31]}\r\n");
    QVERIFY(log.waitFor("unlock"));
    QVERIFY(log.waitFor("model 3", answers + 1));
    QCOMPARE(boxes, 2);
    QCOMPARE(gateway.emulator().received(), QByteArray("1\r"));
    QCOMPARE(log.count("dropped"), 0);
    QVERIFY(linkTimer(link)->isActive());
}

void TestSPortConnector::modalBoxDuringKeepAliveLoss()
{
    LinkedGateway gateway;
    QVERIFY(gateway.open(3));
    SPortConnector *link = gateway.link();
    SignalLog log(link);
    QVERIFY(log.waitFor("server "));
    gateway.emulator().setKeepAliveSilent(true);
    QVERIFY(fireTick(link));
    QTRY_VERIFY(gateway.emulator().received().endsWith("1\r"));
    log.events.clear();

    bool tickDuringBox = true;
    QObject::connect(link, &SPortConnector::sendTxtDialog, link, [&] {
        QEventLoop box;
        QObject::connect(link, &SPortConnector::openVPNState, &box, &QEventLoop::quit);
        QTimer::singleShot(waitMs, &box, &QEventLoop::quit);
        tickDuringBox = fireTick(link);
        gateway.emulator().sendRaw(sentinelReply);
        box.exec();
    });
    QVERIFY(fireTick(link));
    QVERIFY(!tickDuringBox);
    QCOMPARE(log.events, QStringList({lostBox, sentinelEvent, "dropped"}));
}

void TestSPortConnector::silentAfterLossInsideReplyBox_data()
{
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<QStringList>("events");
    QTest::newRow("damaged settings")
            << QByteArray("RESPONSE.{[33 {\"100\":]}\r\n")
            << QStringList{"damaged", "box 2|Ошибка|" + SPortConnector::damagedSettingsText()};
    QTest::newRow("settings applied")
            << QByteArray("RESPONSE.{[31]}\r\n")
            << QStringList{"applied", "box 1|Настройки|Настройки применены!"};
}

// The box of a reply stands when a keep-alive tick finds the core gone, and the owner
// disconnects on the loss: nothing of that reply follows the final signal.
void TestSPortConnector::silentAfterLossInsideReplyBox()
{
    QFETCH(QByteArray, raw);
    QFETCH(QStringList, events);
    LinkedGateway gateway;
    QVERIFY(gateway.open(3));
    SPortConnector *link = gateway.link();
    SignalLog log(link);
    QVERIFY(log.waitFor("server "));
    gateway.emulator().setKeepAliveSilent(true);
    QVERIFY(fireTick(link));
    QTRY_VERIFY(gateway.emulator().received().endsWith("1\r"));
    log.events.clear();
    QObject::connect(link, &SPortConnector::connectionCoreDropped, link,
                     [link] { link->disconnectFromGatewayPort(); });
    QObject::connect(link, &SPortConnector::sendTxtDialog, link, [&] {
        if (log.count("box ") == 1)
            QVERIFY(fireTick(link));
    });
    gateway.emulator().sendRaw(raw);
    QVERIFY(log.waitFor("dropped"));
    QCOMPARE(log.events, events + QStringList({lostBox, "dropped"}));
}

void TestSPortConnector::deletedDuringModalBox()
{
    GatewayEmulator emulator(3);
    QVERIFY(emulator.start());
    QPointer<SPortConnector> link = loggedInLink(emulator);
    QVERIFY(link);
    SignalLog log(link);
    QVERIFY(log.waitFor("server "));
    log.events.clear();
    QObject owner;
    QObject::connect(link, &SPortConnector::sendTxtDialog, &owner, [&] {
        QEventLoop box;
        QObject::connect(link, &QObject::destroyed, &box, &QEventLoop::quit);
        QTimer::singleShot(waitMs, &box, &QEventLoop::quit);
        // Like the owner's port check firing while the box stands.
        QTimer::singleShot(0, &owner, [&] { link->deleteLater(); });
        box.exec();
    });

    emulator.sendRaw("RESPONSE.{[31]}\r\nRESPONSE.{[62 1]}\r\n");
    QTRY_VERIFY(link.isNull());
    QCOMPARE(log.events, QStringList({"applied", "box 1|Настройки|Настройки применены!"}));
}

void TestSPortConnector::deletedOnFinalSignal_data()
{
    QTest::addColumn<int>("cause");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("final");

    QTest::newRow("login time-out") << 0 << QStringLiteral("box 2|Ошибка подключения") << "failure";
    QTest::newRow("port missing") << 1 << QStringLiteral("box 3|") << "failure";
    QTest::newRow("keep-alive loss") << 2 << lostBox << "dropped";
    QTest::newRow("reboot time-out")
            << 3 << QStringLiteral("box 2|Ошибка подключения") << "failure";
}

void TestSPortConnector::deletedOnFinalSignal()
{
    QFETCH(int, cause);
    QFETCH(QString, box);
    QFETCH(QString, final);

    GatewayEmulator emulator(3);
    QVERIFY(emulator.start());
    RawConsole raw;
    QVERIFY(raw.open());
    QPointer<SPortConnector> link = new SPortConnector(fastBaudRate);
    SignalLog log(link);
    QObject owner;
    QObject::connect(link, &SPortConnector::sendTxtDialog, &owner, [] {
        QEventLoop modal;
        QTimer::singleShot(0, &modal, &QEventLoop::quit);
        modal.exec();
    });
    const auto release = [&] {
        link->disconnectFromGatewayPort();
        link->deleteLater();
    };
    QObject::connect(link, &SPortConnector::connectionFailure, &owner, release);
    QObject::connect(link, &SPortConnector::connectionCoreDropped, &owner, release);

    const QString path = cause == 0 ? raw.terminal.slavePath()
            : cause == 1            ? QStringLiteral("/dev/kelvane-no-such-port")
                                    : emulator.devicePath();
    link->setConnectionParameters(path, "root\r", "kelvane\r");
    link->connectToGatewayPort();
    if (cause >= 2)
        QVERIFY(log.waitFor("server "));
    if (cause == 2) {
        emulator.setKeepAliveSilent(true);
        QVERIFY(fireTick(link));
    } else if (cause == 3) {
        emulator.sendRaw("RESPONSE.{[50]}");
        QVERIFY(log.waitFor("disable"));
    }
    if (cause != 1)
        QVERIFY(fireTick(link));

    QTRY_VERIFY(link.isNull());
    QCOMPARE(log.events.last(), final);
    QVERIFY(log.events.at(log.events.size() - 2).startsWith(box));
    QCOMPARE(log.count(final), 1);
}

void TestSPortConnector::serverStateAfterCommand_data()
{
    QTest::addColumn<LinkAction>("command");
    QTest::addColumn<bool>("cardMissingAtFirstReport");
    QTest::addColumn<QStringList>("events");

    const QString sdBox = QStringLiteral(
            "box 2|Ошибка|Локальный LoRaWAN сервер не запущен, поскольку отсутсвует SD накопитель");
    const LinkAction query = [](SPortConnector *link) {
        link->serverPowerUpCheckRequest();
    };
    const LinkAction start = [](SPortConnector *link) {
        link->localServerStartRequest(true);
    };
    const LinkAction enable = [](SPortConnector *link) {
        link->localServerEnableRequest(true);
    };

    QTest::newRow("reports without a command")
            << query << true << QStringList({"server 0 0", "server 0 0", "server 0 0"});
    QTest::newRow("start with the card missing")
            << start << true << QStringList({"server 0 0", sdBox, "server 0 0", "server 0 0"});
    QTest::newRow("card missing only at a later report")
            << enable << false << QStringList({"server 1 0", "server 1 0", sdBox, "server 1 0"});
}

// After an enable or start command the first report of a missing SD card raises
// one box; reports without a command never do.
void TestSPortConnector::serverStateAfterCommand()
{
    QFETCH(LinkAction, command);
    QFETCH(bool, cardMissingAtFirstReport);
    QFETCH(QStringList, events);

    LinkedGateway gateway;
    QVERIFY(gateway.open(3));
    SPortConnector *link = gateway.link();
    GatewayEmulator &emulator = gateway.emulator();
    SignalLog log(link);
    QVERIFY(log.waitFor("server "));
    log.events.clear();
    emulator.setServerState(false, false, cardMissingAtFirstReport);

    command(link);
    QVERIFY(log.waitFor("server ", 1));
    emulator.setServerState(emulator.serverEnabled(), false, true);
    for (int report = 2; report <= 3; ++report) {
        link->serverPowerUpCheckRequest();
        QVERIFY(log.waitFor("server ", report));
    }
    emulator.sendRaw(sentinelReply);
    QVERIFY(log.waitFor(sentinelEvent));
    QCOMPARE(log.events, events + QStringList{sentinelEvent});
}

void TestSPortConnector::englishReplyTexts_data()
{
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<QString>("event");

    const QString error = QStringLiteral("box 3|Error|");
    QTest::newRow("settings applied")
            << QByteArray("RESPONSE.{[31]}") << QStringLiteral("box 1|Settings|Settings applied!");
    QTest::newRow("LoRa reset") << QByteArray("RESPONSE.{[30]}")
                                << QStringLiteral(
                                           "box 1|Settings|LoRa settings successfully reset!");
    QTest::newRow("factory reset")
            << QByteArray("RESPONSE.{[32]}")
            << QStringLiteral("box 1|Settings|Base station settings successfully reset!");
    QTest::newRow("file received")
            << QByteArray("RESPONSE.{[11]}")
            << QStringLiteral("box 1|VPN config|Transfer of the file is complete");
    QTest::newRow("OpenVPN activated")
            << QByteArray("RESPONSE.{[60]}")
            << QStringLiteral("box 1|VPN config|Service OpenVPN is enabled");
    QTest::newRow("OpenVPN started")
            << QByteArray("RESPONSE.{[61]}")
            << QStringLiteral("box 1|VPN config|Service OpenVPN is running");
    QTest::newRow("reboot notice")
            << QByteArray("RESPONSE.{[930]}")
            << QStringLiteral("box 1|Settings|The base station will be rebooted.");
    QTest::newRow("second module notice")
            << QByteArray("RESPONSE.{[46]}")
            << QStringLiteral("box 1|Lora_Pkt_Fwd|The second LoRa module has started!");
    QTest::newRow("1005") << QByteArray("ERROR.{[1005]}")
                          << error + "The lora_pkt_fwd service is not running.";
    QTest::newRow("1006") << QByteArray("ERROR.{[1006]}")
                          << error + "Failed to open the .ovpn file for writing.";
    QTest::newRow("1007") << QByteArray("ERROR.{[1007 101 205]}")
                          << error + "Failed to retrieve some settings.\nError code: 101\n205";
    QTest::newRow("1008") << QByteArray("ERROR.{[1008 352]}")
                          << error + "Some settings could not be set.\nError code: 352";
    QTest::newRow("1009") << QByteArray("ERROR.{[1009]}")
                          << error + "Failed to enabled the OpenVPN service.";
    QTest::newRow("1010") << QByteArray("ERROR.{[1010]}")
                          << error + "Failed to running the OpenVPN service.";
    QTest::newRow("9909") << QByteArray("ERROR.{[9909]}")
                          << error + "The OpenVPN service is already enabled.";
    QTest::newRow("9910") << QByteArray("ERROR.{[9910]}")
                          << error + "The OpenVPN service is already running.";
    QTest::newRow("other error code")
            << QByteArray("ERROR.{[4242]}")
            << error + "An error occurred in the application. Error code: 4242";
}

void TestSPortConnector::englishReplyTexts()
{
    QFETCH(QByteArray, raw);
    QFETCH(QString, event);

    QTranslator english;
    QVERIFY(Catalogue::installFor(QStringLiteral("en_US"), english));
    const auto uninstall
            = qScopeGuard([&english] { QCoreApplication::removeTranslator(&english); });
    LinkedGateway gateway;
    QVERIFY(gateway.open(3));
    SignalLog log(gateway.link());
    QVERIFY(log.waitFor("server "));

    gateway.emulator().sendRaw(raw + "\r\n" + sentinelReply);
    QVERIFY(log.waitFor(sentinelEvent));
    QCOMPARE(log.count("box "), 1);
    QVERIFY2(log.events.contains(event), qPrintable(log.events.join(", ")));
}

void TestSPortConnector::englishConnectionTexts()
{
    QTranslator english;
    QVERIFY(Catalogue::installFor(QStringLiteral("en_US"), english));
    const auto uninstall
            = qScopeGuard([&english] { QCoreApplication::removeTranslator(&english); });

    SPortConnector missing(115200);
    SignalLog missingLog(&missing);
    missing.setConnectionParameters(QStringLiteral("/dev/kelvane-no-such-port"), "root\r", "pw\r");
    missing.connectToGatewayPort();
    QVERIFY(missingLog.count(QStringLiteral("box 3|/dev/kelvane-no-such-port|Failed to open port: "
                                            "/dev/kelvane-no-such-port.\nReason: ")));

    RawConsole refusing;
    QVERIFY(refusing.open());
    SPortConnector refused(115200);
    SignalLog refusedLog(&refused);
    refused.setConnectionParameters(refusing.terminal.slavePath(), "root\r", "pw\r");
    refused.connectToGatewayPort();
    QTRY_COMPARE(refusing.received, QByteArray("\r"));
    refusing.terminal.write("login: Password: \r\nLogin incorrect\r\n");
    QVERIFY(refusedLog.waitFor("box 2"));
    QCOMPARE(refusedLog.events.last(),
             QStringLiteral("box 2|Failed to authenticate|Incorrect login information.\nCheck your "
                            "password and login and try again"));

    RawConsole silent;
    QVERIFY(silent.open());
    SPortConnector timedOut(115200);
    SignalLog timedOutLog(&timedOut);
    timedOut.setConnectionParameters(silent.terminal.slavePath(), "root\r", "pw\r");
    timedOut.connectToGatewayPort();
    QVERIFY(fireTick(&timedOut));
    QVERIFY(timedOutLog.events.contains("box 2|Port connection error: "
                                        + silent.terminal.slavePath()
                                        + "|Failed to connect to the base station.\nThe selected "
                                          "COM port may not be available."));

    LinkedGateway gateway;
    QVERIFY(gateway.open(3));
    SignalLog log(gateway.link());
    QVERIFY(log.waitFor("server "));
    gateway.emulator().setKeepAliveSilent(true);
    QVERIFY(fireTick(gateway.link()));
    QTRY_VERIFY(gateway.emulator().received().endsWith("1\r"));
    QVERIFY(fireTick(gateway.link()));
    QVERIFY(log.events.contains("box 3|Error|Connection to the device has been lost."));
}

void TestSPortConnector::endToEndSession()
{
    LinkedGateway gateway;
    QVERIFY(gateway.open(3));
    SPortConnector *link = gateway.link();
    GatewayEmulator &emulator = gateway.emulator();
    SignalLog log(link);
    QVERIFY(log.waitFor("server "));
    QObject::connect(link, &SPortConnector::disableInterface, link, [&] {
        link->setConnectionParameters(emulator.devicePath(), "root\r", "kelvane\r");
    });

    QJsonObject document;
    QObject::connect(link, &SPortConnector::resivedSettings, link,
                     [&document](QJsonObject *settings) { document = *settings; });
    link->getCurrentSettings();
    QVERIFY(log.waitFor("settings "));
    QVERIFY(document.contains("100"));
    QVERIFY(document.contains("350"));

    QJsonObject wifi = document.value("350").toObject();
    wifi.insert("352", QStringLiteral("Склад"));
    QJsonObject changed;
    changed.insert("350", wifi);
    link->sendSettings(QJsonDocument(changed).toJson(QJsonDocument::Compact));
    QVERIFY(log.waitFor("unlock"));
    QCOMPARE(emulator.settingsDocument().value("350").toObject().value("352").toString(),
             QStringLiteral("Склад"));

    emulator.setRebootPacing(5);
    link->rebootGateway();
    QVERIFY(log.waitFor("rebooted"));

    emulator.setLogIntervalMs(5);
    link->startGetPacketForwarderLogs();
    QVERIFY(log.waitFor("logs ", 3));

    link->runOVPNFileToGW(QStringLiteral("C:/Users/installer/office.ovpn"));
    QVERIFY(log.waitFor("readyToGetOVPN"));
    link->sendOVPNFileToGW("client\nremote vpn.example 1194\n((EOF))");
    QVERIFY(log.waitFor("box 1|VPN config|Передача файла завершена"));
    QCOMPARE(emulator.storedFiles().value("office.ovpn"),
             QByteArray("client\nremote vpn.example 1194\n"));
    QVERIFY(log.waitFor("logs ", log.count("logs ") + 1));
    QCOMPARE(log.count("connected"), 0);
    QCOMPARE(log.count("dropped") + log.count("failure"), 0);
}

void TestSPortConnector::portPresence_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("present");

    QTest::newRow("pseudo-terminal path") << "terminal" << true;
    QTest::newRow("link to the pseudo-terminal") << "link" << true;
    QTest::newRow("link removed with its emulator") << "removed link" << false;
    QTest::newRow("path of nothing") << "nothing" << false;
    QTest::newRow("name no system lists") << "COM-1" << false;
    QTest::newRow("empty name") << "" << false;
}

void TestSPortConnector::portPresence()
{
    QFETCH(QString, kind);
    QFETCH(bool, present);

    GatewayEmulator emulator(1);
    QVERIFY(emulator.start());
    const QString linkPath = QDir::temp().filePath(QStringLiteral("kelvane-presence-test"));
    QFile::remove(linkPath);
    auto removeLink = qScopeGuard([&linkPath] { QFile::remove(linkPath); });
    QVERIFY(QFile::link(emulator.devicePath(), linkPath));

    QString name = kind;
    if (kind == QLatin1String("terminal"))
        name = emulator.devicePath();
    else if (kind == QLatin1String("link"))
        name = linkPath;
    else if (kind == QLatin1String("removed link")) {
        QVERIFY(QFile::remove(linkPath));
        name = linkPath;
    } else if (kind == QLatin1String("nothing"))
        name = QStringLiteral("/dev/kelvane-no-such-port");

    SPortConnector link(115200);
    link.setConnectionParameters(name, "root\r", "kelvane\r");
    QCOMPARE(link.isPortAvailable(), present);
}

QTEST_MAIN(TestSPortConnector)
#include "tst_sportconnector.moc"
