#include "device/aboutdevice.h"
#include "device/general.h"
#include "settings/settingshandlerandcollector.h"
#include "widgetcheck.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtTest>

#include <memory>

namespace {

const QSize referenceSize(905, 582);

QList<QPushButton *> serviceButtonsOf(const AboutDevice &page)
{
    return {page.resetGatewayButton, page.resetLoRaButton, page.rebootButton};
}

// Distances of a widget to the right and bottom edges of its parent.
QPoint edgeDistance(const QWidget *widget)
{
    const QSize parent = widget->parentWidget()->size();
    return {parent.width() - widget->geometry().right(),
            parent.height() - widget->geometry().bottom()};
}

} // namespace

class TestAboutDevice : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<AboutDevice> page;

    static std::unique_ptr<AboutDevice> shownPage(const QSize &size)
    {
        auto shown = std::make_unique<AboutDevice>();
        shown->resize(size);
        shown->show();
        return shown;
    }

    QString shownValue(const QString &name) const
    {
        const QLabel *label = page->infoBox->findChild<QLabel *>(name);
        return label ? label->text() : QStringLiteral("<no label %1>").arg(name);
    }

private slots:
    void init()
    {
        page = shownPage(referenceSize);
        QVERIFY(QTest::qWaitForWindowExposed(page.get()));
    }

    void cleanup()
    {
        page.reset();
        SettingsHandlerAndCollector::deleteInstance();
    }

    void setSettingsFromCollector_data()
    {
        QTest::addColumn<QJsonObject>("document");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QString>("ipCaption");
        QTest::addColumn<QString>("ip");

        const QStringList keys{"MAC", "CoreVer", "Model", "Revision", "PCB",
                               "LTE", "GSM",     "GNSS",  "Date",     "Release_ver"};
        QTest::newRow("gateway with LTE")
                << QJsonObject{{"8", "02:00:00:aa:bb:cc"},
                               {"9", "1.1.4"},
                               {"10",
                                QJsonObject{{"0", ""}, {"1", "192.168.0.2"}, {"2", "10.64.0.7"}}},
                               {"11", "ТК-3"},
                               {"12", "B2"},
                               {"13", "EC25"},
                               {"14", "L76"},
                               {"15", "01.02.2025"},
                               {"16", "r7"}}
                << keys << QStringList{"02:00:00:aa:bb:cc",
                                       "1.1.4",
                                       "ТК-3",
                                       "B2",
                                       "B2",
                                       "Есть",
                                       "EC25",
                                       "L76",
                                       "01.02.2025",
                                       "r7"}
                << "Текущий IP(eth0):"
                << "192.168.0.2";
        QTest::newRow("gateway without LTE")
                << QJsonObject{{"8", "02:00:00:aa:bb:cd"},
                               {"10", QJsonObject{{"0", "192.168.4.2"}, {"1", ""}}},
                               {"11", "ТК-1.2"},
                               {"12", "A"},
                               {"13", "05.06.2024"},
                               {"16", "r3"}}
                << keys << QStringList{"02:00:00:aa:bb:cd", "",  "ТК-1.2", "A", "A", "Нет", "", "",
                                       "05.06.2024",        "r3"}
                << "Текущий IP(wlan0):"
                << "192.168.4.2";
    }

    void setSettingsFromCollector()
    {
        QFETCH(QJsonObject, document);
        QFETCH(QStringList, keys);
        QFETCH(QStringList, shown);
        QFETCH(QString, ipCaption);
        QFETCH(QString, ip);

        SettingsHandlerAndCollector::getInstance()->addSettings(document);
        page->setSettings();
        for (int i = 0; i < keys.size(); ++i)
            QCOMPARE(shownValue(keys.at(i) + "Value"), shown.at(i));
        QCOMPARE(shownValue("ipCaption"), ipCaption);
        QCOMPARE(shownValue("ipValue"), ip);
    }

    void bootOutput_data()
    {
        QTest::addColumn<QStringList>("chunks");
        QTest::addColumn<bool>("cursorMovedToStart");
        QTest::addColumn<QString>("expected");

        QTest::newRow("one chunk") << QStringList{"U-Boot 2023.04"} << false << "U-Boot 2023.04";
        QTest::newRow("chunks in order")
                << QStringList{"Starting kern", "el ...\r\n", "[ OK ] Reached target"} << false
                << "Starting kernel ...\n[ OK ] Reached target";
        QTest::newRow("markup stays text")
                << QStringList{"<b>eth0</b> &amp; up"} << false << "<b>eth0</b> &amp; up";
        QTest::newRow("operator cursor at start")
                << QStringList{"first\n", "second\n", "third"} << true << "first\nsecond\nthird";
    }

    void bootOutput()
    {
        QFETCH(QStringList, chunks);
        QFETCH(bool, cursorMovedToStart);
        QFETCH(QString, expected);

        for (const QString &chunk : chunks) {
            page->Set_Reboot_Logs(chunk);
            if (cursorMovedToStart)
                page->rebootLogView->moveCursor(QTextCursor::Start);
        }
        QCOMPARE(page->rebootLogView->toPlainText(), expected);

        QTest::mousePress(page->clearLogsButton, Qt::LeftButton);
        QCOMPARE(page->rebootLogView->toPlainText(), QString());
        QTest::mouseRelease(page->clearLogsButton, Qt::LeftButton);

        page->Set_Reboot_Logs(chunks.last());
        QCOMPARE(page->rebootLogView->toPlainText(), chunks.last());
    }

    void bootOutputScrollsToEnd()
    {
        QScrollBar *bar = page->rebootLogView->verticalScrollBar();
        for (int line = 0; line < 200; ++line)
            page->Set_Reboot_Logs(QStringLiteral("line %1\n").arg(line));
        QVERIFY(bar->maximum() > 0);
        QCOMPARE(bar->value(), bar->maximum());

        bar->setValue(0);
        page->Set_Reboot_Logs(QStringLiteral("one more\n"));
        QCOMPARE(bar->value(), bar->maximum());
    }

    void serviceButtons_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<bool>("enabled");

        QTest::newRow("at start") << "" << false;
        QTest::newRow("unlocked on connect") << "U" << true;
        QTest::newRow("locked on reboot") << "UL" << false;
        QTest::newRow("unlocked after reboot") << "ULU" << true;
    }

    void serviceButtons()
    {
        QFETCH(QString, steps);
        QFETCH(bool, enabled);

        for (QChar step : steps) {
            if (step == 'U')
                page->unlockServiceButtons();
            else
                page->lockServiceButtons();
        }
        for (const QPushButton *button : serviceButtonsOf(*page))
            QCOMPARE(button->isEnabled(), enabled);
        QVERIFY(page->clearLogsButton->isEnabled());
    }

    void layout_data()
    {
        QTest::addColumn<QSize>("size");

        QTest::newRow("reference") << referenceSize;
        QTest::newRow("main window minimum") << QSize(911, 585);
        QTest::newRow("large") << QSize(1400, 900);
    }

    void layout()
    {
        QFETCH(QSize, size);

        page->infoBox->setDeviceInfo({{"eth0", "192.168.0.2"}, {"tun0", "10.8.0.3"}});
        const std::unique_ptr<AboutDevice> reference = shownPage(referenceSize);
        QVERIFY(QTest::qWaitForWindowExposed(reference.get()));
        page->resize(size);
        QTRY_COMPARE(page->size(), size);

        const int dw = size.width() - referenceSize.width();
        const int dh = size.height() - referenceSize.height();
        QCOMPARE(page->infoBox->geometry(), QRect(10, 10, 881 + dw, 241));
        QCOMPARE(page->rebootLogView->geometry(), QRect(10, 260, 681 + dw, 311 + dh));
        for (int i = 0; i < 3; ++i)
            QCOMPARE(edgeDistance(serviceButtonsOf(*page).at(i)),
                     edgeDistance(serviceButtonsOf(*reference).at(i)));
        QCOMPARE(edgeDistance(page->clearLogsButton).x(),
                 edgeDistance(reference->clearLogsButton).x());
        QCOMPARE(page->clearLogsButton->y(), reference->clearLogsButton->y());

        QCOMPARE(WidgetCheck::overlappingSiblings(page.get()), QStringList());
        QCOMPARE(WidgetCheck::outsideParent(page.get()), QStringList());
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString file = dir.filePath(QStringLiteral("aboutdevice.png"));
        QVERIFY(WidgetCheck::renderToPng(page.get(), file));
        QCOMPARE(QImage(file).size(), size);
    }
};

QTEST_MAIN(TestAboutDevice)
#include "tst_aboutdevice.moc"
