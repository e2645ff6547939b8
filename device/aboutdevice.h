#pragma once

#include <QJsonObject>
#include <QString>
#include <QWidget>

class General;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTextEdit;

// The device tab: what the gateway reports about itself, its boot output while
// it reboots, and the service buttons the main window wires to the link.
class AboutDevice : public QWidget
{
    Q_OBJECT

public:
    AboutDevice();

    void setSettings();
    void lockServiceButtons();
    void unlockServiceButtons();
    // What the gateway last reported about itself.
    QJsonObject deviceInfo() const { return shownInfo; }
    // The installer's words for the commissioning report.
    QString installerNote() const;

    QPushButton *const clearLogsButton;
    QPushButton *const resetGatewayButton;
    QPushButton *const resetLoRaButton;
    QPushButton *const rebootButton;
    QTextEdit *const rebootLogView;
    General *const infoBox;
    QLabel *const noteLabel;
    QPlainTextEdit *const noteEdit;
    // The main window makes the report; the page only offers the button.
    QPushButton *const reportButton;

public slots:
    void Set_Reboot_Logs(QString Text);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void setServiceButtonsEnabled(bool enabled);

    QJsonObject shownInfo;
};
