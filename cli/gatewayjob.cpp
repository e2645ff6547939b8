#include "cli/gatewayjob.h"

#include "cli/englishcount.h"
#include "cli/surveyverdict.h"
#include "link/serialadapters.h"
#include "settings/fieldcatalog.h"
#include "settings/presetfile.h"
#include "settings/savedfile.h"
#include "settings/settingshandlerandcollector.h"
#include "settings/settingsrules.h"
#include "survey/surveycsv.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

namespace {

constexpr int msPerSecond = 1000;
constexpr qint64 savedLogPieceBytes = 64 * 1024;

QString oneLine(const QString &text)
{
    return QString(text).replace(QLatin1Char('\n'), QLatin1Char(' ')).simplified();
}

QLatin1String statusWord(int status, CliOptions::Command command)
{
    static const char *const words[] = {"ok", "drift", "usage", "port", "refused", "write"};
    if (status == CliOptions::Shortfall && command == CliOptions::Command::Survey)
        return QLatin1String("fail");
    return QLatin1String(words[qBound(0, status, int(CliOptions::WriteFailure))]);
}

// What finds the adapter again once it was pulled out and plugged in under
// another number: its by-id name or serial number, or the port as given.
QString adapterIdOf(const QString &port, const QString &device)
{
    for (const SerialAdapter &adapter : SerialAdapters::present()) {
        if (adapter.systemLocation == device || adapter.byIdPath == port)
            return SerialAdapters::stableId(adapter);
    }
    return port;
}

} // namespace

GatewayJob::GatewayJob(const CliOptions &options, const QString &port, const QByteArray &password,
                       QObject *parent)
    : QObject(parent), options(options), portName(port), password(password),
      session(new GatewaySession(this)), streamTimer(this), adapterTimer(this)
{
    streamTimer.setObjectName(QStringLiteral("streamTimer"));
    streamTimer.setSingleShot(true);
    connect(&streamTimer, &QTimer::timeout, this, &GatewayJob::endStream);
    adapterTimer.setObjectName(QStringLiteral("adapterTimer"));
    adapterTimer.setSingleShot(true);
    connect(&adapterTimer, &QTimer::timeout, this, &GatewayJob::adapterNotBack);

    connect(session, &GatewaySession::linkMessage, this,
            [this](int, const QString &title, const QString &text) {
                emit progress(oneLine(title + QStringLiteral(": ") + text));
            });
    connect(session, &GatewaySession::attemptStarted, this, [this](int rate) {
        emit progress(QStringLiteral("no console answered; trying %1 baud").arg(rate));
    });
    connect(session, &GatewaySession::connected, this, &GatewayJob::loggedIn);
    connect(session, &GatewaySession::loginRefused, this, [this] {
        const QString hint = this->options.loginRefusalHint;
        finish(CliOptions::PortFailure,
               QStringLiteral("login refused for %1").arg(this->options.user)
                       + (hint.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(hint)));
    });
    connect(session, &GatewaySession::connectionFailed, this, [this](bool portOpened) {
        finish(CliOptions::PortFailure,
               portOpened ? QStringLiteral("no console answered")
                          : QStringLiteral("cannot open %1").arg(device));
    });
    connect(session, &GatewaySession::modelReported, this,
            [this](int code) { reportedModel = code; });
    connect(session, &GatewaySession::settingsRead, this, &GatewayJob::settingsArrived);
    connect(session, &GatewaySession::exchangeFailed, this, &GatewayJob::exchangeFailed);
    connect(session, &GatewaySession::applyFinished, this, &GatewayJob::applyFinished);
    connect(session, &GatewaySession::logText, this, &GatewayJob::streamed);
    connect(session, &GatewaySession::adapterLost, this, &GatewayJob::adapterLost);
    connect(session, &GatewaySession::reconnected, this, &GatewayJob::adapterBack);
    connect(session, &GatewaySession::otherGateway, this, [this](const QString &name) {
        finish(CliOptions::PortFailure, QStringLiteral("this is another gateway: %1").arg(name));
    });
    connect(session, &GatewaySession::identityUnconfirmed, this, [this] {
        finish(CliOptions::PortFailure,
               QStringLiteral("whether the gateway behind the returned adapter is the same "
                              "could not be told"));
    });
    connect(session, &GatewaySession::coreLost, this, [this](bool applyUnknown) {
        finish(CliOptions::NoAnswer,
               applyUnknown ? QStringLiteral("outcome unknown: the gateway stopped answering "
                                             "after the apply was sent")
                            : QStringLiteral("the gateway stopped answering"));
    });
}

GatewayJob::~GatewayJob()
{
    password.fill('\0');
}

void GatewayJob::nameInHistory()
{
    session->setHistoryTag(portName);
}

void GatewayJob::start()
{
    if (!options.fromLog.isEmpty()) {
        readSavedLog();
        return;
    }
    device = SerialAdapters::locate(portName);
    if (device.isEmpty()) {
        finish(CliOptions::PortFailure, QStringLiteral("no such port"));
        return;
    }
    if (options.model >= 0)
        session->setModel(options.model);
    else
        session->setSpeedFallback(true);
    stage = Stage::Connecting;
    emit progress(
            QStringLiteral("connecting to %1 at %2 baud").arg(device).arg(session->baudRate()));
    session->open(device, adapterIdOf(portName, device), options.user.toUtf8() + '\r',
                  password + '\r');
    password.fill('\0');
}

void GatewayJob::loggedIn()
{
    emit progress(QStringLiteral("logged in"));
    if (options.command == CliOptions::Command::Logs
        || options.command == CliOptions::Command::Survey) {
        startStream();
        return;
    }
    stage = Stage::Reading;
    session->read();
}

void GatewayJob::settingsArrived(const QJsonObject &received)
{
    if (stage == Stage::Reading)
        takeSettings(received);
}

void GatewayJob::exchangeFailed(GatewaySession::State exchange, GatewaySession::Failure failure,
                                int, const QString &text)
{
    if (failure == GatewaySession::Failure::NoReply && exchange == GatewaySession::State::Reading) {
        finish(CliOptions::NoAnswer,
               QStringLiteral("no settings in %1 s")
                       .arg(GatewaySession::exchangeTimeoutMs / msPerSecond));
        return;
    }
    finish(CliOptions::NoAnswer, oneLine(text));
}

void GatewayJob::applyFinished(const ApplyOutcome &outcome)
{
    const int seconds = GatewaySession::exchangeTimeoutMs / msPerSecond;
    switch (outcome.verdict) {
    case ApplyOutcome::Verdict::Confirmed:
    case ApplyOutcome::Verdict::Drift:
        applySent = false;
        if (!outcome.drift.isEmpty()) {
            reportDrift(outcome.drift, oneLine(outcome.refusal));
        } else if (!outcome.refusal.isEmpty()) {
            finish(CliOptions::NoAnswer, oneLine(outcome.refusal));
        } else {
            finishConfirmed(outcome.changedFields);
        }
        return;
    case ApplyOutcome::Verdict::NotVerified:
        finish(CliOptions::NoAnswer,
               outcome.cause == ApplyOutcome::Cause::NoReply
                       ? QStringLiteral("applied, but no read-back in %1 s: not verified")
                                 .arg(seconds)
                       : QStringLiteral("applied, but the read-back failed: not verified"));
        return;
    case ApplyOutcome::Verdict::Unanswered:
        finish(CliOptions::NoAnswer,
               QStringLiteral("no answer to the apply in %1 s: whether it was taken is unknown")
                       .arg(seconds));
        return;
    case ApplyOutcome::Verdict::Failed:
        applySent = false;
        finish(CliOptions::NoAnswer, oneLine(outcome.errorText));
        return;
    }
}

void GatewayJob::adapterLost(bool applyOutcomeUnknown)
{
    this->applyOutcomeUnknown = applyOutcomeUnknown || applySent;
    if (retried || options.waitAdapterSeconds <= 0) {
        adapterNotBack();
        return;
    }
    emit progress(QStringLiteral("the adapter went away; waiting %1 s for it")
                          .arg(options.waitAdapterSeconds));
    adapterTimer.start(int(options.waitAdapterSeconds * msPerSecond));
}

void GatewayJob::adapterNotBack()
{
    finish(CliOptions::PortFailure,
           applyOutcomeUnknown ? QStringLiteral("the port went away after the apply was sent: "
                                                "outcome unknown")
                               : QStringLiteral("the port went away"));
}

// The same gateway is back: the step runs once more. An apply goes out again only
// if what the gateway holds now shows the fields were not taken.
void GatewayJob::adapterBack(const QJsonObject &current)
{
    adapterTimer.stop();
    retried = true;
    emit progress(QStringLiteral("the adapter is back; logged in again"));
    switch (stage) {
    case Stage::Reading:
        if (current.isEmpty())
            session->read();
        else
            takeSettings(current);
        return;
    case Stage::Applying:
        applyOutcomeUnknown = false;
        if (current.isEmpty()) {
            stage = Stage::Reading;
            session->read();
            return;
        }
        held = SettingsRules(model).readBackDocument(QJsonObject(), current);
        if (SettingsRules(model)
                    .pendingChanges(held,
                                    SettingsRules(model).presetGroups(held, options.preset,
                                                                      options.overrides))
                    .isEmpty()) {
            finishConfirmed(appliedFields);
            return;
        }
        startApply();
        return;
    default:
        return;
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
    case CliOptions::Command::Survey:
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
        finish(CliOptions::WriteFailure,
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
    const int changed = int(rules.pendingChanges(held, shown).size());
    if (!retried)
        appliedFields = changed;
    emit progress(QStringLiteral("applying %1").arg(EnglishCount::of(changed, "changed field")));
    stage = Stage::Applying;
    applySent = session->apply(model, held, shown);
}

void GatewayJob::finishConfirmed(int fields)
{
    extra.insert(QStringLiteral("confirmed"), fields);
    finish(CliOptions::Done,
           QStringLiteral("%1 applied and confirmed by read-back")
                   .arg(EnglishCount::of(fields, "field")));
}

void GatewayJob::reportDrift(const QList<SettingsChange> &drift, const QString &refusal)
{
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
    finish(CliOptions::Drift,
           QStringLiteral("the gateway holds other values in %1%2")
                   .arg(names.join(QStringLiteral(", ")),
                        refusal.isEmpty() ? QString()
                                          : QStringLiteral(" (") + refusal + QLatin1Char(')')));
}

void GatewayJob::startStream()
{
    stage = Stage::Streaming;
    const double seconds
            = options.command == CliOptions::Command::Report ? options.logSeconds : options.seconds;
    if (seconds > 0)
        streamTimer.start(int(seconds * msPerSecond));
    streamClock.start();
    session->startLogStream();
}

void GatewayJob::streamed(const QString &text)
{
    if (stage != Stage::Streaming)
        return;
    // A survey may run for hours: only its figures are kept.
    if (options.command != CliOptions::Command::Survey)
        streamedText += text;
    if (options.command != CliOptions::Command::Logs)
        parser.feed(text, QDateTime::currentMSecsSinceEpoch());
    if (options.command == CliOptions::Command::Logs && !options.json)
        emit logText(text);
}

void GatewayJob::endStream()
{
    if (stage != Stage::Streaming)
        return;
    session->stopLogStream();
    parser.finish(QDateTime::currentMSecsSinceEpoch());
    if (options.command == CliOptions::Command::Report) {
        writeReport();
        return;
    }
    if (options.command == CliOptions::Command::Survey) {
        finishSurvey(true);
        return;
    }
    if (options.json)
        extra.insert(QStringLiteral("log"), streamedText);
    finish(CliOptions::Done, QStringLiteral("log streamed"));
}

// A saved log tells no arrival times: it is read at once, as if it arrived now.
void GatewayJob::readSavedLog()
{
    QFile file(options.fromLog);
    const auto unreadable = [this, &file] {
        finish(CliOptions::Usage,
               QStringLiteral("cannot read %1: %2").arg(options.fromLog, file.errorString()));
    };
    if (!file.open(QIODevice::ReadOnly)) {
        unreadable();
        return;
    }
    QStringDecoder decoder(QStringDecoder::Utf8);
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    for (QByteArray piece; !(piece = file.read(savedLogPieceBytes)).isEmpty();)
        parser.feed(QString(decoder.decode(piece)), now);
    if (file.error() != QFileDevice::NoError) {
        unreadable();
        return;
    }
    parser.finish(now);
    finishSurvey(false);
}

void GatewayJob::finishSurvey(bool withTimes)
{
    const SurveyVerdict verdict(survey, options);
    const QJsonObject figures = verdict.figures();
    for (auto figure = figures.constBegin(); figure != figures.constEnd(); ++figure)
        extra.insert(figure.key(), figure.value());
    if (!options.csv.isEmpty()) {
        const QString path = options.csvFor(portName);
        const SavedFile::Result saved = SavedFile::write(path, SurveyCsv::of(survey, withTimes));
        if (saved.status != SavedFile::Status::Ok) {
            finish(CliOptions::WriteFailure,
                   QStringLiteral("cannot write %1: %2").arg(path, saved.errorString));
            return;
        }
        extra.insert(QStringLiteral("csv"), path);
    }
    finish(verdict.status(), verdict.text());
}

void GatewayJob::writeReport()
{
    report.madeAt = QDateTime::currentDateTime();
    report.note = options.note;
    report.connected = true;
    // The names of the window's model list, in its language.
    static const char *const modelTexts[] = {"ТК-0", "ТК-1", "ТК-3", "ТК-3Max"};
    report.model = QCoreApplication::translate("ConnectionPanel", modelTexts[model]);
    report.deviceInfo = deviceInfo;
    report.settings = held;
    report.outcome = CommissioningReport::Outcome::NoApply;
    report.logLines = streamedText.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (streamClock.isValid())
        report.survey = CommissioningReport::surveyOf(survey, streamClock.elapsed());
    const QString path = options.outFor(portName);
    QString error;
    if (!CommissioningReport(report).writePdf(path, &error)) {
        finish(CliOptions::WriteFailure, QStringLiteral("cannot write %1: %2").arg(path, error));
        return;
    }
    extra.insert(QStringLiteral("file"), path);
    finish(CliOptions::Done, QStringLiteral("report written to %1").arg(path));
}

void GatewayJob::interrupt()
{
    if (stage == Stage::Streaming
        && (options.command == CliOptions::Command::Logs
            || options.command == CliOptions::Command::Survey))
        endStream();
    else if (applySent)
        finish(CliOptions::NoAnswer,
               QStringLiteral("outcome unknown: interrupted after the apply was sent"));
    else if (options.command == CliOptions::Command::Apply)
        finish(CliOptions::NoAnswer, QStringLiteral("interrupted before anything was sent"));
    else
        finish(CliOptions::NoAnswer, QStringLiteral("interrupted"));
}

void GatewayJob::finish(int status, const QString &text)
{
    if (stage == Stage::Finished)
        return;
    stage = Stage::Finished;
    streamTimer.stop();
    adapterTimer.stop();
    exitStatus = status;
    summary = text;
    disconnect(session, nullptr, this, nullptr);
    session->close();
    emit finished();
}

QJsonObject GatewayJob::resultObject() const
{
    QJsonObject object = extra;
    object.insert(QStringLiteral("port"), portName);
    object.insert(QStringLiteral("status"), exitStatus);
    object.insert(QStringLiteral("result"), statusWord(exitStatus, options.command));
    object.insert(QStringLiteral("text"), summary);
    return object;
}

QString GatewayJob::resultLine() const
{
    return QStringLiteral("%1: %2 %3: %4")
            .arg(portName)
            .arg(exitStatus)
            .arg(statusWord(exitStatus, options.command), summary);
}

QString GatewayJob::fieldLine(const QString &group, const QString &key, const QJsonValue &from,
                              const QJsonValue &to) const
{
    return QStringLiteral("%1.%2 %3: %4 -> %5")
            .arg(group, key, FieldCatalog::fieldPath(group, key),
                 FieldCatalog::shownValue(group, key, from),
                 FieldCatalog::shownValue(group, key, to));
}
