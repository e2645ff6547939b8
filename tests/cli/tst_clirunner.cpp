#include "cli/clirunner.h"
#include "cli/gatewayjob.h"
#include "emulator/gatewayemulator.h"
#include "link/portcloser.h"

#include <QBuffer>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QtTest>

#include <memory>

namespace {

constexpr int runWaitMs = 20000;

struct Run
{
    int status = -1;
    QString out;
    QString err;
    QStringList portsTried;
    CommissioningReport::Content report;
};

Run run(const QStringList &arguments)
{
    QBuffer out;
    QBuffer err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    CliRunner runner(&out, &err);
    QSignalSpy finished(&runner, &CliRunner::finished);
    runner.start(arguments);
    Run result;
    if (finished.wait(runWaitMs))
        result.status = finished.first().first().toInt();
    result.out = QString::fromUtf8(out.data());
    result.err = QString::fromUtf8(err.data());
    for (const GatewayJob *job : runner.jobs())
        result.portsTried.append(job->port());
    if (!runner.jobs().isEmpty())
        result.report = runner.jobs().first()->reportContent();
    return result;
}

// As the program does before it exits: the closing lines reach every gateway.
Run runToEnd(const QStringList &arguments)
{
    const Run result = run(arguments);
    PortCloser::finishAll(runWaitMs);
    return result;
}

std::unique_ptr<GatewayEmulator> startedEmulator(int model, const QStringList &ignoredKeys = {})
{
    auto emulator = std::make_unique<GatewayEmulator>(model);
    emulator->setIgnoredKeys(ignoredKeys);
    return emulator->start() ? std::move(emulator) : nullptr;
}

QString lineOf(const QString &text, const QString &start)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    const QStringList found
            = lines.filter(QRegularExpression('^' + QRegularExpression::escape(start)));
    return found.value(0);
}

void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

} // namespace

class TestCliRunner : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void readThenApplyEditedPreset();
    void driftIsNamedAndTheWorstStatusCounts_data();
    void driftIsNamedAndTheWorstStatusCounts();
    void wrongPasswordEndsWithStatus3();
    void badInputTouchesNoGateway_data();
    void badInputTouchesNoGateway();
    void reportHoldsEverySection();

private:
    QTemporaryDir scratch;
};

void TestCliRunner::initTestCase()
{
    QVERIFY(scratch.isValid());
    qputenv("KELVANE_PASSWORD", "kelvane");
}

void TestCliRunner::readThenApplyEditedPreset()
{
    const auto gateway = startedEmulator(1);
    QVERIFY(gateway);
    const QString port = gateway->devicePath();
    const QString path = scratch.filePath("site.gwset");
    const Run read = runToEnd({"read", "--port", port, "--out", path});
    QCOMPARE(read.status, 0);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther), 0);
    QJsonObject preset = QJsonDocument::fromJson(file.readAll()).object();
    QVERIFY(!preset["100"].toObject().contains("110"));
    QVERIFY(!preset.contains("8"));

    QJsonObject lora = preset["100"].toObject();
    lora["111"] = "eu1.example.org";
    // A gateway ID in a preset belongs to another gateway.
    lora["110"] = "FFFFFFFFFFFFFFFF";
    preset["100"] = lora;
    writeFile(path, QJsonDocument(preset).toJson());
    const Run apply = run({"apply", path, "--port", port, "--set", "300.320=10.1.2.3"});
    QVERIFY2(apply.status == 0, qPrintable(apply.err));
    QVERIFY2(apply.out.contains(": 0 ok: 2 fields applied and confirmed"), qPrintable(apply.out));
    const QJsonObject held = gateway->settingsDocument();
    QCOMPARE(held["100"]["111"], QJsonValue("eu1.example.org"));
    QCOMPARE(held["100"]["110"], QJsonValue("AA555A0000000101"));
    QCOMPARE(held["300"]["320"], QJsonValue("10.1.2.3"));
}

void TestCliRunner::driftIsNamedAndTheWorstStatusCounts_data()
{
    QTest::addColumn<bool>("withTakingGateway");
    QTest::newRow("one gateway") << false;
    QTest::newRow("two gateways in parallel") << true;
}

void TestCliRunner::driftIsNamedAndTheWorstStatusCounts()
{
    QFETCH(bool, withTakingGateway);
    const auto ignoring = startedEmulator(3, {"211"});
    const auto taking = startedEmulator(1);
    QVERIFY(ignoring && taking);
    const QString preset = scratch.filePath("m2m.gwset");
    writeFile(preset, R"({"200": {"211": "m2m.example"}})");
    QStringList arguments{"apply", preset, "--port", ignoring->devicePath()};
    if (withTakingGateway)
        arguments += QStringList{"--port", taking->devicePath()};

    const Run apply = run(arguments);
    QCOMPARE(apply.status, 1);
    const QString drift = lineOf(apply.out, ignoring->devicePath() + ": ");
    QVERIFY2(drift.startsWith(ignoring->devicePath() + ": 1 drift: ") && drift.contains("200.211"),
             qPrintable(apply.out));
    if (withTakingGateway) {
        QVERIFY2(
                lineOf(apply.out, taking->devicePath() + ": ").contains(": 0 ok: 1 fields applied"),
                qPrintable(apply.out));
        QCOMPARE(taking->settingsDocument().value("200")["211"], QJsonValue("m2m.example"));
    }
}

void TestCliRunner::wrongPasswordEndsWithStatus3()
{
    const auto gateway = startedEmulator(1);
    QVERIFY(gateway);
    gateway->setRefusalDelayMs(10);
    QProcess cli;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("KELVANE_PASSWORD", "wrong");
    cli.setProcessEnvironment(environment);
    QSignalSpy finished(&cli, &QProcess::finished);
    cli.start(KELVANE_CLI, {"read", "--port", gateway->devicePath()});
    // The emulator answers from this event loop while the program waits.
    QVERIFY(finished.wait(runWaitMs));
    QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
    QCOMPARE(cli.exitCode(), 3);
    // A settings document would go to standard output: the result line goes to standard error.
    const QByteArray err = cli.readAllStandardError();
    QVERIFY2(err.contains(": 3 port: login refused"), err.constData());
}

void TestCliRunner::badInputTouchesNoGateway_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("named");

    const QString dir = scratch.path();
    writeFile(dir + "/good.gwset", R"({"100": {"111": "lns.example"}})");
    writeFile(dir + "/text.gwset", "site 4, mast 2\n");
    writeFile(dir + "/other.json", R"({"name": "not settings"})");
    const QString good = dir + "/good.gwset";
    const QStringList port{"--port", "PORT"};
    QTest::newRow("unknown command") << QStringList{"flash"} + port << "unknown command";
    QTest::newRow("unknown option") << QStringList{"apply", good, "--force"} + port << "force";
    QTest::newRow("missing preset") << QStringList{"apply"} + port << "needs a preset";
    QTest::newRow("no preset file")
            << QStringList{"diff", dir + "/none.gwset"} + port << "no preset";
    QTest::newRow("preset is a directory") << QStringList{"apply", dir} + port << "not a settings";
    QTest::newRow("not JSON") << QStringList{"apply", dir + "/text.gwset"} + port
                              << "not a settings";
    QTest::newRow("JSON without groups")
            << QStringList{"apply", dir + "/other.json"} + port << "not a settings";
    QTest::newRow("--set unknown group")
            << QStringList{"apply", good, "--set", "900.911=1"} + port << "unknown group 900";
    QTest::newRow("--set without value")
            << QStringList{"apply", good, "--set", "100.112"} + port << "GROUP.KEY=VALUE";
    QTest::newRow("--set malformed number")
            << QStringList{"apply", good, "--set", "100.112=17x0"} + port << "up to 5 digits";
    QTest::newRow("--set malformed boolean")
            << QStringList{"apply", good, "--set", "300.310=yes"} + port << "true or false";
    QTest::newRow("--set breaks a field rule")
            << QStringList{"apply", good, "--set", "200.230=300.1.1.1"} + port << "IPv4";
    QTest::newRow("--set group the model lacks")
            << QStringList{"apply", good, "--model", "TK-1", "--set", "350.351=1"} + port
            << "TK-1 has no group 350";
    QTest::newRow("password as argument")
            << QStringList{"read", "--password", "kelvane"} + port << "never an argument";
    QTest::newRow("several ports, one file")
            << QStringList{"report", "--out", dir + "/r.pdf", "--port", "/dev/null"} + port << "%p";
}

void TestCliRunner::badInputTouchesNoGateway()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, named);
    const auto gateway = startedEmulator(3);
    QVERIFY(gateway);
    arguments.replaceInStrings(QRegularExpression("^PORT$"), gateway->devicePath());

    const Run bad = run(arguments);
    QCOMPARE(bad.status, 2);
    QVERIFY(bad.out.isEmpty());
    QVERIFY2(bad.err.startsWith("kelvane-cli: ") && bad.err.count('\n') == 1, qPrintable(bad.err));
    QVERIFY2(bad.err.contains(named), qPrintable(bad.err));
    QVERIFY(bad.portsTried.isEmpty());
    QVERIFY(gateway->received().isEmpty());
}

void TestCliRunner::reportHoldsEverySection()
{
    const auto gateway = startedEmulator(3);
    QVERIFY(gateway);
    gateway->setLogLines({"INFO: [up] PUSH_ACK received in 21 ms"});
    gateway->setLogIntervalMs(10);
    const QString path = scratch.filePath("report-%p.pdf");
    const Run report = run({"report", "--port", gateway->devicePath(), "--out", path, "--note",
                            "Mast 4, north side", "--log-seconds", "0.3"});
    QCOMPARE(report.status, 0);

    QTextDocument document;
    CommissioningReport(report.report).fill(&document);
    const QString text = document.toPlainText();
    for (const char *expected : {"Mast 4, north side", "02:4B:56:00:1A:3C", "u-blox MAX-M10S",
                                 "lns.kelvane.local", "PUSH_ACK received", "ТК-3Max"})
        QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
    QVERIFY(!text.contains("kelvane123"));

    QString file = path;
    file.replace("%p", gateway->devicePath().mid(5).replace('/', '_'));
    QFile pdf(file);
    QVERIFY2(pdf.open(QIODevice::ReadOnly), qPrintable(file));
    const QByteArray content = pdf.readAll();
    QVERIFY(content.startsWith("%PDF"));
    QVERIFY(content.contains("/Type /Page\n") || content.contains("/Type /Page\r"));
}

QTEST_MAIN(TestCliRunner)
#include "tst_clirunner.moc"
