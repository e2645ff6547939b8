#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>
#include <QTimer>
#include <QWidget>

class QCheckBox;
class QPlainTextEdit;
class QPushButton;

// The packet-forwarder log tab: switches the stream, shows it and saves it to a file.
class LoRaLogs : public QWidget
{
    Q_OBJECT

public:
    // A fast stream is painted at most this often: each piece goes into the view at
    // once, but under a fast stream the repaint it asks for waits, so the view costs
    // one paint per period instead of one per piece.
    static constexpr int repaintPeriodMs = 20;

    explicit LoRaLogs(QWidget *parent = nullptr);

    void resetSendLogs();

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

private:
    void resumeRepaint();
    void writeLogFile(const QString &directory, const QByteArray &bytes);

    QCheckBox *showBox;
    QPlainTextEdit *logView;
    QPushButton *saveButton;
    QPushButton *clearButton;
    bool autoScroll = true;
    QTimer repaintTimer;
    QElapsedTimer sinceLastPiece;
};
