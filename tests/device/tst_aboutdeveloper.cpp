#include "device/aboutdeveloper.h"
#include "pagekit/colorscheme.h"
#include "widgetcheck.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTranslator>
#include <QWindow>
#include <QtTest>

#include <memory>

class TestAboutDeveloper : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTranslator> english;

    void useEnglish(bool wanted)
    {
        if (!wanted)
            return;
        english = std::make_unique<QTranslator>();
        QVERIFY(english->load(":/i18n/Kelvane.qm"));
        QVERIFY(QCoreApplication::installTranslator(english.get()));
    }

    static QString text(const AboutDeveloper &window, const char *name)
    {
        return window.findChild<QLabel *>(name)->text();
    }
    static QImage logo(const AboutDeveloper &window)
    {
        return window.findChild<QLabel *>("logoLabel")->pixmap().toImage();
    }

private slots:
    void cleanup() { english.reset(); }

    void texts_data()
    {
        QTest::addColumn<bool>("inEnglish");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("versionPrefix");
        QTest::addColumn<QStringList>("contacts");
        QTest::addColumn<QString>("logoPrefix");

        QTest::newRow("Russian") << false << "О программе"
                                 << "Версия: 1.1.2<br>Дата сборки: "
                                 << QStringList{"<b>Техническая поддержка:</b>", ">Форум</a>",
                                                "<b>Разработчик:</b>", ">Основной сайт</a>",
                                                ">Сайт IOT</a>"}
                                 << ":/Logo/ImageDevRU";
        QTest::newRow("English") << true << "About"
                                 << "Version: 1.1.2<br>Build date: "
                                 << QStringList{"<b>Technical Support:</b>", ">Forum</a>",
                                                "<b>Developer:</b>", ">Main site</a>",
                                                ">IOT website</a>"}
                                 << ":/Logo/ImageDevEN";
    }

    void texts()
    {
        QFETCH(bool, inEnglish);
        QFETCH(QString, title);
        QFETCH(QString, versionPrefix);
        QFETCH(QStringList, contacts);
        QFETCH(QString, logoPrefix);

        useEnglish(inEnglish);
        AboutDeveloper window;
        QCOMPARE(window.windowTitle(), title);
        QCOMPARE(text(window, "nameLabel"), QStringLiteral("Tyrn Kelvane"));
        const QString versionText = text(window, "versionLabel");
        QVERIFY2(versionText.startsWith(versionPrefix), qPrintable(versionText));
        const QStringList built
                = versionText.mid(versionPrefix.size()).split(QStringLiteral(" - <br>"));
        QCOMPARE(built.size(), 2);
        // Nothing built on Qt 6 predates its first release.
        const QDate qt6Released(2020, 12, 8);
        const QDate date = QDate::fromString(built.at(0), QStringLiteral("dd.MM.yyyy"));
        QVERIFY2(date >= qt6Released && date <= QDate::currentDate(), qPrintable(built.at(0)));
        QVERIFY2(QTime::fromString(built.at(1), QStringLiteral("hh:mm")).isValid(),
                 qPrintable(built.at(1)));
        const QString shown = text(window, "supportLabel") + text(window, "developerLabel");
        for (const QString &part : contacts)
            QVERIFY2(shown.contains(part), qPrintable(part));

        const bool dark = ColorScheme::current() == ColorScheme::Dark;
        QCOMPARE(logo(window), QPixmap(logoPrefix + (dark ? "_w.png" : ".png")).toImage());
        window.setThemeLogo(dark ? ColorScheme::Light : ColorScheme::Dark);
        QCOMPARE(logo(window), QPixmap(logoPrefix + (dark ? ".png" : "_w.png")).toImage());
        window.setThemeLogo(0);
        QCOMPARE(logo(window), QPixmap(logoPrefix + ".png").toImage());
    }

    void widgets_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<int>("pointSize");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("richText");

        QTest::newRow("name") << "nameLabel" << QRect(20, 10, 321, 41) << 18 << true << false;
        QTest::newRow("logo") << "logoLabel" << QRect(20, 60, 141, 242) << -1 << false << false;
        QTest::newRow("version") << "versionLabel" << QRect(170, 60, 171, 51) << 10 << false
                                 << true;
        QTest::newRow("support") << "supportLabel" << QRect(170, 110, 171, 131) << 10 << false
                                 << true;
        QTest::newRow("developer")
                << "developerLabel" << QRect(170, 250, 171, 101) << 10 << false << true;
        QTest::newRow("notice") << "noticeLabel" << QRect(110, 370, 171, 31) << 8 << true << false;
        QTest::newRow("close") << "closeButton" << QRect(290, 400, 80, 24) << -1 << false << false;
    }

    void widgets()
    {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        QFETCH(int, pointSize);
        QFETCH(bool, bold);
        QFETCH(bool, richText);

        AboutDeveloper window;
        const QWidget *widget = window.findChild<QWidget *>(name);
        QVERIFY(widget);
        QCOMPARE(widget->geometry(), geometry);
        QCOMPARE(widget->font().family(), QStringLiteral("Segoe UI"));
        if (pointSize > 0) {
            QCOMPARE(widget->font().pointSize(), pointSize);
            QCOMPARE(widget->font().bold(), bold);
        }
        if (const auto *label = qobject_cast<const QLabel *>(widget)) {
            QCOMPARE(label->textFormat() == Qt::RichText, richText);
            QCOMPARE(label->openExternalLinks(), richText);
            QCOMPARE(label->textInteractionFlags().testFlag(Qt::LinksAccessibleByKeyboard),
                     richText);
        }
    }

    void noticeYear()
    {
        AboutDeveloper window;
        const QString notice = text(window, "noticeLabel");
        QVERIFY2(notice.contains(QString::number(QDate::currentDate().year())), qPrintable(notice));
    }

    void releasedOnClose_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("closedSignals");

        QTest::newRow("close button") << "button" << 0;
        QTest::newRow("window frame") << "frame" << 0;
        QTest::newRow("close()") << "close" << 0;
        QTest::newRow("Close()") << "Close" << 1;
    }

    void releasedOnClose()
    {
        QFETCH(QString, how);
        QFETCH(int, closedSignals);

        QPointer<AboutDeveloper> window = new AboutDeveloper;
        QSignalSpy closed(window.data(), &AboutDeveloper::closed);
        QVERIFY(closed.isValid());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.data()));

        if (how == "button")
            QTest::mousePress(window->findChild<QPushButton *>("closeButton"), Qt::LeftButton);
        else if (how == "frame")
            window->windowHandle()->close();
        else if (how == "close")
            window->close();
        else
            window->Close();
        QTRY_VERIFY(window.isNull());
        QCOMPARE(closed.count(), closedSignals);
    }

    void layout()
    {
        useEnglish(true);
        AboutDeveloper window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.minimumSize(), QSize(388, 439));
        QCOMPARE(window.maximumSize(), QSize(388, 439));

        // The version and support labels share their boundary row, nothing more.
        QCOMPARE(WidgetCheck::overlappingSiblings(&window, {"versionLabel"}), QStringList());
        const QRect version = window.findChild<QLabel *>("versionLabel")->geometry();
        for (const QWidget *sibling : window.findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            if (sibling->objectName() != "versionLabel")
                QVERIFY(version.intersected(sibling->geometry()).height() <= 1);
        QCOMPARE(WidgetCheck::outsideParent(&window), QStringList());
        QCOMPARE(WidgetCheck::unpainted(&window,
                                        {"nameLabel", "logoLabel", "versionLabel", "supportLabel",
                                         "developerLabel", "noticeLabel", "closeButton"}),
                 QStringList());
    }
};

QTEST_MAIN(TestAboutDeveloper)
#include "tst_aboutdeveloper.moc"
