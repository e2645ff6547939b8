#pragma once

#include <QString>

// The command line's messages are English only and have no catalogue behind
// them, so their counts take the English plural here: "1 field", "2 fields".
class EnglishCount
{
public:
    static QString of(qsizetype count, const QString &noun);
};
