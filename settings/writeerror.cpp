#include "settings/writeerror.h"

#include <QIODevice>

#include <cerrno>

QString WriteError::reason(const QIODevice &device)
{
    const int systemError = errno;
    const QString text = device.errorString();
    const bool saysNothing = text.isEmpty() || text == QIODevice::tr("Unknown error");
    return saysNothing && systemError != 0 ? qt_error_string(systemError) : text;
}
