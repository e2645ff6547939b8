#include "network/boxwifi.h"
#include "widgetcheck.h"

#include <QComboBox>
#include <QJsonObject>
#include <QLineEdit>
#include <QTest>

class TestBoxWIFI : public QObject
{
    Q_OBJECT

private slots:
    void modes_data();
    void modes();
    void rememberedSets_data();
    void rememberedSets();
    void getSettingsKeepsTyped_data();
    void getSettingsKeepsTyped();
    void checkMark_data();
    void checkMark();
    void resizeGeometry_data();
    void resizeGeometry();
    void noOverlap_data();
    void noOverlap();
};

namespace {

const QRect creationGeometry(20, 350, 651, 221);
const QStringList networkFieldNames{"address",      "networkAddress", "subnetMask", "gateway",
                                    "preferredDns", "additionalDns",  "rangeStart", "rangeEnd"};

QJsonObject group(int mode)
{
    return QJsonObject{{"351", mode},
                       {"352", "client-net"},
                       {"353", "client-pw"},
                       {"354", "192.168.4.2"},
                       {"355", "192.168.4.0"},
                       {"356", "255.255.255.0"},
                       {"357", "192.168.4.1"},
                       {"358", "8.8.8.8"},
                       {"359", "8.8.4.4"},
                       {"360", "192.168.4.200"},
                       {"361", "192.168.4.100"},
                       {"362", "hotspot-net"},
                       {"363", "hotspot-pw"}};
}

QJsonObject withMode(QJsonObject settings, int mode)
{
    settings["351"] = mode;
    return settings;
}

template<typename T>
T *child(BoxWIFI &box, const QString &name)
{
    auto *widget = box.findChild<T *>(name);
    if (!widget)
        qFatal("no child %s", qPrintable(name));
    return widget;
}

QList<bool> networkFieldsEnabled(BoxWIFI &box)
{
    QList<bool> states;
    for (const QString &name : networkFieldNames)
        states.append(child<QLineEdit>(box, name)->isEnabled());
    return states;
}

QList<bool> all(bool state)
{
    return QList<bool>(networkFieldNames.size(), state);
}

} // namespace

void TestBoxWIFI::modes_data()
{
    QTest::addColumn<QJsonObject>("settings");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<int>("currentIndex");
    QTest::addColumn<QString>("ssid");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("networkEditable");
    QTest::addColumn<QJsonObject>("expected");

    QTest::newRow("0 off") << group(0) << false << 0 << "client-net"
                           << "client-pw" << false << QJsonObject{{"351", 0}};
    QTest::newRow("1 client") << group(1) << true << 0 << "client-net"
                              << "client-pw" << false << group(1);
    QTest::newRow("2 Wi-Fi only") << group(2) << true << 2 << "client-net"
                                  << "client-pw" << false << group(2);
    QTest::newRow("3 access point") << group(3) << true << 1 << "hotspot-net"
                                    << "hotspot-pw" << true << group(3);
    QTest::newRow("5 has no entry") << group(5) << true << -1 << "client-net"
                                    << "client-pw" << false << withMode(group(5), 0);
    QJsonObject noExtraDns = group(3);
    noExtraDns["359"] = "";
    QJsonObject noExtraDnsExpected = group(3);
    noExtraDnsExpected.remove("359");
    QTest::newRow("empty additional DNS omitted") << noExtraDns << true << 1 << "hotspot-net"
                                                  << "hotspot-pw" << true << noExtraDnsExpected;
    QJsonObject emptyElse{{"351", 1}};
    QJsonObject emptyElseExpected{{"351", 1},  {"352", ""}, {"353", ""}, {"354", ""},
                                  {"355", ""}, {"356", ""}, {"357", ""}, {"358", ""},
                                  {"360", ""}, {"361", ""}, {"362", ""}, {"363", ""}};
    QTest::newRow("only a mode: empty strings, no 359") << emptyElse << true << 0 << ""
                                                        << "" << false << emptyElseExpected;
    QTest::newRow("empty group is off") << QJsonObject() << false << 0 << ""
                                        << "" << false << QJsonObject{{"351", 0}};
    QJsonObject textMode = group(3);
    textMode["351"] = "3";
    QTest::newRow("mode given as a string is off")
            << textMode << false << 0 << "client-net"
            << "client-pw" << false << QJsonObject{{"351", 0}};
}

void TestBoxWIFI::modes()
{
    QFETCH(QJsonObject, settings);
    QFETCH(bool, checked);
    QFETCH(int, currentIndex);
    QFETCH(QString, ssid);
    QFETCH(QString, password);
    QFETCH(bool, networkEditable);
    QFETCH(QJsonObject, expected);

    BoxWIFI box(QStringLiteral("Настройки WI-FI"), creationGeometry);
    box.setSettings(settings);

    QCOMPARE(box.isChecked(), checked);
    QCOMPARE(child<QComboBox>(box, "modeList")->currentIndex(), currentIndex);
    QCOMPARE(child<QLineEdit>(box, "ssid")->text(), ssid);
    QCOMPARE(child<QLineEdit>(box, "password")->text(), password);
    QCOMPARE(child<QLineEdit>(box, "ssid")->isEnabled(), checked);
    QCOMPARE(networkFieldsEnabled(box), all(networkEditable));
    QCOMPARE(child<QLineEdit>(box, "rangeStart")->text(), settings.value("361").toString());

    const QJsonObject result = box.getSettings();
    QCOMPARE(result, expected);
    QVERIFY(result.value("351").isDouble());
    for (auto it = result.constBegin(); it != result.constEnd(); ++it) {
        if (it.key() != "351")
            QVERIFY2(it.value().isString(), qPrintable(it.key()));
    }
}

void TestBoxWIFI::rememberedSets_data()
{
    QTest::addColumn<int>("loadedMode");
    QTest::addColumn<QList<int>>("selections");
    QTest::addColumn<QString>("ssid");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("networkEditable");

    QTest::newRow("access point, then client") << 3 << QList<int>{0} << "client-net"
                                               << "client-pw" << false;
    QTest::newRow("access point, client, access point") << 3 << QList<int>{0, 1} << "hotspot-net"
                                                        << "hotspot-pw" << true;
    QTest::newRow("client, then access point") << 1 << QList<int>{1} << "hotspot-net"
                                               << "hotspot-pw" << true;
    QTest::newRow("client, access point, client") << 1 << QList<int>{1, 0} << "client-net"
                                                  << "client-pw" << false;
    QTest::newRow("access point, then Wi-Fi only") << 3 << QList<int>{2} << "client-net"
                                                   << "client-pw" << false;
    QTest::newRow("no entry, then access point") << 5 << QList<int>{1} << "hotspot-net"
                                                 << "hotspot-pw" << true;
}

void TestBoxWIFI::rememberedSets()
{
    QFETCH(int, loadedMode);
    QFETCH(QList<int>, selections);
    QFETCH(QString, ssid);
    QFETCH(QString, password);
    QFETCH(bool, networkEditable);

    BoxWIFI box(QStringLiteral("Настройки WI-FI"), creationGeometry);
    box.setSettings(group(loadedMode));
    auto *modes = child<QComboBox>(box, "modeList");
    for (int index : selections)
        modes->setCurrentIndex(index);

    QCOMPARE(child<QLineEdit>(box, "ssid")->text(), ssid);
    QCOMPARE(child<QLineEdit>(box, "password")->text(), password);
    QCOMPARE(networkFieldsEnabled(box), all(networkEditable));
    // Switching shows the sets, it does not change them.
    QCOMPARE(box.getSettings().value("352").toString(),
             networkEditable ? QString("client-net") : ssid);
    QCOMPARE(box.getSettings().value("362").toString(),
             networkEditable ? ssid : QString("hotspot-net"));
}

void TestBoxWIFI::getSettingsKeepsTyped_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("typedKey");
    QTest::addColumn<QString>("untouchedKey");
    QTest::addColumn<QString>("untouchedValue");

    QTest::newRow("client") << 1 << "352"
                            << "362"
                            << "hotspot-net";
    QTest::newRow("Wi-Fi only") << 2 << "352"
                                << "362"
                                << "hotspot-net";
    QTest::newRow("access point") << 3 << "362"
                                  << "352"
                                  << "client-net";
}

void TestBoxWIFI::getSettingsKeepsTyped()
{
    QFETCH(int, mode);
    QFETCH(QString, typedKey);
    QFETCH(QString, untouchedKey);
    QFETCH(QString, untouchedValue);

    BoxWIFI box(QStringLiteral("Настройки WI-FI"), creationGeometry);
    box.setSettings(group(mode));
    child<QLineEdit>(box, "ssid")->setText("typed-net");

    QCOMPARE(box.getSettings().value(typedKey).toString(), QString("typed-net"));
    QCOMPARE(box.getSettings().value(untouchedKey).toString(), untouchedValue);

    // The collected set is what the mode shows when it is selected again.
    auto *modes = child<QComboBox>(box, "modeList");
    const int own = modes->currentIndex();
    modes->setCurrentIndex(own == 1 ? 0 : 1);
    modes->setCurrentIndex(own);
    QCOMPARE(child<QLineEdit>(box, "ssid")->text(), QString("typed-net"));
}

void TestBoxWIFI::checkMark_data()
{
    QTest::addColumn<int>("loadedMode");
    QTest::addColumn<int>("indexWhileOff");
    QTest::addColumn<bool>("networkEditable");

    QTest::newRow("client stays locked") << 1 << -2 << false;
    QTest::newRow("access point editable again") << 3 << -2 << true;
    QTest::newRow("access point chosen while off") << 1 << 1 << true;
    QTest::newRow("client chosen while off") << 3 << 0 << false;
}

void TestBoxWIFI::checkMark()
{
    QFETCH(int, loadedMode);
    QFETCH(int, indexWhileOff);
    QFETCH(bool, networkEditable);

    BoxWIFI box(QStringLiteral("Настройки WI-FI"), creationGeometry);
    box.setSettings(group(loadedMode));
    box.setChecked(false);
    if (indexWhileOff >= 0)
        child<QComboBox>(box, "modeList")->setCurrentIndex(indexWhileOff);
    QCOMPARE(networkFieldsEnabled(box), all(false));
    QVERIFY(!child<QLineEdit>(box, "ssid")->isEnabled());
    QCOMPARE(box.getSettings(), (QJsonObject{{"351", 0}}));

    box.setChecked(true);
    QVERIFY(child<QLineEdit>(box, "ssid")->isEnabled());
    QVERIFY(child<QComboBox>(box, "modeList")->isEnabled());
    QCOMPARE(networkFieldsEnabled(box), all(networkEditable));
}

void TestBoxWIFI::resizeGeometry_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("expected");

    const QSize reference(651, 221);
    QTest::newRow("reference network name") << reference << "ssid" << QRect(130, 60, 161, 24);
    // kx = 1.2288..., ky = 1.3574..., both unrounded.
    const QSize larger(800, 300);
    QTest::newRow("larger network name") << larger << "ssid" << QRect(130, 81, 197, 24);
    QTest::newRow("larger subnet mask") << larger << "subnetMask" << QRect(626, 81, 136, 24);
    QTest::newRow("larger range end") << larger << "rangeEnd" << QRect(639, 244, 136, 24);
    QTest::newRow("larger mode list stays") << larger << "modeList" << QRect(140, 25, 111, 22);
}

void TestBoxWIFI::resizeGeometry()
{
    QFETCH(QSize, size);
    QFETCH(QString, name);
    QFETCH(QRect, expected);

    BoxWIFI box(QStringLiteral("Настройки WI-FI"), creationGeometry);
    box.resize(size);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QCOMPARE(child<QWidget>(box, name)->geometry(), expected);
}

void TestBoxWIFI::noOverlap_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("reference") << QSize(651, 221);
    QTest::newRow("larger") << QSize(980, 330);
}

void TestBoxWIFI::noOverlap()
{
    QFETCH(QSize, size);

    BoxWIFI box(QStringLiteral("Настройки WI-FI"), creationGeometry);
    box.setChecked(true);
    box.resize(size);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    const QStringList problems = WidgetCheck::layoutProblems(&box);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
}

QTEST_MAIN(TestBoxWIFI)
#include "tst_boxwifi.moc"
