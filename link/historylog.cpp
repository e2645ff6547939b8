#include "link/historylog.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

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

QString historyLogPath(const QString &programDir)
{
    const QString fileName = QStringLiteral("/history.log");
    const QFileInfo program(programDir);
    if (program.isDir() && program.isWritable())
        return programDir + fileName;
    const QString dataDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (dataDir.isEmpty() || !QDir().mkpath(dataDir))
        return QString();
    return dataDir + fileName;
}

void writeHistoryLog(int level, QString text)
{
    const QString path = historyLogPath(QCoreApplication::applicationDirPath());
    if (path.isEmpty())
        return;
    QFile file(path);
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
