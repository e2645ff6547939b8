#include "device/general.h"
#include "widgetcheck.h"

#include <QJsonArray>
#include <QLabel>
#include <QPushButton>
#include <QTranslator>
#include <QtTest>

#include <cmath>
#include <memory>

namespace {

const QString eth = QStringLiteral("Текущий IP(eth0):");
const QString wlan = QStringLiteral("Текущий IP(wlan0):");
const QString ppp = QStringLiteral("Текущий IP(ppp0):");
const QString tun = QStringLiteral("Текущий IP(tun0):");

const QRect referenceBox(10, 10, 881, 241);

QJsonObject threeInterfaces()
{
    return {{"eth0", "10.0.0.2"}, {"ppp0", "100.64.0.7"}, {"tun0", "10.8.0.3"}};
}

} // namespace

class TestGeneral : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<General> box;

    QLabel *label(const QString &name) const { return box->findChild<QLabel *>(name); }
    QPushButton *arrow(const QString &name) const { return box->findChild<QPushButton *>(name); }

    // The value shown on a caption's row: the nearest label to its right.
    QLabel *valueBeside(const QString &caption) const
    {
        const QList<QLabel *> labels = box->findChildren<QLabel *>();
        QLabel *captionLabel = nullptr;
        for (QLabel *l : labels)
            if (l->text() == caption)
                captionLabel = l;
        if (!captionLabel)
            return nullptr;
        QLabel *nearest = nullptr;
        for (QLabel *l : labels)
            if (l->y() == captionLabel->y() && l->x() > captionLabel->x()
                && (!nearest || l->x() < nearest->x()))
                nearest = l;
        return nearest;
    }

    void press(QChar direction)
    {
        QPushButton *button = arrow(direction == 'R' ? QStringLiteral("rightArrow")
                                                     : QStringLiteral("leftArrow"));
        QVERIFY(button->isVisible());
        QTest::mousePress(button, Qt::LeftButton);
        QTest::mouseRelease(button, Qt::LeftButton);
    }

    void makeBox()
    {
        box = std::make_unique<General>(QStringLiteral("box"), referenceBox, nullptr);
        box->show();
        QVERIFY(QTest::qWaitForWindowExposed(box.get()));
    }

private slots:
    void init() { makeBox(); }
    void cleanup() { box.reset(); }

    void ipList_data()
    {
        QTest::addColumn<QJsonObject>("info");
        QTest::addColumn<QString>("presses");
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<QStringList>("addresses");
        QTest::addColumn<bool>("arrows");

        QTest::newRow("eth0 empty, no wlan0")
                << QJsonObject{{"eth0", ""}} << "" << QStringList{eth} << QStringList{""} << false;
        QTest::newRow("eth0 empty, wlan0 instead")
                << QJsonObject{{"eth0", ""}, {"wlan0", "192.168.4.2"}} << "" << QStringList{wlan}
                << QStringList{"192.168.4.2"} << false;
        QTest::newRow("eth0 missing, wlan0 instead")
                << QJsonObject{{"wlan0", "192.168.4.2"}} << "" << QStringList{wlan}
                << QStringList{"192.168.4.2"} << false;
        QTest::newRow("eth0 set, wlan0 ignored")
                << QJsonObject{{"eth0", "10.0.0.2"}, {"wlan0", "192.168.4.2"}} << ""
                << QStringList{eth} << QStringList{"10.0.0.2"} << false;
        QTest::newRow("non-string ppp0 left out")
                << QJsonObject{{"eth0", "10.0.0.2"}, {"ppp0", 5}} << "" << QStringList{eth}
                << QStringList{"10.0.0.2"} << false;
        QTest::newRow("right wraps to first")
                << threeInterfaces() << "RRR" << QStringList{eth, ppp, tun, eth}
                << QStringList{"10.0.0.2", "100.64.0.7", "10.8.0.3", "10.0.0.2"} << true;
        QTest::newRow("left wraps to last")
                << threeInterfaces() << "LLL" << QStringList{eth, tun, ppp, eth}
                << QStringList{"10.0.0.2", "10.8.0.3", "100.64.0.7", "10.0.0.2"} << true;
        QTest::newRow("left undoes right")
                << threeInterfaces() << "RL" << QStringList{eth, ppp, eth}
                << QStringList{"10.0.0.2", "100.64.0.7", "10.0.0.2"} << true;
        QTest::newRow("ordered by caption, wlan0 last")
                << QJsonObject{{"eth0", ""}, {"wlan0", "192.168.4.2"}, {"ppp0", "100.64.0.7"}}
                << "RR" << QStringList{ppp, wlan, ppp}
                << QStringList{"100.64.0.7", "192.168.4.2", "100.64.0.7"} << true;
    }

    void ipList()
    {
        QFETCH(QJsonObject, info);
        QFETCH(QString, presses);
        QFETCH(QStringList, captions);
        QFETCH(QStringList, addresses);
        QFETCH(bool, arrows);

        box->setDeviceInfo(info);
        QCOMPARE(arrow("leftArrow")->isVisible(), arrows);
        QCOMPARE(arrow("rightArrow")->isVisible(), arrows);
        for (int step = 0; step <= presses.size(); ++step) {
            if (step > 0)
                press(presses.at(step - 1));
            QCOMPARE(label("ipCaption")->text(), captions.at(step));
            QCOMPARE(label("ipValue")->text(), addresses.at(step));
        }
    }

    void laterObject_data()
    {
        QTest::addColumn<QJsonObject>("first");
        QTest::addColumn<QJsonObject>("second");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("arrows");

        QTest::newRow("ppp0 and tun0 removed")
                << threeInterfaces() << QJsonObject{{"eth0", "10.0.0.9"}} << eth << "10.0.0.9"
                << false;
        QTest::newRow("eth0 returns, wlan0 goes")
                << QJsonObject{{"eth0", ""}, {"wlan0", "192.168.4.2"}, {"tun0", "10.8.0.3"}}
                << QJsonObject{{"eth0", "10.0.0.9"}, {"wlan0", "192.168.4.2"}} << eth << "10.0.0.9"
                << false;
        QTest::newRow("first entry again")
                << threeInterfaces() << threeInterfaces() << eth << "10.0.0.2" << true;
    }

    void laterObject()
    {
        QFETCH(QJsonObject, first);
        QFETCH(QJsonObject, second);
        QFETCH(QString, caption);
        QFETCH(QString, address);
        QFETCH(bool, arrows);

        box->setDeviceInfo(first);
        press('R');
        box->setDeviceInfo(second);
        QCOMPARE(label("ipCaption")->text(), caption);
        QCOMPARE(label("ipValue")->text(), address);
        QCOMPARE(arrow("rightArrow")->isVisible(), arrows);
        QCOMPARE(arrow("leftArrow")->isVisible(), arrows);
    }

    void valueRows_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QJsonValue>("value");
        QTest::addColumn<QString>("shown");

        QTest::newRow("MAC") << "MAC адрес устройства:"
                             << "MAC" << QJsonValue("02:00:00:aa:bb:cc") << "02:00:00:aa:bb:cc";
        QTest::newRow("model missing") << "Модель устройства:"
                                       << "Model" << QJsonValue() << "";
        QTest::newRow("revision number") << "Ревизия:"
                                         << "Revision" << QJsonValue(3) << "";
        QTest::newRow("PCB") << "Печатная плата:"
                             << "PCB" << QJsonValue("B2") << "B2";
        QTest::newRow("date null") << "Дата производства:"
                                   << "Date" << QJsonValue(QJsonValue::Null) << "";
        QTest::newRow("core version") << "Версия ядра приложения:"
                                      << "CoreVer" << QJsonValue("1.1.4") << "1.1.4";
        QTest::newRow("LTE bool") << "Поддержка LTE:"
                                  << "LTE" << QJsonValue(true) << "";
        QTest::newRow("GNSS array") << "GNSS модуль:"
                                    << "GNSS" << QJsonValue(QJsonArray{"x"}) << "";
        QTest::newRow("GSM markup kept as text")
                << "GSM модуль:"
                << "GSM" << QJsonValue("<b>EC25</b>") << "<b>EC25</b>";
        QTest::newRow("release") << "Версия релиза:"
                                 << "Release_ver" << QJsonValue("r7") << "r7";
    }

    void valueRows()
    {
        QFETCH(QString, caption);
        QFETCH(QString, key);
        QFETCH(QJsonValue, value);
        QFETCH(QString, shown);

        QJsonObject stale;
        for (const char *k : {"MAC", "Model", "Revision", "PCB", "Date", "CoreVer", "LTE", "GNSS",
                              "GSM", "Release_ver"})
            stale.insert(k, QStringLiteral("stale"));
        box->setDeviceInfo(stale);

        QJsonObject info;
        if (!value.isUndefined())
            info.insert(key, value);
        box->setDeviceInfo(info);

        QLabel *beside = valueBeside(caption);
        QVERIFY(beside);
        QCOMPARE(beside->text(), shown);
        QCOMPARE(beside->textFormat(), Qt::PlainText);
    }

    void englishCaptions_data()
    {
        QTest::addColumn<QJsonObject>("info");
        QTest::addColumn<QStringList>("captions");

        QTest::newRow("three interfaces") << threeInterfaces()
                                          << QStringList{"Current IP(eth0):", "Current IP(ppp0)",
                                                         "Current IP(tun0)", "Current IP(eth0):"};
        QTest::newRow("wlan0 untranslated, last")
                << QJsonObject{{"eth0", ""}, {"wlan0", "192.168.4.2"}, {"tun0", "10.8.0.3"}}
                << QStringList{"Current IP(tun0)", wlan, "Current IP(tun0)"};
    }

    void englishCaptions()
    {
        QFETCH(QJsonObject, info);
        QFETCH(QStringList, captions);

        QTranslator english;
        QVERIFY(english.load(QStringLiteral(":/i18n/Kelvane.qm")));
        QVERIFY(QCoreApplication::installTranslator(&english));
        makeBox();
        QVERIFY(valueBeside(QStringLiteral("Gateway MAC:")));

        box->setDeviceInfo(info);
        for (int step = 0; step < captions.size(); ++step) {
            if (step > 0)
                press('R');
            QCOMPARE(label("ipCaption")->text(), captions.at(step));
        }
    }

    void columnsScale_data()
    {
        QTest::addColumn<int>("width");

        QTest::newRow("reference") << 881;
        QTest::newRow("rounded up factor") << 1000;
        QTest::newRow("wide") << 1530;
    }

    void columnsScale()
    {
        QFETCH(int, width);

        box->setDeviceInfo(threeInterfaces());
        const QStringList names{"ipValue", "rightArrow", "GSMValue", "makerValue", "MACCaption"};
        QList<QPoint> reference;
        for (const QString &name : names)
            reference.append(box->findChild<QWidget *>(name)->pos());

        box->resize(width, referenceBox.height());
        QTRY_COMPARE(box->width(), width);
        const double factor = std::round(width * 100.0 / referenceBox.width()) / 100.0;
        for (int i = 0; i < names.size(); ++i) {
            const QWidget *widget = box->findChild<QWidget *>(names.at(i));
            QCOMPARE(widget->x(), int(factor * reference.at(i).x()));
            QCOMPARE(widget->y(), reference.at(i).y());
        }
        QCOMPARE(WidgetCheck::overlappingSiblings(box.get()), QStringList());
        QCOMPARE(WidgetCheck::outsideParent(box.get()), QStringList());
    }
};

QTEST_MAIN(TestGeneral)
#include "tst_general.moc"
