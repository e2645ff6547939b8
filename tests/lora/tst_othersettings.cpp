#include "link/sportconnector.h"
#include "linkedgateway.h"
#include "lora/othersettings.h"
#include "lora/tyrnserverbox.h"
#include "widgetcheck.h"

#include <QCheckBox>
#include <QJsonDocument>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

class TestOtherSettings : public QObject
{
    Q_OBJECT

private slots:
    void settingsUnderGroup400_data();
    void settingsUnderGroup400();
    void useBoxReportsLocalServer_data();
    void useBoxReportsLocalServer();
    void resizeScalesBox_data();
    void resizeScalesBox();
    void rendersWithoutOverlaps();
};

void TestOtherSettings::settingsUnderGroup400_data()
{
    QTest::addColumn<QByteArray>("group");
    QTest::addColumn<QByteArray>("document");

    QTest::newRow("filled") << QByteArray(R"({"410":"admin","420":"secret","430":"13",)"
                                          R"("440":"1","450":"/data/db"})")
                            << QByteArray(R"({"400":{"410":"admin","420":"secret","430":"13",)"
                                          R"("440":"1","450":"/data/db"}})");
    QTest::newRow("a newer core's key goes back")
            << QByteArray(R"({"410":"admin","460":[1,2]})")
            << QByteArray(R"({"400":{"410":"admin","420":"","430":"","440":"","450":"",)"
                          R"("460":[1,2]}})");
    QTest::newRow("empty") << QByteArray("{}")
                           << QByteArray(R"({"400":{"410":"","420":"","430":"","440":"",)"
                                         R"("450":""}})");
}

void TestOtherSettings::settingsUnderGroup400()
{
    QFETCH(QByteArray, group);
    QFETCH(QByteArray, document);

    OtherSettings page;
    page.setSettings(QJsonDocument::fromJson(group).object());
    QCOMPARE(QJsonDocument(page.getSettings()).toJson(QJsonDocument::Compact), document);
}

void TestOtherSettings::useBoxReportsLocalServer_data()
{
    QTest::addColumn<int>("clicks");
    QTest::addColumn<QList<bool>>("reported");

    QTest::newRow("checked") << 1 << QList<bool>{true};
    QTest::newRow("checked, unchecked") << 2 << QList<bool>{true, false};
}

void TestOtherSettings::useBoxReportsLocalServer()
{
    QFETCH(int, clicks);
    QFETCH(QList<bool>, reported);

    OtherSettings page;
    const QByteArray before = QJsonDocument(page.getSettings()).toJson();
    QSignalSpy spy(&page, &OtherSettings::usingLocalServer);
    QVERIFY(spy.isValid());
    auto *useBox = page.findChild<QCheckBox *>(QStringLiteral("useBox"));
    for (int i = 0; i < clicks; ++i)
        useBox->click();

    QList<bool> states;
    for (const QList<QVariant> &arguments : spy)
        states.append(arguments.at(0).toBool());
    QCOMPARE(states, reported);
    QCOMPARE(QJsonDocument(page.getSettings()).toJson(), before);
}

void TestOtherSettings::resizeScalesBox_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QRect>("box");

    QTest::newRow("reference") << QSize(905, 582) << QRect(20, 10, 871, 181);
    // 1 + 95/905 = 1.10497 -> 1.10; 1 + 118/582 = 1.20275 -> 1.20
    QTest::newRow("larger") << QSize(1000, 700) << QRect(20, 10, 958, 217);
    // 1 - 105/905 = 0.88398 -> 0.88; 1 - 82/582 = 0.85910 -> 0.86
    QTest::newRow("smaller") << QSize(800, 500) << QRect(20, 10, 766, 155);
}

void TestOtherSettings::resizeScalesBox()
{
    QFETCH(QSize, size);
    QFETCH(QRect, box);

    OtherSettings page;
    page.resize(size);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    QCOMPARE(page.findChild<TyrnServerBox *>()->geometry(), box);
}

void TestOtherSettings::rendersWithoutOverlaps()
{
    OtherSettings page;
    page.resize(905, 582);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));

    QCOMPARE(WidgetCheck::layoutProblems(&page), QStringList());
}

QTEST_MAIN(TestOtherSettings)
#include "tst_othersettings.moc"
