#pragma once

#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include "settings/settingsrules.h"
#include "survey/surveystatistics.h"

#include <optional>

class QTextDocument;

// The record an installer hands over after setting up a gateway: what it is,
// how it is set, whether the gateway confirmed the last apply, and the newest
// log lines. Built as a text document first, then printed to PDF.
class CommissioningReport
{
public:
    static constexpr int logLineCount = 200;

    enum class Outcome { NoApply, Confirmed, Drift, NotVerified };

    // What a site survey heard.
    struct Survey
    {
        qint64 durationMs = 0;
        qint64 packets = 0;
        qint64 crcBad = 0;
        QList<SurveyStatistics::Channel> channels;
        // The last statistics block's share; none before the first block.
        std::optional<double> pushAcknowledgedPercent;
        // NaN while no PUSH_ACK arrived.
        double pushAckMedianMs = NAN;
    };

    struct Content
    {
        QDateTime madeAt;
        QString note;
        // A report made while disconnected holds what the program last read.
        bool connected = false;
        QString model;
        QJsonObject deviceInfo;
        QJsonObject settings;
        Outcome outcome = Outcome::NoApply;
        // Fields the gateway did not take: old value as it holds it, new value as sent.
        QList<SettingsChange> drift;
        int confirmedFields = 0;
        QStringList logLines;
        // None when no survey was made.
        std::optional<Survey> survey;
    };

    // The survey's part of a report; none when the statistics heard nothing.
    static std::optional<Survey> surveyOf(const SurveyStatistics &statistics, qint64 durationMs);

    explicit CommissioningReport(Content content);

    QString html() const;
    // Fills the given document; its text is what the PDF shows.
    void fill(QTextDocument *document) const;
    // Writes the PDF whole or not at all; the error text when it could not.
    bool writePdf(const QString &path, QString *errorString = nullptr) const;

private:
    QString deviceSection() const;
    QString settingsSection() const;
    QString outcomeSection() const;
    QString surveySection() const;
    QString logSection() const;

    Content content;
};
