#pragma once

#include "settings/settingsrules.h"

#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QString>

// How one apply ended, as far as the gateway showed it. Only Confirmed and Drift
// rest on a read-back; everything else leaves the gateway's state unknown or
// unchanged, and says why.
struct ApplyOutcome
{
    Q_GADGET

public:
    enum class Verdict {
        // The read-back holds every field sent.
        Confirmed,
        // The read-back holds other values in some fields sent.
        Drift,
        // The gateway answered the write, but reading it back failed.
        NotVerified,
        // No answer to the write in time: whether it was taken is unknown.
        Unanswered,
        // The gateway refused the request with an error other than "some not set".
        Failed,
    };
    Q_ENUM(Verdict)
    // Why it is not verified, unanswered or failed.
    enum class Cause { None, ErrorReply, DamagedReply, NoReply };

    Verdict verdict = Verdict::Unanswered;
    Cause cause = Cause::None;
    // The fields the write changes, as counted before it went out.
    int changedFields = 0;
    // old = what the gateway holds, new = what was sent.
    QList<SettingsChange> drift;
    // The text of the gateway's "some settings were not set" (ERROR 1008), if it said so.
    QString refusal;
    // The gateway's error, when cause is ErrorReply.
    int errorCode = 0;
    QString errorText;
    // What the read-back reported, when there was one.
    QJsonObject readBack;
};
