#include "lora/loralogs.h"

#include "lora/logmatchhighlighter.h"
#include "lora/logsaver.h"
#include "pagekit/placedwidgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>
#include <QToolButton>

#include <utility>

namespace {
constexpr int criticalMessage = 3;
const QString fileTimeFormat = QStringLiteral("hh.mm.ss - dd_MM_yyyy");

constexpr int referenceWidth = 905;
const QRect pauseGeometry(240, 10, 91, 24);
const QRect heldGeometry(337, 10, 165, 24);
// The find row keeps its distance to the right edge, like the save button.
constexpr int rowY = 10;
constexpr int rowHeight = 24;
constexpr int findFromRight = 397;
constexpr int findWidth = 110;
constexpr int previousFromRight = 281;
constexpr int nextFromRight = 255;
constexpr int arrowWidth = 24;
// Between the button row and the view.
constexpr int recordLineY = 34;
constexpr int recordLineHeight = 16;
constexpr int pageMargin = 10;
constexpr int viewWidthLess = 16;

// A save that ends within this time shows no progress at all.
constexpr int progressDelayMs = 500;
constexpr int progressPeriodMs = 100;
constexpr int progressSteps = 1000;
constexpr int bytesPerMegabyte = 1024 * 1024;
} // namespace

LoRaLogs::LoRaLogs(QWidget *parent)
    : QWidget(parent), showBox(new QCheckBox(tr("Показать логи LoRa Paket Forwarder"), this)),
      logView(new QPlainTextEdit(this)), saveButton(new QPushButton(tr("Выгрузить в файл"), this)),
      clearButton(new QPushButton(tr("Очистить логи"), this)),
      pauseButton(new QPushButton(tr("Пауза"), this)),
      heldLabel(PlacedWidgets::label(this, QString(), heldGeometry)),
      recordLine(PlacedWidgets::label(this, QString(), QRect())),
      findEdit(PlacedWidgets::lineEdit(this, QStringLiteral("findEdit"), QRect())),
      previousButton(new QToolButton(this)), nextButton(new QToolButton(this)),
      highlighter(new LogMatchHighlighter(logView->document())), settleTimer(new QTimer(this)),
      progressTimer(new QTimer(this))
{
    showBox->setObjectName(QStringLiteral("showBox"));
    showBox->setGeometry(10, 10, 221, 22);
    logView->setObjectName(QStringLiteral("logView"));
    logView->setGeometry(10, 50, 891, 521);
    logView->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    logView->setReadOnly(true);
    // Nothing is ever undone in a log; keeping undo steps only costs memory and time.
    logView->setUndoRedoEnabled(false);
    logView->setTextInteractionFlags(Qt::TextSelectableByMouse);
    saveButton->setObjectName(QStringLiteral("saveButton"));
    saveButton->setGeometry(680, 10, 121, 24);
    clearButton->setObjectName(QStringLiteral("clearButton"));
    clearButton->setGeometry(810, 10, 91, 24);

    pauseButton->setObjectName(QStringLiteral("pauseButton"));
    pauseButton->setGeometry(pauseGeometry);
    pauseButton->setCheckable(true);
    heldLabel->setObjectName(QStringLiteral("heldLabel"));
    heldLabel->hide();
    recordLine->setObjectName(QStringLiteral("recordLine"));
    recordLine->setGeometry(pageMargin, recordLineY, 891, recordLineHeight);
    recordLine->hide();
    findEdit->setPlaceholderText(tr("Поиск"));
    findEdit->setClearButtonEnabled(true);
    previousButton->setObjectName(QStringLiteral("previousButton"));
    previousButton->setArrowType(Qt::UpArrow);
    previousButton->setToolTip(tr("Предыдущее совпадение"));
    nextButton->setObjectName(QStringLiteral("nextButton"));
    nextButton->setArrowType(Qt::DownArrow);
    nextButton->setToolTip(tr("Следующее совпадение"));

    connect(logView->verticalScrollBar(), &QScrollBar::sliderMoved, this, &LoRaLogs::setAtoscroll);
    connect(showBox, &QCheckBox::stateChanged, this, &LoRaLogs::modifyStateSendLogs);
    connect(saveButton, &QPushButton::pressed, this, &LoRaLogs::uploadLogsToFile);
    connect(clearButton, &QPushButton::pressed, this, &LoRaLogs::clearLogs);
    connect(pauseButton, &QPushButton::toggled, this, &LoRaLogs::setPaused);
    connect(findEdit, &QLineEdit::textChanged, highlighter, &LogMatchHighlighter::setTerm);
    connect(findEdit, &QLineEdit::returnPressed, this, &LoRaLogs::findNext);
    connect(previousButton, &QToolButton::pressed, this, &LoRaLogs::findPrevious);
    connect(nextButton, &QToolButton::pressed, this, &LoRaLogs::findNext);

    // Window-wide, so they work wherever the focus is while this page is shown;
    // a hidden tab's shortcuts stay inactive.
    auto *findShortcut = new QShortcut(QKeySequence::Find, this);
    connect(findShortcut, &QShortcut::activated, findEdit, [this] {
        findEdit->setFocus(Qt::ShortcutFocusReason);
        findEdit->selectAll();
    });
    connect(new QShortcut(QKeySequence::FindNext, this), &QShortcut::activated, this,
            &LoRaLogs::findNext);
    connect(new QShortcut(QKeySequence::FindPrevious, this), &QShortcut::activated, this,
            &LoRaLogs::findPrevious);

    settleTimer->setObjectName(QStringLiteral("settleTimer"));
    settleTimer->setSingleShot(true);
    settleTimer->setInterval(settlePeriodMs);
    connect(settleTimer, &QTimer::timeout, this, &LoRaLogs::settleView);
    progressTimer->setInterval(progressPeriodMs);
    connect(progressTimer, &QTimer::timeout, this, &LoRaLogs::showSaveProgress);

    placeFindRow(referenceWidth);
}

QStringList LoRaLogs::newestLines(int count) const
{
    // Held text is newer than the view's and goes on its last line; once some of it
    // was dropped, the view's lines no longer join it.
    QStringList lines = heldText.split(QLatin1Char('\n'));
    QTextBlock block = logView->document()->lastBlock();
    if (!heldTextCut) {
        lines.first().prepend(block.text());
        block = block.previous();
    }
    // The text after the last line break is a line still arriving.
    if (lines.last().isEmpty())
        lines.removeLast();
    for (; block.isValid() && lines.size() < count; block = block.previous())
        lines.prepend(block.text());
    return lines.mid(qMax<qsizetype>(0, lines.size() - count));
}

void LoRaLogs::resetSendLogs()
{
    setStreamOn(false);
}

bool LoRaLogs::isStreamOn() const
{
    return showBox->isChecked();
}

void LoRaLogs::setStreamOn(bool on)
{
    showBox->setChecked(on);
}

void LoRaLogs::setLoRaLogs(QString Text)
{
    if (Text.isEmpty())
        return;
    record.append(Text);
    showRecordState();
    if (pauseButton->isChecked() || heldAside)
        hold(Text);
    else
        appendToView(Text);
    scheduleSettle();
}

void LoRaLogs::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        if (QWidget *focused = QApplication::focusWidget())
            focused->clearFocus();
    }
    QWidget::mousePressEvent(event);
}

void LoRaLogs::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    logView->setGeometry(10, 50, width() - 16, height() - 60);
    saveButton->setGeometry(width() - 227, 10, 121, 24);
    clearButton->setGeometry(width() - 97, 10, 91, 24);
    recordLine->setGeometry(pageMargin, recordLineY, width() - viewWidthLess, recordLineHeight);
    placeFindRow(width());
}

QString LoRaLogs::chooseLogDirectory()
{
    return QFileDialog::getExistingDirectory(this, QStringLiteral("Сохранить логи"),
                                             QCoreApplication::applicationDirPath(),
                                             QFileDialog::ShowDirsOnly);
}

void LoRaLogs::modifyStateSendLogs(int state)
{
    if (state == Qt::Checked)
        emit runLoRaLogs();
    else if (state == Qt::Unchecked)
        emit stopLoRaLogs();
}

void LoRaLogs::uploadLogsToFile()
{
    if (record.isEmpty()) {
        emit showDialog(criticalMessage, tr("Ошибка сохранения логов"),
                        tr("Невозможно сохранить пустые логи."));
        return;
    }
    if (saver)
        return;
    const QString directory = chooseLogDirectory();
    if (directory.isEmpty())
        return;
    writeLogFile(directory);
}

void LoRaLogs::setAtoscroll(int position)
{
    autoScroll = position == logView->verticalScrollBar()->maximum();
}

void LoRaLogs::clearLogs()
{
    settleTimer->stop();
    logView->clear();
    viewBehind = false;
    record.clear();
    showRecordState();
    heldText.clear();
    heldLines = 0;
    heldTextLines = 0;
    heldTextCut = false;
    showHeldCount();
}

void LoRaLogs::setPaused(bool paused)
{
    pauseButton->setText(paused ? tr("Продолжить") : tr("Пауза"));
    heldLabel->setVisible(paused);
    if (paused || heldAside) {
        settleView();
        return;
    }
    releaseHeld();
}

// A view kept up to date behind another tab costs the window its smoothness: laying
// out and trimming tens of thousands of lines stalls it now and then.
void LoRaLogs::holdViewAside(bool aside)
{
    heldAside = aside;
    if (!aside && !pauseButton->isChecked())
        releaseHeld();
}

void LoRaLogs::releaseHeld()
{
    // Once held lines were dropped, the rest no longer joins what the view shows.
    if (heldTextCut)
        logView->clear();
    const QString held = std::exchange(heldText, QString());
    heldLines = 0;
    heldTextLines = 0;
    heldTextCut = false;
    if (!held.isEmpty())
        appendToView(held);
    settleView();
}

void LoRaLogs::findNext()
{
    findMatch({});
}

void LoRaLogs::findPrevious()
{
    findMatch(QTextDocument::FindBackward);
}

void LoRaLogs::settleView()
{
    settleTimer->stop();
    record.flush();
    showRecordState();
    showHeldCount();
    if (!viewBehind)
        return;
    viewBehind = false;
    // Replays for the view what the layout reported while its signals were held back.
    auto *layout = qobject_cast<QPlainTextDocumentLayout *>(logView->document()->documentLayout());
    emit layout->documentSizeChanged(layout->documentSize());
    layout->requestUpdate();
    trimView();
    if (autoScroll) {
        QScrollBar *bar = logView->verticalScrollBar();
        bar->setValue(bar->maximum());
    }
}

void LoRaLogs::appendToView(const QString &text)
{
    QTextDocument *document = logView->document();
    // Each signal of the layout makes the view lay out its last page again; they wait
    // for settleView, which tells the view about all new text at once.
    const QSignalBlocker quiet(document->documentLayout());
    // A cursor of its own: the operator's selection in the view stays untouched. Inside
    // an edit block it skips placing itself on a laid-out line.
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    // A change inside one line makes the layout lay that line out at once; a change
    // across a line break only marks the lines for the next paint. Rewriting the last
    // line break stretches the change across one, unless the operator's selection
    // ends there and would be moved by it.
    const int lastBreak = document->lastBlock().position() - 1;
    const QTextCursor shown = logView->textCursor();
    if (lastBreak >= 0 && !text.contains(QLatin1Char('\n')) && shown.position() != lastBreak
        && shown.anchor() != lastBreak) {
        cursor.setPosition(lastBreak);
        cursor.setPosition(lastBreak + 1, QTextCursor::KeepAnchor);
        cursor.insertText(QStringLiteral("\n"));
    }
    // Placed by position: moving to the end would lay out the last line.
    cursor.setPosition(document->characterCount() - 1);
    cursor.insertText(text);
    cursor.endEditBlock();
    viewBehind = true;
}

void LoRaLogs::scheduleSettle()
{
    const bool underPressure
            = sinceLastPiece.isValid() && sinceLastPiece.elapsed() < settlePeriodMs;
    sinceLastPiece.start();
    if (!underPressure)
        settleView();
    else if (!settleTimer->isActive())
        settleTimer->start();
}

void LoRaLogs::hold(const QString &text)
{
    heldText += text;
    const qint64 lines = text.count(QLatin1Char('\n'));
    heldLines += lines;
    heldTextLines += lines;
    // Only the newest lines can reach the view; the record keeps the others.
    if (heldTextLines > 2 * qint64(viewLineLimit)) {
        qsizetype cut = -1;
        for (qint64 dropped = heldTextLines - viewLineLimit; dropped > 0; --dropped)
            cut = heldText.indexOf(QLatin1Char('\n'), cut + 1);
        heldText.remove(0, cut + 1);
        heldTextLines = viewLineLimit;
        heldTextCut = true;
    }
}

void LoRaLogs::showHeldCount()
{
    heldLabel->setText(tr("Новых строк: %1").arg(heldLines));
}

void LoRaLogs::trimView()
{
    QTextDocument *document = logView->document();
    // The last block is the line still coming in.
    const int excess = document->blockCount() - 1 - viewLineLimit;
    if (excess <= viewLineSlack)
        return;
    // The operator who scrolled away keeps looking at the same line while the
    // oldest lines go.
    QScrollBar *bar = logView->verticalScrollBar();
    const QTextBlock top = document->findBlockByLineNumber(bar->value());
    const int topPosition = top.position();
    const int lineInTop = bar->value() - top.firstLineNumber();
    const int removed = document->findBlockByNumber(excess).position();
    QTextCursor cursor(document);
    cursor.setPosition(removed, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    if (!autoScroll && topPosition >= removed) {
        const QTextBlock kept = document->findBlock(topPosition - removed);
        bar->setValue(kept.firstLineNumber() + lineInTop);
    }
}

void LoRaLogs::findMatch(QTextDocument::FindFlags flags)
{
    const QString term = findEdit->text();
    if (term.isEmpty())
        return;
    settleView();
    QTextDocument *document = logView->document();
    QTextCursor match = document->find(term, logView->textCursor(), flags);
    if (match.isNull()) {
        const int restart
                = flags.testFlag(QTextDocument::FindBackward) ? document->characterCount() - 1 : 0;
        match = document->find(term, restart, flags);
    }
    if (match.isNull())
        return;
    // The match stays in sight while the stream goes on below it.
    autoScroll = false;
    logView->setTextCursor(match);
    logView->centerCursor();
}

// The copy runs in a thread of its own; the stream goes on meanwhile and joins the
// record after what the save takes.
void LoRaLogs::writeLogFile(const QString &directory)
{
    const QString path
            = QStringLiteral("%1/%2.log")
                      .arg(directory, QDateTime::currentDateTime().toString(fileTimeFormat));
    saver = new LogSaver(record.snapshot(), path, this);
    showRecordState();
    connect(saver, &LogSaver::finished, this,
            [this, path](bool saved, bool cancelled) { finishSave(saved, cancelled, path); });
    saveProgress = new QProgressDialog(
            tr("Сохранение логов: %1 МБ").arg(saver->totalBytes() / bytesPerMegabyte), tr("Отмена"),
            0, progressSteps, this);
    saveProgress->setObjectName(QStringLiteral("saveProgress"));
    saveProgress->setWindowTitle(tr("Выгрузить в файл"));
    saveProgress->setAutoReset(false);
    saveProgress->setAutoClose(false);
    saveProgress->setMinimumDuration(progressDelayMs);
    connect(saveProgress, &QProgressDialog::canceled, saver, &LogSaver::cancel);
    saveButton->setEnabled(false);
    progressTimer->start();
    saver->start();
}

void LoRaLogs::finishSave(bool saved, bool cancelled, const QString &path)
{
    progressTimer->stop();
    delete saveProgress.data();
    const QString reason = saver ? saver->errorString() : QString();
    if (saver)
        saver->deleteLater();
    saver = nullptr;
    saveButton->setEnabled(true);
    if (saved || cancelled)
        return;
    emit showDialog(criticalMessage, tr("Ошибка открытитя лог файла"),
                    tr("Не удалось создать файл логов:\n") + path + QLatin1Char('\n') + reason);
}

void LoRaLogs::showSaveProgress()
{
    if (!saver || !saveProgress)
        return;
    const qint64 total = qMax<qint64>(1, saver->totalBytes());
    saveProgress->setValue(int(saver->savedBytes() * progressSteps / total));
}

void LoRaLogs::showRecordState()
{
    const bool inMemory = record.isInMemory();
    if (inMemory == !recordLine->isHidden())
        return;
    if (inMemory)
        recordLine->setText(tr("Запись логов на диск остановлена: %1. Новые строки хранятся в "
                               "памяти (до %2 МБ).")
                                    .arg(record.failureReason())
                                    .arg(LogSpool::memoryLimitBytes / bytesPerMegabyte));
    recordLine->setVisible(inMemory);
}

void LoRaLogs::placeFindRow(int pageWidth)
{
    findEdit->setGeometry(pageWidth - findFromRight, rowY, findWidth, rowHeight);
    previousButton->setGeometry(pageWidth - previousFromRight, rowY, arrowWidth, rowHeight);
    nextButton->setGeometry(pageWidth - nextFromRight, rowY, arrowWidth, rowHeight);
}
