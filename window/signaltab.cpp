#include "window/signaltab.h"

#include "lora/loralogs.h"
#include "lora/signalpage.h"
#include "session/gatewaysession.h"

#include <QTabWidget>

SignalTab::SignalTab(QTabWidget *tabs, LoRaLogs *logs, GatewaySession *session, QObject *parent)
    : QObject(parent), tabs(tabs), logs(logs), session(session), signalPage(new SignalPage(tabs))
{
    signalPage->setObjectName(QStringLiteral("signalPage"));
    tabs->addTab(signalPage, tr("Сигнал"));
    connect(session, &GatewaySession::logText, signalPage, &SignalPage::takeLogText);
    connect(signalPage, &SignalPage::showDialog, this, &SignalTab::showDialog);
    connect(tabs, &QTabWidget::currentChanged, this, &SignalTab::follow);
    connect(session, &GatewaySession::stateChanged, this, &SignalTab::follow);
    // Once stopped by anyone (the operator, a disconnect, a reboot), the stream is no
    // longer this tab's to stop.
    connect(logs, &LoRaLogs::stopLoRaLogs, this, [this] { turnedOn = false; });
}

std::optional<CommissioningReport::Survey> SignalTab::reportSurvey() const
{
    return CommissioningReport::surveyOf(signalPage->statistics(), signalPage->surveyDurationMs());
}

void SignalTab::follow()
{
    const bool shown = tabs->currentWidget() == signalPage;
    logs->holdViewAside(shown);
    if (shown && session->isOnline() && !logs->isStreamOn()) {
        logs->setStreamOn(true);
        turnedOn = true;
    } else if (!shown && turnedOn) {
        turnedOn = false;
        logs->setStreamOn(false);
    }
}
