#pragma once

#include "cli/clioptions.h"

#include <QJsonObject>
#include <QString>

class SurveyStatistics;

// What a survey tells of a site, for a script: the figures of --json, one line of
// text, and whether the site meets the thresholds given (status 1 when not, or when
// no PUSH_DATA was acknowledged).
class SurveyVerdict
{
public:
    SurveyVerdict(const SurveyStatistics &statistics, const CliOptions &options);

    int status() const { return verdict; }
    QString text() const { return line; }
    QJsonObject figures() const { return json; }

private:
    int verdict = CliOptions::Done;
    QString line;
    QJsonObject json;
};
