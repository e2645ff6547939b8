#include "emulator/gatewayemulator.h"
#include "link/sportconnector.h"
#include "linkedgateway.h"
#include "lora/tyrnserverbox.h"
#include "widgetcheck.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QJsonDocument>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

namespace {
QJsonObject json(const QByteArray &text)
{
    return QJsonDocument::fromJson(text).object();
}

const QString startText = QStringLiteral("Запустить сервер");
const QString stopText = QStringLiteral("Остановить сервер");
const QString stateRequest = QStringLiteral("--10 State");
} // namespace

class TestTyrnServerBox : public QObject
{
    Q_OBJECT

private slots:
    void settings_data();
    void settings();
    void commandsReachTheGateway_data();
    void commandsReachTheGateway();
    void reportedStateSendsNothingBack();
    void detachedBoxCommandsNothing();
    void englishButtonTextStillCommands();
    void resizeScalesGeometry_data();
    void resizeScalesGeometry();

private:
    static QPushButton *button(TyrnServerBox &box)
    {
        return box.findChild<QPushButton *>(QStringLiteral("startButton"));
    }
    static QCheckBox *service(TyrnServerBox &box)
    {
        return box.findChild<QCheckBox *>(QStringLiteral("serviceBox"));
    }
    // Shows the gateway's current state in the box, as after settings arrive.
    static bool showGatewayState(LinkedGateway &gateway)
    {
        gateway.clearRequests();
        gateway.link()->serverPowerUpCheckRequest();
        return gateway.waitForRequest(stateRequest);
    }
    // Every request the link wrote before this returns has reached the emulator.
    static bool settle(LinkedGateway &gateway)
    {
        gateway.link()->requestLoRaModulesState();
        return gateway.waitForRequest(QStringLiteral("--50 State"));
    }
};

void TestTyrnServerBox::settings_data()
{
    QTest::addColumn<QByteArray>("group");
    QTest::addColumn<QByteArray>("written");

    QTest::newRow("all keys") << QByteArray(R"({"410":"admin","420":"p@ss word","430":"000013",)"
                                            R"("440":"0x01","450":"/mnt/sd/tyrn.db"})")
                              << QByteArray(R"({"410":"admin","420":"p@ss word","430":"000013",)"
                                            R"("440":"0x01","450":"/mnt/sd/tyrn.db"})");
    QTest::newRow("empty group") << QByteArray("{}")
                                 << QByteArray(R"({"410":"","420":"","430":"","440":"","450":""})");
    QTest::newRow("mistyped values")
            << QByteArray(R"({"410":1,"420":true,"430":13,"440":null,"450":["x"]})")
            << QByteArray(R"({"410":"","420":"","430":"","440":"","450":""})");
}

void TestTyrnServerBox::settings()
{
    QFETCH(QByteArray, group);
    QFETCH(QByteArray, written);

    QWidget host;
    TyrnServerBox box(QStringLiteral("Настройки"), &host);
    box.setSettings(json(R"({"410":"x","420":"x","430":"x","440":"x","450":"x"})"));
    box.setSettings(json(group));
    QCOMPARE(QJsonDocument(box.getSettings()).toJson(QJsonDocument::Compact), written);
    QCOMPARE(box.findChild<QLineEdit *>(QStringLiteral("passwordEdit"))->echoMode(),
             QLineEdit::Normal);
}

void TestTyrnServerBox::commandsReachTheGateway_data()
{
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("started");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("request");
    QTest::addColumn<bool>("serviceAfter");
    QTest::addColumn<QString>("buttonAfter");

    QTest::newRow("start") << true << false << "press"
                           << "--10 Start" << true << stopText;
    QTest::newRow("stop") << true << true << "press"
                          << "--10 Stop" << true << startText;
    QTest::newRow("enable") << false << false << "click"
                            << "--10 Enable" << true << startText;
    QTest::newRow("disable") << true << true << "click"
                             << "--10 Disable" << false << stopText;
}

void TestTyrnServerBox::commandsReachTheGateway()
{
    QFETCH(bool, enabled);
    QFETCH(bool, started);
    QFETCH(QString, action);
    QFETCH(QString, request);
    QFETCH(bool, serviceAfter);
    QFETCH(QString, buttonAfter);

    LinkedGateway gateway;
    QVERIFY(gateway.open(2));
    gateway.emulator().setServerState(enabled, started, false);
    TyrnServerBox box(QStringLiteral("Настройки"), nullptr);
    box.resize(871, 181);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    box.attachLink(gateway.link());
    QVERIFY(showGatewayState(gateway));
    QTRY_VERIFY(button(box)->text() == (started ? stopText : startText)
                && service(box)->isChecked() == enabled);

    gateway.clearRequests();
    if (action == QLatin1String("press"))
        QTest::mousePress(button(box), Qt::LeftButton);
    else
        QTest::mouseClick(service(box), Qt::LeftButton, {}, QPoint(5, 12));
    QVERIFY(gateway.waitForRequest(request));
    // The gateway answers 21, the link asks for the state, and only that report
    // changes what the box shows.
    QVERIFY(gateway.waitForRequest(stateRequest));
    QTRY_VERIFY(button(box)->text() == buttonAfter && service(box)->isChecked() == serviceAfter);
    QVERIFY(settle(gateway));
    QCOMPARE(gateway.requests().count(request), 1);
}

void TestTyrnServerBox::reportedStateSendsNothingBack()
{
    LinkedGateway gateway;
    QVERIFY(gateway.open(2));
    TyrnServerBox box(QStringLiteral("Настройки"), nullptr);
    box.attachLink(gateway.link());

    for (const bool enabled : {true, false, true}) {
        gateway.emulator().setServerState(enabled, enabled, false);
        QVERIFY(showGatewayState(gateway));
        QTRY_VERIFY(service(box)->isChecked() == enabled
                    && button(box)->text() == (enabled ? stopText : startText));
    }
    QVERIFY(settle(gateway));
    for (const QString &sent : gateway.requests())
        QVERIFY2(!sent.startsWith(QLatin1String("--10 E")) && !sent.startsWith("--10 D"),
                 qPrintable(sent));

    // The box still commands after the reports.
    gateway.clearRequests();
    service(box)->click();
    QVERIFY(gateway.waitForRequest(QStringLiteral("--10 Disable")));
}

void TestTyrnServerBox::detachedBoxCommandsNothing()
{
    LinkedGateway gateway;
    QVERIFY(gateway.open(2));
    TyrnServerBox box(QStringLiteral("Настройки"), nullptr);
    box.attachLink(gateway.link());
    box.attachLink(gateway.link());
    gateway.clearRequests();
    QTest::mousePress(button(box), Qt::LeftButton);
    QVERIFY(gateway.waitForRequest(QStringLiteral("--10 Start")));
    // The gateway's answer makes the link ask for the state, and the box shows it.
    QTRY_COMPARE(button(box)->text(), stopText);
    QVERIFY(settle(gateway));
    // Attached twice, commanded once.
    QCOMPARE(gateway.requests().count(QStringLiteral("--10 Start")), 1);

    gateway.emulator().setServerState(false, false, false);
    QVERIFY(showGatewayState(gateway));
    QTRY_COMPARE(button(box)->text(), startText);
    box.detachLink();
    gateway.clearRequests();
    QTest::mousePress(button(box), Qt::LeftButton);
    service(box)->click();
    gateway.emulator().setServerState(false, true, false);
    QSignalSpy reported(gateway.link(), &SPortConnector::serverStatusResponse);
    gateway.link()->serverPowerUpCheckRequest();
    QVERIFY(reported.wait());
    QVERIFY(settle(gateway));
    QCOMPARE(gateway.requests(), (QStringList{stateRequest, QStringLiteral("--50 State")}));
    // Reports no longer reach a detached box.
    QCOMPARE(button(box)->text(), startText);
}

void TestTyrnServerBox::englishButtonTextStillCommands()
{
    QTranslator english;
    QVERIFY(english.load(QStringLiteral(":/i18n/Kelvane.qm")));
    QVERIFY(QCoreApplication::installTranslator(&english));

    LinkedGateway gateway;
    QVERIFY(gateway.open(2));
    TyrnServerBox box(QStringLiteral("Settings"), nullptr);
    QCOMPARE(button(box)->text(), QStringLiteral("Start the server"));
    QCOMPARE(service(box)->text(), QStringLiteral("Server service is running"));
    box.attachLink(gateway.link());
    gateway.clearRequests();
    QTest::mousePress(button(box), Qt::LeftButton);
    QVERIFY(gateway.waitForRequest(QStringLiteral("--10 Start")));
    QTRY_COMPARE(button(box)->text(), QStringLiteral("Stop the server"));
    gateway.clearRequests();
    QTest::mousePress(button(box), Qt::LeftButton);
    QVERIFY(gateway.waitForRequest(QStringLiteral("--10 Stop")));

    QCoreApplication::removeTranslator(&english);
}

void TestTyrnServerBox::resizeScalesGeometry_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QByteArray>("widget");
    QTest::addColumn<QRect>("geometry");

    // 958 x 217: bx = 1.0998 -> 1.10, by = 1.1989 -> 1.20
    const QSize larger(958, 217);
    QTest::newRow("service box") << larger << QByteArray("serviceBox") << QRect(583, 20, 183, 24);
    QTest::newRow("subnet ID") << larger << QByteArray("subnetIdEdit") << QRect(770, 108, 91, 24);
    QTest::newRow("database") << larger << QByteArray("databaseEdit") << QRect(429, 156, 441, 24);
    QTest::newRow("reference service box")
            << QSize(871, 181) << QByteArray("serviceBox") << QRect(530, 20, 183, 24);
}

void TestTyrnServerBox::resizeScalesGeometry()
{
    QFETCH(QSize, size);
    QFETCH(QByteArray, widget);
    QFETCH(QRect, geometry);

    TyrnServerBox box(QStringLiteral("Настройки"), nullptr);
    box.resize(size);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QCOMPARE(box.findChild<QWidget *>(QString::fromLatin1(widget))->geometry(), geometry);
}

QTEST_MAIN(TestTyrnServerBox)
#include "tst_tyrnserverbox.moc"
