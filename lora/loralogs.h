#pragma once

#include "lora/logspool.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTextDocument>
#include <QWidget>

class LogMatchHighlighter;
class LogSaver;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressDialog;
class QPushButton;
class QTimer;
class QToolButton;

// The packet-forwarder log tab: switches the stream, shows its newest lines, keeps all
// of it in a spool file for saving, finds text in the view and pauses the view.
class LoRaLogs : public QWidget
{
    Q_OBJECT

public:
    // The view holds at least this many of the newest lines; older ones live in the
    // spool file only.
    static constexpr int viewLineLimit = 20000;
    // Lines the view may run over its limit before the oldest are cut, so that they
    // go in batches instead of one per arriving line.
    static constexpr int viewLineSlack = 1000;
    // Text enters the view at once. While pieces come faster than this, the view's
    // scroll bar, its paint and the held-line count catch up once per period, so that
    // a piece costs no layout pass and no repaint.
    static constexpr int settlePeriodMs = 20;

    explicit LoRaLogs(QWidget *parent = nullptr);

    void resetSendLogs();
    // The show box: checking it starts the stream, unchecking it stops it.
    bool isStreamOn() const;
    void setStreamOn(bool on);
    // While another view of the stream is open, the text view waits and catches up
    // when this one is shown; the record and newestLines keep up meanwhile.
    void holdViewAside(bool aside);
    // The newest lines the view shows, oldest first, for a report.
    QStringList newestLines(int count) const;

signals:
    void runLoRaLogs();
    void stopLoRaLogs();
    void showDialog(int index, QString Title, QString Text);

public slots:
    void setLoRaLogs(QString Text);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    // The directory the operator picks for a save; empty when none was chosen.
    virtual QString chooseLogDirectory();

private slots:
    void modifyStateSendLogs(int state);
    void uploadLogsToFile();
    void setAtoscroll(int position);
    void clearLogs();
    void setPaused(bool paused);
    void releaseHeld();
    void findNext();
    void findPrevious();
    void settleView();

private:
    void appendToView(const QString &text);
    void scheduleSettle();
    void hold(const QString &text);
    void showHeldCount();
    void trimView();
    void findMatch(QTextDocument::FindFlags flags);
    void writeLogFile(const QString &directory);
    void finishSave(bool saved, bool cancelled, const QString &path);
    void showSaveProgress();
    void showRecordState();
    void placeFindRow(int pageWidth);

    QCheckBox *showBox;
    QPlainTextEdit *logView;
    QPushButton *saveButton;
    QPushButton *clearButton;
    QPushButton *pauseButton;
    QLabel *heldLabel;
    // Tells the operator once that the record is kept in memory.
    QLabel *recordLine;
    QLineEdit *findEdit;
    QToolButton *previousButton;
    QToolButton *nextButton;
    LogMatchHighlighter *highlighter;
    QTimer *settleTimer;
    LogSpool record;
    QPointer<LogSaver> saver;
    QPointer<QProgressDialog> saveProgress;
    QTimer *progressTimer;
    bool autoScroll = true;
    bool viewBehind = false;
    // What came in while paused, cut to the lines the view can hold.
    QString heldText;
    qint64 heldLines = 0;
    qint64 heldTextLines = 0;
    bool heldTextCut = false;
    // Another view of the stream is open: the text view catches up when it is shown.
    bool heldAside = false;
    QElapsedTimer sinceLastPiece;
};
