#include "cli/passwordsource.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <cstring>
#include <termios.h>
#include <unistd.h>

namespace {

// Longer than any console password; a line beyond it is cut.
constexpr int promptBufferBytes = 1024;

QByteArray firstLine(const QByteArray &text)
{
    QByteArray line = text.left(text.indexOf('\n'));
    if (line.endsWith('\r'))
        line.chop(1);
    return line;
}

} // namespace

const char *const PasswordSource::environmentVariable = "KELVANE_PASSWORD";

bool PasswordSource::obtain(const QString &passwordFile, const QString &user, QByteArray *password,
                            QString *error)
{
    if (!passwordFile.isEmpty())
        return fromFile(passwordFile, password, error);
    if (qEnvironmentVariableIsSet(environmentVariable)) {
        *password = qgetenv(environmentVariable);
        return true;
    }
    return fromTerminal(user, password, error);
}

bool PasswordSource::fromFile(const QString &path, QByteArray *password, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read the password file %1: %2")
                         .arg(path, file.errorString());
        return false;
    }
    const QFileDevice::Permissions shared = QFileDevice::ReadGroup | QFileDevice::ReadOther;
    if (file.permissions() & shared) {
        *error = QStringLiteral("the password file %1 is readable by others: chmod 600 it")
                         .arg(path);
        return false;
    }
    *password = firstLine(file.readAll());
    return true;
}

bool PasswordSource::fromTerminal(const QString &user, QByteArray *password, QString *error)
{
    if (!::isatty(STDIN_FILENO)) {
        *error = QStringLiteral("no password: use --password-file or %1, or run on a terminal")
                         .arg(QLatin1String(environmentVariable));
        return false;
    }
    std::fprintf(stderr, "Console password for %s: ", user.toLocal8Bit().constData());
    std::fflush(stderr);
    termios saved;
    const bool echoOff = ::tcgetattr(STDIN_FILENO, &saved) == 0;
    if (echoOff) {
        termios quiet = saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    char buffer[promptBufferBytes];
    const bool read = std::fgets(buffer, sizeof buffer, stdin) != nullptr;
    if (echoOff)
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    std::fputc('\n', stderr);
    if (!read) {
        *error = QStringLiteral("no password typed");
        return false;
    }
    *password = firstLine(QByteArray(buffer));
    std::memset(buffer, 0, sizeof buffer);
    return true;
}
