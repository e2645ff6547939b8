#pragma once

#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include "settings/settingsrules.h"

class QTextDocument;

// The record an installer hands over after setting up a gateway: what it is,
// how it is set, whether the gateway confirmed the last apply, and the newest
// log lines. Built as a text document first, then printed to PDF.
class CommissioningReport
{
public:
    static constexpr int logLineCount = 200;

    enum class Outcome { NoApply, Confirmed, Drift, NotVerified };

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
    };

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
    QString logSection() const;

    Content content;
};
