#include "lora/loralogs.h"
#include "widgetcheck.h"

#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {
const QString timeFormat = QStringLiteral("hh.mm.ss - dd_MM_yyyy");

// Answers the directory question itself instead of opening the dialog.
class ScriptedLogs : public LoRaLogs
{
public:
    QString directory;
    int questions = 0;

protected:
    QString chooseLogDirectory() override
    {
        ++questions;
        return directory;
    }
};

QString manyLines(int count, const QString &tag)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += QStringLiteral("%1: rxpk line %2\n").arg(tag).arg(i);
    return text;
}

// Makes every file write of this process stop at a few bytes, for a save that fails midway.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved);
        previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = saved;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);
    }

private:
    rlimit saved{};
    void (*previousHandler)(int) = nullptr;
};
} // namespace

class TestLoRaLogs : public QObject
{
    Q_OBJECT

private slots:
    void piecesJoinWithoutSeparators_data();
    void piecesJoinWithoutSeparators();
    void showBoxStartsAndStopsStream_data();
    void showBoxStartsAndStopsStream();
    void autoScrollFollowsSliderDrags_data();
    void autoScrollFollowsSliderDrags();
    void save_data();
    void save();
    void saveOverwritesSameSecondFile();
    void saveFailingMidwayLeavesNoFile();
    void clearEmptiesTheView();
    void resizeKeepsMarginsAndAnchors_data();
    void resizeKeepsMarginsAndAnchors();
    void rendersWithoutOverlaps();
};

void TestLoRaLogs::piecesJoinWithoutSeparators_data()
{
    QTest::addColumn<QStringList>("pieces");
    QTest::addColumn<QString>("shown");

    QTest::newRow("one line in two replies")
            << QStringList{QStringLiteral("INFO: Received pkt"), QStringLiteral(" from mote\n")}
            << QStringLiteral("INFO: Received pkt from mote\n");
    QTest::newRow("no line break added")
            << QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}
            << QStringLiteral("abc");
    QTest::newRow("empty piece in between")
            << QStringList{QStringLiteral("# PUSH_DATA"), QString(), QStringLiteral(" sent\n")}
            << QStringLiteral("# PUSH_DATA sent\n");
    QTest::newRow("non-ASCII text") << QStringList{QStringLiteral("Приём "), QStringLiteral("ok")}
                                    << QStringLiteral("Приём ok");
}

void TestLoRaLogs::piecesJoinWithoutSeparators()
{
    QFETCH(QStringList, pieces);
    QFETCH(QString, shown);

    LoRaLogs page;
    auto *view = page.findChild<QPlainTextEdit *>(QStringLiteral("logView"));
    for (const QString &piece : pieces)
        page.setLoRaLogs(piece);
    // In the view at once, without waiting for the next paint.
    QCOMPARE(view->toPlainText(), shown);
}

void TestLoRaLogs::showBoxStartsAndStopsStream_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<int>("runs");
    QTest::addColumn<int>("stops");

    QTest::newRow("check") << "check" << 1 << 0;
    QTest::newRow("check, uncheck") << "check uncheck" << 1 << 1;
    QTest::newRow("reset while checked") << "check reset" << 1 << 1;
    QTest::newRow("reset while unchecked") << "reset" << 0 << 0;
    QTest::newRow("reset twice") << "check reset reset" << 1 << 1;
}

void TestLoRaLogs::showBoxStartsAndStopsStream()
{
    QFETCH(QString, steps);
    QFETCH(int, runs);
    QFETCH(int, stops);

    LoRaLogs page;
    auto *box = page.findChild<QCheckBox *>(QStringLiteral("showBox"));
    QSignalSpy runSpy(&page, &LoRaLogs::runLoRaLogs);
    QSignalSpy stopSpy(&page, &LoRaLogs::stopLoRaLogs);
    QVERIFY(runSpy.isValid());
    QVERIFY(stopSpy.isValid());

    for (const QString &step : steps.split(QLatin1Char(' '))) {
        if (step == QLatin1String("reset"))
            page.resetSendLogs();
        else if (step == QLatin1String("check") || step == QLatin1String("uncheck"))
            box->click();
    }
    QCOMPARE(runSpy.count(), runs);
    QCOMPARE(stopSpy.count(), stops);
}

void TestLoRaLogs::autoScrollFollowsSliderDrags_data()
{
    QTest::addColumn<QString>("move");
    QTest::addColumn<bool>("follows");

    QTest::newRow("untouched") << "none" << true;
    QTest::newRow("slider dragged up") << "drag-up" << false;
    QTest::newRow("dragged up, then back to the bottom") << "drag-up drag-bottom" << true;
    QTest::newRow("wheel-like scroll up keeps following") << "scroll-up" << true;
    QTest::newRow("dragged up, then wheel to the bottom") << "drag-up scroll-bottom" << false;
}

void TestLoRaLogs::autoScrollFollowsSliderDrags()
{
    QFETCH(QString, move);
    QFETCH(bool, follows);

    LoRaLogs page;
    page.resize(905, 582);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    auto *view = page.findChild<QPlainTextEdit *>(QStringLiteral("logView"));
    QScrollBar *bar = view->verticalScrollBar();

    page.setLoRaLogs(manyLines(200, QStringLiteral("first")));
    QVERIFY(bar->maximum() > 0);
    QCOMPARE(bar->value(), bar->maximum());

    for (const QString &step : move.split(QLatin1Char(' '))) {
        const bool drag = step.startsWith(QLatin1String("drag"));
        const int target = step.endsWith(QLatin1String("up")) ? bar->maximum() / 2 : bar->maximum();
        if (drag) {
            // What the operator's drag does: sliderMoved only while the slider is down.
            bar->setSliderDown(true);
            bar->setSliderPosition(target);
            bar->setSliderDown(false);
        } else if (step != QLatin1String("none")) {
            bar->setValue(target);
        }
    }
    const int valueBefore = bar->value();
    const int maximumBefore = bar->maximum();

    page.setLoRaLogs(manyLines(100, QStringLiteral("second")));
    QVERIFY(bar->maximum() > maximumBefore);
    if (follows)
        QCOMPARE(bar->value(), bar->maximum());
    else
        QCOMPARE(bar->value(), valueBefore);
}

void TestLoRaLogs::save_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("directory"); // "temp" = the test's directory
    QTest::addColumn<int>("questions");
    QTest::addColumn<bool>("written");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("message"); // "%1" stands for the file path

    QTest::newRow("empty view") << QString() << "temp" << 0 << false
                                << QStringLiteral("Ошибка сохранения логов")
                                << QStringLiteral("Невозможно сохранить пустые логи.");
    QTest::newRow("saved") << QStringLiteral("INFO: rx\nJSON up: {\"rxpk\":[]}\nПриём") << "temp"
                           << 1 << true << QString() << QString();
    QTest::newRow("no directory chosen")
            << QStringLiteral("INFO: rx\n") << "" << 1 << false << QString() << QString();
    QTest::newRow("directory missing") << QStringLiteral("INFO: rx\n") << "temp/missing" << 1
                                       << false << QStringLiteral("Ошибка открытитя лог файла")
                                       << QStringLiteral("Не удалось создать файл логов:\n%1");
}

void TestLoRaLogs::save()
{
    QFETCH(QString, text);
    QFETCH(QString, directory);
    QFETCH(int, questions);
    QFETCH(bool, written);
    QFETCH(QString, title);
    QFETCH(QString, message);

    QTemporaryDir temp;
    QVERIFY(temp.isValid());
    ScriptedLogs page;
    page.directory = directory;
    page.directory.replace(QLatin1String("temp"), temp.path());
    QSignalSpy dialogs(&page, &LoRaLogs::showDialog);
    QVERIFY(dialogs.isValid());
    // Not yet shown in the view when the button is pressed: the save must still hold it.
    page.setLoRaLogs(text);

    const QString before = QDateTime::currentDateTime().toString(timeFormat);
    QTest::mousePress(page.findChild<QPushButton *>(QStringLiteral("saveButton")), Qt::LeftButton);
    const QString after = QDateTime::currentDateTime().toString(timeFormat);

    QCOMPARE(page.questions, questions);
    const QStringList files = QDir(temp.path()).entryList(QDir::Files | QDir::Hidden);
    if (written) {
        QCOMPARE(files.size(), 1);
        const QString name = files.first();
        QVERIFY2(name == before + QStringLiteral(".log") || name == after + QStringLiteral(".log"),
                 qPrintable(name));
        QFile file(temp.filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), text.toUtf8());
    } else {
        QCOMPARE(files, QStringList());
    }

    if (title.isEmpty()) {
        QCOMPARE(dialogs.count(), 0);
        return;
    }
    QCOMPARE(dialogs.count(), 1);
    const QList<QVariant> shown = dialogs.takeFirst();
    QCOMPARE(shown.at(0).toInt(), 3);
    QCOMPARE(shown.at(1).toString(), title);
    if (message.contains(QLatin1String("%1"))) {
        const QString path = page.directory + QLatin1Char('/');
        QVERIFY2(shown.at(2).toString().startsWith(message.arg(path)),
                 qPrintable(shown.at(2).toString()));
        QVERIFY(shown.at(2).toString().endsWith(QLatin1String(".log")));
    } else {
        QCOMPARE(shown.at(2).toString(), message);
    }
}

void TestLoRaLogs::saveOverwritesSameSecondFile()
{
    QTemporaryDir temp;
    QVERIFY(temp.isValid());
    ScriptedLogs page;
    page.directory = temp.path();
    page.setLoRaLogs(QStringLiteral("new\n"));

    // An older, longer file under each name the save can pick.
    const QDateTime now = QDateTime::currentDateTime();
    const QStringList names{now.toString(timeFormat), now.addSecs(1).toString(timeFormat)};
    for (const QString &name : names) {
        QFile old(temp.filePath(name + QStringLiteral(".log")));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(4096, 'x'));
    }

    QTest::mousePress(page.findChild<QPushButton *>(QStringLiteral("saveButton")), Qt::LeftButton);

    int replaced = 0;
    for (const QString &name : names) {
        QFile file(temp.filePath(name + QStringLiteral(".log")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        if (file.readAll() == QByteArrayLiteral("new\n"))
            ++replaced;
    }
    QCOMPARE(replaced, 1);
    QCOMPARE(QDir(temp.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

void TestLoRaLogs::saveFailingMidwayLeavesNoFile()
{
    QTemporaryDir temp;
    QVERIFY(temp.isValid());
    ScriptedLogs page;
    page.directory = temp.path();
    QSignalSpy dialogs(&page, &LoRaLogs::showDialog);
    QVERIFY(dialogs.isValid());
    page.setLoRaLogs(manyLines(2000, QStringLiteral("rx")));

    {
        const FileSizeLimit limit(1024);
        QTest::mousePress(page.findChild<QPushButton *>(QStringLiteral("saveButton")),
                          Qt::LeftButton);
    }

    QCOMPARE(QDir(temp.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    QCOMPARE(dialogs.count(), 1);
    const QList<QVariant> shown = dialogs.takeFirst();
    QCOMPARE(shown.at(0).toInt(), 3);
    QCOMPARE(shown.at(1).toString(), QStringLiteral("Ошибка открытитя лог файла"));
    QVERIFY(shown.at(2).toString().startsWith(QStringLiteral("Не удалось создать файл логов:\n")
                                              + temp.path() + QLatin1Char('/')));
}

void TestLoRaLogs::clearEmptiesTheView()
{
    LoRaLogs page;
    auto *view = page.findChild<QPlainTextEdit *>(QStringLiteral("logView"));
    page.setLoRaLogs(QStringLiteral("shown\n"));
    page.setLoRaLogs(QStringLiteral("arrived before the press\n"));

    QTest::mousePress(page.findChild<QPushButton *>(QStringLiteral("clearButton")), Qt::LeftButton);
    QCOMPARE(view->toPlainText(), QString());
    page.setLoRaLogs(QStringLiteral("after\n"));
    QCOMPARE(view->toPlainText(), QStringLiteral("after\n"));
}

void TestLoRaLogs::resizeKeepsMarginsAndAnchors_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QRect>("view");
    QTest::addColumn<QRect>("save");
    QTest::addColumn<QRect>("clear");

    QTest::newRow("larger") << QSize(1200, 800) << QRect(10, 50, 1184, 740)
                            << QRect(973, 10, 121, 24) << QRect(1103, 10, 91, 24);
}

void TestLoRaLogs::resizeKeepsMarginsAndAnchors()
{
    QFETCH(QSize, size);
    QFETCH(QRect, view);
    QFETCH(QRect, save);
    QFETCH(QRect, clear);

    LoRaLogs page;
    page.resize(size);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    QCOMPARE(page.findChild<QPlainTextEdit *>(QStringLiteral("logView"))->geometry(), view);
    QCOMPARE(page.findChild<QPushButton *>(QStringLiteral("saveButton"))->geometry(), save);
    QCOMPARE(page.findChild<QPushButton *>(QStringLiteral("clearButton"))->geometry(), clear);
    QCOMPARE(page.findChild<QCheckBox *>(QStringLiteral("showBox"))->geometry(),
             QRect(10, 10, 221, 22));
}

void TestLoRaLogs::rendersWithoutOverlaps()
{
    LoRaLogs page;
    page.resize(905, 582);
    page.setLoRaLogs(manyLines(50, QStringLiteral("INFO")));
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));

    QCOMPARE(WidgetCheck::layoutProblems(&page), QStringList());
    QTemporaryDir dir;
    QVERIFY(WidgetCheck::renderToPng(&page, dir.filePath(QStringLiteral("loralogs.png"))));
}

QTEST_MAIN(TestLoRaLogs)
#include "tst_loralogs.moc"
