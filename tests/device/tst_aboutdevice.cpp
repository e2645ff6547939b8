#include "device/aboutdevice.h"
#include "device/general.h"
#include "settings/settingshandlerandcollector.h"
#include "widgetcheck.h"

#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QTextEdit>
#include <QTranslator>
#include <QtTest>

#include <memory>

namespace {

const QSize referenceSize(905, 582);

std::unique_ptr<AboutDevice> shownPage(const QSize &size)
{
    auto page = std::make_unique<AboutDevice>();
    page->resize(size);
    page->show();
    return page;
}

// Where a widget sits against the right and bottom edges of its parent.
QPoint fromEdges(const QWidget *widget)
{
    const QSize parent = widget->parentWidget()->size();
    return {parent.width() - widget->x(), parent.height() - widget->y()};
}

} // namespace

class TestAboutDevice : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<AboutDevice> page;

    QList<QPushButton *> serviceButtonsOf(const AboutDevice &p) const
    {
        return {p.resetGatewayButton, p.resetLoRaButton, p.rebootButton};
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
        QTest::addColumn<QStringList>("shown");

        QTest::newRow("gateway with LTE")
                << QJsonObject{{"8", "02:00:5e:10:00:01"},
                               {"9", "1.1.4"},
                               {"10", QJsonObject{{"0", ""}, {"1", "192.168.0.2"}}},
                               {"11", "ТК-3"},
                               {"12", "B2"},
                               {"13", "EC25"},
                               {"14", "L76"},
                               {"15", "01.02.2025"},
                               {"16", "r7"}}
                << QStringList{"MAC=02:00:5e:10:00:01",
                               "CoreVer=1.1.4",
                               "Model=ТК-3",
                               "PCB=B2",
                               "LTE=Есть",
                               "GSM=EC25",
                               "GNSS=L76",
                               "Date=01.02.2025",
                               "Release_ver=r7",
                               "ip=Текущий IP(eth0):",
                               "ip=192.168.0.2"};
        QTest::newRow("gateway without LTE")
                << QJsonObject{{"10", QJsonObject{{"0", "192.168.4.2"}, {"1", ""}}},
                               {"11", "ТК-1.2"},
                               {"12", "A"},
                               {"13", "05.06.2024"}}
                << QStringList{"Revision=A",
                               "LTE=Нет",
                               "GSM=",
                               "Date=05.06.2024",
                               "ip=Текущий IP(wlan0):",
                               "ip=192.168.4.2"};
    }

    void setSettingsFromCollector()
    {
        QFETCH(QJsonObject, document);
        QFETCH(QStringList, shown);

        SettingsHandlerAndCollector::getInstance()->addSettings(document);
        page->setSettings();
        QStringList texts;
        for (const QLabel *label : page->infoBox->findChildren<QLabel *>()) {
            const QString name = label->objectName();
            if (name.startsWith("ip"))
                texts << "ip=" + label->text();
            else if (name.endsWith("Value"))
                texts << name.chopped(5) + "=" + label->text();
        }
        for (const QString &expected : shown)
            QVERIFY2(texts.contains(expected), qPrintable(expected));
    }

    void bootOutput_data()
    {
        QTest::addColumn<QStringList>("chunks");
        QTest::addColumn<bool>("cursorMovedToStart");
        QTest::addColumn<QString>("expected");

        QTest::newRow("pieces in order")
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
        page->Set_Reboot_Logs(chunks.last());
        QCOMPARE(page->rebootLogView->toPlainText(), chunks.last());
    }

    void bootOutputScrollsToEnd()
    {
        QScrollBar *bar = page->rebootLogView->verticalScrollBar();
        for (int line = 0; line < 100; ++line)
            page->Set_Reboot_Logs(QStringLiteral("line %1\n").arg(line));
        bar->setValue(0);
        page->Set_Reboot_Logs(QStringLiteral("last\n"));
        QVERIFY(bar->maximum() > 0);
        QCOMPARE(bar->value(), bar->maximum());
    }

    void rebootView()
    {
        QVERIFY(page->rebootLogView->isReadOnly());
        QVERIFY(page->rebootLogView->acceptRichText());
        QCOMPARE(page->rebootLogView->lineWrapMode(), QTextEdit::FixedColumnWidth);
        QCOMPARE(page->rebootLogView->lineWrapColumnOrWidth(), 881);
    }

    void serviceButtons_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<bool>("enabled");

        QTest::newRow("at start") << "" << false;
        QTest::newRow("connected") << "U" << true;
        QTest::newRow("rebooting") << "UL" << false;
        QTest::newRow("connected again") << "ULU" << true;
    }

    void serviceButtons()
    {
        QFETCH(QString, steps);
        QFETCH(bool, enabled);

        for (QChar step : steps)
            step == 'U' ? page->unlockServiceButtons() : page->lockServiceButtons();
        for (const QPushButton *button : serviceButtonsOf(*page))
            QCOMPARE(button->isEnabled(), enabled);
        QVERIFY(page->clearLogsButton->isEnabled());
    }

    void englishCatalogue_data()
    {
        QTest::addColumn<QJsonObject>("info");
        QTest::addColumn<int>("rightPresses");
        QTest::addColumn<QString>("text");

        // The captions go round in the order of their English texts.
        const QJsonObject all{{"eth0", ""}, {"wlan0", "w"}, {"ppp0", "p"}, {"tun0", "t"}};
        QTest::newRow("ppp0 caption first") << all << 0 << "Current IP(ppp0)";
        QTest::newRow("tun0 caption second") << all << 1 << "Current IP(tun0)";
        QTest::newRow("wlan0 caption last") << all << 2 << "Current IP(wlan0):";
    }

    void englishCatalogue()
    {
        QFETCH(QJsonObject, info);
        QFETCH(int, rightPresses);
        QFETCH(QString, text);

        QTranslator catalogue;
        QVERIFY(catalogue.load(":/i18n/Kelvane.qm"));
        QVERIFY(QCoreApplication::installTranslator(&catalogue));
        const auto uninstall
                = qScopeGuard([&catalogue] { QCoreApplication::removeTranslator(&catalogue); });

        AboutDevice english;
        english.show();
        QVERIFY(QTest::qWaitForWindowExposed(&english));
        english.infoBox->setDeviceInfo(info);
        for (int press = 0; press < rightPresses; ++press)
            QTest::mousePress(english.infoBox->findChild<QPushButton *>("rightArrow"),
                              Qt::LeftButton);

        QStringList texts{english.infoBox->title()};
        for (const QLabel *label : english.findChildren<QLabel *>())
            texts.append(label->text());
        for (const QPushButton *button : english.findChildren<QPushButton *>())
            texts.append(button->text());
        QVERIFY2(texts.contains(text), qPrintable(texts.join(" | ")));
        if (text.contains("IP("))
            QCOMPARE(english.infoBox->findChild<QLabel *>("ipCaption")->text(), text);
    }

    void layout_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("reference") << referenceSize;
        QTest::newRow("large") << QSize(1400, 900);
    }

    void layout()
    {
        QFETCH(QSize, size);

        page->infoBox->setDeviceInfo({{"eth0", "192.168.0.2"}, {"tun0", "10.8.0.3"}});
        page->resize(size);
        QTRY_COMPARE(page->size(), size);
        const int dw = size.width() - referenceSize.width();
        const int dh = size.height() - referenceSize.height();
        QCOMPARE(page->infoBox->geometry(), QRect(10, 10, 881 + dw, 241));
        QCOMPARE(page->rebootLogView->geometry(), QRect(10, 260, 681 + dw, 311 + dh));

        const auto reference = shownPage(referenceSize);
        QVERIFY(QTest::qWaitForWindowExposed(reference.get()));
        for (int i = 0; i < 3; ++i)
            QCOMPARE(fromEdges(serviceButtonsOf(*page).at(i)),
                     fromEdges(serviceButtonsOf(*reference).at(i)));
        QCOMPARE(fromEdges(page->clearLogsButton).x(), fromEdges(reference->clearLogsButton).x());
        QCOMPARE(page->clearLogsButton->y(), reference->clearLogsButton->y());

        QCOMPARE(WidgetCheck::layoutProblems(page.get()), QStringList());
        // The arrows show only their icons; a lost picture leaves them blank.
        QCOMPARE(WidgetCheck::unpainted(page.get(),
                                        {"infoBox", "leftArrow", "rightArrow", "ipValue",
                                         "rebootLogView", "clearLogsButton", "resetGatewayButton",
                                         "resetLoRaButton", "rebootButton"}),
                 QStringList());
    }
};

QTEST_MAIN(TestAboutDevice)
#include "tst_aboutdevice.moc"
