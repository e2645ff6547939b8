#include "settings/presetfile.h"

#include "settings/writeerror.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QSaveFile>

#include <cerrno>

PresetFile::ReadResult PresetFile::read(const QString &path)
{
    const QFileInfo info(path);
    // A pipe or device would block the window on open or read.
    if (info.exists() && (!info.isFile() || info.size() > maximumSizeBytes))
        return {ReadStatus::NotSettings, {}};

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {ReadStatus::CannotOpen, {}};
    const QByteArray content = file.read(maximumSizeBytes + 1);
    file.close();
    if (content.isEmpty())
        return {ReadStatus::Empty, {}};

    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(content, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return {ReadStatus::NotSettings, {}};
    return {ReadStatus::Ok, document.object()};
}

PresetFile::WriteResult PresetFile::write(const QString &path, const QJsonObject &document)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {WriteStatus::CannotOpen, file.errorString()};
    // The document holds the gateway's passwords: for its owner's eyes only, also
    // where an older file of that name was readable by others.
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const QByteArray content = QJsonDocument(document).toJson(QJsonDocument::Indented);
    // commit() does not see a failure of the buffered bytes' own write (a full
    // disk, a size limit), so they are pushed out and checked first.
    errno = 0;
    if (file.write(content) != content.size() || !file.flush()) {
        const QString reason = WriteError::reason(file);
        file.cancelWriting();
        return {WriteStatus::WriteFailed, reason};
    }
    if (!file.commit())
        return {WriteStatus::WriteFailed, WriteError::reason(file)};
    return {WriteStatus::Ok, {}};
}
