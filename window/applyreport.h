#pragma once

#include "settings/settingsrules.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

// The one box that reports an apply: what the gateway answered to the write, and
// what reading the settings back showed.
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
};
