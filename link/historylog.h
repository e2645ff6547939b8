#pragma once

#include <QString>

// Appends one entry to "history.log" at historyLogPath(); the file starts over
// once it has grown past historyLogLimitBytes. Unwritable: dropped silently.
constexpr qint64 historyLogLimitBytes = 4000000;

void writeHistoryLog(int level, QString text);

// Beside the program while its directory is writable (a build tree, a portable
// copy); otherwise in the user's data directory, created here, since an
// installed program's directory belongs to root.
QString historyLogPath(const QString &programDir);
