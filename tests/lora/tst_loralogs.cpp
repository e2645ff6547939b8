#include "lora/loralogs.h"
#include "widgetcheck.h"

#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextLayout>
#include <QToolButton>
#include <QtTest>

#include <csignal>
#include <memory>
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

// Log text fed in pieces that cut lines anywhere, as the link delivers them.
void feedInPieces(LoRaLogs &page, const QString &text, int pieceChars)
{
    for (qsizetype at = 0; at < text.size(); at += pieceChars)
        page.setLoRaLogs(text.mid(at, pieceChars));
}

// The save runs in a thread: its button is back when it has ended.
void pressSave(LoRaLogs &page)
{
    auto *button = page.findChild<QPushButton *>(QStringLiteral("saveButton"));
    QTest::mousePress(button, Qt::LeftButton);
    QTRY_VERIFY(button->isEnabled());
}

QString savedText(ScriptedLogs &page, const QTemporaryDir &into)
{
    page.directory = into.path();
    pressSave(page);
    const QStringList files = QDir(into.path()).entryList(QDir::Files);
    if (files.size() != 1)
        return QStringLiteral("%1 files saved").arg(files.size());
    QFile file(into.filePath(files.first()));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
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
    void initTestCase();
    void init();
    void piecesJoinWithoutSeparators_data();
    void piecesJoinWithoutSeparators();
    void showBoxStartsAndStopsStream_data();
    void showBoxStartsAndStopsStream();
    void autoScrollFollowsSliderDrags_data();
    void autoScrollFollowsSliderDrags();
    void save_data();
    void save();
    void saveOverwritesSameSecondFile();
    void saveFailingMidwayLeavesNoFile_data();
    void saveFailingMidwayLeavesNoFile();
    void fullDiskKeepsLinesInMemory();
    void clearEmptiesTheView();
    void recordOutlivesTheView_data();
    void recordOutlivesTheView();
    void findMovesThroughMatchesInAStream_data();
    void findMovesThroughMatchesInAStream();
    void pauseHoldsLinesUntilResumed_data();
    void pauseHoldsLinesUntilResumed();
    void resizeKeepsMarginsAndAnchors_data();
    void resizeKeepsMarginsAndAnchors();
    void rendersWithoutOverlaps();

private:
    // The user's cache directory of this test run, where the pages keep their records.
    QTemporaryDir cacheHome;
};

void TestLoRaLogs::initTestCase()
{
    QVERIFY(cacheHome.isValid());
}

void TestLoRaLogs::init()
{
    qputenv("XDG_CACHE_HOME", QFile::encodeName(cacheHome.path()));
}

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

    // Under a fast stream the scroll bar catches up when the view settles.
    page.setLoRaLogs(manyLines(100, QStringLiteral("second")));
    QTRY_VERIFY(!page.findChild<QTimer *>(QStringLiteral("settleTimer"))->isActive());
    QVERIFY(bar->maximum() > maximumBefore);
    if (follows)
        QCOMPARE(bar->value(), bar->maximum());
    else
        QCOMPARE(bar->value(), valueBefore);
}

void TestLoRaLogs::save_data()
{
    QTest::addColumn<QString>("text");
    // "temp" = the test's directory, which holds a regular file "plain".
    QTest::addColumn<QString>("directory");
    QTest::addColumn<QString>("cache"); // the user's cache directory; empty: the usual one
    QTest::addColumn<int>("questions");
    QTest::addColumn<bool>("written");
    QTest::addColumn<QString>("title");
    // "%1" stands for the file path, "temp" for the test's directory.
    QTest::addColumn<QString>("message");

    QTest::newRow("empty view") << QString() << "temp"
                                << "" << 0 << false << QStringLiteral("Ошибка сохранения логов")
                                << QStringLiteral("Невозможно сохранить пустые логи.");
    QTest::newRow("saved") << QStringLiteral("INFO: rx\nJSON up: {\"rxpk\":[]}\nПриём") << "temp"
                           << "" << 1 << true << QString() << QString();
    QTest::newRow("no directory chosen") << QStringLiteral("INFO: rx\n") << ""
                                         << "" << 1 << false << QString() << QString();
    QTest::newRow("directory missing")
            << QStringLiteral("INFO: rx\n") << "temp/missing"
            << "" << 1 << false << QStringLiteral("Ошибка открытитя лог файла")
            << QStringLiteral("Не удалось создать файл логов:\n%1");
    // Root may write anywhere, but not below a regular file.
    QTest::newRow("directory below a file")
            << QStringLiteral("INFO: rx\n") << "temp/plain/logs"
            << "" << 1 << false << QStringLiteral("Ошибка открытитя лог файла")
            << QStringLiteral("Не удалось создать файл логов:\n%1");
    // The record is kept in memory instead.
    QTest::newRow("no cache for the record") << QStringLiteral("INFO: rx\n") << "temp"
                                             << "temp/plain" << 1 << true << QString() << QString();
}

void TestLoRaLogs::save()
{
    QFETCH(QString, text);
    QFETCH(QString, directory);
    QFETCH(QString, cache);
    QFETCH(int, questions);
    QFETCH(bool, written);
    QFETCH(QString, title);
    QFETCH(QString, message);

    QTemporaryDir temp;
    QVERIFY(temp.isValid());
    QFile plain(temp.filePath(QStringLiteral("plain")));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    if (!cache.isEmpty())
        qputenv("XDG_CACHE_HOME",
                QFile::encodeName(cache.replace(QLatin1String("temp"), temp.path())));
    ScriptedLogs page;
    page.directory = directory;
    page.directory.replace(QLatin1String("temp"), temp.path());
    QSignalSpy dialogs(&page, &LoRaLogs::showDialog);
    QVERIFY(dialogs.isValid());
    page.setLoRaLogs(text);
    QCOMPARE(page.findChild<QPlainTextEdit *>(QStringLiteral("logView"))->toPlainText(), text);

    const QString before = QDateTime::currentDateTime().toString(timeFormat);
    pressSave(page);
    const QString after = QDateTime::currentDateTime().toString(timeFormat);

    QCOMPARE(page.questions, questions);
    QStringList files = QDir(temp.path()).entryList(QDir::Files | QDir::Hidden);
    files.removeOne(QStringLiteral("plain"));
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
        const QString reason = shown.at(2).toString().section(QLatin1Char('\n'), 2);
        QVERIFY2(!reason.isEmpty() && reason != QLatin1String("Unknown error"), qPrintable(reason));
    } else if (message.contains(QLatin1String("temp"))) {
        const QString start = message.replace(QLatin1String("temp"), temp.path());
        QVERIFY2(shown.at(2).toString().startsWith(start), qPrintable(shown.at(2).toString()));
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

    pressSave(page);

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

void TestLoRaLogs::saveFailingMidwayLeavesNoFile_data()
{
    QTest::addColumn<int>("lines");
    // The short log stays in the file's write buffer until the save is committed.
    QTest::newRow("past the write buffer") << 2000;
    QTest::newRow("within the write buffer") << 300;
}

void TestLoRaLogs::saveFailingMidwayLeavesNoFile()
{
    QFETCH(int, lines);
    QTemporaryDir temp;
    QVERIFY(temp.isValid());
    ScriptedLogs page;
    page.directory = temp.path();
    QSignalSpy dialogs(&page, &LoRaLogs::showDialog);
    QVERIFY(dialogs.isValid());
    page.setLoRaLogs(manyLines(lines, QStringLiteral("rx")));

    {
        const FileSizeLimit limit(1024);
        pressSave(page);
    }

    QCOMPARE(QDir(temp.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    QCOMPARE(dialogs.count(), 1);
    const QList<QVariant> shown = dialogs.takeFirst();
    QCOMPARE(shown.at(0).toInt(), 3);
    QCOMPARE(shown.at(1).toString(), QStringLiteral("Ошибка открытитя лог файла"));
    QVERIFY(shown.at(2).toString().startsWith(QStringLiteral("Не удалось создать файл логов:\n")
                                              + temp.path() + QLatin1Char('/')));
    QVERIFY(shown.at(2).toString().endsWith(QLatin1String(".log\nFile too large")));
}

// A size limit stops the record's file as a full disk does.
void TestLoRaLogs::fullDiskKeepsLinesInMemory()
{
    QTemporaryDir temp;
    QVERIFY(temp.isValid());
    ScriptedLogs page;
    QSignalSpy dialogs(&page, &LoRaLogs::showDialog);
    QVERIFY(dialogs.isValid());
    auto *recordLine = page.findChild<QLabel *>(QStringLiteral("recordLine"));
    const QString fed = manyLines(4000, QStringLiteral("rx"));
    {
        const FileSizeLimit limit(16 * 1024);
        feedInPieces(page, fed, 997);
        QVERIFY(!recordLine->isHidden());
    }
    QCOMPARE(dialogs.count(), 0);
    QCOMPARE(savedText(page, temp), fed);
    QVERIFY(recordLine->isHidden());
}

void TestLoRaLogs::clearEmptiesTheView()
{
    QTemporaryDir temp;
    QVERIFY(temp.isValid());
    auto page = std::make_unique<ScriptedLogs>();
    QSignalSpy dialogs(page.get(), &LoRaLogs::showDialog);
    QVERIFY(dialogs.isValid());
    auto *view = page->findChild<QPlainTextEdit *>(QStringLiteral("logView"));
    page->setLoRaLogs(QStringLiteral("shown\n"));
    page->setLoRaLogs(QStringLiteral("arrived before the press\n"));

    QTest::mousePress(page->findChild<QPushButton *>(QStringLiteral("clearButton")),
                      Qt::LeftButton);
    QCOMPARE(view->toPlainText(), QString());
    pressSave(*page);
    QCOMPARE(page->questions, 0);
    QCOMPARE(dialogs.count(), 1);

    page->setLoRaLogs(QStringLiteral("after\n"));
    QCOMPARE(view->toPlainText(), QStringLiteral("after\n"));
    QCOMPARE(savedText(*page, temp), QStringLiteral("after\n"));
    page.reset();
    QCOMPARE(QDir(QStandardPaths::writableLocation(QStandardPaths::CacheLocation))
                     .entryList(QDir::Files | QDir::Hidden),
             QStringList());
}

void TestLoRaLogs::recordOutlivesTheView_data()
{
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("linesBefore"); // fed before pausing or scrolling away
    QTest::addColumn<bool>("paused");
    QTest::addColumn<bool>("scrolledAway");

    const int beyond = LoRaLogs::viewLineLimit + LoRaLogs::viewLineSlack + 3000;
    QTest::newRow("within the view's limit") << 300 << 150 << false << false;
    QTest::newRow("beyond the view's limit") << beyond << 12000 << false << false;
    QTest::newRow("beyond the limit, scrolled away") << beyond << 12000 << false << true;
    QTest::newRow("beyond the limit while paused") << beyond << 12000 << true << false;
    // So much held that the oldest held lines are dropped: after resuming the view
    // shows held lines only.
    QTest::newRow("far beyond while paused")
            << 2 * LoRaLogs::viewLineLimit + 600 << 100 << true << false;
}

void TestLoRaLogs::recordOutlivesTheView()
{
    QFETCH(int, lines);
    QFETCH(int, linesBefore);
    QFETCH(bool, paused);
    QFETCH(bool, scrolledAway);

    QTemporaryDir temp;
    QVERIFY(temp.isValid());
    ScriptedLogs page;
    page.resize(905, 582);
    page.show();
    auto *view = page.findChild<QPlainTextEdit *>(QStringLiteral("logView"));
    auto *pause = page.findChild<QPushButton *>(QStringLiteral("pauseButton"));
    auto *settle = page.findChild<QTimer *>(QStringLiteral("settleTimer"));
    QScrollBar *bar = view->verticalScrollBar();
    const auto topLine = [view] {
        return view->cursorForPosition(QPoint(0, 0)).block().text();
    };
    QString fed;
    for (int i = 0; i < lines; ++i)
        fed += QStringLiteral("JSON up: {\"rxpk\":[{\"tmst\":%1,\"data\":\"Приём\"}]}\n").arg(i);
    qsizetype before = 0;
    for (int i = 0; i < linesBefore; ++i)
        before = fed.indexOf(QLatin1Char('\n'), before) + 1;
    feedInPieces(page, fed.left(before), 997);
    QTRY_VERIFY(!settle->isActive());
    if (scrolledAway) {
        bar->setSliderDown(true);
        bar->setSliderPosition(bar->maximum() / 2);
        bar->setSliderDown(false);
    }
    const QString top = topLine();
    if (paused)
        pause->click();
    feedInPieces(page, fed.mid(before), 997);
    if (paused)
        pause->click();
    QTRY_VERIFY(!settle->isActive());

    // The newest lines, from a line's beginning; all of them while they fit.
    QVERIFY(view->document()->blockCount()
            <= LoRaLogs::viewLineLimit + LoRaLogs::viewLineSlack + 1);
    const QString shown = view->toPlainText();
    QVERIFY(fed.endsWith(shown));
    QVERIFY(shown.size() == fed.size() || fed.at(fed.size() - shown.size() - 1) == u'\n');
    QVERIFY(shown.count(QLatin1Char('\n')) >= std::min(lines, LoRaLogs::viewLineLimit));
    // Cutting the oldest lines moves neither a view that follows nor one scrolled away.
    if (scrolledAway)
        QCOMPARE(topLine(), top);
    else
        QCOMPARE(bar->value(), bar->maximum());
    QCOMPARE(savedText(page, temp).toUtf8(), fed.toUtf8());
}

void TestLoRaLogs::findMovesThroughMatchesInAStream_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("found"); // the line of the selected match

    QTest::newRow("first match") << QStringLiteral("next") << QStringLiteral("mote A1");
    QTest::newRow("next wraps to the oldest")
            << QStringLiteral("next next next next") << QStringLiteral("mote A1");
    QTest::newRow("previous wraps to the newest")
            << QStringLiteral("previous") << QStringLiteral("mote C3");
    QTest::newRow("stream between moves")
            << QStringLiteral("next stream next") << QStringLiteral("mote B2");
    QTest::newRow("streamed match is reached")
            << QStringLiteral("previous stream next") << QStringLiteral("mote D4");
    QTest::newRow("stream after a move")
            << QStringLiteral("next next stream") << QStringLiteral("mote B2");
}

void TestLoRaLogs::findMovesThroughMatchesInAStream()
{
    QFETCH(QString, steps);
    QFETCH(QString, found);

    LoRaLogs page;
    page.resize(905, 582);
    page.show();
    page.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&page));
    auto *view = page.findChild<QPlainTextEdit *>(QStringLiteral("logView"));
    const QString text = manyLines(10, QStringLiteral("rx")) + QStringLiteral("mote A1\n")
            + manyLines(150, QStringLiteral("rx")) + QStringLiteral("mote B2\n")
            + manyLines(150, QStringLiteral("rx")) + QStringLiteral("mote C3\n");
    feedInPieces(page, text, 61);

    QTest::keyClick(&page, Qt::Key_F, Qt::ControlModifier);
    auto *field = page.findChild<QLineEdit *>(QStringLiteral("findEdit"));
    QVERIFY(field->hasFocus());
    QTest::keyClicks(field, QStringLiteral("MOTE"));
    for (const QString &step : steps.split(QLatin1Char(' '))) {
        if (step == QLatin1String("stream"))
            feedInPieces(page, manyLines(100, QStringLiteral("rx")) + QStringLiteral("mote D4\n"),
                         61);
        else if (step == QLatin1String("previous"))
            QTest::mousePress(page.findChild<QToolButton *>(QStringLiteral("previousButton")),
                              Qt::LeftButton);
        else
            QTest::keyClick(field, Qt::Key_Return);
    }
    QTRY_VERIFY(!page.findChild<QTimer *>(QStringLiteral("settleTimer"))->isActive());

    QCOMPARE(view->textCursor().block().text(), found);
    QCOMPARE(view->textCursor().selectedText(), found.left(4));
    // The match stays in sight while the stream goes on below it.
    QTRY_VERIFY(view->viewport()->rect().contains(view->cursorRect()));
    int marked = 0;
    for (QTextBlock block = view->document()->begin(); block.isValid(); block = block.next())
        marked += int(block.layout()->formats().size());
    QCOMPARE(marked, steps.contains(QLatin1String("stream")) ? 4 : 3);
}

void TestLoRaLogs::pauseHoldsLinesUntilResumed_data()
{
    QTest::addColumn<QStringList>("pieces");
    QTest::addColumn<int>("held");

    QTest::newRow("nothing") << QStringList() << 0;
    QTest::newRow("two whole lines") << QStringList{"rx 1\n", "rx 2\n"} << 2;
    QTest::newRow("line over pieces") << QStringList{"par", "tial\n", "next"} << 1;
}

void TestLoRaLogs::pauseHoldsLinesUntilResumed()
{
    QFETCH(QStringList, pieces);
    QFETCH(int, held);

    LoRaLogs page;
    page.resize(905, 582);
    page.show();
    auto *view = page.findChild<QPlainTextEdit *>(QStringLiteral("logView"));
    auto *pause = page.findChild<QPushButton *>(QStringLiteral("pauseButton"));
    auto *count = page.findChild<QLabel *>(QStringLiteral("heldLabel"));
    const QString before = manyLines(100, QStringLiteral("rx"));
    page.setLoRaLogs(before);
    QScrollBar *bar = view->verticalScrollBar();
    QTRY_COMPARE(bar->value(), bar->maximum());

    pause->click();
    for (const QString &piece : pieces)
        page.setLoRaLogs(piece);
    QTRY_COMPARE(QRegularExpression(QStringLiteral("\\d+")).match(count->text()).captured(),
                 QString::number(held));
    QVERIFY(count->isVisible());
    QCOMPARE(view->toPlainText(), before);
    // A report made meanwhile reads the held lines too, the line over pieces joined.
    QStringList lines = (before + pieces.join(QString())).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(page.newestLines(3), lines.mid(lines.size() - 3));

    pause->click();
    QCOMPARE(view->toPlainText(), before + pieces.join(QString()));
    QVERIFY(!count->isVisible());
    QCOMPARE(bar->value(), bar->maximum());
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
    page.findChild<QPushButton *>(QStringLiteral("pauseButton"))->click();
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));

    QCOMPARE(WidgetCheck::layoutProblems(&page), QStringList());
}

QTEST_MAIN(TestLoRaLogs)
#include "tst_loralogs.moc"
