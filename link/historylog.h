#pragma once

#include <QString>

// Appends one entry to "history.log" beside the executable; the file starts
// over once it has grown past historyLogLimitBytes. Unwritable: dropped silently.
constexpr qint64 historyLogLimitBytes = 4000000;

void writeHistoryLog(int level, QString text);
