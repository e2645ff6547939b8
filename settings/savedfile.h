#pragma once

#include <QByteArray>
#include <QString>

// Writes a file whole or not at all: the new content replaces the file only once it
// is written whole, so a failed or interrupted write leaves an existing file as it
// was. A failure is told in the system's words.
class SavedFile
{
public:
    enum class Status { Ok, CannotOpen, WriteFailed };
    struct Result
    {
        Status status = Status::CannotOpen;
        QString errorString;
    };

    // ownerOnly: readable by its owner only, also where an older file of that name
    // was readable by others.
    static Result write(const QString &path, const QByteArray &content, bool ownerOnly = false);
};
