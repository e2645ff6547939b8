#include "emulator/gatewayemulator.h"
#include "session/gatewaysession.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr int waitMs = 10000;
constexpr int replugAfterMs = 20;
// Longer than it takes the test to give the exchange up.
constexpr int slowReplyMs = 300;

// One gateway and one session on it; every event of the session as a line of text.
struct Bench
{
    GatewayEmulator gateway{3};
    GatewaySession session;
    QStringList events;
    QJsonObject held;

    Bench()
    {
        using S = GatewaySession;
        gateway.setRefusalDelayMs(1);
        const auto on = [this](auto signal, auto text) {
            QObject::connect(&session, signal, &session, [this, text](auto... arguments) {
                events.append(text(arguments...));
            });
        };
        on(&S::connected, [] { return "connected"; });
        on(&S::loginRefused, [] { return "refused"; });
        on(&S::attemptStarted, [](int rate) { return QString("speed %1").arg(rate); });
        on(&S::settingsRead, [this](const QJsonObject &document) {
            held = SettingsRules(3).readDocument({}, document);
            return QString("read");
        });
        on(&S::applyFinished, [this](const ApplyOutcome &outcome) {
            if (!outcome.readBack.isEmpty())
                held = SettingsRules(3).readBackDocument(held, outcome.readBack);
            return "apply " + QVariant::fromValue(outcome.verdict).toString()
                    + (outcome.refusal.isEmpty() ? "" : ", refused");
        });
        on(&S::exchangeFailed, [](S::State, S::Failure failure, int code, const QString &) {
            return QString("failed %1 %2").arg(QVariant::fromValue(failure).toString()).arg(code);
        });
        on(&S::applyAnsweredLate, [] { return "late"; });
        on(&S::coreLost, [](bool) { return "core lost"; });
        on(&S::adapterLost, [](bool unknown) { return unknown ? "lost, apply unknown" : "lost"; });
        on(&S::reconnected, [](const QJsonObject &) { return "same gateway"; });
        on(&S::otherGateway, [](const QString &name) { return "other " + name; });
    }

    bool waitFor(const QString &event)
    {
        return QTest::qWaitFor([&] { return events.contains(event); }, waitMs);
    }
    void fire(QObject *owner, const char *timer)
    {
        QVERIFY(QMetaObject::invokeMethod(owner->findChild<QTimer *>(timer), "timeout"));
    }
    bool applyApn(const QString &apn)
    {
        return session.apply(
                3, held,
                SettingsRules(3).presetGroups(held, {}, {{"200", QJsonObject{{"211", apn}}}}));
    }
};

} // namespace

class TestGatewaySession : public QObject
{
    Q_OBJECT

private slots:
    void exchanges_data();
    void exchanges();

private:
    QTemporaryDir scratch;
};

void TestGatewaySession::exchanges_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QStringList>("outcome");
    const auto row = [](const char *name, const char *fault, const char *action,
                        const QStringList &outcome) {
        QTest::newRow(name) << fault << action << outcome;
    };
    row("login", "", "connect", {"connected"});
    row("login refused", "refuse", "connect", {"refused"});
    row("silent at the slow speed", "fast console", "connect", {"speed 1500000", "connected"});
    row("read", "", "read", {"read"});
    row("apply", "", "apply", {"apply Confirmed"});
    row("ignored key", "ignore", "apply", {"apply Drift"});
    row("refused, then retried", "25=1008", "apply", {"apply Drift, refused"});
    row("read refused", "26=1007", "read", {"failed ErrorReply 1007"});
    row("apply refused", "25=1005", "apply", {"apply Failed"});
    row("read-back refused", "25=1008 26=1007", "apply", {"apply NotVerified, refused"});
    row("read, silence", "slow", "read", {"failed NoReply 0"});
    row("apply, silence", "slow", "apply", {"apply Unanswered"});
    row("damaged reply", "damaged", "read", {"failed DamagedReply 0"});
    row("core lost", "silent", "keep-alive", {"core lost"});
    row("unplugged during a read", "unplug", "read", {"lost", "same gateway"});
    row("unplugged during an apply", "unplug", "apply", {"lost, apply unknown", "same gateway"});
    row("another gateway plugged in", "unplug, other", "read", {"lost", "other BB555A0000000202"});
}

void TestGatewaySession::exchanges()
{
    QFETCH(QString, fault);
    QFETCH(QString, action);
    QFETCH(QStringList, outcome);
    Bench bench;
    const QString port = scratch.filePath(QTest::currentDataTag());
    bench.gateway.setLinkPath(port);
    bench.gateway.setRefuseLogin(fault == "refuse");
    bench.gateway.setConsoleBaudRate(fault == "fast console" ? GatewaySession::fastBaudRate : 0);
    bench.session.setSpeedFallback(true);
    QVERIFY(bench.gateway.start());
    bench.session.open(port, port, "root\r", "kelvane\r");
    if (fault == "fast console") {
        QTRY_COMPARE(bench.session.state(), GatewaySession::State::LoggingIn);
        // Thirty seconds of silence.
        bench.fire(bench.session.link(), "linkTimer");
    }
    if (action == "connect") {
        QVERIFY(bench.waitFor(outcome.last()));
        QCOMPARE(bench.events, outcome);
        QCOMPARE(bench.session.state() == GatewaySession::State::Connected, fault != "refuse");
        QCOMPARE(bench.session.baudRate(),
                 fault == "fast console" ? GatewaySession::fastBaudRate : 115200);
        return;
    }
    QVERIFY(bench.waitFor("connected") && bench.session.read() && bench.waitFor("read"));
    bench.events.clear();

    for (const QString &error : fault.split(' ', Qt::SkipEmptyParts).filter("="))
        bench.gateway.setErrorReply(error.section('=', 0, 0), error.section('=', 1).toInt());
    bench.gateway.setIgnoredKeys(fault == "ignore" ? QStringList{"200/211"} : QStringList());
    bench.gateway.setKeepAliveSilent(fault == "silent");
    bench.gateway.setReplyDelayMs(fault == "slow" || fault == "damaged" ? slowReplyMs : 0);
    // The console went back to its login prompt meanwhile, and the cable may now be
    // on another gateway.
    QObject::connect(&bench.gateway, &GatewayEmulator::replugged, &bench.gateway, [&] {
        bench.gateway.setCoreRunning(false);
        bench.gateway.setAtShell(false);
        if (!fault.endsWith("other"))
            return;
        QJsonObject document = bench.gateway.settingsDocument();
        QJsonObject lora = document["100"].toObject();
        lora["110"] = "BB555A0000000202";
        document["100"] = lora;
        document["8"] = "02:4B:56:00:FF:01";
        bench.gateway.setSettingsDocument(document);
    });
    if (fault.startsWith("unplug"))
        bench.gateway.setUnplugAt(action == "read" ? GatewayEmulator::Step::Read
                                                   : GatewayEmulator::Step::Apply,
                                  replugAfterMs);
    QVERIFY(action == "read" ? bench.session.read()
                             : action != "apply" || bench.applyApn("m2m.example"));
    if (fault == "damaged")
        bench.gateway.sendRaw("RESPONSE.{[33 {\"100\":{\"111\":\"x\"}]}\r\n");
    if (fault == "slow")
        bench.fire(&bench.session, "exchangeTimer");
    for (int tick = 0; fault == "silent" && tick < 2; ++tick)
        bench.fire(bench.session.link(), "linkTimer");
    QVERIFY2(bench.waitFor(outcome.last()), qPrintable(bench.events.join(", ")));
    QCOMPARE(bench.events, outcome);
    if (fault == "silent") {
        QVERIFY(bench.session.state() == GatewaySession::State::Disconnected
                && bench.session.endedByLoss());
        return;
    }

    // A reply that comes after its exchange was given up is taken for what it is.
    if (fault == "slow")
        QVERIFY(bench.waitFor(action == "read" ? "read" : "late"));
    // Another gateway takes nothing until it has been read.
    QCOMPARE(bench.session.applyBlocked(), fault.endsWith("other"));
    QVERIFY(!fault.endsWith("other") || !bench.applyApn("m2m.example"));
    // Whatever ended it, the next exchange goes out; what was not taken goes again.
    bench.gateway.clearErrorReplies();
    bench.gateway.setIgnoredKeys({});
    bench.gateway.setReplyDelayMs(0);
    QCOMPARE(bench.session.state(), GatewaySession::State::Connected);
    bench.events.clear();
    QVERIFY(bench.session.read() && bench.waitFor("read"));
    QVERIFY(bench.applyApn("m2m.example") && bench.waitFor("apply Confirmed"));
    const QJsonObject held = bench.gateway.settingsDocument();
    QCOMPARE(held["200"]["211"].toString(), QString("m2m.example"));
}

QTEST_MAIN(TestGatewaySession)
#include "tst_gatewaysession.moc"
