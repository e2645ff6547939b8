#pragma once

#include <QByteArray>
#include <QString>

// Where the console password comes from, never the command line (which every user
// of the machine can read): a file only its owner may read, the environment
// variable KELVANE_PASSWORD, or a prompt without echo on the terminal.
class PasswordSource
{
public:
    static const char *const environmentVariable;

    // False with a one-line reason in *error. A password file's first line is the
    // password, without its line end (LF, CRLF, CR or none) and a UTF-8 byte order
    // mark; *refusalHint names what may be wrong with it should the console refuse it.
    static bool obtain(const QString &passwordFile, const QString &user, QByteArray *password,
                       QString *error, QString *refusalHint);

private:
    static bool fromFile(const QString &path, QByteArray *password, QString *error);
    static bool fromTerminal(const QString &user, QByteArray *password, QString *error);
};
