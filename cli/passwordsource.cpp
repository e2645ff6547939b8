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

const QByteArray byteOrderMark("\xEF\xBB\xBF");

// Up to the first line end of any kind (LF, CRLF, CR) or the end of the text.
QByteArray firstLine(const QByteArray &text)
{
    qsizetype end = 0;
    while (end < text.size() && text.at(end) != '\n' && text.at(end) != '\r')
        ++end;
    return text.left(end);
}

} // namespace

const char *const PasswordSource::environmentVariable = "KELVANE_PASSWORD";

bool PasswordSource::obtain(const QString &passwordFile, const QString &user, QByteArray *password,
                            QString *error, QString *refusalHint)
{
    if (!passwordFile.isEmpty()) {
        if (!fromFile(passwordFile, password, error))
            return false;
        // Kept, since a console password may end in a space; but the likelier
        // cause of a refusal is an editor's doing.
        if (password->endsWith(' ') || password->endsWith('\t'))
            *refusalHint = QStringLiteral("the password file's line ends in spaces");
        return true;
    }
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
    QByteArray text = file.readAll();
    if (text.startsWith(byteOrderMark))
        text.remove(0, byteOrderMark.size());
    *password = firstLine(text);
    text.fill('\0');
    if (password->isEmpty()) {
        *error = QStringLiteral("the password file %1 has no password on its first line").arg(path);
        return false;
    }
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
