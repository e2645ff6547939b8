#include "window/basicwindow.h"

#include "device/aboutdeveloper.h"
#include "device/aboutdevice.h"
#include "link/sportconnector.h"
#include "lora/loralogs.h"
#include "lora/othersettings.h"
#include "lora/stacklorasettings.h"
#include "network/networksettings.h"
#include "pagekit/colorscheme.h"
#include "pagekit/fieldvalidation.h"
#include "settings/settingshandlerandcollector.h"
#include "window/applyreport.h"
#include "window/connectionpanel.h"
#include "window/pageedits.h"
#include "window/pendingchangesbutton.h"
#include "window/signaltab.h"
#include "window/waitinganimation.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>

namespace {

using State = GatewaySession::State;

const QString portKey = QStringLiteral("Port");
const QString modelKey = QStringLiteral("Model");
const QString currentTabKey = QStringLiteral("CurrentTab");
const QString defaultPort = QStringLiteral("COM-1");

const QString coreVersionKey = QStringLiteral("9");
const QString disconnectedCoreVersion = QStringLiteral("1.1.1");

constexpr int modelTk0 = 0;
constexpr int modelTk1 = 1;
constexpr int modelTk3 = 2;
constexpr int modelTk3Max = 3;

constexpr int loraTab = 0;
constexpr int logsTab = 1;
constexpr int otherTab = 3;

constexpr int boxInformation = QMessageBox::Information;
constexpr int boxWarning = QMessageBox::Warning;
constexpr int boxCritical = QMessageBox::Critical;

constexpr int leftColumnX = 10;
constexpr int buttonWidthPx = 131;
constexpr int buttonHeightPx = 24;
constexpr int iconButtonSidePx = 24;
// Distances from the window's bottom and right edges.
constexpr int requestFromBottomPx = 70;
constexpr int applyFromBottomPx = 40;
constexpr int pendingFromBottomPx = 16;
constexpr int pendingHeightPx = 16;
constexpr int aboutFromRightPx = 35;
constexpr int aboutY = 11;
constexpr int tabsX = 160;
constexpr int tabsY = 10;
constexpr int tabsWidthLessPx = 170;
constexpr int tabsHeightLessPx = 24;

const QString aboutPicture = QStringLiteral(":/Pictures/AboutDev.png");
const QString aboutPictureDark = QStringLiteral(":/Pictures/AboutDev_w.png");

bool loggedIn(State state)
{
    return state == State::Connected || state == State::Reading || state == State::Applying
            || state == State::Verifying || state == State::Rebooting;
}

} // namespace

BasicWindow::BasicWindow(QWidget *parent) : QWidget(parent)
{
    setMinimumSize(minimumWidthPx, minimumHeightPx);
    setWindowTitle(QStringLiteral("Kelvane_v1.1.2").replace(QLatin1Char('_'), QLatin1Char(' ')));

    panel = new ConnectionPanel(this);
    presets = new PresetActions(this, this);
    createExchangeButtons();
    createPages();
    session = new GatewaySession(this);
    signalTab = new SignalTab(tabs, logsPage, session, this);

    spinner = new WaitingAnimation(this);
    spinner->setObjectName(QStringLiteral("spinner"));
    spinner->setDuration(spinnerFadeMs);

    makeWindowConnections();
    connectSession();

    edits = new PageEdits(this);
    connect(edits, &PageEdits::settled, this, &BasicWindow::updatePendingChanges);
    edits->watch({loraPage, networkPage, otherPage});

    QSettings settings;
    panel->choosePort(settings.value(portKey, defaultPort).toString());
    changeInterface(settings.value(modelKey, modelTk0).toInt());
    const int storedTab = settings.value(currentTabKey, loraTab).toInt();
    tabs->setCurrentIndex(storedTab > tabs->count() - 1 ? storedTab - 1 : storedTab);

    changeIcons(QPalette());
    updateControls();
}

BasicWindow::~BasicWindow()
{
    QSettings settings;
    settings.setValue(currentTabKey, tabs->currentIndex());
    settings.setValue(modelKey, panel->modelBox()->currentIndex());
    settings.setValue(portKey, panel->rememberedPort());
    // The gateway hears the closing lines; the window shows nothing more.
    disconnect(session, nullptr, this, nullptr);
    session->close();
    delete aboutWindow.data();
}

void BasicWindow::createExchangeButtons()
{
    requestButton = new QPushButton(tr("Запросить настройки"), this);
    requestButton->setObjectName(QStringLiteral("requestButton"));
    applyButton = new QPushButton(tr("Применить настройки"), this);
    applyButton->setObjectName(QStringLiteral("applyButton"));
    pendingButton = new PendingChangesButton(this);
    pendingButton->setObjectName(QStringLiteral("pendingButton"));
    pendingButton->hide();
    aboutButton = new QPushButton(this);
    aboutButton->setObjectName(QStringLiteral("aboutButton"));
    aboutButton->setIconSize(QSize(iconButtonSidePx, iconButtonSidePx) * 3 / 4);
}

void BasicWindow::createPages()
{
    tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("tabs"));
    loraPage = new StackLoRaSettings(tabs);
    loraPage->setObjectName(QStringLiteral("loraPage"));
    networkPage = new NetworkSettings(tabs);
    networkPage->setObjectName(QStringLiteral("networkPage"));
    otherPage = new OtherSettings(tabs);
    otherPage->setObjectName(QStringLiteral("otherPage"));
    logsPage = new LoRaLogs(tabs);
    logsPage->setObjectName(QStringLiteral("logsPage"));
    devicePage = new AboutDevice;
    devicePage->setObjectName(QStringLiteral("devicePage"));

    tabs->addTab(loraPage, tr("Настройки LoRa"));
    tabs->addTab(logsPage, tr("Логи LoRa"));
    tabs->addTab(networkPage, tr("Сетевые настройки"));
    tabs->addTab(otherPage, tr("Прочие настройки"));
    tabs->addTab(devicePage, tr("Об устройстве"));
    placeAnchoredWidgets();
    tabs->lower();
}

// Made once: whether a button does anything follows from the session's state.
void BasicWindow::makeWindowConnections()
{
    connect(panel, &ConnectionPanel::connectRequested, this, &BasicWindow::connectToGateway);
    connect(panel, &ConnectionPanel::disconnectRequested, this,
            &BasicWindow::disconnectFromGateway);
    connect(aboutButton, &QPushButton::pressed, this, &BasicWindow::showAboutDeveloperWindow);
    connect(requestButton, &QPushButton::pressed, session, &GatewaySession::read);
    connect(applyButton, &QPushButton::pressed, this, &BasicWindow::sendSettingsToGateway);
    connect(devicePage->reportButton, &QPushButton::pressed, this, &BasicWindow::saveReport);
    connect(devicePage->resetGatewayButton, &QPushButton::pressed, session,
            &GatewaySession::resetSettings);
    connect(devicePage->resetLoRaButton, &QPushButton::pressed, session,
            &GatewaySession::resetLoRaSettings);
    connect(devicePage->rebootButton, &QPushButton::pressed, session, &GatewaySession::reboot);
    connect(networkPage, &NetworkSettings::showDialogMessage, this, &BasicWindow::showDialogWidget);
    connect(logsPage, &LoRaLogs::showDialog, this, &BasicWindow::showDialogWidget);
    connect(signalTab, &SignalTab::showDialog, this, &BasicWindow::showDialogWidget);
    connect(logsPage, &LoRaLogs::runLoRaLogs, session, &GatewaySession::startLogStream);
    connect(logsPage, &LoRaLogs::stopLoRaLogs, session, &GatewaySession::stopLogStream);
    connect(panel->modelBox(), &QComboBox::currentIndexChanged, this,
            &BasicWindow::changeInterface);
    connect(otherPage, &OtherSettings::usingLocalServer, this,
            &BasicWindow::forwardLocalServerChoice);
    connect(loraPage, &StackLoRaSettings::useDoubleModule, session,
            &GatewaySession::runPacketForwarder);
}

void BasicWindow::connectSession()
{
    connect(session, &GatewaySession::stateChanged, this, &BasicWindow::sessionStateChanged);
    connect(session, &GatewaySession::linkMessage, this, &BasicWindow::showBox);
    connect(session, &GatewaySession::connected, this, &BasicWindow::unlockingSettingsFunctions);
    connect(session, &GatewaySession::settingsRead, this, [this](const QJsonObject &document) {
        QJsonObject received = document;
        resivedSettings(&received);
    });
    connect(session, &GatewaySession::applyFinished, this, &BasicWindow::applyFinished);
    connect(session, &GatewaySession::exchangeFailed, this,
            [this](GatewaySession::State exchange, GatewaySession::Failure failure, int,
                   const QString &text) {
                const ApplyReport report = ApplyReport::failedExchange(exchange, failure, text);
                if (!report.text.isEmpty())
                    showDialogWidget(report.icon, report.title, report.text);
            });
    connect(session, &GatewaySession::applyAnsweredLate, this, [this] {
        showDialogWidget(boxInformation, tr("Настройки"), tr("Настройки применены!"));
    });
    connect(session, &GatewaySession::adapterLost, this, &BasicWindow::adapterLost);
    connect(session, &GatewaySession::reconnected, this, &BasicWindow::sameGatewayBack);
    connect(session, &GatewaySession::otherGateway, this, &BasicWindow::otherGatewayBack);
    connect(session, &GatewaySession::identityUnconfirmed, this, [this] {
        showDialogWidget(boxWarning, tr("Переподключение"),
                         tr("Не удалось проверить, та же ли это базовая станция. Запросите "
                            "настройки, прежде чем применять."));
    });
    connect(session, &GatewaySession::modelReported, this, &BasicWindow::gatewayReportedModel);
    connect(session, &GatewaySession::logText, logsPage, &LoRaLogs::setLoRaLogs);
    connect(session, &GatewaySession::bootText, devicePage, &AboutDevice::Set_Reboot_Logs);
    connect(session, &GatewaySession::moduleStateReported, loraPage,
            &StackLoRaSettings::setModuleState);
    connect(session, &GatewaySession::rebootStarted, this, &BasicWindow::disableInterface);
    connect(session, &GatewaySession::rebooted, this, &BasicWindow::rebootSucsess);
}

void BasicWindow::refreshPortList()
{
    panel->refreshPortList();
}

void BasicWindow::showDialogWidget(int index, QString Title, QString Text)
{
    QMessageBox box(QMessageBox::Icon(index), Title, Text, QMessageBox::Ok, this,
                    Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    box.exec();
}

void BasicWindow::showBox(int icon, const QString &title, const QString &text)
{
    showDialogWidget(icon, title, text);
}

void BasicWindow::connectToGateway()
{
    // The last apply's check belongs to the gateway it was made on.
    lastOutcome = CommissioningReport::Outcome::NoApply;
    lastDrift.clear();
    lastConfirmedFields = 0;
    const PortChooser::Choice port = panel->chosenPort();
    adapterName = port.name;
    session->open(port.path, port.id, panel->loginBytes(), panel->passwordBytes());
}

void BasicWindow::disconnectFromGateway()
{
    session->close();
}

void BasicWindow::unlockingSettingsFunctions()
{
    updateControls();
}

void BasicWindow::sessionStateChanged(GatewaySession::State state)
{
    const State before = std::exchange(shownState, state);
    // The session is over: what the pages say of the gateway goes back to its default.
    if (state == State::Disconnected && before != State::Connecting && before != State::LoggingIn) {
        logsPage->resetSendLogs();
        setCoreVersionKeepingPages(disconnectedCoreVersion);
    }
    updateControls();
}

// The one place that decides what the operator can press.
void BasicWindow::updateControls()
{
    const State state = session->state();
    const bool attempt = state == State::Connecting || state == State::LoggingIn;
    panel->setSessionRunning(state != State::Disconnected && !attempt, attempt);
    requestButton->setEnabled(session->isIdle());
    applyButton->setEnabled(session->isIdle() && !session->applyBlocked());
    if (session->isOnline())
        devicePage->unlockServiceButtons();
    else
        devicePage->lockServiceButtons();
    const bool busy = attempt || state == State::Reading || state == State::Applying
            || state == State::Verifying;
    if (busy)
        spinner->start();
    else
        spinner->stop();
    attachPages(loggedIn(state) ? session->link() : nullptr);
    showConnectionState();
}

void BasicWindow::showConnectionState()
{
    panel->showSession(session->state(), session->endedByLoss(), modelName(), adapterName);
}

void BasicWindow::attachPages(SPortConnector *link)
{
    if (attachedLink == link)
        return;
    if (attachedLink || !link) {
        otherPage->detachLink();
        networkPage->detachLink();
    }
    attachedLink = link;
    if (link) {
        otherPage->attachLink(link);
        networkPage->attachLink(link);
    }
}

// The gateway or its line went during an apply: only a read will tell what it took.
void BasicWindow::adapterLost(bool applyOutcomeUnknown)
{
    if (applyOutcomeUnknown)
        showDialogWidget(boxWarning, tr("Настройки"),
                         tr("Связь прервалась во время применения настроек. Применены ли они, "
                            "неизвестно: после переподключения запросите настройки, чтобы "
                            "проверить."));
}

// Back after a pulled adapter: the pages kept everything, and the held document is
// what the gateway holds now.
void BasicWindow::sameGatewayBack(const QJsonObject &current)
{
    if (current.isEmpty())
        return;
    SettingsHandlerAndCollector *collector = SettingsHandlerAndCollector::getInstance();
    collector->replaceSettings(SettingsRules(loraPage->deviceType)
                                       .readBackDocument(collector->getSettings(), current));
    updatePendingChanges();
}

// What the pages show was meant for the gateway that went: nothing of it is
// compared with, or sent to, this one before a read.
void BasicWindow::otherGatewayBack(const QString &name)
{
    SettingsHandlerAndCollector::getInstance()->replaceSettings(QJsonObject());
    lastOutcome = CommissioningReport::Outcome::NoApply;
    lastDrift.clear();
    lastConfirmedFields = 0;
    updatePendingChanges();
    showDialogWidget(boxWarning, tr("Переподключение"),
                     tr("Это другая базовая станция: %1.\nЗапросите её настройки, прежде чем "
                        "применять.")
                             .arg(name));
}

void BasicWindow::disableInterface()
{
    logsPage->resetSendLogs();
}

void BasicWindow::rebootSucsess()
{
    showDialogWidget(boxInformation, tr("Перезагрузка"), tr("Базовая станция перезагружена."));
}

void BasicWindow::changeInterface(int Index)
{
    QComboBox *modelBox = panel->modelBox();
    if (Index != modelBox->currentIndex()) {
        modelBox->setCurrentIndex(Index);
        if (modelBox->currentIndex() == Index)
            return;
    }
    session->setModel(Index);

    tabs->setTabVisible(logsTab, false);
    tabs->setTabVisible(otherTab, false);
    networkPage->hideWifiBox();
    networkPage->showPingFields();
    switch (Index) {
    case modelTk0:
        networkPage->showWifiBox();
        networkPage->hidePingFields();
        break;
    case modelTk1:
        tabs->setTabVisible(logsTab, true);
        tabs->setTabVisible(otherTab, true);
        break;
    case modelTk3:
    case modelTk3Max:
        session->requestModuleState();
        if (Index == modelTk3Max)
            networkPage->showWifiBox();
        tabs->setTabVisible(logsTab, true);
        tabs->setTabVisible(otherTab, true);
        break;
    default:
        break;
    }
    loraPage->setDeviceType(Index);
    // A second module page may have come.
    edits->watch({loraPage, networkPage, otherPage});
    edits->touch();
}

// Only a new model may change the pages, or the operator would lose the tab and
// the field they are in.
void BasicWindow::gatewayReportedModel(int code)
{
    if (code != panel->modelBox()->currentIndex())
        changeInterface(code);
    showConnectionState();
}

void BasicWindow::changeIcons(QPalette Palette)
{
    Q_UNUSED(Palette)
    const ColorScheme::Scheme scheme = ColorScheme::current();
    panel->setScheme(scheme);
    aboutButton->setIcon(QIcon(scheme == ColorScheme::Dark ? aboutPictureDark : aboutPicture));
    networkPage->setThemeIcons(scheme);
    if (aboutWindow)
        aboutWindow->setThemeLogo(scheme);
}

void BasicWindow::editViewPassGateway()
{
    panel->editViewPassGateway();
}

void BasicWindow::expandAuthForm()
{
    panel->expandAuthForm();
}

void BasicWindow::showAboutDeveloperWindow()
{
    auto *window = new AboutDeveloper;
    window->setWindowModality(Qt::ApplicationModal);
    window->setThemeLogo(ColorScheme::current());
    window->show();
    connect(window, &AboutDeveloper::closed, window, &QObject::deleteLater);
    aboutWindow = window;
}

void BasicWindow::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        if (QWidget *focused = QApplication::focusWidget()) {
            focused->clearFocus();
            loraPage->lockGwIDs();
        }
    }
    QWidget::mousePressEvent(event);
}

// A new application palette (the system switched its colour scheme) reaches
// every widget as this event.
void BasicWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ApplicationPaletteChange)
        changeIcons(QApplication::palette());
    QWidget::changeEvent(event);
}

void BasicWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeAnchoredWidgets();
}

void BasicWindow::placeAnchoredWidgets()
{
    const int h = height();
    const int w = width();
    presets->place(h);
    requestButton->setGeometry(leftColumnX, h - requestFromBottomPx, buttonWidthPx, buttonHeightPx);
    applyButton->setGeometry(leftColumnX, h - applyFromBottomPx, buttonWidthPx, buttonHeightPx);
    pendingButton->setGeometry(leftColumnX, h - pendingFromBottomPx, buttonWidthPx,
                               pendingHeightPx);
    aboutButton->setGeometry(w - aboutFromRightPx, aboutY, iconButtonSidePx, iconButtonSidePx);
    tabs->setGeometry(tabsX, tabsY, w - tabsWidthLessPx, h - tabsHeightLessPx);
}

// The gateway's settings reach the pages.
void BasicWindow::resivedSettings(QJsonObject *SettingsJSON)
{
    const QJsonObject received = SettingsJSON ? *SettingsJSON : QJsonObject();
    if (received.isEmpty())
        return;

    SettingsHandlerAndCollector *collector = SettingsHandlerAndCollector::getInstance();
    collector->replaceSettings(
            SettingsRules(loraPage->deviceType).readDocument(collector->getSettings(), received));
    const QString coreVersion = received.value(coreVersionKey).toString();
    if (presets->holding()) {
        // The held pages keep every imported value; only the identifiers follow
        // the gateway.
        setCoreVersionKeepingPages(coreVersion);
        loraPage->setGatewayIds(collector->getLoRaSettings());
    } else {
        loraPage->setCoreVersion(coreVersion);
        presets->dropImport();
        fillPagesFromCollector(true);
    }
    devicePage->setSettings();
    updatePendingChanges();

    showDialogWidget(boxInformation, tr("Настройки"), tr("Настройки получены!"));
    unlockApplyButton();
}

void BasicWindow::fillPagesFromCollector(bool withGatewayId)
{
    SettingsHandlerAndCollector *collector = SettingsHandlerAndCollector::getInstance();
    FieldValidation::instance().clearImported();
    fillingPages = true;
    loraPage->setSettings(collector->getLoRaSettings(), withGatewayId);
    networkPage->setSettings();
    otherPage->setSettings(collector->getServerSettings());
    fillingPages = false;
}

// The core version decides only which plans are offered; what the module pages
// show stays, so that neither the hold option nor a disconnect loses an entry.
void BasicWindow::setCoreVersionKeepingPages(const QString &version)
{
    const QJsonObject shown = loraPage->getSettings(true);
    loraPage->setCoreVersion(version);
    fillingPages = true;
    loraPage->setSettings(shown, true);
    fillingPages = false;
}

void BasicWindow::forwardLocalServerChoice(bool state)
{
    if (!fillingPages)
        loraPage->useLocalServer(state);
}

void BasicWindow::sendSettingsToGateway()
{
    if (!session->isIdle() || session->applyBlocked())
        return;
    FieldValidation &validation = FieldValidation::instance();
    if (!validation.fieldsValid()) {
        showDialogWidget(boxCritical, tr("Ошибка"),
                         tr("Заполните поля:\n%1\nПоскольку они являются обязательными.")
                                 .arg(validation.invalidFields()));
        return;
    }
    qDebug() << validation.invalidFields();
    // The held document stays what the gateway reported: only its reply changes it.
    session->apply(loraPage->deviceType, SettingsHandlerAndCollector::getInstance()->getSettings(),
                   shownGroups(true));
}

SettingsRules::PageGroups BasicWindow::shownGroups(bool withGatewayId) const
{
    return {loraPage->getSettings(withGatewayId), networkPage->getSettings(),
            otherPage->getSettings(), presets->loaded()};
}

// After a read or a verified apply: the local server and the modules report their
// state, which also shows the log stream the exchange hid.
void BasicWindow::unlockApplyButton()
{
    session->requestServerState();
    if (SettingsRules::hasSecondModule(loraPage->deviceType))
        session->requestModuleState();
}

void BasicWindow::applyFinished(const ApplyOutcome &outcome)
{
    const bool verified = outcome.verdict == ApplyOutcome::Verdict::Confirmed
            || outcome.verdict == ApplyOutcome::Verdict::Drift;
    if (verified) {
        SettingsHandlerAndCollector *collector = SettingsHandlerAndCollector::getInstance();
        collector->replaceSettings(
                SettingsRules(loraPage->deviceType)
                        .readBackDocument(collector->getSettings(), outcome.readBack));
        updatePendingChanges();
        lastConfirmedFields = outcome.changedFields;
    }
    if (verified || outcome.verdict == ApplyOutcome::Verdict::NotVerified) {
        lastOutcome = outcome.verdict == ApplyOutcome::Verdict::Confirmed
                ? CommissioningReport::Outcome::Confirmed
                : verified ? CommissioningReport::Outcome::Drift
                           : CommissioningReport::Outcome::NotVerified;
        lastDrift = outcome.drift;
    }
    const ApplyReport report = ApplyReport::of(outcome);
    showDialogWidget(report.icon, report.title, report.text);
    if (verified)
        unlockApplyButton();
}

// Shown once the gateway's settings are known: before that every field would count.
void BasicWindow::updatePendingChanges()
{
    const QJsonObject held = SettingsHandlerAndCollector::getInstance()->getSettings();
    const SettingsRules rules(loraPage->deviceType);
    bool known = false;
    for (const QString &group : rules.groups())
        known = known || held.contains(group);
    pendingButton->setVisible(known);
    if (known)
        pendingButton->setChanges(rules.pendingChanges(held, shownGroups(true)));
}

void BasicWindow::retainSettingsChanged(bool state)
{
    presets->retainSettingsChanged(state);
}

void BasicWindow::savePresets()
{
    presets->savePresets();
}

void BasicWindow::loadPresets()
{
    presets->loadPresets();
}

QString BasicWindow::askPresetSaveName(const QString &proposedPath)
{
    return QFileDialog::getSaveFileName(this, tr("Выберете папку для сохранения настроек"),
                                        proposedPath, QStringLiteral("*.gwset"));
}

QString BasicWindow::askPresetOpenName(const QString &startDirectory)
{
    return QFileDialog::getOpenFileName(this, tr("Выберете файл настроек для загрузки"),
                                        startDirectory, QStringLiteral("*.gwset"));
}

QString BasicWindow::askReportSaveName(const QString &proposedPath)
{
    return QFileDialog::getSaveFileName(this, tr("Сохранить отчёт о настройке"), proposedPath,
                                        QStringLiteral("PDF (*.pdf)"));
}

int BasicWindow::modelCode() const
{
    return panel->modelBox()->currentIndex();
}

QString BasicWindow::modelName() const
{
    return panel->modelBox()->currentText();
}

CommissioningReport::Content BasicWindow::reportContent() const
{
    CommissioningReport::Content content;
    content.madeAt = QDateTime::currentDateTime();
    content.note = devicePage->installerNote();
    content.connected = session->isOnline();
    content.model = modelName();
    content.deviceInfo = devicePage->deviceInfo();
    content.settings = SettingsHandlerAndCollector::getInstance()->getSettings();
    content.outcome = lastOutcome;
    content.drift = lastDrift;
    content.confirmedFields = lastConfirmedFields;
    content.logLines = logsPage->newestLines(CommissioningReport::logLineCount);
    content.survey = signalTab->reportSurvey();
    return content;
}

void BasicWindow::saveReport()
{
    const CommissioningReport report(reportContent());
    QString fileName = askReportSaveName(QStringLiteral("%1/%2.pdf")
                                                 .arg(PresetActions::presetDirectory(),
                                                      QDateTime::currentDateTime().toString(
                                                              QStringLiteral("yyyy-MM-dd_hh.mm"))));
    if (fileName.isEmpty())
        return;
    if (QFileInfo(fileName).suffix().isEmpty())
        fileName += QStringLiteral(".pdf");
    QString error;
    if (report.writePdf(fileName, &error))
        showDialogWidget(boxInformation, tr("Отчёт о настройке"),
                         tr("Отчёт сохранён: %1").arg(QDir::toNativeSeparators(fileName)));
    else
        showDialogWidget(boxWarning, tr("Ошибка записи файла"),
                         tr("Не удалось записать файл %1: %2.")
                                 .arg(QDir::toNativeSeparators(fileName), error));
}
