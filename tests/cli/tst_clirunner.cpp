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
    preset["100"] = lora;
    writeFile(path, QJsonDocument(preset).toJson());
    const Run apply = run({"apply", path, "--port", port, "--set", "300.320=10.1.2.3"});
    QVERIFY2(apply.status == 0, qPrintable(apply.err));
    QVERIFY2(apply.out.contains(": 0 ok: 2 fields applied and confirmed"), qPrintable(apply.out));
    const QJsonObject held = gateway->settingsDocument();
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
}

void TestCliRunner::badInputTouchesNoGateway()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, named);
    const auto gateway = emulator(3);
    QVERIFY(gateway);
    arguments.replaceInStrings(QRegularExpression("^PORT$"), gateway->devicePath());

    const Run bad = run(arguments);
    QCOMPARE(bad.status, 2);
    QVERIFY2(bad.err.startsWith("kelvane-cli: ") && bad.err.count('\n') == 1, qPrintable(bad.err));
    QVERIFY2(bad.err.contains(named), qPrintable(bad.err));
    QCOMPARE(bad.jobs, 0);
    QVERIFY(gateway->received().isEmpty());
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

QTEST_MAIN(TestCliRunner)
#include "tst_clirunner.moc"
