#include "device/aboutdeveloper.h"
#include "device/aboutdevice.h"
#include "lora/loralogs.h"
#include "lora/othersettings.h"
#include "lora/signalpage.h"
#include "lora/stacklorasettings.h"
#include "lora/tyrnserverbox.h"
#include "network/networksettings.h"
#include "settings/catalogue.h"
#include "settings/settingshandlerandcollector.h"
#include "textfit.h"
#include "window/applicationfont.h"
#include "window/basicwindow.h"

#include <QComboBox>
#include <QJsonDocument>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTabBar>
#include <QTemporaryFile>
#include <QTranslator>
#include <QtTest>

#include <memory>

namespace {

// No text of the program is set smaller.
constexpr double smallestPointSize = 8.0;
// Every page's size in the main window at its default size.
const QSize tabPageSize(905, 582);

// Long values that real gateways hold, one for every field.
const QByteArray typicalDocument = R"({
    "100": {"110": "B827EBFFFE8C4D2A", "111": "192.168.100.200", "112": 65535, "113": 1700,
            "133": -33.865143, "134": 131.885, "135": -20, "141": 100, "142": 30},
    "150": {"110": "AA555A0000000202", "111": "lora.example.net"},
    "200": {"211": "internet.mts.ru", "212": "99999", "213": "gdata", "214": "gdata",
            "221": "internet.tele2.ru", "230": "192.168.100.200", "240": "192.168.100.201"},
    "300": {"310": true, "320": "192.168.100.200/24", "330": "192.168.100.1",
            "340": "192.168.100.200", "350": "192.168.100.201", "360": "kelvane.local",
            "370": "255.255.255.0"},
    "350": {"352": "Office-WiFi", "353": "secret", "354": "192.168.100.200",
            "355": "192.168.100.0", "356": "255.255.255.0", "357": "192.168.100.1",
            "358": "192.168.100.200", "359": "192.168.100.201", "360": "192.168.100.200",
            "361": "192.168.100.100", "362": "Kelvane-Gateway-01", "363": "kelvane-secret"},
    "400": {"410": "admin", "420": "secret", "430": "000013", "440": "000001",
            "450": "/var/lib/tyrnserver/lorawan.db"},
    "301": [{"1": "client.ovpn"}],
    "8": "A8:40:41:1C:2D:3E", "9": "1.2.0", "11": "TK-3Max 2.1", "12": "2.1",
    "10": {"1": "192.168.100.200", "2": "10.64.120.200", "3": "10.8.0.14"},
    "13": "Quectel EC25-E", "14": "Quectel L76-L", "15": "11.12.2025", "16": "1.1.2"})";

// Every text the page and its widgets show, hidden ones included.
QStringList shownTexts(QWidget *page)
{
    QStringList texts;
    const QList<QWidget *> widgets = page->findChildren<QWidget *>() << page;
    for (const QWidget *widget : widgets) {
        for (const char *name : {"text", "title", "placeholderText", "toolTip", "windowTitle"})
            texts << widget->property(name).toString();
        if (const auto *box = qobject_cast<const QComboBox *>(widget))
            for (int item = 0; item < box->count(); ++item)
                texts << box->itemText(item);
        if (const auto *bar = qobject_cast<const QTabBar *>(widget))
            for (int tab = 0; tab < bar->count(); ++tab)
                texts << bar->tabText(tab);
    }
    return texts;
}

// The main window with the hold check box that a preset import brings.
class ImportingWindow : public BasicWindow
{
public:
    QString presetPath;

protected:
    QString askPresetOpenName(const QString &) override { return presetPath; }
};

// variant: the model of the LoRa page and window, the Wi-Fi mode of the network page.
std::unique_ptr<QWidget> makePage(const QString &page, int variant)
{
    QJsonObject document = QJsonDocument::fromJson(typicalDocument).object();
    QJsonObject wifi = document.value("350").toObject();
    wifi.insert("351", variant);
    document.insert("350", wifi);
    SettingsHandlerAndCollector::getInstance()->addSettings(document);
    if (page == "lora") {
        auto stack = std::make_unique<StackLoRaSettings>();
        stack->setDeviceType(variant);
        stack->setSettings(document, true);
        return stack;
    }
    if (page == "network") {
        auto network = std::make_unique<NetworkSettings>();
        network->setSettings();
        network->showWifiBox();
        return network;
    }
    if (page == "other") {
        auto other = std::make_unique<OtherSettings>();
        other->setSettings(document.value("400").toObject());
        // The running server's button text is the longer one.
        if (!QMetaObject::invokeMethod(other->findChild<TyrnServerBox *>("serverBox"),
                                       "setLocalServerState", Q_ARG(bool, true), Q_ARG(bool, true)))
            return nullptr;
        return other;
    }
    if (page == "device") {
        auto device = std::make_unique<AboutDevice>();
        device->setSettings();
        return device;
    }
    if (page == "window") {
        auto window = std::make_unique<ImportingWindow>();
        QTemporaryFile preset;
        if (!preset.open() || preset.write(QJsonDocument(document).toJson()) <= 0)
            return nullptr;
        preset.close();
        window->presetPath = preset.fileName();
        QMetaObject::invokeMethod(window.get(), "changeInterface", Q_ARG(int, variant));
        QMetaObject::invokeMethod(window.get(), "loadPresets");
        return window;
    }
    if (page == "logs")
        return std::make_unique<LoRaLogs>();
    if (page == "signal")
        return std::make_unique<SignalPage>();
    return std::make_unique<AboutDeveloper>();
}

} // namespace

class TestApplicationFont : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void everyTextFits_data();
    void everyTextFits();
};

void TestApplicationFont::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(ApplicationFont::install());
    QCOMPARE(QFontInfo(QApplication::font()).family(), ApplicationFont::family);
}

void TestApplicationFont::cleanup()
{
    SettingsHandlerAndCollector::deleteInstance();
}

void TestApplicationFont::everyTextFits_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<int>("variant");
    QTest::addColumn<bool>("english");

    const QList<std::tuple<const char *, QString, int>> pages{
            {"LoRa, one module", "lora", 1},
            {"LoRa, two modules", "lora", 3},
            {"network, Wi-Fi client", "network", 1},
            {"network, access point", "network", 3},
            {"other settings", "other", 0},
            {"device information", "device", 0},
            {"LoRa log", "logs", 0},
            {"signal", "signal", 0},
            {"about window", "about", 0},
            {"main window", "window", 3}};
    for (const auto &[name, page, variant] : pages) {
        QTest::addRow("%s, Russian", name) << page << variant << false;
        QTest::addRow("%s, English", name) << page << variant << true;
    }
}

void TestApplicationFont::everyTextFits()
{
    QFETCH(QString, page);
    QFETCH(int, variant);
    QFETCH(bool, english);

    QTranslator catalogue;
    QVERIFY(Catalogue::installFor(english ? "en_US" : "ru_RU", catalogue));
    const auto uninstall
            = qScopeGuard([&catalogue] { QCoreApplication::removeTranslator(&catalogue); });

    const std::unique_ptr<QWidget> widget = makePage(page, variant);
    QVERIFY(widget);
    if (page != "about" && page != "window")
        widget->resize(tabPageSize);
    widget->show();
    QVERIFY(QTest::qWaitForWindowExposed(widget.get()));

    const QStringList clipped = TextFit::clippedTexts(widget.get());
    QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join('\n')));
    for (const QWidget *child : widget->findChildren<QWidget *>())
        QVERIFY2(child->font().pointSizeF() >= smallestPointSize, qPrintable(child->objectName()));
    const QRegularExpression cyrillic(QStringLiteral("\\p{Cyrillic}"));
    const QStringList russian = english ? shownTexts(widget.get()).filter(cyrillic) : QStringList();
    QVERIFY2(russian.isEmpty(), qPrintable(russian.join('\n')));
}

QTEST_MAIN(TestApplicationFont)
#include "tst_applicationfont.moc"
