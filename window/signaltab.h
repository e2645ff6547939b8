#pragma once

#include "report/commissioningreport.h"

#include <QObject>
#include <QString>

#include <optional>

class GatewaySession;
class LoRaLogs;
class QTabWidget;
class SignalPage;

// The window's last tab, the site survey: its page reads every piece of log the
// session streams, whichever tab is shown. While the tab is shown and the gateway
// takes requests, the log runs: a stream that is off is turned on with the log
// page's own control, and off again when the operator leaves the tab, if and only
// if this tab turned it on.
class SignalTab : public QObject
{
    Q_OBJECT

public:
    SignalTab(QTabWidget *tabs, LoRaLogs *logs, GatewaySession *session, QObject *parent);

    SignalPage *page() const { return signalPage; }
    // The report's Signal section; none when no survey was made.
    std::optional<CommissioningReport::Survey> reportSurvey() const;

signals:
    void showDialog(int index, QString Title, QString Text);

private:
    void follow();

    QTabWidget *tabs;
    LoRaLogs *logs;
    GatewaySession *session;
    SignalPage *signalPage;
    bool turnedOn = false;
};
