#pragma once

#include "session/applyoutcome.h"
#include "session/gatewaysession.h"
#include "settings/settingsrules.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

// The one box that reports an apply: what the gateway answered to the write, and
// what reading the settings back showed; and the box of a read that failed.
struct ApplyReport
{
    Q_DECLARE_TR_FUNCTIONS(ApplyReport)

public:
    int icon;
    QString title;
    QString text;

    // refusal: the text of the gateway's ERROR 1008, empty when it took the write.
    // notTaken: old = what the gateway holds, new = what was sent.
    static ApplyReport verified(const QString &refusal, int changedFields,
                                const QList<SettingsChange> &notTaken);
    // The read-back failed or never came: nothing is confirmed.
    static ApplyReport notVerified(const QString &refusal, const QString &reason);
    static ApplyReport of(const ApplyOutcome &outcome);
    // An empty text: nothing to say (no reply came, and no read waited for one).
    static ApplyReport failedExchange(GatewaySession::State exchange,
                                      GatewaySession::Failure failure, const QString &text);
};
