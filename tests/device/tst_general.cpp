#include "device/general.h"
#include "widgetcheck.h"

#include <QJsonArray>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <memory>

namespace {

const QString eth = QStringLiteral("Текущий IP(eth0):");
const QString wlan = QStringLiteral("Текущий IP(wlan0):");
const QString ppp = QStringLiteral("Текущий IP(ppp0):");
const QString tun = QStringLiteral("Текущий IP(tun0):");

const QJsonObject three{{"eth0", "10.0.0.2"}, {"ppp0", "100.64.0.7"}, {"tun0", "10.8.0.3"}};

} // namespace

class TestGeneral : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<General> box;

    QString text(const char *name) const { return box->findChild<QLabel *>(name)->text(); }
    bool arrowsShown() const
    {
        return box->findChild<QPushButton *>("leftArrow")->isVisible()
                && box->findChild<QPushButton *>("rightArrow")->isVisible();
    }
    void press(QChar direction)
    {
        auto *arrow = box->findChild<QPushButton *>(direction == 'R' ? "rightArrow" : "leftArrow");
        QVERIFY(arrow->isVisible());
        QTest::mousePress(arrow, Qt::LeftButton);
    }

    // The value on a caption's row: the nearest label to its right.
    QLabel *valueBeside(const QString &caption) const
    {
        const QList<QLabel *> labels = box->findChildren<QLabel *>();
        const auto found = std::find_if(labels.begin(), labels.end(),
                                        [&](QLabel *l) { return l->text() == caption; });
        QLabel *nearest = nullptr;
        for (QLabel *l : labels)
            if (found != labels.end() && l->y() == (*found)->y() && l->x() > (*found)->x()
                && (!nearest || l->x() < nearest->x()))
                nearest = l;
        return nearest;
    }

private slots:
    void init()
    {
        box = std::make_unique<General>("box", QRect(10, 10, 881, 241), nullptr);
        box->show();
        QVERIFY(QTest::qWaitForWindowExposed(box.get()));
    }
    void cleanup() { box.reset(); }

    void ipList_data()
    {
        QTest::addColumn<QJsonObject>("before");
        QTest::addColumn<QJsonObject>("info");
        QTest::addColumn<QString>("presses");
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<QStringList>("addresses");
        QTest::addColumn<bool>("arrows");

        const QJsonObject wlanOnly{{"eth0", ""}, {"wlan0", "192.168.4.2"}};
        QTest::newRow("eth0 empty, no wlan0")
                << QJsonObject() << QJsonObject{{"eth0", ""}, {"ppp0", ""}, {"tun0", ""}} << ""
                << QStringList{eth} << QStringList{""} << false;
        QTest::newRow("eth0 empty, wlan0 instead")
                << QJsonObject() << wlanOnly << "" << QStringList{wlan}
                << QStringList{"192.168.4.2"} << false;
        QTest::newRow("eth0 set, wlan0 ignored")
                << QJsonObject() << QJsonObject{{"eth0", "10.0.0.2"}, {"wlan0", "192.168.4.2"}}
                << "" << QStringList{eth} << QStringList{"10.0.0.2"} << false;
        QTest::newRow("non-string ppp0 left out")
                << QJsonObject() << QJsonObject{{"eth0", "10.0.0.2"}, {"ppp0", 5}} << ""
                << QStringList{eth} << QStringList{"10.0.0.2"} << false;
        QTest::newRow("right wraps to first")
                << QJsonObject() << three << "RRR" << QStringList{eth, ppp, tun, eth}
                << QStringList{"10.0.0.2", "100.64.0.7", "10.8.0.3", "10.0.0.2"} << true;
        QTest::newRow("left wraps to last")
                << QJsonObject() << three << "LLL" << QStringList{eth, tun, ppp, eth}
                << QStringList{"10.0.0.2", "10.8.0.3", "100.64.0.7", "10.0.0.2"} << true;
        QTest::newRow("ordered by caption, wlan0 last")
                << QJsonObject() << QJsonObject{{"wlan0", "192.168.4.2"}, {"ppp0", "100.64.0.7"}}
                << "RR" << QStringList{ppp, wlan, ppp}
                << QStringList{"100.64.0.7", "192.168.4.2", "100.64.0.7"} << true;
        QTest::newRow("later object drops ppp0 and tun0")
                << three << QJsonObject{{"eth0", "10.0.0.9"}} << "" << QStringList{eth}
                << QStringList{"10.0.0.9"} << false;
        QTest::newRow("later eth0 drops wlan0")
                << QJsonObject{{"wlan0", "192.168.4.2"}, {"tun0", "10.8.0.3"}}
                << QJsonObject{{"eth0", "10.0.0.9"}, {"wlan0", "192.168.4.2"}} << ""
                << QStringList{eth} << QStringList{"10.0.0.9"} << false;
        QTest::newRow("later object starts at first")
                << three << three << "" << QStringList{eth} << QStringList{"10.0.0.2"} << true;
    }

    void ipList()
    {
        QFETCH(QJsonObject, before);
        QFETCH(QJsonObject, info);
        QFETCH(QString, presses);
        QFETCH(QStringList, captions);
        QFETCH(QStringList, addresses);
        QFETCH(bool, arrows);

        if (!before.isEmpty()) {
            box->setDeviceInfo(before);
            press('R');
        }
        box->setDeviceInfo(info);
        QCOMPARE(arrowsShown(), arrows);
        for (int step = 0; step <= presses.size(); ++step) {
            if (step > 0)
                press(presses.at(step - 1));
            if (QTest::currentTestFailed())
                return;
            QCOMPARE(text("ipCaption"), captions.at(step));
            QCOMPARE(text("ipValue"), addresses.at(step));
        }
    }

    void valueRows_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QJsonValue>("value");
        QTest::addColumn<QString>("shown");

        QTest::newRow("MAC") << "MAC адрес устройства:"
                             << "MAC" << QJsonValue("02:00:5e:10:00:01") << "02:00:5e:10:00:01";
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
        QTest::newRow("GSM") << "GSM модуль:"
                             << "GSM" << QJsonValue("EC25") << "EC25";
        QTest::newRow("release") << "Версия релиза:"
                                 << "Release_ver" << QJsonValue("r7") << "r7";
    }

    void valueRows()
    {
        QFETCH(QString, caption);
        QFETCH(QString, key);
        QFETCH(QJsonValue, value);
        QFETCH(QString, shown);

        box->setDeviceInfo({{key, "stale"}});
        QJsonObject info;
        if (!value.isUndefined())
            info.insert(key, value);
        box->setDeviceInfo(info);
        QLabel *beside = valueBeside(caption);
        QVERIFY(beside);
        QCOMPARE(beside->text(), shown);
    }

    void columnsScale_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<QList<int>>("xs");

        // At 185, 396, 445 and 630 on the reference width; 1000 / 881 = 1.135 rounds to 1.14,
        // 1530 / 881 = 1.737 to 1.74, and the products are cut, not rounded.
        QTest::newRow("reference") << 881 << QList<int>{185, 396, 445, 630};
        QTest::newRow("factor rounded up") << 1000 << QList<int>{210, 451, 507, 718};
        QTest::newRow("wide") << 1530 << QList<int>{321, 689, 774, 1096};
    }

    void columnsScale()
    {
        QFETCH(int, width);
        QFETCH(QList<int>, xs);

        box->setDeviceInfo(three);
        const QStringList names{"ipValue", "rightArrow", "CoreVerCaption", "makerValue"};
        QList<int> ys;
        for (const QString &name : names)
            ys.append(box->findChild<QWidget *>(name)->y());
        box->resize(width, box->height());
        QTRY_COMPARE(box->width(), width);

        for (int i = 0; i < names.size(); ++i)
            QCOMPARE(box->findChild<QWidget *>(names.at(i))->pos(), QPoint(xs.at(i), ys.at(i)));
        QCOMPARE(WidgetCheck::layoutProblems(box.get()), QStringList());
    }
};

QTEST_MAIN(TestGeneral)
#include "tst_general.moc"
