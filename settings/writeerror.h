#pragma once

#include <QString>

class QIODevice;

// The system's own words for why a file could not be written: "No space left on
// device", "Read-only file system", "Permission denied". Qt says "Unknown error"
// where a write is cut short (a disk that fills up midway, a size limit); then the
// error number that the failed call left tells.
class WriteError
{
public:
    // Right after the failed call on device, before anything else can change errno.
    static QString reason(const QIODevice &device);
};
