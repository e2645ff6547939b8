#include "link/historylog.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace {

constexpr qint64 millisecondsPerSecond = 1000;
constexpr QFileDevice::Permissions ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

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

class HistoryFile
{
public:
    void write(const QByteArray &entry)
    {
        if (!file.isOpen() && !open())
            return;
        // Past the limit the old file is kept, one generation of it.
        if (size > historyLogLimitBytes) {
            const QString path = file.fileName();
            const QString previous = path + QStringLiteral(".1");
            file.close();
            QFile::remove(previous);
            if (!QFile::rename(path, previous))
                QFile::remove(path);
            if (!open())
                return;
        }
        const qint64 written = file.write(entry);
        if (written > 0)
            size += written;
    }

    void close() { file.close(); }

private:
    bool open()
    {
        const QString path = historyLogPath();
        if (path.isEmpty())
            return false;
        file.setFileName(path);
        // Each entry goes out in one write, so that a crash loses none.
        if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered, ownerOnly))
            return false;
        // A file from an older version, or one the user made, may be readable by others.
        file.setPermissions(ownerOnly);
        size = file.size();
        return true;
    }

    QFile file;
    qint64 size = 0;
};

HistoryFile &historyFile()
{
    static HistoryFile file;
    return file;
}

// Turning the clock into local time costs more than the rest of an entry, and a log
// stream writes hundreds of entries a second: the stamp is made once a second.
QString timeStamp()
{
    static qint64 stampedSecond = -1;
    static QString stamp;
    const qint64 second = QDateTime::currentMSecsSinceEpoch() / millisecondsPerSecond;
    if (second != stampedSecond) {
        stampedSecond = second;
        stamp = QDateTime::fromSecsSinceEpoch(second).toString(
                QStringLiteral("[dd.MM.yyyy - hh:mm:ss]"));
    }
    return stamp;
}

} // namespace

QString historyLogPath()
{
    const QString dataDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (dataDir.isEmpty() || !QDir().mkpath(dataDir))
        return QString();
    return dataDir + QStringLiteral("/history.log");
}

void writeHistoryLog(int level, QString text)
{
    const QString entry
            = levelPrefix(level) + timeStamp() + QStringLiteral(" - ") + text + QLatin1Char('\n');
    historyFile().write(entry.toUtf8());
}

void closeHistoryLog()
{
    historyFile().close();
}
