#pragma once

#include "settings/savedfile.h"

#include <QJsonObject>
#include <QString>

// Reads and writes preset files: the settings document as indented UTF-8 JSON.
class PresetFile
{
public:
    // A settings document is a few kilobytes; anything far larger was chosen by mistake.
    static constexpr qint64 maximumSizeBytes = 16 * 1024 * 1024;

    enum class ReadStatus { Ok, CannotOpen, Empty, NotSettings };
    struct ReadResult
    {
        ReadStatus status = ReadStatus::CannotOpen;
        QJsonObject document;
    };

    using WriteStatus = SavedFile::Status;
    using WriteResult = SavedFile::Result;

    static ReadResult read(const QString &path);
    // The new content replaces the file only once it is written whole: a failed
    // or interrupted write leaves an existing file as it was.
    static WriteResult write(const QString &path, const QJsonObject &document);
};
