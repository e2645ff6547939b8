#include "cli/clirunner.h"
#include "cli/gatewayjob.h"
#include "emulator/gatewayemulator.h"
#include "link/historylog.h"
#include "link/portcloser.h"

#include <QBuffer>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QtTest>

#include <csignal>
#include <memory>
#include <sys/resource.h>

namespace {

constexpr int runWaitMs = 20000;

struct Run
{
    int status = -1;
    QString out;
    QString err;
    int jobs = 0;
    CommissioningReport::Content report;
};

// The program in this process; the closing lines reach the gateways, as before it exits.
Run run(const QStringList &arguments)
{
    QBuffer out;
    QBuffer err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    Run result;
    {
        CliRunner runner(&out, &err);
        QSignalSpy finished(&runner, &CliRunner::finished);
        runner.start(arguments);
        if (finished.wait(runWaitMs))
            result.status = finished.first().first().toInt();
        result.jobs = int(runner.jobs().size());
        if (!runner.jobs().isEmpty())
            result.report = runner.jobs().first()->reportContent();
    }
    PortCloser::finishAll(runWaitMs);
    result.out = QString::fromUtf8(out.data());
    result.err = QString::fromUtf8(err.data());
    return result;
}

std::unique_ptr<GatewayEmulator> emulator(int model, const QStringList &ignoredKeys = {})
{
    auto gateway = std::make_unique<GatewayEmulator>(model);
    gateway->setIgnoredKeys(ignoredKeys);
    gateway->setRefusalDelayMs(1);
    return gateway->start() ? std::move(gateway) : nullptr;
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
    void driftIsNamedAndTheWorstStatusCounts();
    void wrongPasswordEndsWithStatus3();
    void badInputTouchesNoGateway_data();
    void badInputTouchesNoGateway();
    void passwordFileFirstLine_data();
    void passwordFileFirstLine();
    void writeFailureEndsWithStatus5_data();
    void writeFailureEndsWithStatus5();
    void reportHoldsEverySection();
    void adapterComesBack_data();
    void adapterComesBack();
    void surveyOfTwoGateways_data();
    void surveyOfTwoGateways();

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
    const auto gateway = emulator(1);
    QVERIFY(gateway);
    const QString port = gateway->devicePath(), path = scratch.filePath("site.gwset");
    QCOMPARE(run({"read", "--port", port, "--out", path}).status, 0);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther), 0);
    QJsonObject preset = QJsonDocument::fromJson(file.readAll()).object();
    QVERIFY(!preset["100"].toObject().contains("110") && !preset.contains("8"));
    QJsonObject lora = preset["100"].toObject();
    lora["111"] = "eu1.example.org";
    // A gateway ID in a preset belongs to another gateway.
    lora["110"] = "FFFFFFFFFFFFFFFF";
    lora["999"] = "x";
    preset["100"] = lora;
    writeFile(path, QJsonDocument(preset).toJson());
    const Run apply = run({"apply", path, "--port", port, "--set", "300.320=10.1.2.3"});
    QVERIFY2(apply.status == 0, qPrintable(apply.err));
    QVERIFY2(apply.out.contains(": 0 ok: 2 fields applied and confirmed"), qPrintable(apply.out));
    QVERIFY(apply.err.contains("100.999: no page shows this field"));
    const QJsonObject held = gateway->settingsDocument();
    QVERIFY(!held["100"].toObject().contains("999"));
    QCOMPARE(held["100"]["111"], QJsonValue("eu1.example.org"));
    QCOMPARE(held["100"]["110"], QJsonValue("AA555A0000000101"));
}

// One gateway keeps its old value, the other takes the preset: the worse status counts.
void TestCliRunner::driftIsNamedAndTheWorstStatusCounts()
{
    const auto ignoring = emulator(3, {"211"});
    const auto taking = emulator(1);
    QVERIFY(ignoring && taking);
    const QString preset = scratch.filePath("m2m.gwset");
    writeFile(preset, R"({"200": {"211": "m2m.example"}})");
    const Run apply = run(
            {"apply", preset, "--port", ignoring->devicePath(), "--port", taking->devicePath()});
    QCOMPARE(apply.status, 1);
    QVERIFY2(apply.out.contains(ignoring->devicePath()
                                + ": 1 drift: the gateway holds other values in 200.211\n"),
             qPrintable(apply.out));
    QVERIFY(apply.out.contains(taking->devicePath() + ": 0 ok: 1 field applied"));
    // Two sessions write one history file: each entry names its port.
    QFile history(historyLogPath());
    QVERIFY(history.open(QIODevice::ReadOnly));
    const QString entries = QString::fromUtf8(history.readAll());
    for (const QString &port : {ignoring->devicePath(), taking->devicePath()})
        QVERIFY(entries.contains("[" + port + "] Read logs - "));
}

void TestCliRunner::wrongPasswordEndsWithStatus3()
{
    const auto gateway = emulator(1);
    QVERIFY(gateway);
    QProcess cli;
    qputenv("KELVANE_PASSWORD", "wrong");
    QSignalSpy finished(&cli, &QProcess::finished);
    cli.start(KELVANE_CLI, {"read", "--port", gateway->devicePath()});
    QVERIFY(finished.wait(runWaitMs));
    qputenv("KELVANE_PASSWORD", "kelvane");
    QCOMPARE(cli.exitCode(), 3);
    // Standard output would carry the settings: the result line is on standard error.
    QVERIFY(cli.readAllStandardError().contains(": 3 port: login refused"));
}

void TestCliRunner::badInputTouchesNoGateway_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("named");

    const QString dir = scratch.path() + '/';
    writeFile(dir + "good.gwset", R"({"100": {"111": "lns.example"}})");
    writeFile(dir + "text.gwset", "site 4, mast 2\n");
    const QStringList apply{"apply", dir + "good.gwset", "--port", "PORT"};
    const QStringList set = apply + QStringList{"--set"};
    const auto row = [](const char *name, const QStringList &arguments, const char *named) {
        QTest::newRow(name) << arguments << named;
    };
    row("unknown command", {"flash", "--port", "PORT"}, "unknown command");
    row("unknown option", apply + QStringList{"--force"}, "force");
    row("no preset file", {"diff", dir + "none.gwset", "--port", "PORT"}, "no preset");
    row("preset is a directory", {"apply", dir, "--port", "PORT"}, "not a settings");
    row("not JSON", {"apply", dir + "text.gwset", "--port", "PORT"}, "not a settings");
    row("--set unknown group", set + QStringList{"900.911=1"}, "unknown group 900");
    row("--set malformed number", set + QStringList{"100.112=17x0"}, "up to 5 digits");
    row("--set breaks a field rule", set + QStringList{"200.230=300.1.1.1"}, "IPv4");
    row("password as argument", {"read", "--password", "kelvane", "--port", "PORT"},
        "never an argument");
    row("one adapter under two names",
        {"diff", dir + "good.gwset", "--port", "PORT", "--port", "LINK"}, "same adapter");
    row("--seconds inf", {"logs", "--port", "PORT", "--seconds", "inf"}, "86400");
    // Preset values that no page would take, one field each: GROUP.KEY=JSON.
    for (const QString field : {"100.112=\"abc\"", "300.320=\"999.999.1.1\"", "300.310=\"yes\"",
                                "350.351=\"three\"", "100.133=95.5", "150.ch2_3=86810000"}) {
        const QString name = field.section('=', 0, 0), path = dir + name + ".gwset";
        writeFile(path,
                  QString(R"({"%1": {"%2": %3}})")
                          .arg(name.section('.', 0, 0), name.section('.', 1), field.section('=', 1))
                          .toUtf8());
        row(qPrintable(name), {"apply", path, "--port", "PORT"}, qPrintable(name));
    }
}

void TestCliRunner::badInputTouchesNoGateway()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, named);
    const auto gateway = emulator(3);
    QVERIFY(gateway);
    arguments.replaceInStrings(QRegularExpression("^PORT$"), gateway->devicePath());
    const QString link = scratch.filePath(QTest::currentDataTag());
    QVERIFY(QFile::link(gateway->devicePath(), link));
    arguments.replaceInStrings(QRegularExpression("^LINK$"), link);

    const Run bad = run(arguments);
    QCOMPARE(bad.status, 2);
    QVERIFY2(bad.err.startsWith("kelvane-cli: ") && bad.err.count('\n') == 1, qPrintable(bad.err));
    QVERIFY2(bad.err.contains(named), qPrintable(bad.err));
    QCOMPARE(bad.jobs, 0);
    QVERIFY(gateway->received().isEmpty());
}

void TestCliRunner::passwordFileFirstLine_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("status");
    QTest::newRow("LF") << QByteArray("kelvane\nnext line\n") << 0;
    QTest::newRow("CRLF") << QByteArray("kelvane\r\n") << 0;
    QTest::newRow("CR") << QByteArray("kelvane\r") << 0;
    QTest::newRow("no line end") << QByteArray("kelvane") << 0;
    QTest::newRow("byte order mark") << QByteArray("\xEF\xBB\xBFkelvane\n") << 0;
    QTest::newRow("trailing spaces") << QByteArray("kelvane  \n") << 3;
}

void TestCliRunner::passwordFileFirstLine()
{
    QFETCH(QByteArray, content);
    QFETCH(int, status);
    const auto gateway = emulator(1);
    QVERIFY(gateway);
    const QString path = scratch.filePath("password");
    writeFile(path, content);
    QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    const Run read = run({"read", "--port", gateway->devicePath(), "--password-file", path});
    QCOMPARE(read.status, status);
    QCOMPARE(read.err.contains("root (the password file's line ends in spaces)"), status == 3);
}

// Root writes anywhere: a size limit and a full device stop it all the same.
void TestCliRunner::writeFailureEndsWithStatus5_data()
{
    QTest::addColumn<bool>("sizeLimited");
    QTest::addColumn<QString>("words");
    QTest::newRow("--out past a size limit") << true << "File too large";
    QTest::newRow("standard output on a full device") << false << "No space left on device";
}

void TestCliRunner::writeFailureEndsWithStatus5()
{
    QFETCH(bool, sizeLimited);
    QFETCH(QString, words);
    const auto gateway = emulator(1);
    QVERIFY(gateway);
    const QString path = scratch.filePath("limited.gwset");
    QProcess cli;
    if (sizeLimited) {
        cli.setChildProcessModifier([] {
            // Room for the port's lock file, not for the settings.
            constexpr rlimit limit{1024, 1024};
            std::signal(SIGXFSZ, SIG_IGN);
            setrlimit(RLIMIT_FSIZE, &limit);
        });
    } else {
        cli.setStandardOutputFile("/dev/full");
    }
    QSignalSpy finished(&cli, &QProcess::finished);
    cli.start(KELVANE_CLI,
              QStringList{"read", "--port", gateway->devicePath()}
                      + (sizeLimited ? QStringList{"--out", path} : QStringList()));
    QVERIFY(finished.wait(runWaitMs));
    QCOMPARE(cli.exitCode(), 5);
    const QByteArray told = cli.readAllStandardOutput() + cli.readAllStandardError();
    QVERIFY2(told.contains(words.toUtf8()), told.constData());
    QVERIFY(!QFile::exists(path));
}

void TestCliRunner::reportHoldsEverySection()
{
    const auto gateway = emulator(3);
    QVERIFY(gateway);
    gateway->setLogLines({"INFO: [up] PUSH_ACK received in 21 ms"});
    gateway->setLogIntervalMs(10);
    const Run report = run({"report", "--port", gateway->devicePath(), "--out",
                            scratch.filePath("report.pdf"), "--note", "Mast 4, north side",
                            "--log-seconds", "0.3"});
    QCOMPARE(report.status, 0);

    QTextDocument document;
    CommissioningReport(report.report).fill(&document);
    const QString text = document.toPlainText();
    for (const char *expected : {"Mast 4, north side", "02:4B:56:00:1A:3C", "u-blox MAX-M10S",
                                 "lns.kelvane.local", "PUSH_ACK received", "ТК-3Max"})
        QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
    QVERIFY(!text.contains("kelvane123"));

    QFile pdf(scratch.filePath("report.pdf"));
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    const QByteArray content = pdf.readAll();
    QVERIFY(content.startsWith("%PDF") && content.contains("/Type /Page\n"));
}

void TestCliRunner::adapterComesBack_data()
{
    QTest::addColumn<QString>("gatewayId");
    QTest::addColumn<bool>("notTaken");
    QTest::addColumn<QString>("result");
    QTest::addColumn<int>("writes");
    const QString ok = ": 0 ok: 1 field applied and confirmed";
    QTest::newRow("same gateway, write taken") << "" << false << ok << 1;
    QTest::newRow("same gateway, write lost: sent again") << "" << true << ok << 2;
    QTest::newRow("another gateway") << "BB555A0000000202" << false
                                     << ": 3 port: this is another gateway: BB555A0000000202" << 1;
}

// The adapter is pulled as the apply goes out and comes back at once.
void TestCliRunner::adapterComesBack()
{
    QFETCH(QString, gatewayId);
    QFETCH(bool, notTaken);
    QFETCH(QString, result);
    QFETCH(int, writes);
    GatewayEmulator gateway(1);
    const QString port = scratch.filePath(QTest::currentDataTag());
    gateway.setLinkPath(port);
    QVERIFY(gateway.start());
    gateway.setIgnoredKeys(notTaken ? QStringList{"200/211"} : QStringList());
    QObject::connect(&gateway, &GatewayEmulator::replugged, &gateway, [&] {
        gateway.setCoreRunning(false);
        gateway.setAtShell(false);
        gateway.setIgnoredKeys({});
        if (gatewayId.isEmpty())
            return;
        QJsonObject document = gateway.settingsDocument();
        QJsonObject lora = document["100"].toObject();
        lora["110"] = gatewayId;
        document["100"] = lora;
        gateway.setSettingsDocument(document);
    });
    gateway.setUnplugAt(GatewayEmulator::Step::Apply, 20);
    const QString preset = scratch.filePath("apn.gwset");
    writeFile(preset, R"({"200": {"211": "m2m.example"}})");

    const Run apply = run({"apply", preset, "--port", port, "--wait-adapter", "5"});
    QVERIFY2(apply.out.contains(port + result), qPrintable(apply.out + apply.err));
    QCOMPARE(gateway.received().count("REQUEST.{[--25 "), writes);
}

void TestCliRunner::surveyOfTwoGateways_data()
{
    QTest::addColumn<QStringList>("thresholds");
    QTest::addColumn<qint64>("backhaulDownMs");
    QTest::addColumn<QString>("shortfall");
    QTest::newRow("thresholds met")
            << QStringList{"--min-packets", "5", "--min-snr", "-20"} << -1ll << "";
    QTest::newRow("--min-snr not met")
            << QStringList{"--min-snr", "30"} << -1ll << "; median SNR below --min-snr 30 dB";
    QTest::newRow("backhaul down") << QStringList() << 0ll << "; no PUSH_DATA acknowledged";
}

void TestCliRunner::surveyOfTwoGateways()
{
    QFETCH(QStringList, thresholds);
    QFETCH(qint64, backhaulDownMs);
    QFETCH(QString, shortfall);
    const std::unique_ptr<GatewayEmulator> gateways[] = {emulator(1), emulator(3)};
    QStringList arguments{"survey", "--seconds", "1", "--json"};
    for (const auto &gateway : gateways) {
        QVERIFY(gateway);
        gateway->setSurveyTraffic(true);
        gateway->setPacketRate(50);
        gateway->setStatisticsPeriodMs(200);
        gateway->setBackhaulDownAfterMs(backhaulDownMs);
        arguments << "--port" << gateway->devicePath();
    }
    const Run survey = run(arguments + thresholds);
    QCOMPARE(survey.status, shortfall.isEmpty() ? 0 : 1);
    const QStringList lines = survey.out.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 2);
    for (const QString &line : lines) {
        const QJsonObject result = QJsonDocument::fromJson(line.toUtf8()).object();
        QVERIFY2(result["text"].toString().endsWith(" %" + shortfall), qPrintable(line));
        QCOMPARE(result["pushAcknowledged"].toDouble(), backhaulDownMs < 0 ? 100 : 0);
    }
}

QTEST_MAIN(TestCliRunner)
#include "tst_clirunner.moc"
