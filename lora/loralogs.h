#pragma once

#include <QByteArray>
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
    // Arriving pieces are gathered and shown together at most this often, so a fast
    // stream costs one document update and one repaint per period, not per piece.
    static constexpr int appendPeriodMs = 20;

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
    void appendPending();
    void clearLogs();
    void writeLogFile(const QString &directory, const QByteArray &bytes);

    QCheckBox *showBox;
    QPlainTextEdit *logView;
    QPushButton *saveButton;
    QPushButton *clearButton;
    bool autoScroll = true;
    QString pendingText;
    QTimer appendTimer;
};
