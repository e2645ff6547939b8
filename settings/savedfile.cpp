#include "settings/savedfile.h"

#include "settings/writeerror.h"

#include <QSaveFile>

#include <cerrno>

SavedFile::Result SavedFile::write(const QString &path, const QByteArray &content, bool ownerOnly)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {Status::CannotOpen, file.errorString()};
    if (ownerOnly)
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    // commit() does not see a failure of the buffered bytes' own write (a full
    // disk, a size limit), so they are pushed out and checked first.
    errno = 0;
    if (file.write(content) != content.size() || !file.flush()) {
        const QString reason = WriteError::reason(file);
        file.cancelWriting();
        return {Status::WriteFailed, reason};
    }
    if (!file.commit())
        return {Status::WriteFailed, WriteError::reason(file)};
    return {Status::Ok, {}};
}
