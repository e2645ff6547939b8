#include "link/historylog.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>

namespace {

QString levelPrefix(int level)
{
    switch (level) {
    case 0:
        return QStringLiteral("(INFO) - ");
    case 1:
        return QStringLiteral("(WARN) - ");
    case 2:
        return QStringLiteral("(ERR) - ");
    default:
        return QString();
    }
}

} // namespace

void writeHistoryLog(int level, QString text)
{
    QFile file(QCoreApplication::applicationDirPath() + QStringLiteral("/history.log"));
    const QIODevice::OpenMode mode = file.size() <= historyLogLimitBytes
            ? QIODevice::WriteOnly | QIODevice::Append
            : QIODevice::WriteOnly | QIODevice::Truncate;
    if (!file.open(mode))
        return;
    const QString entry = levelPrefix(level)
            + QDateTime::currentDateTime().toString(QStringLiteral("[dd.MM.yyyy - hh:mm:ss]"))
            + QStringLiteral(" - ") + text + QLatin1Char('\n');
    file.write(entry.toUtf8());
}
