#include "settings/presetfile.h"

#include "settings/savedfile.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonParseError>

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
    // The document holds the gateway's passwords: for its owner's eyes only.
    return SavedFile::write(path, QJsonDocument(document).toJson(QJsonDocument::Indented), true);
}
