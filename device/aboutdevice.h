#pragma once

#include <QString>
#include <QWidget>

class General;
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

    QPushButton *const clearLogsButton;
    QPushButton *const resetGatewayButton;
    QPushButton *const resetLoRaButton;
    QPushButton *const rebootButton;
    QTextEdit *const rebootLogView;
    General *const infoBox;

public slots:
    void Set_Reboot_Logs(QString Text);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void setServiceButtonsEnabled(bool enabled);
};
