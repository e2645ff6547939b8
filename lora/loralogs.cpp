#include "lora/loralogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollBar>
#include <QTextCursor>

namespace {
constexpr int criticalMessage = 3;
const QString fileTimeFormat = QStringLiteral("hh.mm.ss - dd_MM_yyyy");
} // namespace

LoRaLogs::LoRaLogs(QWidget *parent)
    : QWidget(parent), showBox(new QCheckBox(tr("Показать логи LoRa Paket Forwarder"), this)),
      logView(new QPlainTextEdit(this)), saveButton(new QPushButton(tr("Выгрузить в файл"), this)),
      clearButton(new QPushButton(tr("Очистить логи"), this))
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

    connect(logView->verticalScrollBar(), &QScrollBar::sliderMoved, this, &LoRaLogs::setAtoscroll);
    connect(showBox, &QCheckBox::stateChanged, this, &LoRaLogs::modifyStateSendLogs);
    connect(saveButton, &QPushButton::pressed, this, &LoRaLogs::uploadLogsToFile);
    connect(clearButton, &QPushButton::pressed, logView, &QPlainTextEdit::clear);

    repaintTimer.setSingleShot(true);
    repaintTimer.setInterval(repaintPeriodMs);
    connect(&repaintTimer, &QTimer::timeout, this, &LoRaLogs::resumeRepaint);
}

void LoRaLogs::resetSendLogs()
{
    showBox->setChecked(false);
}

void LoRaLogs::setLoRaLogs(QString Text)
{
    if (Text.isEmpty())
        return;
    // Only a stream under pressure waits for its paint: a piece that comes alone
    // is painted at once.
    const bool underPressure
            = sinceLastPiece.isValid() && sinceLastPiece.elapsed() < repaintPeriodMs;
    sinceLastPiece.start();
    if (underPressure && !repaintTimer.isActive()) {
        logView->setUpdatesEnabled(false);
        repaintTimer.start();
    }
    // A cursor of its own: the operator's selection in the view stays untouched.
    QTextCursor cursor(logView->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(Text);
    if (autoScroll) {
        QScrollBar *bar = logView->verticalScrollBar();
        bar->setValue(bar->maximum());
    }
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
    const QByteArray bytes = logView->toPlainText().toUtf8();
    if (bytes.isEmpty()) {
        emit showDialog(criticalMessage, tr("Ошибка сохранения логов"),
                        tr("Невозможно сохранить пустые логи."));
        return;
    }
    const QString directory = chooseLogDirectory();
    if (directory.isEmpty())
        return;
    writeLogFile(directory, bytes);
}

void LoRaLogs::setAtoscroll(int position)
{
    autoScroll = position == logView->verticalScrollBar()->maximum();
}

void LoRaLogs::resumeRepaint()
{
    logView->setUpdatesEnabled(true);
}

void LoRaLogs::writeLogFile(const QString &directory, const QByteArray &bytes)
{
    const QString path
            = QStringLiteral("%1/%2.log")
                      .arg(directory, QDateTime::currentDateTime().toString(fileTimeFormat));
    // Written beside the final name and renamed only when complete, so a failed
    // save never leaves a truncated log under that name.
    QSaveFile file(path);
    const bool saved
            = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
    if (!saved) {
        file.cancelWriting();
        emit showDialog(criticalMessage, tr("Ошибка открытитя лог файла"),
                        tr("Не удалось создать файл логов:\n") + path);
    }
}
