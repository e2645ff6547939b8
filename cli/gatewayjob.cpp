#include "cli/gatewayjob.h"

#include "cli/englishcount.h"
#include "link/serialadapters.h"
#include "link/sportconnector.h"
#include "settings/fieldcatalog.h"
#include "settings/presetfile.h"
#include "settings/settingshandlerandcollector.h"
#include "settings/settingsrules.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>

namespace {

constexpr int msPerSecond = 1000;
constexpr int modelTk3Max = 3;

QString oneLine(const QString &text)
{
    return QString(text).replace(QLatin1Char('\n'), QLatin1Char(' ')).simplified();
}

QLatin1String statusWord(int status)
{
    static const char *const words[] = {"ok", "drift", "usage", "port", "refused"};
    return QLatin1String(words[qBound(0, status, int(CliOptions::NoAnswer))]);
}

} // namespace

GatewayJob::GatewayJob(const CliOptions &options, const QString &port, const QByteArray &password,
                       QObject *parent)
    : QObject(parent), options(options), portName(port), password(password), replyTimer(this),
      streamTimer(this)
{
    replyTimer.setObjectName(QStringLiteral("replyTimer"));
    replyTimer.setSingleShot(true);
    replyTimer.setInterval(replyTimeoutMs);
    connect(&replyTimer, &QTimer::timeout, this, &GatewayJob::replyMissing);
    streamTimer.setObjectName(QStringLiteral("streamTimer"));
    streamTimer.setSingleShot(true);
    connect(&streamTimer, &QTimer::timeout, this, &GatewayJob::endStream);
}

GatewayJob::~GatewayJob()
{
    password.fill('\0');
}

void GatewayJob::start()
{
    device = SerialAdapters::locate(portName);
    if (device.isEmpty()) {
        finish(CliOptions::PortFailure, QStringLiteral("no such port"));
        return;
    }
    if (options.model >= 0)
        baudRate = options.model == modelTk3Max ? CliOptions::fastBaudRate
                                                : CliOptions::slowBaudRate;
    connectAt(baudRate);
}

void GatewayJob::connectAt(int rate)
{
    baudRate = rate;
    stage = Stage::Connecting;
    link = new SPortConnector(rate, this);
    link->setConnectionParameters(device, options.user.toUtf8() + '\r', password + '\r');
    // Every outcome is told in the result line.
    link->setOutcomeBoxes(false);
    connect(link, &SPortConnector::sendTxtDialog, this,
            [this](int, const QString &title, const QString &text) {
                emit progress(oneLine(title + QStringLiteral(": ") + text));
            });
    connect(link, &SPortConnector::connectSucsessful, this, &GatewayJob::loggedIn);
    connect(link, &SPortConnector::connectionFailure, this, &GatewayJob::connectionFailed);
    connect(link, &SPortConnector::loginRefused, this, [this] {
        finish(CliOptions::PortFailure, QStringLiteral("login refused for %1").arg(options.user));
    });
    connect(link, &SPortConnector::gatewayModel, this, [this](int code) { reportedModel = code; });
    connect(link, &SPortConnector::resivedSettings, this, &GatewayJob::settingsArrived);
    connect(link, &SPortConnector::settingsApplied, this, [this] {
        if (stage != Stage::Applying)
            return;
        stage = Stage::ReadingBack;
        replyTimer.start();
        link->getCurrentSettings();
    });
    connect(link, &SPortConnector::errorReply, this, &GatewayJob::gatewayRefused);
    connect(link, &SPortConnector::settingsDamaged, this, [this] {
        finish(CliOptions::NoAnswer, oneLine(SPortConnector::damagedSettingsText()));
    });
    connect(link, &SPortConnector::sendLoRaLogs, this, &GatewayJob::streamed);
    connect(link, &SPortConnector::portLost, this,
            [this] { finish(CliOptions::PortFailure, QStringLiteral("the port went away")); });
    connect(link, &SPortConnector::connectionCoreDropped, this, [this] {
        finish(CliOptions::NoAnswer, QStringLiteral("the gateway stopped answering"));
    });
    emit progress(QStringLiteral("connecting to %1 at %2 baud").arg(device).arg(rate));
    link->connectToGatewayPort();
}

// A console at another line speed answers nothing readable: without --model the
// faster speed gets one try.
void GatewayJob::connectionFailed()
{
    const bool consoleSilent = link && link->portError() == QSerialPort::NoError;
    if (link)
        link->deleteLater();
    if (stage != Stage::Connecting)
        return;
    if (consoleSilent && options.model < 0 && baudRate == CliOptions::slowBaudRate) {
        connectAt(CliOptions::fastBaudRate);
        return;
    }
    finish(CliOptions::PortFailure,
           consoleSilent ? QStringLiteral("no console answered")
                         : QStringLiteral("cannot open %1").arg(device));
}

void GatewayJob::loggedIn()
{
    emit progress(QStringLiteral("logged in"));
    if (options.command == CliOptions::Command::Logs) {
        startStream();
        return;
    }
    stage = Stage::Reading;
    replyTimer.start();
    link->getCurrentSettings();
}

void GatewayJob::settingsArrived(QJsonObject *settings)
{
    const QJsonObject received = settings ? *settings : QJsonObject();
    replyTimer.stop();
    if (stage == Stage::Reading) {
        if (received.isEmpty())
            finish(CliOptions::NoAnswer, QStringLiteral("the gateway sent no settings"));
        else
            takeSettings(received);
    } else if (stage == Stage::ReadingBack) {
        finishApply(received);
    }
}

// ERROR 1008 to an apply: the gateway took some fields; the read-back tells which.
void GatewayJob::gatewayRefused(int code, const QString &detail)
{
    constexpr int settingsNotSet = 1008;
    if (code == settingsNotSet && stage == Stage::Applying) {
        refusal = oneLine(SPortConnector::errorText(code, detail));
        stage = Stage::ReadingBack;
        replyTimer.start();
        link->getCurrentSettings();
        return;
    }
    finish(CliOptions::NoAnswer, oneLine(SPortConnector::errorText(code, detail)));
}

void GatewayJob::replyMissing()
{
    const int seconds = replyTimeoutMs / msPerSecond;
    switch (stage) {
    case Stage::Applying:
        finish(CliOptions::NoAnswer,
               QStringLiteral("no answer to the apply in %1 s: whether it was taken is unknown")
                       .arg(seconds));
        break;
    case Stage::ReadingBack:
        finish(CliOptions::NoAnswer,
               QStringLiteral("applied, but no read-back in %1 s: not verified").arg(seconds));
        break;
    default:
        finish(CliOptions::NoAnswer, QStringLiteral("no settings in %1 s").arg(seconds));
        break;
    }
}

void GatewayJob::takeSettings(const QJsonObject &received)
{
    model = options.model >= 0 ? options.model : reportedModel;
    if (model < 0) {
        finish(CliOptions::NoAnswer, QStringLiteral("the gateway reported no model: give --model"));
        return;
    }
    if (options.model >= 0 && reportedModel >= 0 && reportedModel != options.model)
        emit progress(QStringLiteral("the gateway reports %1; going on as %2")
                              .arg(CliOptions::modelName(reportedModel),
                                   CliOptions::modelName(options.model)));
    held = SettingsRules(model).readBackDocument(QJsonObject(), received);
    QJsonObject withDevice = received;
    deviceInfo = SettingsHandlerAndCollector::deviceInfoOf(withDevice);
    extra.insert(QStringLiteral("model"), CliOptions::modelName(model));

    switch (options.command) {
    case CliOptions::Command::Read:
        writeRead();
        break;
    case CliOptions::Command::Diff:
        if (checkModelGroups())
            writeDiff();
        break;
    case CliOptions::Command::Apply:
        if (checkModelGroups())
            startApply();
        break;
    case CliOptions::Command::Report:
        if (options.logSeconds > 0)
            startStream();
        else
            writeReport();
        break;
    case CliOptions::Command::Ports:
    case CliOptions::Command::Logs:
        break;
    }
}

// Overrides for a group the model lacks would go nowhere; preset groups it lacks are
// left out, as the window's import does.
bool GatewayJob::checkModelGroups()
{
    const SettingsRules rules(model);
    const QStringList foreignSet = rules.foreignGroups(options.overrides);
    if (!foreignSet.isEmpty()) {
        finish(CliOptions::Usage,
               QStringLiteral("%1 has no group %2 named by --set")
                       .arg(CliOptions::modelName(model), foreignSet.join(", ")));
        return false;
    }
    const QStringList foreign = rules.foreignGroups(options.preset);
    if (!foreign.isEmpty())
        emit progress(QStringLiteral("%1 has no group %2 of the preset: left out")
                              .arg(CliOptions::modelName(model), foreign.join(", ")));
    return true;
}

void GatewayJob::writeRead()
{
    const SettingsRules rules(model);
    const QJsonObject preset = rules.exportDocument(held, rules.presetGroups(held, {}, {}));
    if (options.out.isEmpty()) {
        extra.insert(QStringLiteral("settings"), preset);
        if (!options.json)
            emit logText(QString::fromUtf8(QJsonDocument(preset).toJson(QJsonDocument::Indented)));
        finish(CliOptions::Done, QStringLiteral("settings read"));
        return;
    }
    const QString path = options.outFor(portName);
    const PresetFile::WriteResult written = PresetFile::write(path, preset);
    if (written.status != PresetFile::WriteStatus::Ok) {
        finish(CliOptions::Usage,
               QStringLiteral("cannot write %1: %2").arg(path, written.errorString));
        return;
    }
    extra.insert(QStringLiteral("file"), path);
    finish(CliOptions::Done, QStringLiteral("settings written to %1").arg(path));
}

void GatewayJob::writeDiff()
{
    const SettingsRules rules(model);
    const QList<SettingsChange> changes = rules.pendingChanges(
            held, rules.presetGroups(held, options.preset, options.overrides));
    QJsonArray fields;
    for (const SettingsChange &change : changes) {
        details.append(fieldLine(change.group, change.key, change.oldValue, change.newValue));
        fields.append(QJsonObject{
                {"group", change.group},
                {"key", change.key},
                {"label", FieldCatalog::label(change.group, change.key)},
                {"gateway", FieldCatalog::shownValue(change.group, change.key, change.oldValue)},
                {"preset", FieldCatalog::shownValue(change.group, change.key, change.newValue)}});
    }
    extra.insert(QStringLiteral("changes"), fields);
    finish(CliOptions::Done,
           QStringLiteral("%1 would change").arg(EnglishCount::of(changes.size(), "field")));
}

void GatewayJob::startApply()
{
    const SettingsRules rules(model);
    const SettingsRules::PageGroups shown
            = rules.presetGroups(held, options.preset, options.overrides);
    changedFields = int(rules.pendingChanges(held, shown).size());
    sent = rules.applyDocument(held, shown);
    emit progress(
            QStringLiteral("applying %1").arg(EnglishCount::of(changedFields, "changed field")));
    stage = Stage::Applying;
    replyTimer.start();
    link->sendSettings(QJsonDocument(sent).toJson(QJsonDocument::Compact));
}

void GatewayJob::finishApply(const QJsonObject &readBack)
{
    if (readBack.isEmpty()) {
        finish(CliOptions::NoAnswer,
               QStringLiteral("applied, but the read-back failed: not verified"));
        return;
    }
    const QList<SettingsChange> drift = SettingsRules::verify(sent, readBack);
    QJsonArray fields;
    QStringList names;
    for (const SettingsChange &change : drift) {
        // What was sent is the new value, what the gateway holds the old one.
        details.append(
                QStringLiteral("%1.%2 %3: sent %4, holds %5")
                        .arg(change.group, change.key,
                             FieldCatalog::fieldPath(change.group, change.key),
                             FieldCatalog::shownValue(change.group, change.key, change.newValue),
                             FieldCatalog::shownValue(change.group, change.key, change.oldValue)));
        names.append(change.group + QLatin1Char('.') + change.key);
        fields.append(QJsonObject{
                {"group", change.group},
                {"key", change.key},
                {"label", FieldCatalog::label(change.group, change.key)},
                {"sent", FieldCatalog::shownValue(change.group, change.key, change.newValue)},
                {"holds", FieldCatalog::shownValue(change.group, change.key, change.oldValue)}});
    }
    extra.insert(QStringLiteral("drift"), fields);
    if (!drift.isEmpty()) {
        finish(CliOptions::Drift,
               QStringLiteral("the gateway holds other values in %1%2")
                       .arg(names.join(QStringLiteral(", ")),
                            refusal.isEmpty() ? QString()
                                              : QStringLiteral(" (") + refusal + QLatin1Char(')')));
        return;
    }
    if (!refusal.isEmpty()) {
        finish(CliOptions::NoAnswer, refusal);
        return;
    }
    extra.insert(QStringLiteral("confirmed"), changedFields);
    finish(CliOptions::Done,
           QStringLiteral("%1 applied and confirmed by read-back")
                   .arg(EnglishCount::of(changedFields, "field")));
}

void GatewayJob::startStream()
{
    stage = Stage::Streaming;
    const double seconds
            = options.command == CliOptions::Command::Logs ? options.seconds : options.logSeconds;
    if (seconds > 0)
        streamTimer.start(int(seconds * msPerSecond));
    link->startGetPacketForwarderLogs();
}

void GatewayJob::streamed(const QString &text)
{
    if (stage != Stage::Streaming)
        return;
    streamedText += text;
    if (options.command == CliOptions::Command::Logs && !options.json)
        emit logText(text);
}

void GatewayJob::endStream()
{
    if (stage != Stage::Streaming)
        return;
    link->stopGetPacketForwarderLogs();
    if (options.command == CliOptions::Command::Report) {
        writeReport();
        return;
    }
    if (options.json)
        extra.insert(QStringLiteral("log"), streamedText);
    finish(CliOptions::Done, QStringLiteral("log streamed"));
}

void GatewayJob::writeReport()
{
    report.madeAt = QDateTime::currentDateTime();
    report.note = options.note;
    report.connected = true;
    // The names of the window's model list, in its language.
    static const char *const modelTexts[] = {"ТК-0", "ТК-1", "ТК-3", "ТК-3Max"};
    report.model = QCoreApplication::translate("BasicWindow", modelTexts[model]);
    report.deviceInfo = deviceInfo;
    report.settings = held;
    report.outcome = CommissioningReport::Outcome::NoApply;
    report.logLines = streamedText.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const QString path = options.outFor(portName);
    QString error;
    if (!CommissioningReport(report).writePdf(path, &error)) {
        finish(CliOptions::Usage, QStringLiteral("cannot write %1: %2").arg(path, error));
        return;
    }
    extra.insert(QStringLiteral("file"), path);
    finish(CliOptions::Done, QStringLiteral("report written to %1").arg(path));
}

void GatewayJob::interrupt()
{
    if (stage == Stage::Streaming && options.command == CliOptions::Command::Logs)
        endStream();
    else
        finish(CliOptions::NoAnswer, QStringLiteral("interrupted"));
}

void GatewayJob::finish(int status, const QString &text)
{
    if (stage == Stage::Finished)
        return;
    stage = Stage::Finished;
    replyTimer.stop();
    streamTimer.stop();
    exitStatus = status;
    summary = text;
    if (link) {
        disconnect(link, nullptr, this, nullptr);
        link->disconnectFromGatewayPort();
        link->deleteLater();
    }
    emit finished();
}

QJsonObject GatewayJob::resultObject() const
{
    QJsonObject object = extra;
    object.insert(QStringLiteral("port"), portName);
    object.insert(QStringLiteral("status"), exitStatus);
    object.insert(QStringLiteral("result"), statusWord(exitStatus));
    object.insert(QStringLiteral("text"), summary);
    return object;
}

QString GatewayJob::resultLine() const
{
    return QStringLiteral("%1: %2 %3: %4")
            .arg(portName)
            .arg(exitStatus)
            .arg(statusWord(exitStatus), summary);
}

QString GatewayJob::fieldLine(const QString &group, const QString &key, const QJsonValue &from,
                              const QJsonValue &to) const
{
    return QStringLiteral("%1.%2 %3: %4 -> %5")
            .arg(group, key, FieldCatalog::fieldPath(group, key),
                 FieldCatalog::shownValue(group, key, from),
                 FieldCatalog::shownValue(group, key, to));
}
