#include "window/basicwindow.h"

#include "device/aboutdeveloper.h"
#include "device/aboutdevice.h"
#include "link/reconnectwait.h"
#include "link/sportconnector.h"
#include "lora/loralogs.h"
#include "lora/othersettings.h"
#include "lora/stacklorasettings.h"
#include "network/networksettings.h"
#include "pagekit/colorscheme.h"
#include "pagekit/fieldvalidation.h"
#include "pagekit/importedvalues.h"
#include "settings/fieldcatalog.h"
#include "settings/presetfile.h"
#include "settings/settingshandlerandcollector.h"
#include "window/applyreport.h"
#include "window/connectionstateline.h"
#include "window/pendingchangesbutton.h"
#include "window/portchooser.h"
#include "window/waitinganimation.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTabWidget>

#include <utility>

namespace {

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
constexpr int slowBaudRate = 115200;
constexpr int fastBaudRate = 1500000;

constexpr int loraTab = 0;
constexpr int logsTab = 1;
constexpr int networkTab = 2;
constexpr int otherTab = 3;
constexpr int deviceTab = 4;

constexpr int boxInformation = 1;
constexpr int boxWarning = 2;
constexpr int boxCritical = 3;

const QRect logoGeometry(8, 5, 141, 121);
const QRect portGeometry(10, 140, 101, 24);
const QRect refreshGeometry(120, 140, 24, 24);
const QRect modelLabelGeometry(10, 170, 51, 24);
const QRect modelGeometry(72, 170, 71, 24);
const QRect authGeometry(10, 200, 131, 121);
const QRect expandAuthGeometry(105, 4, 24, 11);
const QRect loginLabelGeometry(10, 20, 113, 20);
const QRect loginGeometry(10, 40, 113, 24);
const QRect passwordLabelGeometry(10, 70, 90, 20);
const QRect passwordGeometry(10, 90, 113, 24);
const QRect showPasswordGeometry(102, 67, 24, 24);
constexpr int leftColumnX = 10;
constexpr int buttonWidthPx = 131;
constexpr int buttonHeightPx = 24;
constexpr int iconButtonSidePx = 24;
constexpr int expandedAuthHeightPx = 121;
constexpr int collapsedAuthHeightPx = 21;
constexpr int connectExpandedY = 330;
constexpr int disconnectExpandedY = 360;
constexpr int connectCollapsedY = 230;
constexpr int disconnectCollapsedY = 260;
// Two rows under the disconnect button.
constexpr int stateLineBelowDisconnectPx = 30;
constexpr int stateLineWidthPx = 141;
constexpr int stateLineHeightPx = 32;

// Distances from the window's bottom and right edges.
constexpr int holdBoxFromBottomPx = 205;
constexpr int holdBoxWidthPx = 135;
constexpr int holdBoxHeightPx = 21;
constexpr int exportFromBottomPx = 175;
constexpr int importFromBottomPx = 145;
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

constexpr int lastTabIndex = 4;

const QString logoPicture = QStringLiteral(":/Logo/LogoRU.png");
const QString logoPictureDark = QStringLiteral(":/Logo/LogoRU_w.png");
const QString refreshPicture = QStringLiteral(":/Pictures/Refresh.png");
const QString hidePasswordPicture = QStringLiteral(":/Pictures/HidePwd.png");
const QString showPasswordPicture = QStringLiteral(":/Pictures/ShowPwd.png");
const QString aboutPicture = QStringLiteral(":/Pictures/AboutDev.png");

QString themed(const QString &path, ColorScheme::Scheme scheme)
{
    if (scheme != ColorScheme::Dark)
        return path;
    QString dark = path;
    return dark.insert(dark.lastIndexOf(QLatin1Char('.')), QStringLiteral("_w"));
}

// Presets are proposed beside the program, unless it is installed where the
// operator cannot write.
QString presetDirectory()
{
    const QString programDirectory = QCoreApplication::applicationDirPath();
    if (QFileInfo(programDirectory).isWritable())
        return programDirectory;
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

} // namespace

BasicWindow::BasicWindow(QWidget *parent)
    : QWidget(parent), connectionTimer(this), exchangeTimer(this), pendingTimer(this)
{
    connectionTimer.setObjectName(QStringLiteral("connectionTimer"));
    setMinimumSize(minimumWidthPx, minimumHeightPx);
    setWindowTitle(QStringLiteral("Kelvane_v1.1.2").replace(QLatin1Char('_'), QLatin1Char(' ')));

    createLeftColumn();
    createPages();
    portChooser = new PortChooser(portBox, this);
    refreshPortList();
    reconnect = new ReconnectWait(this);
    connect(reconnect, &ReconnectWait::adapterReturned, this, &BasicWindow::reconnectTo);

    spinner = new WaitingAnimation(this);
    spinner->setObjectName(QStringLiteral("spinner"));
    spinner->setDuration(spinnerFadeMs);

    makeWindowConnections();

    exchangeTimer.setObjectName(QStringLiteral("exchangeTimer"));
    exchangeTimer.setSingleShot(true);
    exchangeTimer.setInterval(exchangeTimeoutMs);
    connect(&exchangeTimer, &QTimer::timeout, this, &BasicWindow::exchangeTimedOut);
    pendingTimer.setObjectName(QStringLiteral("pendingTimer"));
    pendingTimer.setSingleShot(true);
    pendingTimer.setInterval(0);
    connect(&pendingTimer, &QTimer::timeout, this, &BasicWindow::updatePendingChanges);
    watchPageFields();

    QSettings settings;
    portChooser->choose(settings.value(portKey, defaultPort).toString());
    changeInterface(settings.value(modelKey, modelTk0).toInt());
    const int storedTab = settings.value(currentTabKey, loraTab).toInt();
    tabs->setCurrentIndex(storedTab > lastTabIndex ? storedTab - 1 : storedTab);

    changeIcons(QPalette());
}

BasicWindow::~BasicWindow()
{
    QSettings settings;
    settings.setValue(currentTabKey, tabs->currentIndex());
    settings.setValue(modelKey, modelBox->currentIndex());
    settings.setValue(portKey, portChooser->remembered());
    // No event loop may run again to delete the link later.
    const QPointer<SPortConnector> closing = link;
    if (link)
        disconnectFromGateway();
    delete closing.data();
    connectionTimer.stop();
    delete aboutWindow.data();
}

void BasicWindow::createLeftColumn()
{
    logoLabel = new QLabel(this);
    logoLabel->setObjectName(QStringLiteral("logoLabel"));
    logoLabel->setGeometry(logoGeometry);

    authGroup = new QGroupBox(tr("Авторизация"), this);
    authGroup->setObjectName(QStringLiteral("authGroup"));
    authGroup->setGeometry(authGeometry);

    loginLabel = new QLabel(tr("Логин"), authGroup);
    loginLabel->setGeometry(loginLabelGeometry);
    passwordLabel = new QLabel(tr("Пароль"), authGroup);
    passwordLabel->setGeometry(passwordLabelGeometry);
    modelLabel = new QLabel(tr("Модель:"), this);
    modelLabel->setGeometry(modelLabelGeometry);

    loginEdit = new QLineEdit(QStringLiteral("root"), authGroup);
    loginEdit->setObjectName(QStringLiteral("loginEdit"));
    loginEdit->setClearButtonEnabled(true);
    loginEdit->setGeometry(loginGeometry);
    passwordEdit = new QLineEdit(authGroup);
    passwordEdit->setObjectName(QStringLiteral("passwordEdit"));
    passwordEdit->setEchoMode(QLineEdit::Password);
    passwordEdit->setClearButtonEnabled(true);
    passwordEdit->setGeometry(passwordGeometry);

    // Editable, so that any device path (a symbolic link, a pseudo-terminal) can be typed.
    portBox = new QComboBox(this);
    portBox->setObjectName(QStringLiteral("portBox"));
    portBox->setEditable(true);
    portBox->setInsertPolicy(QComboBox::NoInsert);
    portBox->setGeometry(portGeometry);

    modelBox = new QComboBox(this);
    modelBox->setObjectName(QStringLiteral("modelBox"));
    modelBox->setGeometry(modelGeometry);
    modelBox->addItem(tr("ТК-0"), slowBaudRate);
    modelBox->addItem(tr("ТК-1"), slowBaudRate);
    modelBox->addItem(tr("ТК-3"), slowBaudRate);
    modelBox->addItem(tr("ТК-3Max"), fastBaudRate);
    lastBaudRate = slowBaudRate;

    const auto makeButton = [this](const QString &text, const QString &name) {
        auto *button = new QPushButton(text, this);
        button->setObjectName(name);
        return button;
    };
    refreshButton = makeButton(QString(), QStringLiteral("refreshButton"));
    refreshButton->setGeometry(refreshGeometry);
    connectButton = makeButton(tr("Подключиться"), QStringLiteral("connectButton"));
    connectButton->setGeometry(leftColumnX, connectExpandedY, buttonWidthPx, buttonHeightPx);
    disconnectButton = makeButton(tr("Отключиться"), QStringLiteral("disconnectButton"));
    disconnectButton->setGeometry(leftColumnX, disconnectExpandedY, buttonWidthPx, buttonHeightPx);
    exportButton = makeButton(tr("Экспорт настроек"), QStringLiteral("exportButton"));
    importButton = makeButton(tr("Импорт настроек"), QStringLiteral("importButton"));
    requestButton = makeButton(tr("Запросить настройки"), QStringLiteral("requestButton"));
    applyButton = makeButton(tr("Применить настройки"), QStringLiteral("applyButton"));
    pendingButton = new PendingChangesButton(this);
    pendingButton->setObjectName(QStringLiteral("pendingButton"));
    pendingButton->hide();
    showPasswordButton = new QPushButton(authGroup);
    showPasswordButton->setObjectName(QStringLiteral("showPasswordButton"));
    showPasswordButton->setGeometry(showPasswordGeometry);
    showPasswordButton->setFlat(true);
    aboutButton = makeButton(QString(), QStringLiteral("aboutButton"));
    expandAuthButton = new QPushButton(authGroup);
    expandAuthButton->setObjectName(QStringLiteral("expandAuthButton"));
    expandAuthButton->setGeometry(expandAuthGeometry);

    stateLine = new ConnectionStateLine(this);
    stateLine->setGeometry(leftColumnX, disconnectExpandedY + stateLineBelowDisconnectPx,
                           stateLineWidthPx, stateLineHeightPx);

    for (QPushButton *button : {refreshButton, showPasswordButton, aboutButton})
        button->setIconSize(QSize(iconButtonSidePx, iconButtonSidePx) * 3 / 4);

    disconnectButton->setEnabled(false);
    requestButton->setEnabled(false);
    applyButton->setEnabled(false);
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

void BasicWindow::makeWindowConnections()
{
    connect(passwordEdit, &QLineEdit::returnPressed, spinner, &WaitingAnimation::start);
    connect(passwordEdit, &QLineEdit::returnPressed, this, &BasicWindow::connectToGateway);
    connect(expandAuthButton, &QPushButton::pressed, this, &BasicWindow::expandAuthForm);
    connect(connectButton, &QPushButton::pressed, spinner, &WaitingAnimation::start);
    connect(connectButton, &QPushButton::pressed, this, &BasicWindow::connectToGateway);
    connect(showPasswordButton, &QPushButton::pressed, this, &BasicWindow::editViewPassGateway);
    connect(aboutButton, &QPushButton::pressed, this, &BasicWindow::showAboutDeveloperWindow);
    connect(refreshButton, &QPushButton::pressed, this, &BasicWindow::refreshPortList);
    connect(exportButton, &QPushButton::pressed, this, &BasicWindow::savePresets);
    connect(importButton, &QPushButton::pressed, this, &BasicWindow::loadPresets);
    connect(devicePage->reportButton, &QPushButton::pressed, this, &BasicWindow::saveReport);
    connect(networkPage, &NetworkSettings::showDialogMessage, this, &BasicWindow::showDialogWidget);
    connect(logsPage, &LoRaLogs::showDialog, this, &BasicWindow::showDialogWidget);
    connect(modelBox, &QComboBox::currentIndexChanged, this, &BasicWindow::changeInterface);
    connect(otherPage, &OtherSettings::usingLocalServer, this,
            &BasicWindow::forwardLocalServerChoice);
    connect(logsPage, &LoRaLogs::runLoRaLogs, this, [this] { logStreamWanted = true; });
    connect(logsPage, &LoRaLogs::stopLoRaLogs, this, [this] { logStreamWanted = false; });
}

void BasicWindow::refreshPortList()
{
    portChooser->refresh();
}

void BasicWindow::showDialogWidget(int index, QString Title, QString Text)
{
    QMessageBox box(QMessageBox::Icon(index), Title, Text, QMessageBox::Ok, this,
                    Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    box.exec();
}

QByteArray BasicWindow::loginBytes() const
{
    return loginEdit->text().toUtf8() + QByteArrayLiteral("\r");
}

QByteArray BasicWindow::passwordBytes() const
{
    return passwordEdit->text().toUtf8() + QByteArrayLiteral("\r");
}

void BasicWindow::connectToGateway()
{
    if (link || reconnect->recovering())
        disconnectFromGateway();

    // The last apply's check belongs to the gateway it was made on.
    lastOutcome = CommissioningReport::Outcome::NoApply;
    lastDrift.clear();
    lastConfirmedFields = 0;
    const PortChooser::Choice port = portChooser->chosen();
    adapterName = port.name;
    reconnect->begin(port.id, loginBytes(), passwordBytes());
    startLink(port.path);
}

// The operator's attempt and every reconnection after a pulled adapter start here;
// the credentials are the ones typed for this session.
void BasicWindow::startLink(const QString &path)
{
    const QVariant baudRate = modelBox->currentData();
    link = new SPortConnector(baudRate.isValid() ? baudRate.toInt() : lastBaudRate);
    reconnect->setOpened(path);
    link->setConnectionParameters(path, reconnect->login(), reconnect->password());
    reportedModel = -1;
    // The window reports every outcome in one box of its own.
    link->setOutcomeBoxes(false);

    connect(disconnectButton, &QPushButton::pressed, this, &BasicWindow::disconnectFromGateway,
            Qt::UniqueConnection);
    if (reconnect->recovering())
        connect(link, &SPortConnector::sendTxtDialog, this, &BasicWindow::reconnectMessage);
    else
        connect(link, &SPortConnector::sendTxtDialog, this, &BasicWindow::showDialogWidget);
    connect(link, &SPortConnector::connectSucsessful, this,
            &BasicWindow::unlockingSettingsFunctions);
    connect(link, &SPortConnector::stopSpinner, spinner, &WaitingAnimation::stop);
    connect(link, &SPortConnector::stopSpinner, this, &BasicWindow::attemptEnded);
    connect(link, &SPortConnector::connectionFailure, this, &BasicWindow::deleteSPortInstance);
    connect(link, &SPortConnector::disableInterface, this, &BasicWindow::disableInterface);
    connect(link, &SPortConnector::gatewayModel, this, &BasicWindow::gatewayReportedModel);
    connect(link, &SPortConnector::recivedStatusLoRaModules, loraPage,
            &StackLoRaSettings::setModuleState);
    connect(link, &SPortConnector::portLost, this, &BasicWindow::adapterLost);

    // The attempt can be cancelled for as long as it runs.
    disconnectButton->setEnabled(true);
    stateLine->setState(ConnectionStateLine::State::Connecting);
    link->connectToGatewayPort();
}

void BasicWindow::unlockingSettingsFunctions()
{
    if (!link)
        return;
    setConnectedControls(true);
    devicePage->unlockServiceButtons();
    otherPage->attachLink(link);
    networkPage->attachLink(link);

    connect(link, &SPortConnector::settingsApplied, this, &BasicWindow::gatewayTookSettings);
    connect(link, &SPortConnector::errorReply, this, &BasicWindow::gatewayReportedError);
    connect(link, &SPortConnector::settingsDamaged, this, &BasicWindow::settingsReplyDamaged);
    connect(link, &SPortConnector::blockRequestBTN, this, &BasicWindow::blockGetSettingsButton);
    connect(devicePage->resetGatewayButton, &QPushButton::pressed, link,
            &SPortConnector::resetDefaultSettings);
    connect(devicePage->resetLoRaButton, &QPushButton::pressed, link,
            &SPortConnector::resetLoRaDefaultSettings);
    connect(devicePage->rebootButton, &QPushButton::pressed, link, &SPortConnector::rebootGateway);
    connect(applyButton, &QPushButton::pressed, this, &BasicWindow::sendSettingsToGateway,
            Qt::UniqueConnection);
    connect(requestButton, &QPushButton::pressed, link, &SPortConnector::getCurrentSettings,
            Qt::UniqueConnection);
    connect(requestButton, &QPushButton::pressed, spinner, &WaitingAnimation::start,
            Qt::UniqueConnection);
    connect(link, &SPortConnector::resivedSettings, this, &BasicWindow::resivedSettings);
    connect(logsPage, &LoRaLogs::runLoRaLogs, link, &SPortConnector::startGetPacketForwarderLogs);
    connect(logsPage, &LoRaLogs::stopLoRaLogs, link, &SPortConnector::stopGetPacketForwarderLogs);
    connect(link, &SPortConnector::sendLoRaLogs, logsPage, &LoRaLogs::setLoRaLogs);
    connect(link, &SPortConnector::sendRebootLogs, devicePage, &AboutDevice::Set_Reboot_Logs);
    connect(link, &SPortConnector::rebootSucsess, this, &BasicWindow::rebootSucsess);
    connect(link, &SPortConnector::connectionCoreDropped, this, &BasicWindow::coreLost);
    connect(&connectionTimer, &QTimer::timeout, this, &BasicWindow::connectionCheck,
            Qt::UniqueConnection);
    connect(loraPage, &StackLoRaSettings::useDoubleModule, link,
            &SPortConnector::runPacketForwarder);

    connectionTimer.start(connectionCheckPeriodMs);

    // Back after a pulled adapter: the pages kept everything, nothing is applied
    // or read by itself, and the log stream runs again if it ran.
    if (reconnect->recovering()) {
        reconnect->recovered();
        disconnect(link, &SPortConnector::sendTxtDialog, this, &BasicWindow::reconnectMessage);
        connect(link, &SPortConnector::sendTxtDialog, this, &BasicWindow::showDialogWidget);
        if (logStreamWanted)
            link->startGetPacketForwarderLogs();
    }
    showConnected();
}

void BasicWindow::showConnected()
{
    stateLine->setState(ConnectionStateLine::State::Connected, modelBox->currentText(),
                        adapterName);
}

void BasicWindow::setConnectedControls(bool connected)
{
    for (QWidget *control : {static_cast<QWidget *>(portBox), static_cast<QWidget *>(refreshButton),
                             static_cast<QWidget *>(modelBox), static_cast<QWidget *>(authGroup),
                             static_cast<QWidget *>(connectButton)})
        control->setEnabled(!connected);
    for (QPushButton *button : {disconnectButton, requestButton, applyButton})
        button->setEnabled(connected);
}

void BasicWindow::connectionCheck()
{
    if (link && reconnect->adapterPresent())
        return;
    adapterLost();
}

// The adapter went (or the line hung up) during a session: the window keeps its
// pages and waits for the same adapter to return.
void BasicWindow::adapterLost()
{
    const ConnectionStateLine::State state = stateLine->state();
    const bool inSession = state == ConnectionStateLine::State::Connected
            || state == ConnectionStateLine::State::Rebooting
            || (state == ConnectionStateLine::State::Connecting && reconnect->recovering());
    if (!inSession)
        return;
    const Exchange interrupted = endExchange();
    connectionTimer.stop();
    spinner->stop();
    otherPage->detachLink();
    networkPage->detachLink();
    dropLink();
    setConnectedControls(true);
    requestButton->setEnabled(false);
    applyButton->setEnabled(false);
    devicePage->lockServiceButtons();
    connect(disconnectButton, &QPushButton::pressed, this, &BasicWindow::disconnectFromGateway,
            Qt::UniqueConnection);
    stateLine->setState(ConnectionStateLine::State::WaitingForAdapter);
    reconnect->wait();
    // The gateway may or may not have taken what went out; only a read will tell.
    if (interrupted == Exchange::Apply || interrupted == Exchange::ReadBack)
        showDialogWidget(boxWarning, tr("Настройки"),
                         tr("Связь прервалась во время применения настроек. Применены ли они, "
                            "неизвестно: после переподключения запросите настройки, чтобы "
                            "проверить."));
}

void BasicWindow::reconnectTo(const QString &path)
{
    if (link || stateLine->state() != ConnectionStateLine::State::WaitingForAdapter)
        return;
    startLink(path);
}

// The link's words during a reconnection: a failure that the returning adapter
// explains is tried again quietly; any other ends the session, said as the link says it.
void BasicWindow::reconnectMessage(int index, QString Title, QString Text)
{
    if (link && reconnect->retriesQuietly(link->portError()))
        return;
    showDialogWidget(index, Title, Text);
    // The operator may have ended the session while the box stood.
    if (!reconnect->recovering())
        return;
    disconnectFromGateway();
    stateLine->setState(ConnectionStateLine::State::Lost);
}

// Refused credentials end an attempt with no signal of their own but this one.
void BasicWindow::attemptEnded()
{
    if (stateLine->state() != ConnectionStateLine::State::Connecting || reconnect->recovering())
        return;
    disconnectButton->setEnabled(false);
    reconnect->end();
    stateLine->setState(ConnectionStateLine::State::NotConnected);
}

void BasicWindow::coreLost()
{
    disconnectFromGateway();
    stateLine->setState(ConnectionStateLine::State::Lost);
}

void BasicWindow::disconnectFromGateway()
{
    connectionTimer.stop();
    disconnect(&connectionTimer, &QTimer::timeout, this, &BasicWindow::connectionCheck);
    if (link)
        link->disconnectFromGatewayPort();
    reconnect->end();
    spinner->stop();
    resetToDisconnected();
    dropLink();
    stateLine->setState(ConnectionStateLine::State::NotConnected);
}

void BasicWindow::resetToDisconnected()
{
    endExchange();
    spinner->stop();
    logsPage->resetSendLogs();
    setConnectedControls(false);
    devicePage->lockServiceButtons();
    otherPage->detachLink();
    networkPage->detachLink();
    setCoreVersionKeepingPages(disconnectedCoreVersion);
}

// Cuts every tie between the link and the window before the link goes, so no
// later signal reaches a slot and no slot reaches a link that is gone. The link
// is deleted from the event loop, never while one of its functions is running.
void BasicWindow::dropLink()
{
    if (!link)
        return;
    SPortConnector *gone = link;
    link = nullptr;
    disconnect(disconnectButton, &QPushButton::pressed, this, &BasicWindow::disconnectFromGateway);
    disconnect(applyButton, &QPushButton::pressed, this, &BasicWindow::sendSettingsToGateway);
    disconnect(requestButton, &QPushButton::pressed, spinner, &WaitingAnimation::start);
    for (QObject *sender : {static_cast<QObject *>(requestButton),
                            static_cast<QObject *>(devicePage->resetGatewayButton),
                            static_cast<QObject *>(devicePage->resetLoRaButton),
                            static_cast<QObject *>(devicePage->rebootButton),
                            static_cast<QObject *>(logsPage), static_cast<QObject *>(loraPage)})
        disconnect(sender, nullptr, gone, nullptr);
    for (QObject *receiver : {static_cast<QObject *>(this), static_cast<QObject *>(spinner),
                              static_cast<QObject *>(loraPage), static_cast<QObject *>(logsPage),
                              static_cast<QObject *>(devicePage)})
        disconnect(gone, nullptr, receiver, nullptr);
    gone->deleteLater();
}

void BasicWindow::deleteSPortInstance()
{
    const ConnectionStateLine::State state = stateLine->state();
    if (state == ConnectionStateLine::State::Connecting && reconnect->recovering()) {
        dropLink();
        connect(disconnectButton, &QPushButton::pressed, this, &BasicWindow::disconnectFromGateway,
                Qt::UniqueConnection);
        stateLine->setState(ConnectionStateLine::State::WaitingForAdapter);
        reconnect->wait();
        return;
    }
    // A failure after the login (the gateway did not come back from a reboot)
    // leaves nothing to disconnect: the window returns to its disconnected state.
    const bool afterLogin = state == ConnectionStateLine::State::Connected
            || state == ConnectionStateLine::State::Rebooting;
    if (afterLogin) {
        connectionTimer.stop();
        disconnect(&connectionTimer, &QTimer::timeout, this, &BasicWindow::connectionCheck);
        resetToDisconnected();
    }
    disconnectButton->setEnabled(false);
    reconnect->end();
    dropLink();
    stateLine->setState(afterLogin ? ConnectionStateLine::State::Lost
                                   : ConnectionStateLine::State::NotConnected);
}

void BasicWindow::disableInterface()
{
    if (!link)
        return;
    link->setConnectionParameters(reconnect->opened(), reconnect->login(), reconnect->password());
    requestButton->setEnabled(false);
    applyButton->setEnabled(false);
    devicePage->lockServiceButtons();
    logsPage->resetSendLogs();
    stateLine->setState(ConnectionStateLine::State::Rebooting);
}

void BasicWindow::rebootSucsess()
{
    requestButton->setEnabled(true);
    applyButton->setEnabled(true);
    devicePage->unlockServiceButtons();
    showConnected();
    showDialogWidget(boxInformation, tr("Перезагрузка"), tr("Базовая станция перезагружена."));
}

void BasicWindow::changeInterface(int Index)
{
    if (Index != modelBox->currentIndex()) {
        modelBox->setCurrentIndex(Index);
        if (modelBox->currentIndex() == Index)
            return;
    }
    const QVariant baudRate = modelBox->itemData(Index);
    if (baudRate.isValid())
        lastBaudRate = baudRate.toInt();

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
        if (link)
            link->requestLoRaModulesState();
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
    watchPageFields();
    pendingTimer.start();
}

// Every keep-alive answer repeats the model: only a new one may change the pages,
// or the operator would lose the tab and the field they are in each minute.
void BasicWindow::gatewayReportedModel(int code)
{
    if (code == reportedModel)
        return;
    reportedModel = code;
    if (code != modelBox->currentIndex())
        changeInterface(code);
    if (stateLine->state() == ConnectionStateLine::State::Connected)
        showConnected();
}

void BasicWindow::changeIcons(QPalette Palette)
{
    Q_UNUSED(Palette)
    const ColorScheme::Scheme scheme = ColorScheme::current();
    logoLabel->setPixmap(QPixmap(tr(themed(logoPicture, scheme).toLatin1().constData())));
    refreshButton->setIcon(QIcon(themed(refreshPicture, scheme)));
    aboutButton->setIcon(QIcon(themed(aboutPicture, scheme)));
    showPasswordButton->setIcon(QIcon(themed(hidePasswordPicture, scheme)));
    networkPage->setThemeIcons(scheme);
    if (aboutWindow)
        aboutWindow->setThemeLogo(scheme);
}

void BasicWindow::editViewPassGateway()
{
    const ColorScheme::Scheme scheme = ColorScheme::current();
    if (passwordEdit->echoMode() == QLineEdit::Password) {
        passwordEdit->setEchoMode(QLineEdit::Normal);
        showPasswordButton->setIcon(QIcon(themed(showPasswordPicture, scheme)));
    } else if (passwordEdit->echoMode() == QLineEdit::Normal) {
        passwordEdit->setEchoMode(QLineEdit::Password);
        showPasswordButton->setIcon(QIcon(themed(hidePasswordPicture, scheme)));
    }
}

void BasicWindow::expandAuthForm()
{
    if (authGroup->height() == collapsedAuthHeightPx) {
        authGroup->resize(authGeometry.width(), expandedAuthHeightPx);
        connectButton->move(leftColumnX, connectExpandedY);
        disconnectButton->move(leftColumnX, disconnectExpandedY);
        stateLine->move(leftColumnX, disconnectExpandedY + stateLineBelowDisconnectPx);
    } else if (authGroup->height() == expandedAuthHeightPx) {
        authGroup->resize(authGeometry.width(), collapsedAuthHeightPx);
        connectButton->move(leftColumnX, connectCollapsedY);
        disconnectButton->move(leftColumnX, disconnectCollapsedY);
        stateLine->move(leftColumnX, disconnectCollapsedY + stateLineBelowDisconnectPx);
    }
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
    if (holdSettingsBox)
        holdSettingsBox->setGeometry(leftColumnX, h - holdBoxFromBottomPx, holdBoxWidthPx,
                                     holdBoxHeightPx);
    exportButton->setGeometry(leftColumnX, h - exportFromBottomPx, buttonWidthPx, buttonHeightPx);
    importButton->setGeometry(leftColumnX, h - importFromBottomPx, buttonWidthPx, buttonHeightPx);
    requestButton->setGeometry(leftColumnX, h - requestFromBottomPx, buttonWidthPx, buttonHeightPx);
    applyButton->setGeometry(leftColumnX, h - applyFromBottomPx, buttonWidthPx, buttonHeightPx);
    pendingButton->setGeometry(leftColumnX, h - pendingFromBottomPx, buttonWidthPx,
                               pendingHeightPx);
    aboutButton->setGeometry(w - aboutFromRightPx, aboutY, iconButtonSidePx, iconButtonSidePx);
    tabs->setGeometry(tabsX, tabsY, w - tabsWidthLessPx, h - tabsHeightLessPx);
}

// Reading the settings: the link's reply reaches the pages, or, after an apply,
// tells what the gateway took.
void BasicWindow::resivedSettings(QJsonObject *SettingsJSON)
{
    const QJsonObject received = SettingsJSON ? *SettingsJSON : QJsonObject();
    if (endExchange() == Exchange::ReadBack) {
        finishReadBack(received);
        return;
    }
    spinner->stop();
    if (link)
        connect(requestButton, &QPushButton::pressed, link, &SPortConnector::getCurrentSettings,
                Qt::UniqueConnection);
    if (received.isEmpty())
        return;

    SettingsHandlerAndCollector *collector = SettingsHandlerAndCollector::getInstance();
    collector->replaceSettings(
            SettingsRules(loraPage->deviceType).readDocument(collector->getSettings(), received));
    const QString coreVersion = received.value(coreVersionKey).toString();
    if (holdSettings) {
        // The held pages keep every imported value; only the identifiers follow
        // the gateway.
        setCoreVersionKeepingPages(coreVersion);
        loraPage->setGatewayIds(collector->getLoRaSettings());
    } else {
        loraPage->setCoreVersion(coreVersion);
        delete holdSettingsBox;
        holdSettingsBox = nullptr;
        loadedPreset = QJsonObject();
        fillPagesFromCollector(true);
    }
    devicePage->setSettings();
    updatePendingChanges();

    showDialogWidget(boxInformation, tr("Настройки"), tr("Настройки получены!"));
    // The operator may have lost the link while the box stood.
    if (!link)
        return;
    link->serverPowerUpCheckRequest();
    if (link && SettingsRules::hasSecondModule(loraPage->deviceType))
        link->requestLoRaModulesState();
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
    spinner->start();
    disconnect(applyButton, &QPushButton::pressed, this, &BasicWindow::sendSettingsToGateway);
    applyButton->setEnabled(false);

    FieldValidation &validation = FieldValidation::instance();
    if (!validation.fieldsValid() || !link) {
        spinner->stop();
        if (link)
            showDialogWidget(boxCritical, tr("Ошибка"),
                             tr("Заполните поля:\n%1\nПоскольку они являются обязательными.")
                                     .arg(validation.invalidFields()));
        if (!link)
            return;
        connect(applyButton, &QPushButton::pressed, this, &BasicWindow::sendSettingsToGateway,
                Qt::UniqueConnection);
        applyButton->setEnabled(true);
        return;
    }
    qDebug() << validation.invalidFields();

    // The held document stays what the gateway reported: only its reply changes it.
    const QJsonObject held = SettingsHandlerAndCollector::getInstance()->getSettings();
    const SettingsRules rules(loraPage->deviceType);
    const SettingsRules::PageGroups shown = shownGroups(true);
    changedFieldCount = int(rules.pendingChanges(held, shown).size());
    sentDocument = rules.applyDocument(held, shown);
    refusalText.clear();
    // A read now would be taken for the read-back.
    disconnect(requestButton, &QPushButton::pressed, link, &SPortConnector::getCurrentSettings);
    beginExchange(Exchange::Apply);
    link->sendSettings(QJsonDocument(sentDocument).toJson(QJsonDocument::Compact));
}

SettingsRules::PageGroups BasicWindow::shownGroups(bool withGatewayId) const
{
    return {loraPage->getSettings(withGatewayId), networkPage->getSettings(),
            otherPage->getSettings(), loadedPreset};
}

void BasicWindow::unlockApplyButton()
{
    rearmExchangeButtons();
    if (!link)
        return;
    link->serverPowerUpCheckRequest();
    if (link && SettingsRules::hasSecondModule(loraPage->deviceType))
        link->requestLoRaModulesState();
}

void BasicWindow::blockGetSettingsButton()
{
    if (link)
        disconnect(requestButton, &QPushButton::pressed, link, &SPortConnector::getCurrentSettings);
    if (exchange == Exchange::None)
        beginExchange(Exchange::Read);
}

void BasicWindow::beginExchange(Exchange kind)
{
    exchange = kind;
    exchangeTimer.start();
}

BasicWindow::Exchange BasicWindow::endExchange()
{
    exchangeTimer.stop();
    return std::exchange(exchange, Exchange::None);
}

// Both buttons answer again, whatever ended the exchange.
void BasicWindow::rearmExchangeButtons()
{
    spinner->stop();
    if (!link)
        return;
    connect(requestButton, &QPushButton::pressed, link, &SPortConnector::getCurrentSettings,
            Qt::UniqueConnection);
    connect(applyButton, &QPushButton::pressed, this, &BasicWindow::sendSettingsToGateway,
            Qt::UniqueConnection);
    // Not while the gateway reboots.
    applyButton->setEnabled(requestButton->isEnabled());
}

void BasicWindow::gatewayTookSettings()
{
    if (exchange == Exchange::Apply) {
        startReadBack();
        return;
    }
    // Too late for its apply, which was reported as unanswered.
    showDialogWidget(boxInformation, tr("Настройки"), tr("Настройки применены!"));
}

// ERROR 1008: the gateway took some settings and refused others; the read-back
// tells which.
void BasicWindow::gatewayReportedError(int code, const QString &detail)
{
    constexpr int settingsNotSet = 1008;
    if (code == settingsNotSet && exchange == Exchange::Apply) {
        refusalText = SPortConnector::errorText(code, detail);
        startReadBack();
        return;
    }
    const Exchange ended = endExchange();
    rearmExchangeButtons();
    if (ended == Exchange::ReadBack)
        reportUnverifiedApply(SPortConnector::errorText(code, detail));
    else
        showLinkBox(boxCritical, SPortConnector::errorText(code, detail));
}

void BasicWindow::settingsReplyDamaged()
{
    const Exchange ended = endExchange();
    rearmExchangeButtons();
    if (ended == Exchange::ReadBack)
        reportUnverifiedApply(SPortConnector::damagedSettingsText());
    else
        showLinkBox(boxWarning, SPortConnector::damagedSettingsText());
}

void BasicWindow::showLinkBox(int index, const QString &text)
{
    showDialogWidget(index, tr("Ошибка"), text);
}

void BasicWindow::exchangeTimedOut()
{
    const Exchange ended = endExchange();
    rearmExchangeButtons();
    // The request hid the log stream, and no reply will show it again.
    if (link)
        link->resumeLogStream();
    const int seconds = exchangeTimeoutMs / 1000;
    switch (ended) {
    case Exchange::Read:
        showDialogWidget(boxWarning, tr("Настройки"),
                         tr("Базовая станция не прислала настройки за %1 с. Запросите их ещё раз.")
                                 .arg(seconds));
        break;
    case Exchange::Apply:
        showDialogWidget(boxWarning, tr("Настройки"),
                         tr("Базовая станция не ответила на применение настроек за %1 с. "
                            "Применены ли они, неизвестно: запросите настройки, чтобы проверить.")
                                 .arg(seconds));
        break;
    case Exchange::ReadBack:
        reportUnverifiedApply(tr("базовая станция не ответила за %1 с.").arg(seconds));
        break;
    case Exchange::None:
        break;
    }
}

// Read back without the "received" box and without touching the pages: the
// operator's entries stay, the held document becomes what the gateway now holds.
void BasicWindow::startReadBack()
{
    beginExchange(Exchange::ReadBack);
    link->getCurrentSettings();
}

void BasicWindow::finishReadBack(const QJsonObject &readBack)
{
    if (readBack.isEmpty()) {
        rearmExchangeButtons();
        reportUnverifiedApply(SPortConnector::damagedSettingsText());
        return;
    }
    SettingsHandlerAndCollector *collector = SettingsHandlerAndCollector::getInstance();
    const SettingsRules rules(loraPage->deviceType);
    collector->replaceSettings(rules.readBackDocument(collector->getSettings(), readBack));
    updatePendingChanges();
    const QList<SettingsChange> notTaken = SettingsRules::verify(sentDocument, readBack);
    lastOutcome = notTaken.isEmpty() ? CommissioningReport::Outcome::Confirmed
                                     : CommissioningReport::Outcome::Drift;
    lastDrift = notTaken;
    lastConfirmedFields = changedFieldCount;
    const ApplyReport report = ApplyReport::verified(refusalText, changedFieldCount, notTaken);
    rearmExchangeButtons();
    showDialogWidget(report.icon, report.title, report.text);
    unlockApplyButton();
}

void BasicWindow::reportUnverifiedApply(const QString &reason)
{
    lastOutcome = CommissioningReport::Outcome::NotVerified;
    lastDrift.clear();
    const ApplyReport report = ApplyReport::notVerified(refusalText, reason);
    showDialogWidget(report.icon, report.title, report.text);
}

// Every field the operator can change recounts the pending changes.
void BasicWindow::watchPageFields()
{
    const auto recount = qOverload<>(&QTimer::start);
    for (QWidget *page : {static_cast<QWidget *>(loraPage), static_cast<QWidget *>(networkPage),
                          static_cast<QWidget *>(otherPage)}) {
        for (QLineEdit *field : page->findChildren<QLineEdit *>())
            connect(field, &QLineEdit::textChanged, &pendingTimer, recount, Qt::UniqueConnection);
        for (QComboBox *box : page->findChildren<QComboBox *>())
            connect(box, &QComboBox::currentIndexChanged, &pendingTimer, recount,
                    Qt::UniqueConnection);
        for (QAbstractButton *button : page->findChildren<QAbstractButton *>())
            connect(button, &QAbstractButton::toggled, &pendingTimer, recount,
                    Qt::UniqueConnection);
        for (QGroupBox *box : page->findChildren<QGroupBox *>())
            connect(box, &QGroupBox::toggled, &pendingTimer, recount, Qt::UniqueConnection);
    }
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
    holdSettings = state;
}

QString BasicWindow::askPresetSaveName(const QString &proposedPath)
{
    return QFileDialog::getSaveFileName(this, tr("Выберете папку для сохранения настроек"),
                                        proposedPath, QStringLiteral("*.gwset"));
}

QString BasicWindow::askReportSaveName(const QString &proposedPath)
{
    return QFileDialog::getSaveFileName(this, tr("Сохранить отчёт о настройке"), proposedPath,
                                        QStringLiteral("PDF (*.pdf)"));
}

CommissioningReport::Content BasicWindow::reportContent() const
{
    CommissioningReport::Content content;
    content.madeAt = QDateTime::currentDateTime();
    content.note = devicePage->installerNote();
    content.connected = link && stateLine->state() == ConnectionStateLine::State::Connected;
    content.model = modelBox->currentText();
    content.deviceInfo = devicePage->deviceInfo();
    content.settings = SettingsHandlerAndCollector::getInstance()->getSettings();
    content.outcome = lastOutcome;
    content.drift = lastDrift;
    content.confirmedFields = lastConfirmedFields;
    content.logLines = logsPage->newestLines(CommissioningReport::logLineCount);
    return content;
}

void BasicWindow::saveReport()
{
    const CommissioningReport report(reportContent());
    QString fileName = askReportSaveName(QStringLiteral("%1/%2.pdf")
                                                 .arg(presetDirectory(),
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

QString BasicWindow::askPresetOpenName(const QString &startDirectory)
{
    return QFileDialog::getOpenFileName(this, tr("Выберете файл настроек для загрузки"),
                                        startDirectory, QStringLiteral("*.gwset"));
}

// Saves a copy: the held document stays the picture of the gateway's settings
// that the next apply compares against.
void BasicWindow::savePresets()
{
    const QJsonObject document
            = SettingsRules(modelBox->currentIndex())
                      .exportDocument(SettingsHandlerAndCollector::getInstance()->getSettings(),
                                      shownGroups(false));
    if (SettingsHandlerAndCollector::hasEmptyFields(document)) {
        showDialogWidget(boxCritical, tr("Ошибка"), tr("Невозможно сохранить пустые настройки"));
        return;
    }
    const QString fileName
            = askPresetSaveName(QStringLiteral("%1/GatewaySettings").arg(presetDirectory()));
    if (fileName.isEmpty())
        return;

    const PresetFile::WriteResult result = PresetFile::write(fileName, document);
    switch (result.status) {
    case PresetFile::WriteStatus::Ok:
        showDialogWidget(boxInformation, tr("Настройки"), tr("Настройки сохранены!"));
        break;
    case PresetFile::WriteStatus::CannotOpen:
        showDialogWidget(boxWarning, tr("Ошибка открытия файла"),
                         tr("Не удалось открыть файл") + QStringLiteral(":\n")
                                 + result.errorString);
        break;
    case PresetFile::WriteStatus::WriteFailed:
        showDialogWidget(boxWarning, tr("Ошибка записи файла"),
                         tr("Не удалось записать файл %1: %2.\nФайл не изменён.")
                                 .arg(QDir::toNativeSeparators(fileName), result.errorString));
        break;
    }
}

void BasicWindow::loadPresets()
{
    const QString fileName = askPresetOpenName(presetDirectory());
    if (fileName.isEmpty())
        return;

    const PresetFile::ReadResult result = PresetFile::read(fileName);
    switch (result.status) {
    case PresetFile::ReadStatus::Ok: {
        // The pages show the preset; the held document stays the picture of what the
        // gateway holds, which the next apply and the pending list compare against.
        SettingsHandlerAndCollector *collector = SettingsHandlerAndCollector::getInstance();
        const SettingsRules rules(modelBox->currentIndex());
        const QJsonObject gatewayPicture = collector->getSettings();
        const QStringList foreign = rules.foreignGroups(result.document);
        QJsonObject preset = result.document;
        for (const QString &group : foreign)
            preset.remove(group);
        const QList<PresetCheck::Problem> problems = PresetCheck::problems(preset);
        loadedPreset = PresetCheck::withoutUnknownKeys(preset);
        collector->replaceSettings(rules.importedDocument(gatewayPicture, loadedPreset));
        fillPagesFromCollector(false);
        collector->replaceSettings(gatewayPicture);
        ImportedValues::mark(this, problems);
        updatePendingChanges();
        QString warning = ImportedValues::message(problems);
        if (!foreign.isEmpty()) {
            QStringList names;
            for (const QString &group : foreign) {
                const QString box = FieldCatalog::groupName(group);
                names.append(box.isEmpty() ? FieldCatalog::pageName(group) : box);
            }
            warning = tr("Пресет сделан для другой модели: у %1 нет групп\n%2\nОни не "
                         "загружены, остальное загружено.")
                              .arg(modelBox->currentText(), names.join(QLatin1Char('\n')))
                    + (warning.isEmpty() ? QString() : QStringLiteral("\n\n") + warning);
        }
        if (!warning.isEmpty())
            showDialogWidget(boxWarning, tr("Импорт настроек"), warning);
        break;
    }
    case PresetFile::ReadStatus::CannotOpen:
        showDialogWidget(boxWarning, tr("Ошибка открытия файла"), tr("Не удалось открыть файл"));
        break;
    case PresetFile::ReadStatus::Empty:
        showDialogWidget(boxWarning, tr("Ошибка чтения файла"), tr("Файл пустой"));
        break;
    case PresetFile::ReadStatus::NotSettings:
        showDialogWidget(boxWarning, tr("Ошибка чтения файла"),
                         tr("Файл %1 не является файлом настроек базовой станции.")
                                 .arg(QDir::toNativeSeparators(fileName)));
        break;
    }
    createHoldSettingsBox();
}

void BasicWindow::createHoldSettingsBox()
{
    if (holdSettingsBox)
        return;
    holdSettingsBox = new QCheckBox(tr("Удержать настройки"), this);
    holdSettingsBox->setObjectName(QStringLiteral("holdSettingsBox"));
    placeAnchoredWidgets();
    holdSettingsBox->show();
    connect(holdSettingsBox, &QCheckBox::clicked, this, &BasicWindow::retainSettingsChanged);
}
