#include "cli/gatewayjob.h"
#include "cli/surveyverdict.h"
#include "device/aboutdevice.h"
#include "emulator/gatewayemulator.h"
#include "emulator/settingsstore.h"
#include "link/sportconnector.h"
#include "lora/signalpage.h"
#include "messageboxcloser.h"
#include "pagekit/fieldvalidation.h"
#include "report/commissioningreport.h"
#include "settings/fieldcatalog.h"
#include "settings/settingshandlerandcollector.h"
#include "window/basicwindow.h"
#include "window/pendingchangesbutton.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSerialPort>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>

#include <csignal>
#include <memory>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

constexpr int stepMs = 5;
constexpr int exchangeWaitMs = 10000;
constexpr int slowRebootStepMs = 2000;
constexpr int replugAfterMs = 20;
constexpr int reconnectBoundMs = 3000;

class TestWindow : public BasicWindow
{
public:
    QString saveName;
    QString openName;
    QString reportName;
    using BasicWindow::gatewayLink;
    using BasicWindow::reportContent;

protected:
    QString askPresetSaveName(const QString &) override { return saveName; }
    QString askPresetOpenName(const QString &) override { return openName; }
    QString askReportSaveName(const QString &) override { return reportName; }
};

// Follows a path of object names ("networkPage/lteBox/sim1Adress").
template<class T>
T *child(QObject *root, const QString &path)
{
    QObject *found = root;
    for (const QString &name : path.split(QLatin1Char('/'))) {
        found = found ? found->findChild<QObject *>(name) : nullptr;
    }
    return qobject_cast<T *>(found);
}

void press(QWidget *button)
{
    QTest::mousePress(button, Qt::LeftButton);
    QTest::mouseRelease(button, Qt::LeftButton);
}

void typeInto(QLineEdit *field, const QString &text)
{
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
}

struct Session
{
    explicit Session(int emulatorModel) : emulator(new GatewayEmulator(emulatorModel))
    {
        emulator->setRebootPacing(stepMs);
        emulator->setRefusalDelayMs(stepMs);
        emulator->setLogIntervalMs(stepMs);
        QObject::connect(emulator.get(), &GatewayEmulator::requestReceived, emulator.get(),
                         [this](const QString &request) { requests.append(request); });
    }

    bool start()
    {
        window.show();
        return emulator->start() && QTest::qWaitForWindowExposed(&window);
    }

    GatewayEmulator &gateway() { return *emulator; }

    QPushButton *button(const QString &name) { return child<QPushButton>(&window, name); }
    QLineEdit *field(const QString &path) { return child<QLineEdit>(&window, path); }

    bool connectAs(int windowModel, const QString &password, const QString &port = {})
    {
        child<QComboBox>(&window, "modelBox")->setCurrentIndex(windowModel);
        child<QComboBox>(&window, "portBox")
                ->setEditText(port.isEmpty() ? emulator->devicePath() : port);
        QLineEdit *passwordEdit = child<QLineEdit>(&window, "authGroup/passwordEdit");
        typeInto(passwordEdit, password);
        QTest::keyClick(passwordEdit, Qt::Key_Return);
        return QTest::qWaitFor([this] { return button("requestButton")->isEnabled(); },
                               exchangeWaitMs);
    }

    bool readSettings()
    {
        boxes.clear();
        press(button("requestButton"));
        return QTest::qWaitFor([this] { return !boxes.boxes().isEmpty(); }, exchangeWaitMs)
                && boxes.boxes().first().icon == QMessageBox::Information;
    }

    // The document of the last write request, or an empty object.
    QJsonObject lastWrite() const
    {
        for (auto it = requests.crbegin(); it != requests.crend(); ++it) {
            if (it->startsWith(QLatin1String("--25 ")))
                return QJsonDocument::fromJson(it->mid(5).toUtf8()).object();
        }
        return {};
    }

    bool apply()
    {
        boxes.clear();
        const int writes = requests.filter(QStringLiteral("--25 ")).size();
        press(button("applyButton"));
        return QTest::qWaitFor(
                [this, writes] {
                    return requests.filter(QStringLiteral("--25 ")).size() > writes
                            && button("applyButton")->isEnabled();
                },
                exchangeWaitMs);
    }

    // Presses apply and returns the box that reports it.
    MessageBoxCloser::Box applyReport()
    {
        boxes.clear();
        press(button("applyButton"));
        if (!QTest::qWaitFor([this] { return !boxes.boxes().isEmpty(); }, exchangeWaitMs))
            return {-1, {}, {}};
        return boxes.boxes().first();
    }

    PendingChangesButton *pending()
    {
        QTest::qWait(0);
        return child<PendingChangesButton>(&window, "pendingButton");
    }

    std::unique_ptr<GatewayEmulator> emulator;
    TestWindow window;
    MessageBoxCloser boxes;
    QStringList requests;
};

QJsonObject document(const QByteArray &json)
{
    return QJsonDocument::fromJson(json).object();
}

QString valueText(const QJsonObject &document, const char *group, const char *key)
{
    return document.value(QLatin1String(group)).toObject().value(QLatin1String(key)).toString();
}

bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

// Fills the pages the way an operator does without a gateway: from a preset.
bool importGroups(TestWindow &window, const QString &path, const QJsonObject &gateway)
{
    QJsonObject groups;
    for (const char *key : {"100", "150", "200", "300", "350", "400"})
        groups.insert(key, gateway[key]);
    window.openName = path;
    if (!writeFile(path, QJsonDocument(groups).toJson()))
        return false;
    press(child<QPushButton>(&window, "importButton"));
    return true;
}

} // namespace

class TestBasicWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void connectFollowsReportedModel_data();
    void connectFollowsReportedModel();
    void refusedCredentialsThenRetry();
    void readFillsPages();
    void applySendsChangedGroups_data();
    void applySendsChangedGroups();
    void invalidFieldRefusesApply();
    void rebootShowsBootOutputAndLogsInAgain();
    void gatewayLostDuringReboot();
    void vanishedPortIsNoticed();
    void unplugReconnects_data();
    void unplugReconnects();
    void keepAliveLeavesTabAndFocus();
    void busyPortNamesItsHolder();
    void cancelDuringConnect();
    void exportThenApplyStillSendsChange();
    void importWithAndWithoutHold_data();
    void importWithAndWithoutHold();
    void unreadablePresetMergesNothing_data();
    void unreadablePresetMergesNothing();
    void failedSaveKeepsExistingFile_data();
    void failedSaveKeepsExistingFile();
    void applyWithoutEditsChangesNothing_data();
    void applyWithoutEditsChangesNothing();
    void unconfirmedFieldsRetried_data();
    void unconfirmedFieldsRetried();
    void exchangeEndsRearmed_data();
    void exchangeEndsRearmed();
    void kernelLinesInsideSettingsReply();
    void importThenExportKeepsModelGroups_data();
    void importThenExportKeepsModelGroups();
    void commissioningReport();
    void signalTab_data();
    void signalTab();

private:
    QTemporaryDir scratch;
};

void TestBasicWindow::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setOrganizationName(QStringLiteral("Tyrnholm"));
    QCoreApplication::setApplicationName(QStringLiteral("KelvaneWindowTest"));
    QVERIFY(scratch.isValid());
}

void TestBasicWindow::init()
{
    QSettings().clear();
    FieldValidation::instance().reset();
    SettingsHandlerAndCollector::getInstance();
}

void TestBasicWindow::cleanup()
{
    SettingsHandlerAndCollector::deleteInstance();
}

void TestBasicWindow::connectFollowsReportedModel_data()
{
    QTest::addColumn<int>("gatewayModel");
    QTest::addColumn<int>("chosenModel");
    QTest::addColumn<bool>("serverTabs");
    QTest::addColumn<bool>("wifi");
    QTest::addColumn<bool>("secondModule");

    QTest::newRow("TK-3Max reported while TK-1 chosen") << 3 << 1 << true << true << true;
    QTest::newRow("TK-0 reported while TK-3 chosen") << 0 << 2 << false << true << false;
    QTest::newRow("TK-1 reported while TK-3Max chosen") << 1 << 3 << true << false << false;
}

void TestBasicWindow::connectFollowsReportedModel()
{
    QFETCH(int, gatewayModel);
    QFETCH(int, chosenModel);
    QFETCH(bool, serverTabs);
    QFETCH(bool, wifi);
    QFETCH(bool, secondModule);

    Session session(gatewayModel);
    QVERIFY(session.start());
    QVERIFY(session.connectAs(chosenModel, "kelvane"));

    auto *modelBox = child<QComboBox>(&session.window, "modelBox");
    QTRY_COMPARE(modelBox->currentIndex(), gatewayModel);
    auto *tabs = child<QTabWidget>(&session.window, "tabs");
    QCOMPARE(tabs->isTabVisible(1), serverTabs);
    QCOMPARE(tabs->isTabVisible(3), serverTabs);
    QCOMPARE(!child<QWidget>(&session.window, "networkPage/wifiBox")->isHidden(), wifi);
    QCOMPARE(child<QWidget>(&session.window, "loraPage/module2Page") != nullptr, secondModule);
    QVERIFY(!modelBox->isEnabled());
    QVERIFY(session.button("disconnectButton")->isEnabled());
}

void TestBasicWindow::refusedCredentialsThenRetry()
{
    Session session(3);
    QVERIFY(session.start());
    QVERIFY(!session.connectAs(3, "wrong"));
    QTRY_VERIFY(!session.boxes.boxes().isEmpty());
    QCOMPARE(session.boxes.boxes().first().icon, int(QMessageBox::Warning));
    QVERIFY(session.button("connectButton")->isEnabled());
    QVERIFY(!session.button("applyButton")->isEnabled());

    QVERIFY(session.connectAs(3, "kelvane"));
    QVERIFY(!session.button("connectButton")->isEnabled());
}

void TestBasicWindow::readFillsPages()
{
    Session session(3);
    QVERIFY(session.start());
    QVERIFY(session.connectAs(3, "kelvane"));
    QVERIFY(session.readSettings());

    const QJsonObject gateway = session.gateway().settingsDocument();
    QCOMPARE(session.field("loraPage/module2Page/gatewayIdEdit")->text(),
             gateway["150"]["110"].toString());
    QCOMPARE(session.field("networkPage/lteBox/sim1Adress")->text(),
             gateway["200"]["211"].toString());
    QCOMPARE(session.field("otherPage/serverBox/databaseEdit")->text(),
             gateway["400"]["450"].toString());
    // The device keys went to the device page and will not return to the gateway.
    QVERIFY(!SettingsHandlerAndCollector::getInstance()->getSettings().contains("11"));
    // After the box the window asks for the server and module states.
    QVERIFY(QTest::qWaitFor([&] { return session.requests.contains("--50 State"); }));
    QVERIFY(session.requests.contains("--10 State"));
}

void TestBasicWindow::applySendsChangedGroups_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("fieldPath");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("key");

    QTest::newRow("LoRa server address") << 3 << 0 << "loraPage/module1Page/serverAddressEdit"
                                         << "lns.example.org"
                                         << "100"
                                         << "111";
    QTest::newRow("LTE access point") << 3 << 2 << "networkPage/lteBox/sim1Adress"
                                      << "internet.example"
                                      << "200"
                                      << "211";
    QTest::newRow("static IP gateway") << 3 << 2 << "networkPage/staticIPBox/gateway"
                                       << "192.168.1.254"
                                       << "300"
                                       << "330";
    QTest::newRow("Wi-Fi mask") << 3 << 2 << "networkPage/wifiBox/subnetMask"
                                << "255.255.0.0"
                                << "350"
                                << "356";
    QTest::newRow("local server database") << 2 << 3 << "otherPage/serverBox/databaseEdit"
                                           << "/mnt/sd/other.db"
                                           << "400"
                                           << "450";
    QTest::newRow("LTE on TK-0") << 0 << 2 << "networkPage/lteBox/sim1Adress"
                                 << "m2m.example"
                                 << "200"
                                 << "211";
}

void TestBasicWindow::applySendsChangedGroups()
{
    QFETCH(int, model);
    QFETCH(int, tab);
    QFETCH(QString, fieldPath);
    QFETCH(QString, text);
    QFETCH(QString, group);
    QFETCH(QString, key);

    Session session(model);
    QVERIFY(session.start());
    QVERIFY(session.connectAs(model, "kelvane"));
    QVERIFY(session.readSettings());

    child<QTabWidget>(&session.window, "tabs")->setCurrentIndex(tab);
    QLineEdit *field = session.field(fieldPath);
    QVERIFY(field);
    // A box with a check mark in its title is switched on first, as the operator would.
    if (auto *box = qobject_cast<QGroupBox *>(field->parentWidget()); box && box->isCheckable())
        box->setChecked(true);
    typeInto(field, text);
    QVERIFY(session.apply());

    const QJsonObject sent = session.lastWrite();
    QCOMPARE(sent[group][key].toString(), text);
    QVERIFY(!sent.contains("301"));
    QCOMPARE(session.gateway().settingsDocument()[group][key].toString(), text);
}

void TestBasicWindow::invalidFieldRefusesApply()
{
    Session session(3);
    QVERIFY(session.start());
    QVERIFY(session.connectAs(3, "kelvane"));
    QVERIFY(session.readSettings());

    QLineEdit *address = session.field("loraPage/module1Page/serverAddressEdit");
    typeInto(address, "");
    const QString invalid = FieldValidation::instance().invalidFields();
    QVERIFY(!invalid.isEmpty());
    session.boxes.clear();
    press(session.button("applyButton"));
    QTRY_COMPARE(session.boxes.boxes().size(), 1);
    QCOMPARE(session.boxes.boxes().first().icon, int(QMessageBox::Critical));
    QVERIFY(session.boxes.boxes().first().text.contains(invalid));
    QVERIFY(session.lastWrite().isEmpty());
    QVERIFY(session.button("applyButton")->isEnabled());

    typeInto(address, "lns.example.org");
    QVERIFY(session.apply());
    QCOMPARE(valueText(session.lastWrite(), "100", "111"), QString("lns.example.org"));
}

void TestBasicWindow::rebootShowsBootOutputAndLogsInAgain()
{
    Session session(3);
    QVERIFY(session.start());
    QVERIFY(session.connectAs(3, "kelvane"));
    QSignalSpy rebooted(&session.gateway(), &GatewayEmulator::rebootFinished);
    QVERIFY(rebooted.isValid());

    auto *device = child<AboutDevice>(&session.window, "devicePage");
    press(device->rebootButton);
    QVERIFY(rebooted.wait(exchangeWaitMs));
    // Logged in again: the service buttons and the exchange buttons return.
    QTRY_VERIFY_WITH_TIMEOUT(device->rebootButton->isEnabled(), exchangeWaitMs);
    QVERIFY(!device->rebootLogView->toPlainText().trimmed().isEmpty());
    QVERIFY(session.button("requestButton")->isEnabled());
    QVERIFY(session.readSettings());
}

void TestBasicWindow::gatewayLostDuringReboot()
{
    Session session(3);
    QVERIFY(session.start());
    QVERIFY(session.connectAs(3, "kelvane"));
    // Slow enough to take the gateway away between the reboot notice and its boot output.
    session.gateway().setRebootPacing(slowRebootStepMs);
    press(child<AboutDevice>(&session.window, "devicePage")->rebootButton);
    QTRY_VERIFY_WITH_TIMEOUT(!session.button("requestButton")->isEnabled(), exchangeWaitMs);
    session.emulator.reset();

    // The gateway never comes back: the link's reboot time-out ends the connection.
    QTimer *linkTimer
            = session.window.gatewayLink()->findChild<QTimer *>(QStringLiteral("linkTimer"));
    QVERIFY(QMetaObject::invokeMethod(linkTimer, "timeout"));
    QTRY_VERIFY(session.button("connectButton")->isEnabled());
    QVERIFY(!session.button("disconnectButton")->isEnabled());
    QTRY_VERIFY(!session.window.gatewayLink());
    // Nothing touches the missing link afterwards.
    QVERIFY(QMetaObject::invokeMethod(
            session.window.findChild<QTimer *>(QStringLiteral("connectionTimer")), "timeout"));
    const int boxCount = session.boxes.boxes().size();
    press(session.button("applyButton"));
    press(session.button("requestButton"));
    QVERIFY(!session.window.gatewayLink());
    QVERIFY(!child<QWidget>(&session.window, "spinner")->isVisible());
    QCOMPARE(session.boxes.boxes().size(), boxCount);
}

// No read error tells of this loss, the presence poll does; Disconnect ends the wait.
void TestBasicWindow::vanishedPortIsNoticed()
{
    Session session(1);
    QVERIFY(session.start());
    const QString port = scratch.filePath("gateway-cable");
    QVERIFY(QFile::link(session.gateway().devicePath(), port));
    QVERIFY(session.connectAs(1, "kelvane", port));

    QVERIFY(QFile::remove(port));
    session.boxes.clear();
    QVERIFY(QMetaObject::invokeMethod(
            session.window.findChild<QTimer *>(QStringLiteral("connectionTimer")), "timeout"));
    QVERIFY(!session.window.gatewayLink());
    QVERIFY(!session.button("requestButton")->isEnabled());
    press(session.button("disconnectButton"));
    QVERIFY(!session.window.findChild<QTimer *>(QStringLiteral("returnTimer"))->isActive());
    QVERIFY(session.button("connectButton")->isEnabled());
    QCOMPARE(session.boxes.boxes().size(), 0);
}

void TestBasicWindow::unplugReconnects_data()
{
    QTest::addColumn<GatewayEmulator::Step>("step");
    QTest::newRow("read") << GatewayEmulator::Step::Read;
    QTest::newRow("apply") << GatewayEmulator::Step::Apply;
    QTest::newRow("log stream") << GatewayEmulator::Step::LogStream;
}

void TestBasicWindow::unplugReconnects()
{
    QFETCH(GatewayEmulator::Step, step);

    Session session(3);
    GatewayEmulator &gateway = session.gateway();
    const QString port = scratch.filePath(QTest::currentDataTag());
    gateway.setLinkPath(port);
    QVERIFY(session.start());
    QVERIFY(session.connectAs(3, "kelvane", port));
    QVERIFY(session.readSettings());
    QLineEdit *apn = session.field("networkPage/lteBox/sim1Adress");
    typeInto(apn, "edited.apn");

    gateway.setUnplugAt(step, replugAfterMs);
    const QPointer<SPortConnector> unplugged = session.window.gatewayLink();
    QSignalSpy replugged(&gateway, &GatewayEmulator::replugged);
    // The console went back to its login prompt meanwhile: the session's credentials log in.
    QObject::connect(&gateway, &GatewayEmulator::replugged, &gateway, [&gateway] {
        gateway.setCoreRunning(false);
        gateway.setAtShell(false);
    });
    session.boxes.clear();
    if (step == GatewayEmulator::Step::LogStream)
        child<QCheckBox>(&session.window, "logsPage/showBox")->click();
    else
        press(session.button(step == GatewayEmulator::Step::Read ? "requestButton"
                                                                 : "applyButton"));
    QVERIFY(replugged.wait(exchangeWaitMs));
    // The pulled adapter's link is gone, and a new one is logged in.
    QVERIFY(QTest::qWaitFor(
            [&] { return !unplugged && session.button("applyButton")->isEnabled(); },
            reconnectBoundMs));

    QCOMPARE(apn->text(), QString("edited.apn"));
    const bool apply = step == GatewayEmulator::Step::Apply;
    QCOMPARE(session.requests.filter("--25 ").size(), apply ? 1 : 0);
    // An interrupted apply is never called done: one warning says it is unknown.
    QCOMPARE(session.boxes.boxes().size(), apply ? 1 : 0);
    QVERIFY(!apply || session.boxes.boxes().first().icon == QMessageBox::Warning);
    QVERIFY(!session.window.findChild<QTimer *>("exchangeTimer")->isActive());
    QTRY_COMPARE(session.requests.count("--50 Start"),
                 step == GatewayEmulator::Step::LogStream ? 2 : 0);
}

// The keep-alive answer repeats the model the window already shows.
void TestBasicWindow::keepAliveLeavesTabAndFocus()
{
    Session session(3);
    QVERIFY(session.start());
    QVERIFY(session.connectAs(3, "kelvane"));
    QTRY_VERIFY(session.requests.contains("--10 State"));
    auto *tabs = child<QTabWidget>(&session.window, "tabs");
    tabs->setCurrentIndex(1);
    QLineEdit *find = session.field("logsPage/findEdit");
    find->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), find);

    QSignalSpy answered(session.window.gatewayLink(), &SPortConnector::gatewayModel);
    QVERIFY(QMetaObject::invokeMethod(
            session.window.gatewayLink()->findChild<QTimer *>(QStringLiteral("linkTimer")),
            "timeout"));
    QVERIFY(answered.wait(exchangeWaitMs));
    QCOMPARE(tabs->currentIndex(), 1);
    QCOMPARE(QApplication::focusWidget(), find);
    QVERIFY(!session.requests.contains("--50 State"));
}

void TestBasicWindow::busyPortNamesItsHolder()
{
    Session session(3);
    QVERIFY(session.start());
    QSerialPort holder(session.gateway().devicePath());
    QVERIFY(holder.open(QIODevice::ReadWrite));

    child<QComboBox>(&session.window, "portBox")->setEditText(session.gateway().devicePath());
    press(session.button("connectButton"));
    QTRY_COMPARE(session.boxes.boxes().size(), 1);
    const QString text = session.boxes.boxes().first().text;
    QVERIFY2(text.contains(QString::number(QCoreApplication::applicationPid())), qPrintable(text));
    QVERIFY(!text.contains("dialout"));
}

// Cancelled while the console still asks for the login: nothing is typed into it.
void TestBasicWindow::cancelDuringConnect()
{
    Session session(3);
    QVERIFY(session.start());
    session.gateway().setReplyDelayMs(exchangeWaitMs);
    child<QComboBox>(&session.window, "portBox")->setEditText(session.gateway().devicePath());
    press(session.button("connectButton"));
    press(session.button("disconnectButton"));
    QVERIFY(!session.window.gatewayLink());
    QVERIFY(!session.button("disconnectButton")->isEnabled());
    QVERIFY(!child<QWidget>(&session.window, "spinner")->isVisible());

    session.gateway().setReplyDelayMs(0);
    QVERIFY(session.connectAs(3, "kelvane"));
    QVERIFY(!session.gateway().received().contains("exit"));
    QCOMPARE(session.boxes.boxes().size(), 0);
}

void TestBasicWindow::exportThenApplyStillSendsChange()
{
    Session session(3);
    QVERIFY(session.start());
    QVERIFY(session.connectAs(3, "kelvane"));
    QVERIFY(session.readSettings());

    child<QTabWidget>(&session.window, "tabs")->setCurrentIndex(2);
    typeInto(session.field("networkPage/lteBox/sim1Adress"), "exported.apn");
    session.window.saveName = scratch.filePath("export.gwset");
    session.boxes.clear();
    press(session.button("exportButton"));
    QTRY_COMPARE(session.boxes.boxes().size(), 1);
    QCOMPARE(session.boxes.boxes().first().icon, int(QMessageBox::Information));

    QFile saved(session.window.saveName);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    // It holds the gateway's passwords.
    QCOMPARE(saved.permissions() & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());
    const QJsonObject file = document(saved.readAll());
    QCOMPARE(file["200"]["211"].toString(), QString("exported.apn"));
    QVERIFY(!file["100"].toObject().contains("110"));
    QVERIFY(!file["150"].toObject().contains("110"));

    QVERIFY(session.apply());
    QCOMPARE(valueText(session.gateway().settingsDocument(), "200", "211"),
             QString("exported.apn"));
}

void TestBasicWindow::importWithAndWithoutHold_data()
{
    QTest::addColumn<bool>("readBefore");
    QTest::addColumn<bool>("hold");
    QTest::addColumn<bool>("readAfter");
    QTest::newRow("held through a read") << false << true << true;
    QTest::newRow("replaced by a read") << false << false << true;
    QTest::newRow("applied at once") << true << false << false;
}

void TestBasicWindow::importWithAndWithoutHold()
{
    QFETCH(bool, readBefore);
    QFETCH(bool, hold);
    QFETCH(bool, readAfter);

    Session session(3);
    QVERIFY(session.start());
    QVERIFY(session.connectAs(3, "kelvane"));
    const QJsonObject gateway = session.gateway().settingsDocument();
    if (readBefore)
        QVERIFY(session.readSettings());

    QJsonObject preset{{"150", gateway["150"]}};
    QJsonObject lte = gateway["200"].toObject();
    lte["211"] = "preset.apn";
    preset["200"] = lte;
    QJsonObject lora = gateway["100"].toObject();
    lora["110"] = "0000000000000000";
    lora["111"] = "preset.example.org";
    lora["121"] = "KZ868";
    preset["100"] = lora;
    session.window.openName = scratch.filePath("preset.gwset");
    QVERIFY(writeFile(session.window.openName, QJsonDocument(preset).toJson()));

    press(session.button("importButton"));
    QLineEdit *apn = session.field("networkPage/lteBox/sim1Adress");
    QCOMPARE(apn->text(), QString("preset.apn"));
    QLineEdit *id = session.field("loraPage/module1Page/gatewayIdEdit");
    QVERIFY(id->text() != "0000000000000000");
    auto *holdBox = child<QCheckBox>(&session.window, "holdSettingsBox");
    QVERIFY(holdBox);
    if (hold)
        press(holdBox);

    const bool presetStays = hold || !readAfter;
    if (readAfter) {
        QVERIFY(session.readSettings());
        QCOMPARE(id->text(), gateway["100"]["110"].toString());
        QCOMPARE(child<QCheckBox>(&session.window, "holdSettingsBox") != nullptr, hold);
    }
    QCOMPARE(apn->text(), presetStays ? QString("preset.apn") : gateway["200"]["211"].toString());
    QCOMPARE(session.field("loraPage/module1Page/serverAddressEdit")->text(),
             presetStays ? QString("preset.example.org") : gateway["100"]["111"].toString());
    QCOMPARE(child<QComboBox>(&session.window, "loraPage/module1Page/frequencyPlanBox")
                     ->currentText(),
             presetStays ? QString("KZ868") : gateway["100"]["121"].toString());

    QVERIFY(session.apply());
    QCOMPARE(valueText(session.gateway().settingsDocument(), "200", "211"),
             presetStays ? QString("preset.apn") : gateway["200"]["211"].toString());
}

void TestBasicWindow::unreadablePresetMergesNothing_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("fifo");
    QTest::newRow("not JSON") << QByteArray("<settings/>") << false;
    QTest::newRow("JSON array") << QByteArray("[{\"200\": {}}]") << false;
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("named pipe") << QByteArray() << true;
}

void TestBasicWindow::unreadablePresetMergesNothing()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, fifo);

    TestWindow window;
    MessageBoxCloser boxes;
    QVERIFY(importGroups(window, scratch.filePath("readable.gwset"),
                         GatewayEmulator(3).settingsDocument()));
    const QJsonObject held = SettingsHandlerAndCollector::getInstance()->getSettings();
    QLineEdit *apn = child<QLineEdit>(&window, "networkPage/lteBox/sim1Adress");
    apn->setText("typed.apn");
    boxes.clear();

    window.openName
            = scratch.filePath(QStringLiteral("unreadable-%1").arg(QTest::currentDataTag()));
    if (fifo) {
        QVERIFY(mkfifo(QFile::encodeName(window.openName).constData(), 0600) == 0);
    } else {
        QVERIFY(writeFile(window.openName, content));
    }
    press(child<QPushButton>(&window, "importButton"));

    QCOMPARE(boxes.boxes().size(), 1);
    QCOMPARE(boxes.boxes().first().icon, int(QMessageBox::Warning));
    QCOMPARE(SettingsHandlerAndCollector::getInstance()->getSettings(), held);
    QCOMPARE(apn->text(), QString("typed.apn"));
    QVERIFY(child<QCheckBox>(&window, "holdSettingsBox"));
}

void TestBasicWindow::failedSaveKeepsExistingFile_data()
{
    QTest::addColumn<bool>("sizeLimited");
    QTest::newRow("write fails midway") << true;
    QTest::newRow("folder is a file") << false;
}

void TestBasicWindow::failedSaveKeepsExistingFile()
{
    QFETCH(bool, sizeLimited);

    TestWindow window;
    MessageBoxCloser boxes;
    const QByteArray earlier("{\"earlier\": true}\n");
    QVERIFY(importGroups(window, scratch.filePath("full.gwset"),
                         GatewayEmulator(3).settingsDocument()));
    QVERIFY(writeFile(scratch.filePath("kept.gwset"), earlier));
    window.saveName = sizeLimited ? scratch.filePath("kept.gwset")
                                  : scratch.filePath("kept.gwset/inside.gwset");
    boxes.clear();

    rlimit original{};
    getrlimit(RLIMIT_FSIZE, &original);
    if (sizeLimited) {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limited = original;
        limited.rlim_cur = 64;
        QVERIFY(setrlimit(RLIMIT_FSIZE, &limited) == 0);
    }
    press(child<QPushButton>(&window, "exportButton"));
    setrlimit(RLIMIT_FSIZE, &original);

    QCOMPARE(boxes.boxes().size(), 1);
    QCOMPARE(boxes.boxes().first().icon, int(QMessageBox::Warning));
    QFile existing(scratch.filePath("kept.gwset"));
    QVERIFY(existing.open(QIODevice::ReadOnly));
    QCOMPARE(existing.readAll(), earlier);
    QVERIFY(!QFile::exists(scratch.filePath("kept.gwset/inside.gwset")));
}

void TestBasicWindow::applyWithoutEditsChangesNothing_data()
{
    QTest::addColumn<int>("model");
    for (int model = 0; model <= 3; ++model)
        QTest::addRow("model %d", model) << model;
}

void TestBasicWindow::applyWithoutEditsChangesNothing()
{
    QFETCH(int, model);
    Session session(model);
    QVERIFY(session.start());
    QVERIFY(session.connectAs(model, "kelvane"));
    QVERIFY(session.readSettings());
    const QByteArray before = QJsonDocument(session.gateway().settingsDocument()).toJson();
    QCOMPARE(session.pending()->count(), 0);

    QCOMPARE(session.applyReport().icon, int(QMessageBox::Information));
    QCOMPARE(QJsonDocument(session.gateway().settingsDocument()).toJson(), before);
}

void TestBasicWindow::unconfirmedFieldsRetried_data()
{
    QTest::addColumn<QStringList>("ignoredKeys");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<bool>("readBackFails");
    QTest::addColumn<int>("pendingAfter");

    QTest::newRow("key ignored") << QStringList{"200/211"} << false << false << 1;
    QTest::newRow("refused") << QStringList() << true << false << 2;
    QTest::newRow("refused, read-back refused too") << QStringList() << true << true << 2;
}

void TestBasicWindow::unconfirmedFieldsRetried()
{
    QFETCH(QStringList, ignoredKeys);
    QFETCH(bool, refused);
    QFETCH(bool, readBackFails);
    QFETCH(int, pendingAfter);

    Session session(3);
    QVERIFY(session.start());
    QVERIFY(session.connectAs(3, "kelvane"));
    QVERIFY(session.readSettings());
    session.gateway().setIgnoredKeys(ignoredKeys);
    if (refused)
        session.gateway().setErrorReply("25", 1008);
    if (readBackFails)
        session.gateway().setErrorReply("26", 1007);
    typeInto(session.field("networkPage/lteBox/sim1Adress"), "drift.apn");
    typeInto(session.field("networkPage/lteBox/sim1Password"), "sim-secret");

    const MessageBoxCloser::Box report = session.applyReport();
    QCOMPARE(report.icon, int(QMessageBox::Warning));
    QCOMPARE(report.text.contains(FieldCatalog::fieldPath("200", "211")), !readBackFails);
    QVERIFY(!report.text.contains("sim-secret"));
    press(session.pending());
    auto *list = child<QListWidget>(&session.window, "pendingChangesList/changesList");
    QVERIFY(list);
    QTRY_COMPARE(list->count(), pendingAfter);
    for (int row = 0; row < list->count(); ++row)
        QVERIFY(!list->item(row)->text().contains("sim-secret"));

    // The next apply sends exactly what the gateway does not hold yet.
    session.gateway().setIgnoredKeys({});
    session.gateway().clearErrorReplies();
    const QJsonObject before = session.gateway().settingsDocument();
    QCOMPARE(session.applyReport().icon, int(QMessageBox::Information));
    const QJsonObject sent = session.lastWrite();
    int retried = 0;
    for (const QString &group : sent.keys()) {
        if (!sent[group].toObject().isEmpty())
            retried += SettingsRules::differences({{group, before[group]}}, {{group, sent[group]}})
                               .size();
    }
    QCOMPARE(retried, pendingAfter);
    QCOMPARE(valueText(session.gateway().settingsDocument(), "200", "211"), QString("drift.apn"));
    QCOMPARE(list->count(), 1);
    QCOMPARE(session.pending()->count(), 0);
}

void TestBasicWindow::exchangeEndsRearmed_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("errorCode");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("icon");

    const int critical = QMessageBox::Critical;
    for (const int code : {1007, 1000})
        QTest::addRow("read, ERROR %d", code) << "26" << code << QByteArray() << critical;
    QTest::newRow("read, no reply") << "26" << 0 << QByteArray() << int(QMessageBox::Warning);
    QTest::newRow("apply, no reply") << "25" << 0 << QByteArray() << int(QMessageBox::Warning);
    QTest::newRow("read, damaged reply with nothing after it")
            << "26" << 0 << QByteArray("RESPONSE.{[33 {\"100\":{\"111\":\"x\"}]}\r\n")
            << int(QMessageBox::Warning);
}

void TestBasicWindow::exchangeEndsRearmed()
{
    QFETCH(QString, command);
    QFETCH(int, errorCode);
    QFETCH(QByteArray, reply);
    QFETCH(int, icon);

    Session session(3);
    QVERIFY(session.start());
    QVERIFY(session.connectAs(3, "kelvane"));
    child<QCheckBox>(&session.window, "logsPage/showBox")->click();
    // Log lines on the page: the link has taken the stream's start and will hide it.
    QTRY_VERIFY(
            !child<QPlainTextEdit>(&session.window, "logsPage/logView")->toPlainText().isEmpty());
    if (errorCode)
        session.gateway().setErrorReply(command, errorCode);
    else
        session.gateway().setReplyDelayMs(exchangeWaitMs * 60);
    session.boxes.clear();
    press(session.button(command == "26" ? "requestButton" : "applyButton"));
    if (!reply.isEmpty())
        session.gateway().sendRaw(reply);
    else if (!errorCode)
        QVERIFY(QMetaObject::invokeMethod(
                session.window.findChild<QTimer *>(QStringLiteral("exchangeTimer")), "timeout"));

    QTRY_COMPARE(session.boxes.boxes().size(), 1);
    QCOMPARE(session.boxes.boxes().first().icon, icon);
    QVERIFY(session.button("applyButton")->isEnabled());
    QVERIFY(!child<QWidget>(&session.window, "spinner")->isVisible());
    const auto hidden = [&session] {
        return session.requests.indexOf("--50 Hide");
    };
    QTRY_VERIFY(hidden() >= 0 && session.requests.lastIndexOf("--50 Show") > hidden());
    QTRY_VERIFY(!session.gateway().logsHidden());
    const int reads = session.requests.count("--26");
    press(session.button("requestButton"));
    QTRY_COMPARE(session.requests.count("--26"), reads + 1);
}

void TestBasicWindow::kernelLinesInsideSettingsReply()
{
    Session session(3);
    QVERIFY(session.start());
    QVERIFY(session.connectAs(3, "kelvane"));
    session.gateway().setKernelNoise(true, 5);
    for (int read = 0; read < 3; ++read) {
        QVERIFY(session.readSettings());
        QCOMPARE(session.pending()->count(), 0);
    }
    QCOMPARE(session.field("networkPage/lteBox/sim1Adress")->text(),
             valueText(session.gateway().settingsDocument(), "200", "211"));
}

void TestBasicWindow::importThenExportKeepsModelGroups_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<QStringList>("foreign");
    QTest::newRow("TK-0") << 0 << QStringList{"150", "400"};
    QTest::newRow("TK-1") << 1 << QStringList{"150", "350"};
    QTest::newRow("TK-3") << 2 << QStringList{"350"};
    QTest::newRow("TK-3Max") << 3 << QStringList();
}

void TestBasicWindow::importThenExportKeepsModelGroups()
{
    QFETCH(int, model);
    QFETCH(QStringList, foreign);

    TestWindow window;
    MessageBoxCloser boxes;
    child<QComboBox>(&window, "modelBox")->setCurrentIndex(model);
    QJsonObject preset = SettingsStore::defaultDocument(3);
    for (const char *key : {"8", "9", "10", "11", "12", "13", "14", "15", "16"})
        preset.remove(key);
    QJsonObject lte = preset["200"].toObject();
    lte["299"] = "newer core";
    preset["200"] = lte;
    preset["500"] = QJsonObject{{"510", "newer group"}};
    window.openName = scratch.filePath(QStringLiteral("model%1.gwset").arg(model));
    QVERIFY(writeFile(window.openName, QJsonDocument(preset).toJson()));
    press(child<QPushButton>(&window, "importButton"));
    QCOMPARE(boxes.boxes().size(), 1);
    QVERIFY(boxes.boxes().first().text.contains("200.299"));
    for (const QString &group : foreign)
        QVERIFY(boxes.boxes().first().text.contains(FieldCatalog::groupName(group).isEmpty()
                                                            ? FieldCatalog::pageName(group)
                                                            : FieldCatalog::groupName(group)));

    window.saveName = scratch.filePath(QStringLiteral("export%1.gwset").arg(model));
    press(child<QPushButton>(&window, "exportButton"));
    QFile saved(window.saveName);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QJsonObject file = document(saved.readAll());
    const QStringList kept = SettingsRules(model).groups() << "500";
    for (const QString &group : kept) {
        QJsonObject expected = preset[group].toObject();
        expected.remove("110");
        expected.remove("299");
        QCOMPARE(file[group].toObject(), expected);
    }
}

// A connected session's report holds every section; after the disconnect it says so.
void TestBasicWindow::commissioningReport()
{
    Session session(3);
    QVERIFY(session.start());
    QVERIFY(session.connectAs(3, "kelvane"));
    child<QCheckBox>(&session.window, "logsPage/showBox")->click();
    QTRY_VERIFY(
            !child<QPlainTextEdit>(&session.window, "logsPage/logView")->toPlainText().isEmpty());
    QVERIFY(session.readSettings());
    typeInto(session.field("networkPage/lteBox/sim1Adress"), "report.apn");
    QVERIFY(session.apply());
    child<QPlainTextEdit>(&session.window, "devicePage/noteEdit")->setPlainText("Mast 7");
    const QJsonObject gateway = session.gateway().settingsDocument();

    QTextDocument document;
    CommissioningReport(session.window.reportContent()).fill(&document);
    const QString text = document.toPlainText();
    const QString newestLine = child<QPlainTextEdit>(&session.window, "logsPage/logView")
                                       ->document()
                                       ->lastBlock()
                                       .previous()
                                       .text();
    for (const QString &wanted : {QString("Mast 7"), QString("ТК-3Max"), gateway["8"].toString(),
                                  QString("report.apn"), gateway["100"]["111"].toString(),
                                  QString("Подтверждено базовой станцией полей: 1"), newestLine})
        QVERIFY2(!wanted.isEmpty() && text.contains(wanted), qPrintable(wanted));
    QVERIFY(!text.contains(gateway["350"]["353"].toString()));
    QVERIFY(!text.contains("не подключено"));

    press(session.button("disconnectButton"));
    session.window.reportName = scratch.filePath("report");
    session.boxes.clear();
    press(child<QPushButton>(&session.window, "devicePage/reportButton"));
    QTRY_COMPARE(session.boxes.boxes().size(), 1);
    QFile pdf(session.window.reportName + ".pdf");
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    QVERIFY(pdf.readAll().startsWith("%PDF"));
    CommissioningReport(session.window.reportContent()).fill(&document);
    QVERIFY(document.toPlainText().contains("не подключено"));
    QVERIFY(document.toPlainText().contains("report.apn"));
}

void TestBasicWindow::signalTab_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<bool>("streamBefore");
    QTest::newRow("TK-0 without a log tab: the stream on for the tab only") << 0 << false;
    QTest::newRow("TK-3: the operator's stream stays on") << 2 << true;
}

// Figures move, the backhaul turns red, the CSV and the log's record give what was heard.
void TestBasicWindow::signalTab()
{
    QFETCH(int, model);
    QFETCH(bool, streamBefore);
    Session session(model);
    session.gateway().setSurveyTraffic(true, 7);
    session.gateway().setPacketRate(100);
    session.gateway().setStatisticsPeriodMs(200);
    session.gateway().setBackhaulDownAfterMs(1500);
    QVERIFY(session.start() && session.connectAs(model, "kelvane"));
    auto *showBox = child<QCheckBox>(&session.window, "logsPage/showBox");
    if (streamBefore)
        showBox->click();
    auto *page = child<SignalPage>(&session.window, "signalPage");
    child<QTabWidget>(&session.window, "tabs")->setCurrentWidget(page);
    auto *lastRssi = child<QLabel>(page, "lastRssiLabel");
    QTRY_VERIFY(lastRssi->text() != "—");
    const QString firstRssi = lastRssi->text();
    QTRY_VERIFY(lastRssi->text() != firstRssi);
    QTRY_VERIFY(child<QLabel>(page, "backhaulLine")->palette().color(QPalette::WindowText).red()
                > 128);

    child<QTabWidget>(&session.window, "tabs")->setCurrentIndex(0);
    QCOMPARE(showBox->isChecked(), streamBefore);
    // What the tab heard and what the log page holds, taken at one moment.
    const SurveyStatistics heard = page->statistics();
    CliOptions options;
    options.fromLog = scratch.filePath(QStringLiteral("record%1.log").arg(model));
    QVERIFY(writeFile(
            options.fromLog,
            child<QPlainTextEdit>(&session.window, "logsPage/logView")->toPlainText().toUtf8()));
    page->writeCsv(scratch.filePath("survey.csv"));
    QFile csv(scratch.filePath("survey.csv"));
    QVERIFY(csv.open(QIODevice::ReadOnly) && csv.readAll().count('\n') - 1 == heard.packets());
    GatewayJob job(options, options.fromLog, {});
    job.start();
    const QJsonObject live = SurveyVerdict(heard, options).figures(), saved = job.resultObject();
    for (const QString &figure : live.keys())
        QCOMPARE(saved[figure], live[figure]);
    const QString report = CommissioningReport(session.window.reportContent()).html();
    QVERIFY(report.contains(QString::number(heard.channels(0)[0].frequencyMhz, 'f', 3)));
}

QTEST_MAIN(TestBasicWindow)
#include "tst_basicwindow.moc"
