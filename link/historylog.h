#pragma once

#include <QString>

// Appends one entry to the history file at historyLogPath(). The file is readable
// by its owner only; once it has grown past historyLogLimitBytes it is kept as
// "history.log.1" (replacing the one before) and a new file starts. It stays open
// between entries. Unwritable: entries are dropped silently.
// Callers mask secrets first (HistoryMasker): the file holds no password.
constexpr qint64 historyLogLimitBytes = 4000000;

void writeHistoryLog(int level, QString text);

// In the user's data directory, created here: the file holds the console traffic of
// this user's sessions, and the program's own directory may be shared by everyone
// (/usr/bin for an installed program run as root).
QString historyLogPath();

// The next entry opens the file again (after it was moved or removed).
void closeHistoryLog();
