#include "emulator/gatewayemulator.h"
#include "link/sportconnector.h"
#include "linkedgateway.h"
#include "network/boxlte.h"
#include "network/boxstaticip.h"
#include "network/boxvpn.h"
#include "network/boxwifi.h"
#include "network/networksettings.h"
#include "pagekit/fieldvalidation.h"
#include "settings/settingshandlerandcollector.h"
#include "widgetcheck.h"

#include <QComboBox>
#include <QDropEvent>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>
#include <QTranslator>
#include <QUrl>

class TestNetworkSettings : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void fillAndGather_data();
    void fillAndGather();
    void presentation_data();
    void presentation();
    void vpnMessagesForwarded_data();
    void vpnMessagesForwarded();
    void linkReachesVpnBox();
    void resizeGeometry_data();
    void resizeGeometry();
    void leftPressTakesFocus_data();
    void leftPressTakesFocus();
    void layoutAndPicture_data();
    void layoutAndPicture();
};

namespace {

QJsonObject lteGroup(const QString &apn)
{
    return QJsonObject{{"211", apn},       {"212", "99"}, {"213", "u1"}, {"214", "p1"},
                       {"221", "apn2"},    {"222", "77"}, {"223", "u2"}, {"224", "p2"},
                       {"230", "8.8.8.8"}, {"240", ""}};
}

QJsonObject staticGroup(bool on)
{
    return QJsonObject{{"310", on}, {"320", "10.0.0.5"}, {"330", "10.0.0.1"}, {"340", "1.1.1.1"},
                       {"350", ""}, {"360", "lan"},      {"370", "255.0.0.0"}};
}

QJsonObject wifiGroup(const QString &ssid)
{
    return QJsonObject{{"351", 1},   {"352", ssid}, {"353", "pw"},  {"354", "a"}, {"355", "b"},
                       {"356", "c"}, {"357", "d"},  {"358", "e"},   {"359", "f"}, {"360", "g"},
                       {"361", "h"}, {"362", "ap"}, {"363", "appw"}};
}

QJsonArray configs(const QStringList &names)
{
    QJsonArray list;
    for (const QString &name : names)
        list.append(QJsonObject{{"1", name}});
    return list;
}

QStringList listed(NetworkSettings &page)
{
    auto *list = page.findChild<BoxVPN *>("vpnBox")->findChild<QComboBox *>("configList");
    QStringList names;
    for (int i = 0; i < list->count(); ++i)
        names.append(list->itemText(i));
    return names;
}

SettingsHandlerAndCollector *collector()
{
    return SettingsHandlerAndCollector::getInstance();
}

} // namespace

void TestNetworkSettings::init()
{
    SettingsHandlerAndCollector::deleteInstance();
    FieldValidation::instance().reset();
}

void TestNetworkSettings::cleanup()
{
    SettingsHandlerAndCollector::deleteInstance();
}

void TestNetworkSettings::fillAndGather_data()
{
    QTest::addColumn<QJsonObject>("firstDocument");
    QTest::addColumn<bool>("freshCollector");
    QTest::addColumn<QJsonObject>("secondDocument");
    QTest::addColumn<QJsonObject>("expected");
    QTest::addColumn<QStringList>("expectedConfigs");

    const QJsonObject full{{"200", lteGroup("internet")},
                           {"300", staticGroup(true)},
                           {"350", wifiGroup("home")},
                           {"301", configs({"office.ovpn", "home.ovpn"})}};
    const QJsonObject fullGathered{
            {"200", lteGroup("internet")}, {"300", staticGroup(true)}, {"350", wifiGroup("home")}};

    QTest::newRow("all groups") << QJsonObject() << true << full << fullGathered
                                << QStringList{"office.ovpn", "home.ovpn"};

    QJsonObject noWifi = full;
    noWifi.remove("350");
    noWifi["200"] = lteGroup("other");
    QJsonObject keptWifi = fullGathered;
    keptWifi["200"] = lteGroup("other");
    QTest::newRow("without 350 the Wi-Fi box keeps its values")
            << full << true << noWifi << keptWifi << QStringList{"office.ovpn", "home.ovpn"};

    QJsonObject neverWifi = fullGathered;
    neverWifi["350"] = QJsonObject{{"351", 0}};
    QJsonObject noWifiAtAll = full;
    noWifiAtAll.remove("350");
    QTest::newRow("without 350 ever the Wi-Fi box is off")
            << QJsonObject() << true << noWifiAtAll << neverWifi
            << QStringList{"office.ovpn", "home.ovpn"};

    QJsonObject noList = full;
    noList.remove("301");
    QTest::newRow("without 301 the list is emptied")
            << full << true << noList << fullGathered << QStringList();

    QTest::newRow("301 is used up by the first fill")
            << full << false << QJsonObject() << fullGathered << QStringList();

    QJsonObject notArray = full;
    notArray["301"] = "office.ovpn";
    QTest::newRow("301 that is not an array")
            << QJsonObject() << true << notArray << fullGathered << QStringList();

    // A newer gateway core's keys that no field shows go back as they came.
    const auto plus = [](QJsonObject group, const QString &key, const QJsonValue &value) {
        group.insert(key, value);
        return group;
    };
    const QJsonObject newer{{"200", plus(lteGroup("internet"), "250", "x")},
                            {"300", plus(staticGroup(true), "380", true)},
                            {"350", plus(wifiGroup("home"), "364", 7)}};
    QTest::newRow("unshown keys go back")
            << QJsonObject() << true << newer << newer << QStringList();

    const QJsonObject emptyLte{{"211", ""}, {"212", ""}, {"213", ""}, {"214", ""}, {"221", ""},
                               {"222", ""}, {"223", ""}, {"224", ""}, {"230", ""}, {"240", ""}};
    const QJsonObject emptyStatic{{"310", false}, {"320", ""}, {"330", ""}, {"340", ""},
                                  {"350", ""},    {"360", ""}, {"370", ""}};
    QTest::newRow("empty document") << QJsonObject() << true << QJsonObject()
                                    << QJsonObject{{"200", emptyLte},
                                                   {"300", emptyStatic},
                                                   {"350", QJsonObject{{"351", 0}}}}
                                    << QStringList();
}

void TestNetworkSettings::fillAndGather()
{
    QFETCH(QJsonObject, firstDocument);
    QFETCH(bool, freshCollector);
    QFETCH(QJsonObject, secondDocument);
    QFETCH(QJsonObject, expected);
    QFETCH(QStringList, expectedConfigs);

    NetworkSettings page;
    if (!firstDocument.isEmpty()) {
        collector()->addSettings(firstDocument);
        page.setSettings();
    }
    if (freshCollector)
        SettingsHandlerAndCollector::deleteInstance();
    collector()->addSettings(secondDocument);
    page.setSettings();

    const QJsonObject held = collector()->getSettings();
    QVERIFY(!held.contains("301"));
    const QJsonObject gathered = page.getSettings();
    QCOMPARE(gathered, expected);
    QCOMPARE(gathered.keys(), (QStringList{"200", "300", "350"}));
    QCOMPARE(listed(page), expectedConfigs);
    // Merging what was gathered is the caller's business.
    QCOMPARE(collector()->getSettings(), held);
}

void TestNetworkSettings::presentation_data()
{
    QTest::addColumn<QList<int>>("models");
    QTest::addColumn<bool>("wifiShown");
    QTest::addColumn<bool>("pingShown");

    QTest::newRow("TK-0") << QList<int>{0} << true << false;
    QTest::newRow("TK-1") << QList<int>{1} << false << true;
    QTest::newRow("TK-3") << QList<int>{2} << false << true;
    QTest::newRow("TK-3Max") << QList<int>{3} << true << true;
    QTest::newRow("TK-0 then TK-1") << QList<int>{0, 1} << false << true;
    QTest::newRow("TK-1 then TK-0") << QList<int>{1, 0} << true << false;
}

void TestNetworkSettings::presentation()
{
    QFETCH(QList<int>, models);
    QFETCH(bool, wifiShown);
    QFETCH(bool, pingShown);

    NetworkSettings page;
    collector()->addSettings(QJsonObject{{"200", lteGroup("internet")}});
    page.setSettings();
    // The calls the main window makes on every model change.
    for (int model : models) {
        page.hideWifiBox();
        page.showPingFields();
        if (model == 0 || model == 3)
            page.showWifiBox();
        if (model == 0)
            page.hidePingFields();
    }

    QCOMPARE(!page.findChild<BoxWIFI *>("wifiBox")->isHidden(), wifiShown);
    auto *lte = page.findChild<BoxLTE *>("lteBox");
    QCOMPARE(!lte->findChild<QLineEdit *>("ping1")->isHidden(), pingShown);
    QCOMPARE(!lte->findChild<QLineEdit *>("ping2")->isHidden(), pingShown);
    const QJsonObject gathered = page.getSettings();
    QCOMPARE(gathered.value("200").toObject().contains("230"), pingShown);
    QCOMPARE(gathered.value("200").toObject().contains("240"), pingShown);
    QCOMPARE(gathered.value("200").toObject().value("230").toString(),
             pingShown ? QString("8.8.8.8") : QString());
    QVERIFY(gathered.contains("350"));
}

void TestNetworkSettings::vpnMessagesForwarded_data()
{
    QTest::addColumn<bool>("english");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");

    QTest::newRow("russian") << false << "Ошибка"
                             << "Файлы настроек должны иметь расширение .ovpn, .crt, .key, .conf";
    QTest::newRow("english")
            << true << "Error"
            << "The configuration files must have the extension .ovpn, .crt, .key, .conf";
}

void TestNetworkSettings::vpnMessagesForwarded()
{
    QFETCH(bool, english);
    QFETCH(QString, title);
    QFETCH(QString, text);

    QTranslator catalogue;
    if (english) {
        QVERIFY(catalogue.load(":/i18n/Kelvane.qm"));
        QCoreApplication::installTranslator(&catalogue);
    }
    const auto uninstall
            = qScopeGuard([&catalogue] { QCoreApplication::removeTranslator(&catalogue); });

    NetworkSettings page;
    QSignalSpy messages(&page, &NetworkSettings::showDialogMessage);
    QVERIFY(messages.isValid());

    auto *vpn = page.findChild<BoxVPN *>("vpnBox");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile("/home/op/notes.txt")});
    QDragEnterEvent enter(QPoint(300, 40), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(vpn, &enter);
    QDropEvent drop(QPointF(300, 40), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(vpn, &drop);

    QCOMPARE(messages.count(), 1);
    QCOMPARE(messages.at(0).at(0).toInt(), 3);
    QCOMPARE(messages.at(0).at(1).toString(), title);
    QCOMPARE(messages.at(0).at(2).toString(), text);
}

void TestNetworkSettings::linkReachesVpnBox()
{
    LinkedGateway gateway;
    QVERIFY(gateway.open(3));
    NetworkSettings page;
    page.attachLink(gateway.link());
    gateway.clearRequests();

    collector()->addSettings(QJsonObject{{"301", configs({"office.ovpn"})}});
    page.setSettings();
    QVERIFY(gateway.waitForRequest("--43 office.ovpn"));

    page.detachLink();
    gateway.clearRequests();
    collector()->addSettings(QJsonObject{{"301", configs({"home.ovpn"})}});
    page.setSettings();
    QCOMPARE(listed(page), QStringList{"home.ovpn"});
    gateway.link()->requestLoRaModulesState();
    QVERIFY(gateway.waitForRequest("--50 State"));
    QCOMPARE(gateway.requests(), QStringList{"--50 State"});
}

void TestNetworkSettings::resizeGeometry_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("wifiShownBeforeResize");
    QTest::addColumn<QRect>("lte");
    QTest::addColumn<QRect>("vpn");
    QTest::addColumn<QRect>("staticIP");
    QTest::addColumn<QRect>("wifi");

    QTest::newRow("reference") << QSize(905, 582) << true << QRect(20, 10, 871, 181)
                               << QRect(20, 200, 651, 141) << QRect(690, 200, 201, 221)
                               << QRect(20, 350, 651, 221);
    // Factors 1.1 and 1.2 exactly.
    QTest::newRow("factors with one decimal")
            << QSize(1000, 700) << true << QRect(20, 10, 958, 217) << QRect(20, 240, 716, 169)
            << QRect(759, 240, 201, 265) << QRect(20, 420, 716, 265);
    // Factors rounded to 1.36 and 1.34.
    QTest::newRow("rounded factors")
            << QSize(1234, 777) << true << QRect(20, 10, 1184, 242) << QRect(20, 268, 885, 188)
            << QRect(938, 268, 201, 296) << QRect(20, 469, 885, 296);
    QTest::newRow("Wi-Fi shown after the resize")
            << QSize(1234, 777) << false << QRect(20, 10, 1184, 242) << QRect(20, 268, 885, 188)
            << QRect(938, 268, 201, 296) << QRect(20, 469, 885, 296);
}

void TestNetworkSettings::resizeGeometry()
{
    QFETCH(QSize, size);
    QFETCH(bool, wifiShownBeforeResize);
    QFETCH(QRect, lte);
    QFETCH(QRect, vpn);
    QFETCH(QRect, staticIP);
    QFETCH(QRect, wifi);

    NetworkSettings page;
    if (wifiShownBeforeResize)
        page.showWifiBox();
    page.resize(size);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    page.showWifiBox();

    QCOMPARE(page.findChild<BoxLTE *>("lteBox")->geometry(), lte);
    QCOMPARE(page.findChild<BoxVPN *>("vpnBox")->geometry(), vpn);
    QCOMPARE(page.findChild<BoxStaticIP *>("staticIPBox")->geometry(), staticIP);
    QCOMPARE(page.findChild<BoxWIFI *>("wifiBox")->geometry(), wifi);
}

void TestNetworkSettings::leftPressTakesFocus_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<bool>("focusKept");

    QTest::newRow("left") << Qt::LeftButton << false;
    QTest::newRow("right") << Qt::RightButton << true;
}

void TestNetworkSettings::leftPressTakesFocus()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(bool, focusKept);

    NetworkSettings page;
    page.resize(905, 582);
    page.show();
    QVERIFY(QTest::qWaitForWindowActive(&page));
    auto *field = page.findChild<BoxLTE *>("lteBox")->findChild<QLineEdit *>("sim1Adress");
    field->setFocus();
    QTRY_VERIFY(field->hasFocus());

    // Free area below the static IP box, right of the hidden Wi-Fi box.
    QTest::mouseClick(&page, button, Qt::NoModifier, QPoint(800, 500));
    QCOMPARE(field->hasFocus(), focusKept);
}

void TestNetworkSettings::layoutAndPicture_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("reference") << QSize(905, 582);
    QTest::newRow("larger") << QSize(1280, 800);
}

void TestNetworkSettings::layoutAndPicture()
{
    QFETCH(QSize, size);

    NetworkSettings page;
    collector()->addSettings(QJsonObject{{"200", lteGroup("internet")},
                                         {"300", staticGroup(true)},
                                         {"350", wifiGroup("home")},
                                         {"301", configs({"office.ovpn"})}});
    page.setSettings();
    page.showWifiBox();
    page.resize(size);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));

    const QStringList overlaps = WidgetCheck::overlappingSiblings(&page);
    QVERIFY2(overlaps.isEmpty(), qPrintable(overlaps.join('\n')));
    for (QWidget *box : page.findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        const QRect inside(QPoint(0, 0), page.size());
        QVERIFY2(inside.contains(box->geometry()), qPrintable(box->objectName()));
    }
    QCOMPARE(WidgetCheck::unpainted(&page, {"lteBox", "staticIPBox", "vpnBox", "wifiBox"}),
             QStringList());
}

QTEST_MAIN(TestNetworkSettings)
#include "tst_networksettings.moc"
