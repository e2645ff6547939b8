#include "app/colorscheme.h"
#include "device/aboutdeveloper.h"
#include "widgetcheck.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTranslator>
#include <QWindow>
#include <QtTest>

#include <memory>

namespace {

QImage logoOf(const AboutDeveloper &window)
{
    return window.findChild<QLabel *>(QStringLiteral("logoLabel"))->pixmap().toImage();
}

QString labelText(const AboutDeveloper &window, const QString &name)
{
    return window.findChild<QLabel *>(name)->text();
}

} // namespace

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
        QVERIFY(english->load(QStringLiteral(":/i18n/Kelvane.qm")));
        QVERIFY(QCoreApplication::installTranslator(english.get()));
    }

private slots:
    void cleanup() { english.reset(); }

    void texts_data()
    {
        QTest::addColumn<bool>("inEnglish");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("version");
        QTest::addColumn<QStringList>("support");
        QTest::addColumn<QStringList>("developer");
        QTest::addColumn<QString>("close");
        QTest::addColumn<QString>("lightLogo");
        QTest::addColumn<QString>("darkLogo");

        QTest::newRow("Russian") << false << "О программе"
                                 << "Версия: 1.1.2<br>Дата сборки: 11.12.2025 - <br>09:56"
                                 << QStringList{"<b>Техническая поддержка:</b>", ">Форум</a>"}
                                 << QStringList{"<b>Разработчик:</b>", ">Основной сайт</a>",
                                                ">Сайт IOT</a>"}
                                 << "Закрыть"
                                 << ":/Logo/ImageDevRU.png"
                                 << ":/Logo/ImageDevRU_w.png";
        QTest::newRow("English") << true << "About"
                                 << "Version: 1.1.2<br>Build date: 11.12.2025 - <br>09:56"
                                 << QStringList{"<b>Technical Support:</b>", ">Forum</a>"}
                                 << QStringList{"<b>Developer:</b>", ">Main site</a>",
                                                ">IOT website</a>"}
                                 << "Close"
                                 << ":/Logo/ImageDevEN.png"
                                 << ":/Logo/ImageDevEN_w.png";
    }

    void texts()
    {
        QFETCH(bool, inEnglish);
        QFETCH(QString, title);
        QFETCH(QString, version);
        QFETCH(QStringList, support);
        QFETCH(QStringList, developer);
        QFETCH(QString, close);
        QFETCH(QString, lightLogo);
        QFETCH(QString, darkLogo);

        useEnglish(inEnglish);
        AboutDeveloper window;
        QCOMPARE(window.windowTitle(), title);
        QCOMPARE(labelText(window, "nameLabel"), QStringLiteral("Tyrn Kelvane"));
        QCOMPARE(labelText(window, "versionLabel"), version);
        for (const QString &part : support)
            QVERIFY2(labelText(window, "supportLabel").contains(part), qPrintable(part));
        for (const QString &part : developer)
            QVERIFY2(labelText(window, "developerLabel").contains(part), qPrintable(part));
        QCOMPARE(window.findChild<QPushButton *>("closeButton")->text(), close);

        const QString logo = ColorScheme::current() == ColorScheme::Dark ? darkLogo : lightLogo;
        QCOMPARE(logoOf(window), QPixmap(logo).toImage());
    }

    void themeLogo_data()
    {
        QTest::addColumn<bool>("inEnglish");
        QTest::addColumn<int>("scheme");
        QTest::addColumn<QString>("logo");

        QTest::newRow("Russian light") << false << 1 << ":/Logo/ImageDevRU.png";
        QTest::newRow("Russian dark") << false << 2 << ":/Logo/ImageDevRU_w.png";
        QTest::newRow("English light") << true << 1 << ":/Logo/ImageDevEN.png";
        QTest::newRow("English dark") << true << 2 << ":/Logo/ImageDevEN_w.png";
        QTest::newRow("undetermined is light") << true << 0 << ":/Logo/ImageDevEN.png";
    }

    void themeLogo()
    {
        QFETCH(bool, inEnglish);
        QFETCH(int, scheme);
        QFETCH(QString, logo);

        useEnglish(inEnglish);
        AboutDeveloper window;
        window.setThemeLogo(scheme == 1 ? 2 : 1);
        window.setThemeLogo(scheme);
        QCOMPARE(logoOf(window), QPixmap(logo).toImage());
    }

    void noticeYear()
    {
        AboutDeveloper window;
        const QString year = QString::number(QDate::currentDate().year());
        QVERIFY2(labelText(window, "noticeLabel").contains(year),
                 qPrintable(labelText(window, "noticeLabel")));
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

    void layout_data()
    {
        QTest::addColumn<bool>("inEnglish");

        QTest::newRow("Russian") << false;
        QTest::newRow("English") << true;
    }

    void layout()
    {
        QFETCH(bool, inEnglish);

        useEnglish(inEnglish);
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
                QVERIFY2(version.intersected(sibling->geometry()).height() <= 1,
                         qPrintable(sibling->objectName()));
        QCOMPARE(WidgetCheck::outsideParent(&window), QStringList());

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString file = dir.filePath(QStringLiteral("aboutdeveloper.png"));
        QVERIFY(WidgetCheck::renderToPng(&window, file));
        QCOMPARE(QImage(file).size(), QSize(388, 439));
    }
};

QTEST_MAIN(TestAboutDeveloper)
#include "tst_aboutdeveloper.moc"
