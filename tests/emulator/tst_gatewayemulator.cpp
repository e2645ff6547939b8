#include "emulator/gatewayemulator.h"
#include "survey/forwarderlogparser.h"
#include "survey/surveystatistics.h"

#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QSerialPort>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

constexpr int replyTimeoutMs = 5000;

struct Frame
{
    QString type;
    QString payload;
};

// Replies as the link cuts them: type, "." and the payload between "{[" and "]}".
QList<Frame> frames(const QByteArray &text)
{
    static const QRegularExpression pattern(
            QStringLiteral(R"((RESPONSE|CONNECT|LOGS|ERROR)\.\{\[(.*?)\s*\]\})"));
    QList<Frame> found;
    auto it = pattern.globalMatch(QString::fromUtf8(text));
    while (it.hasNext()) {
        const auto match = it.next();
        found.append({match.captured(1), match.captured(2)});
    }
    return found;
}

QStringList payloads(const QByteArray &text, const QString &type)
{
    QStringList list;
    for (const Frame &frame : frames(text))
        if (frame.type == type)
            list.append(frame.payload);
    return list;
}

} // namespace

// The program's side of the line: a real serial port on the emulator's pty,
// set up like the link sets its port.
class Console : public QObject
{
    Q_OBJECT

public:
    QSerialPort port;
    QByteArray text;
    int reads = 0;

    bool open(const QString &path)
    {
        port.setPortName(path);
        port.setBaudRate(115200);
        port.setFlowControl(QSerialPort::SoftwareControl);
        connect(&port, &QSerialPort::readyRead, this, [this] {
            text += port.readAll();
            ++reads;
        });
        return port.open(QIODevice::ReadWrite);
    }
    void write(const QByteArray &bytes) { port.write(bytes); }
    // Runs a real event loop until the received text satisfies done. Polling
    // waits sleep between turns, which would hold up chunked output, whose
    // pieces leave one per event-loop turn.
    bool waitUntil(const std::function<bool()> &done, int timeoutMs = replyTimeoutMs)
    {
        if (done())
            return true;
        QEventLoop loop;
        QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
        connect(&port, &QSerialPort::readyRead, &loop, [&] {
            if (done())
                loop.quit();
        });
        loop.exec();
        return done();
    }
    bool waitFor(const QByteArray &needle, int timeoutMs = replyTimeoutMs)
    {
        return waitUntil([&] { return text.contains(needle); }, timeoutMs);
    }
    // Writes a request and waits for one complete reply.
    bool request(const QByteArray &line)
    {
        text.clear();
        write(line);
        return waitUntil([&] { return !frames(text).isEmpty() && text.endsWith("\r\n"); });
    }
    // Writes a line and waits for what must follow it.
    bool exchange(const QByteArray &line, const QByteArray &expected)
    {
        text.clear();
        write(line);
        return waitFor(expected);
    }
};

class tst_GatewayEmulator : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void login_data();
    void login();
    void conversation_data();
    void conversation();
    void configuredErrors_data();
    void configuredErrors();
    void readSettings_data();
    void readSettings();
    void writeMergesAndReadsBack();
    void logStream();
    void logStreamNeedsForwarder();
    void surveyTraffic();
    void upload_data();
    void upload();
    void reboot();
    void chunkedWritesReassemble_data();
    void chunkedWritesReassemble();
    void largeWriteSurvivesBackPressure();
    void portReopens();
    void echoAndNoise_data();
    void echoAndNoise();
    void delayedRepliesKeepOrder();

private:
    void openConsole(int model = 3);
    void loginAndStartCore();

    GatewayEmulator *emulator = nullptr;
    Console *console = nullptr;
};

void tst_GatewayEmulator::init()
{
    emulator = nullptr;
    console = nullptr;
}

void tst_GatewayEmulator::cleanup()
{
    delete console;
    delete emulator;
}

void tst_GatewayEmulator::openConsole(int model)
{
    emulator = new GatewayEmulator(model);
    QVERIFY2(emulator->start(), qPrintable(emulator->errorString()));
    QVERIFY(emulator->devicePath().startsWith("/dev/"));
    console = new Console;
    QVERIFY2(console->open(emulator->devicePath()), qPrintable(console->port.errorString()));
}

void tst_GatewayEmulator::loginAndStartCore()
{
    QVERIFY(console->exchange("\r", "login:"));
    QVERIFY(console->exchange("root\r", "Password:"));
    QVERIFY(console->exchange("kelvane\r\r", "root@"));
    QVERIFY(console->exchange(
            "KVNCore\r", "CONNECT.{[1 " + QByteArray::number(emulator->modelCode()) + "]}\r\n"));
    QVERIFY(emulator->coreRunning());
}

void tst_GatewayEmulator::login_data()
{
    QTest::addColumn<QByteArray>("user");
    QTest::addColumn<QByteArray>("password");
    QTest::addColumn<bool>("refuse");
    QTest::addColumn<QByteArray>("typedUser");
    QTest::addColumn<QByteArray>("typedPassword");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("defaults") << QByteArray("root") << QByteArray("kelvane") << false
                              << QByteArray("root") << QByteArray("kelvane") << true;
    QTest::newRow("wrong password") << QByteArray("root") << QByteArray("kelvane") << false
                                    << QByteArray("root") << QByteArray("kelvan") << false;
    QTest::newRow("wrong user") << QByteArray("root") << QByteArray("kelvane") << false
                                << QByteArray("admin") << QByteArray("kelvane") << false;
    QTest::newRow("own credentials")
            << QByteArray("инсталлятор") << QByteArray("p@ss w0rd") << false
            << QByteArray("инсталлятор") << QByteArray("p@ss w0rd") << true;
    QTest::newRow("refused") << QByteArray("root") << QByteArray("kelvane") << true
                             << QByteArray("root") << QByteArray("kelvane") << false;
}

void tst_GatewayEmulator::login()
{
    QFETCH(QByteArray, user);
    QFETCH(QByteArray, password);
    QFETCH(bool, refuse);
    QFETCH(QByteArray, typedUser);
    QFETCH(QByteArray, typedPassword);
    QFETCH(bool, accepted);

    openConsole();
    emulator->setCredentials(user, password);
    emulator->setRefuseLogin(refuse);
    emulator->setRefusalDelayMs(5);
    QSignalSpy loggedIn(emulator, &GatewayEmulator::loggedIn);
    QVERIFY(loggedIn.isValid());

    QVERIFY(console->exchange("\r", "login:"));
    QVERIFY(console->exchange(typedUser + "\r", "Password:"));
    QVERIFY(console->text.startsWith(typedUser + "\r\n"));
    console->text.clear();
    // The link ends the password with an extra return.
    console->write(typedPassword + "\r\r");
    if (accepted) {
        QVERIFY(console->waitFor("root@kelvane-gw:~# \r\nroot@kelvane-gw:~# "));
        QCOMPARE(loggedIn.count(), 1);
        QVERIFY(emulator->atShell());
    } else {
        QVERIFY(console->waitFor("\r\nLogin incorrect\r\n"));
        QVERIFY(console->waitFor("Login incorrect\r\nkelvane-gw login: "));
        QVERIFY(!console->text.contains("root@"));
        QCOMPARE(loggedIn.count(), 0);
    }
    QVERIFY(!console->text.contains(typedPassword + "\r\n"));
}

using Steps = QList<QByteArray>;

void tst_GatewayEmulator::conversation_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<Steps>("lines");
    QTest::addColumn<Steps>("replies");

    QTest::newRow("keep-alive") << 1 << Steps{"1\r"} << Steps{"CONNECT.{[1 1]}\r\n"};
    QTest::newRow("server state") << 3 << Steps{"REQUEST.{[--10 State]}\r"}
                                  << Steps{"RESPONSE.{[20 0 0 0]}\r\n"};
    QTest::newRow("server enable and start")
            << 3
            << Steps{"REQUEST.{[--10 Enable]}\r", "REQUEST.{[--10 Start]}\r",
                     "REQUEST.{[--10 State]}\r"}
            << Steps{"RESPONSE.{[21]}", "RESPONSE.{[21]}", "RESPONSE.{[20 1 1 0]}"};
    QTest::newRow("server stop and disable")
            << 2
            << Steps{"REQUEST.{[--10 Enable]}\r", "REQUEST.{[--10 Start]}\r",
                     "REQUEST.{[--10 Stop]}\r", "REQUEST.{[--10 Disable]}\r",
                     "REQUEST.{[--10 State]}\r"}
            << Steps{"RESPONSE.{[21]}", "RESPONSE.{[21]}", "RESPONSE.{[21]}", "RESPONSE.{[21]}",
                     "RESPONSE.{[20 0 0 0]}"};
    QTest::newRow("one module") << 0 << Steps{"REQUEST.{[--50 State]}\r"}
                                << Steps{"RESPONSE.{[45 8]}"};
    QTest::newRow("one module TK-1")
            << 1 << Steps{"REQUEST.{[--50 State]}\r"} << Steps{"RESPONSE.{[45 8]}"};
    QTest::newRow("two modules") << 2 << Steps{"REQUEST.{[--50 State]}\r"}
                                 << Steps{"RESPONSE.{[45 16]}"};
    QTest::newRow("second module stopped and started")
            << 3
            << Steps{"REQUEST.{[--50 RunX8]}\r", "REQUEST.{[--50 State]}\r",
                     "REQUEST.{[--50 RunX16]}\r", "REQUEST.{[--50 State]}\r"}
            << Steps{"RESPONSE.{[47]}", "RESPONSE.{[45 8]}", "RESPONSE.{[46]}",
                     "RESPONSE.{[45 16]}"};
    QTest::newRow("resets") << 3 << Steps{"REQUEST.{[--20]}\r", "REQUEST.{[--21]}\r"}
                            << Steps{"RESPONSE.{[32]}", "RESPONSE.{[30]}"};
    QTest::newRow("empty write") << 3 << Steps{"REQUEST.{[--25 {}]}\r"} << Steps{"RESPONSE.{[31]}"};
    QTest::newRow("write that is no document")
            << 3 << Steps{"REQUEST.{[--25 [1,2]]}\r"} << Steps{"ERROR.{[1008]}"};
    QTest::newRow("unknown configuration")
            << 3
            << Steps{"REQUEST.{[--41 none.ovpn]}\r", "REQUEST.{[--42 none.ovpn]}\r",
                     "REQUEST.{[--43 none.ovpn]}\r", "REQUEST.{[--43 ]}\r"}
            << Steps{"ERROR.{[1009]}", "ERROR.{[1010]}", "RESPONSE.{[62 0]}", "RESPONSE.{[62 0]}"};
    QTest::newRow("upload name without file")
            << 3 << Steps{"REQUEST.{[--40 ]}\r", "REQUEST.{[--40 ../../etc/passwd]}\r"}
            << Steps{"ERROR.{[1006]}", "ERROR.{[1006]}"};
    QTest::newRow("unknown request")
            << 3 << Steps{"REQUEST.{[--77]}\r", "REQUEST.{[--10 Reboot]}\r"}
            << Steps{"ERROR.{[1000]}", "ERROR.{[1000]}"};
    QTest::newRow("core ends") << 3 << Steps{"REQUEST.{[--0000]}\r", "exit\r"}
                               << Steps{"root@kelvane-gw:~# ", "logout\r\n\r\nkelvane-gw login: "};
}

void tst_GatewayEmulator::conversation()
{
    QFETCH(int, model);
    QFETCH(Steps, lines);
    QFETCH(Steps, replies);
    QCOMPARE(lines.size(), replies.size());

    openConsole(model);
    loginAndStartCore();
    QSignalSpy requests(emulator, &GatewayEmulator::requestReceived);
    QVERIFY(requests.isValid());
    int requestLines = 0;
    for (int i = 0; i < lines.size(); ++i) {
        QVERIFY2(console->exchange(lines.at(i), replies.at(i)), console->text.constData());
        // The echo comes first, the reply after it.
        QVERIFY(console->text.indexOf(lines.at(i).chopped(1) + "\r\n")
                < console->text.indexOf(replies.at(i)));
        if (lines.at(i).startsWith("REQUEST.{["))
            QCOMPARE(requests.at(requestLines++).at(0).toString(),
                     QString::fromUtf8(lines.at(i).mid(10).chopped(3)));
    }
    QCOMPARE(requests.count(), requestLines);
}

void tst_GatewayEmulator::configuredErrors_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("code");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("reply");

    QTest::newRow("read fails with keys") << "26" << 1007 << QByteArray("REQUEST.{[--26]}\r")
                                          << QByteArray("ERROR.{[1007 121 211]}\r\n");
    QTest::newRow("write fails with keys") << "25" << 1008
                                           << QByteArray(R"(REQUEST.{[--25 {"200":{}}]})"
                                                         "\r")
                                           << QByteArray("ERROR.{[1008 121 211]}\r\n");
    QTest::newRow("whole text") << "50 Start" << 1005 << QByteArray("REQUEST.{[--50 Start]}\r")
                                << QByteArray("ERROR.{[1005]}\r\n");
    QTest::newRow("whole text leaves the rest")
            << "50 Start" << 1005 << QByteArray("REQUEST.{[--50 State]}\r")
            << QByteArray("RESPONSE.{[45 16]}\r\n");
    QTest::newRow("number covers arguments")
            << "41" << 9909 << QByteArray("REQUEST.{[--41 x.ovpn]}\r")
            << QByteArray("ERROR.{[9909]}\r\n");
    QTest::newRow("any code") << "90" << 4242 << QByteArray("REQUEST.{[--90]}\r")
                              << QByteArray("ERROR.{[4242]}\r\n");
}

void tst_GatewayEmulator::configuredErrors()
{
    QFETCH(QString, command);
    QFETCH(int, code);
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, reply);

    openConsole();
    loginAndStartCore();
    emulator->setErrorReply(command, code);
    QVERIFY2(console->exchange(line, reply), console->text.constData());
    QVERIFY(emulator->coreRunning());

    emulator->clearErrorReplies();
    QVERIFY(console->request(line));
    QVERIFY(!console->text.contains("ERROR.{[" + QByteArray::number(code)));
}

void tst_GatewayEmulator::readSettings_data()
{
    QTest::addColumn<int>("model");
    for (int model = 0; model <= 3; ++model)
        QTest::addRow("model %d", model) << model;
}

void tst_GatewayEmulator::readSettings()
{
    QFETCH(int, model);

    openConsole(model);
    emulator->setOvpnState("office.ovpn", 0);
    loginAndStartCore();
    QVERIFY(console->request("REQUEST.{[--26]}\r"));
    const QStringList responses = payloads(console->text, "RESPONSE");
    QCOMPARE(responses.size(), 1);
    QVERIFY(responses.first().startsWith("33 {"));

    QJsonParseError error{};
    const QJsonDocument parsed = QJsonDocument::fromJson(responses.first().mid(3).toUtf8(), &error);
    QCOMPARE(error.error, QJsonParseError::NoError);
    const QJsonObject document = parsed.object();
    QCOMPARE(document, emulator->settingsDocument());
    const QJsonArray expectedConfigs{QJsonObject{{"1", "office.ovpn"}}};
    QCOMPARE(document.value("301").toArray(), expectedConfigs);
    QCOMPARE(document.contains("150"), model >= 2);
    QCOMPARE(document.contains("350"), model == 0 || model == 3);
    QCOMPARE(document.contains("400"), model != 0);
}

void tst_GatewayEmulator::writeMergesAndReadsBack()
{
    openConsole(3);
    loginAndStartCore();
    const QJsonObject before = emulator->settingsDocument();

    QJsonObject wifi = before.value("350").toObject();
    wifi.insert("352", QStringLiteral("Склад №2"));
    const QJsonObject sent{{"100", QJsonObject{}}, {"350", wifi}, {"9", "0.0.1"}};
    const QByteArray line
            = "REQUEST.{[--25 " + QJsonDocument(sent).toJson(QJsonDocument::Compact) + "]}\r";
    QVERIFY(console->exchange(line, "RESPONSE.{[31]}\r\n"));

    const QJsonObject after = emulator->settingsDocument();
    QCOMPARE(after.value("350"), QJsonValue(wifi));
    QCOMPARE(after.value("100"), before.value("100"));
    QCOMPARE(after.value("9"), before.value("9"));

    QVERIFY(console->request("REQUEST.{[--26]}\r"));
    const QString reply = payloads(console->text, "RESPONSE").value(0);
    QCOMPARE(QJsonDocument::fromJson(reply.mid(3).toUtf8()).object().value("350")["352"].toString(),
             QStringLiteral("Склад №2"));
}

void tst_GatewayEmulator::logStream()
{
    const QStringList lines{"line one", "line two ]} with brackets", "line three"};
    openConsole();
    emulator->setLogLines(lines);
    emulator->setLogIntervalMs(2);
    loginAndStartCore();

    QVERIFY(console->exchange("REQUEST.{[--50 Start]}\r", "RESPONSE.{[40]}"));
    QVERIFY(emulator->logsStreaming());
    QVERIFY(console->waitUntil([&] { return payloads(console->text, "LOGS").size() >= 3; }));

    console->write("REQUEST.{[--50 Hide]}\r");
    QTRY_VERIFY(emulator->logsHidden());
    QTRY_VERIFY(emulator->heldLogCount() >= 3);
    const int shownBeforeShow = payloads(console->text, "LOGS").size();
    // A request answered while hidden arrives without log lines mixed in.
    QVERIFY(console->waitFor("REQUEST.{[--50 Hide]}\r\n"));
    const qsizetype hideEcho = console->text.indexOf("REQUEST.{[--50 Hide]}\r\n");
    console->write("REQUEST.{[--10 State]}\r");
    QVERIFY(console->waitFor("RESPONSE.{[20 0 0 0]}"));
    const QByteArray sinceHide = console->text.mid(hideEcho);
    QVERIFY(!sinceHide.contains("LOGS."));

    console->write("REQUEST.{[--50 Show]}\r");
    QVERIFY(console->waitUntil(
            [&] { return payloads(console->text, "LOGS").size() >= shownBeforeShow + 6; }));
    console->write("REQUEST.{[--50 Stop]}\r");
    QTRY_VERIFY(!emulator->logsStreaming());

    const QStringList received = payloads(console->text, "LOGS");
    for (int i = 0; i < received.size(); ++i)
        QCOMPARE(received.at(i), QString(lines.at(i % lines.size())).replace("]}", "] }"));
}

// Packets on every channel of the plan (two modules share it), some CRC-bad, until the
// backhaul goes down; then blocks report nothing acknowledged and no PUSH_ACK follows.
void tst_GatewayEmulator::surveyTraffic()
{
    openConsole(3);
    emulator->setSurveyTraffic(true, 7);
    emulator->setPacketRate(500);
    emulator->setStatisticsPeriodMs(200);
    emulator->setBackhaulDownAfterMs(500);
    emulator->setLogIntervalMs(5);
    loginAndStartCore();
    QVERIFY(console->exchange("REQUEST.{[--50 Start]}\r", "RESPONSE.{[40]}"));
    QVERIFY(console->waitUntil([&] { return console->text.count("acknowledged: 0.00%") >= 2; }));
    SurveyStatistics statistics;
    ForwarderLogParser parser(&statistics);
    for (const QString &payload : payloads(console->text, "LOGS"))
        parser.feed(payload + '\n', 0);
    QList<double> heard;
    for (const SurveyStatistics::Channel &channel : statistics.channels(0))
        heard.append(channel.frequencyMhz);
    QCOMPARE(heard, (QList<double>{864.1, 864.3, 864.5, 864.7, 864.9, 868.9, 869.1}));
    QCOMPARE(parser.malformedLines(), 0);
    QVERIFY(statistics.crcBad() > 0 && statistics.crcBad() < statistics.packets() / 5);
    QVERIFY(statistics.pushAck().count > 0 && statistics.pushUnacknowledged());
    const QByteArray down = console->text.mid(console->text.indexOf("acknowledged: 0.00%"));
    QVERIFY(!down.contains("PUSH_ACK") && down.contains("JSON up"));
}

void tst_GatewayEmulator::logStreamNeedsForwarder()
{
    openConsole();
    emulator->setForwarderRunning(false);
    loginAndStartCore();
    QVERIFY(console->exchange("REQUEST.{[--50 Start]}\r", "ERROR.{[1005]}\r\n"));
    QVERIFY(!emulator->logsStreaming());
}

void tst_GatewayEmulator::upload_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("listed");
    QTest::addColumn<int>("keepAlives");

    QTest::newRow("keep-alive before the body")
            << "late.ovpn" << QByteArray("client\n") << true << 2;
    QTest::newRow("configuration")
            << "office.ovpn" << QByteArray("client\nremote vpn.example 1194\n") << true << 0;
    QTest::newRow("empty file") << "empty.ovpn" << QByteArray() << true << 0;
    QTest::newRow("marker inside") << "odd.conf" << QByteArray("a((EOF))b\n((EOF))") << false << 0;
    QTest::newRow("request-like body")
            << "trap.key" << QByteArray("REQUEST.{[--20]}\n1\nKVNCore\n") << false << 0;
    QTest::newRow("large certificate") << "ca.crt" << QByteArray(20000, 'Q') << false << 0;
    QTest::newRow("utf-8") << "сертификат.ovpn" << QByteArray("# Офис\nremote 10.0.0.1\n") << true
                           << 0;
}

void tst_GatewayEmulator::upload()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(bool, listed);
    QFETCH(int, keepAlives);

    openConsole();
    loginAndStartCore();
    QSignalSpy stored(emulator, &GatewayEmulator::fileStored);
    QVERIFY(stored.isValid());

    QVERIFY(console->exchange("REQUEST.{[--40 " + name.toUtf8() + "]}\r", "RESPONSE.{[10]}\r\n"));
    console->text.clear();
    // The next request may follow the body in the same write.
    for (int i = 0; i < keepAlives; ++i)
        QVERIFY(console->exchange("1\r", "CONNECT.{[1 3]}\r\n"));
    console->text.clear();
    console->write(content + "((EOF))\r" + "REQUEST.{[--43 x]}\r");
    QVERIFY(console->waitFor("RESPONSE.{[62 0]}"));

    QCOMPARE(stored.count(), 1);
    QCOMPARE(stored.at(0).at(0).toString(), name);
    QCOMPARE(emulator->storedFiles().value(name), content);
    QVERIFY(console->text.startsWith("RESPONSE.{[11]}\r\n"));
    QCOMPARE(payloads(console->text, "RESPONSE"), QStringList({"11", "62 0"}));
    QCOMPARE(payloads(console->text, "ERROR"), QStringList());

    const QJsonArray configs = emulator->settingsDocument().value("301").toArray();
    QCOMPARE(configs.contains(QJsonObject{{"1", name}}), listed);
}

void tst_GatewayEmulator::reboot()
{
    openConsole();
    emulator->setRebootPacing(3);
    loginAndStartCore();
    QSignalSpy started(emulator, &GatewayEmulator::rebootStarted);
    QSignalSpy finished(emulator, &GatewayEmulator::rebootFinished);
    QVERIFY(started.isValid());
    QVERIFY(finished.isValid());

    console->text.clear();
    console->write("REQUEST.{[--90]}\r");
    QVERIFY(started.wait(replyTimeoutMs));
    QVERIFY(!emulator->coreRunning());
    // Input while the gateway boots is not served.
    console->write("REQUEST.{[--10 State]}\r");
    QVERIFY(finished.wait(replyTimeoutMs));
    QVERIFY(console->waitFor("login: "));

    const QByteArray &text = console->text;
    const qsizetype notice = text.indexOf("RESPONSE.{[930]}\r\n");
    const qsizetype rebooting = text.indexOf("RESPONSE.{[50]}\r\n");
    const qsizetype kernel = text.indexOf("Booting Linux");
    const qsizetype prompt = text.indexOf("login:");
    QVERIFY(notice >= 0);
    QVERIFY(notice < rebooting);
    QVERIFY(rebooting < kernel);
    QVERIFY(kernel < prompt);
    QCOMPARE(text.count("login:"), 1);
    QVERIFY(text.endsWith("kelvane-gw login: "));
    QVERIFY(!text.contains("RESPONSE.{[20"));

    loginAndStartCore();
}

void tst_GatewayEmulator::chunkedWritesReassemble_data()
{
    QTest::addColumn<int>("maxChunk");
    QTest::addColumn<quint32>("seed");

    QTest::newRow("single bytes") << 1 << 7u;
    QTest::newRow("up to 7") << 7 << 1u;
    QTest::newRow("up to 64") << 64 << 99u;
}

void tst_GatewayEmulator::chunkedWritesReassemble()
{
    QFETCH(int, maxChunk);
    QFETCH(quint32, seed);

    openConsole();
    loginAndStartCore();
    QVERIFY(console->request("REQUEST.{[--26]}\r"));
    const QByteArray whole = console->text;

    emulator->setChunking(maxChunk, seed);
    const int readsBefore = console->reads;
    QVERIFY(console->request("REQUEST.{[--26]}\r"));
    QCOMPARE(console->text, whole);
    QVERIFY(console->reads - readsBefore > 3);

    QByteArray raw;
    for (int i = 0; i < 600; ++i)
        raw.append(char('!' + i % 90));
    console->text.clear();
    emulator->sendRaw(raw);
    QVERIFY(console->waitUntil([&] { return console->text.size() >= raw.size(); }));
    QCOMPARE(console->text, raw);
}

void tst_GatewayEmulator::largeWriteSurvivesBackPressure()
{
    openConsole();
    QByteArray raw;
    for (int i = 0; i < 300000; ++i)
        raw.append(char('a' + i % 26));
    raw.append("\r\nend\r\n");
    emulator->sendRaw(raw);
    QVERIFY(console->waitUntil([&] { return console->text.size() >= raw.size(); }, 20000));
    QCOMPARE(console->text.size(), raw.size());
    QVERIFY(console->text == raw);
}

void tst_GatewayEmulator::portReopens()
{
    openConsole();
    loginAndStartCore();
    console->port.close();
    QVERIFY(console->port.open(QIODevice::ReadWrite));
    QVERIFY(console->exchange("1\r", "CONNECT.{[1 3]}\r\n"));
}

void tst_GatewayEmulator::echoAndNoise_data()
{
    QTest::addColumn<bool>("echo");
    QTest::addColumn<bool>("noise");

    QTest::newRow("quiet") << false << false;
    QTest::newRow("echo") << true << false;
    QTest::newRow("noise without echo") << false << true;
    QTest::newRow("noise with echo") << true << true;
}

void tst_GatewayEmulator::echoAndNoise()
{
    QFETCH(bool, echo);
    QFETCH(bool, noise);

    openConsole(2);
    emulator->setAtShell(true);
    QVERIFY(console->exchange("KVNCore\r", "CONNECT.{[1 2]}"));
    emulator->setEcho(echo);
    emulator->setNoise(noise);

    const Steps requests{"REQUEST.{[--10 State]}\r", "REQUEST.{[--50 State]}\r",
                         "REQUEST.{[--43 a]}\r",     "1\r",
                         "REQUEST.{[--21]}\r",       "REQUEST.{[--20]}\r"};
    console->text.clear();
    for (const QByteArray &line : requests) {
        const int before = frames(console->text).size();
        console->write(line);
        QVERIFY(console->waitUntil([&] { return frames(console->text).size() > before; }));
    }
    QVERIFY(console->waitFor("RESPONSE.{[32]}\r\n"));

    QStringList seen;
    for (const Frame &frame : frames(console->text))
        seen.append(frame.type + ' ' + frame.payload);
    QCOMPARE(seen,
             QStringList({"RESPONSE 20 0 0 0", "RESPONSE 45 16", "RESPONSE 62 0", "CONNECT 1 2",
                          "RESPONSE 30", "RESPONSE 32"}));
    QCOMPARE(console->text.contains("REQUEST.{[--43 a]}\r\n"), echo || noise);
    static const QRegularExpression kernelLine(QStringLiteral(R"(\[ *\d+\.\d{6}\] \S)"));
    QCOMPARE(QString::fromUtf8(console->text).contains(kernelLine), noise);
}

void tst_GatewayEmulator::delayedRepliesKeepOrder()
{
    openConsole();
    emulator->setCoreRunning(true);
    emulator->setReplyDelayMs(30);
    console->write("\r");
    QVERIFY(console->waitFor("CONNECT.{[1 3]}\r\n"));

    console->text.clear();
    console->write("REQUEST.{[--50 RunX8]}\r1\rREQUEST.{[--50 State]}\r");
    QVERIFY(console->waitFor("RESPONSE.{[45 8]}"));
    QCOMPARE(payloads(console->text, "RESPONSE"), QStringList({"47", "45 8"}));
    // The tty echo is immediate, the replies come later.
    QVERIFY(console->text.startsWith("REQUEST.{[--50 RunX8]}\r\n1\r\nREQUEST.{[--50 State]}\r\n"));
}

QTEST_GUILESS_MAIN(tst_GatewayEmulator)
#include "tst_gatewayemulator.moc"
