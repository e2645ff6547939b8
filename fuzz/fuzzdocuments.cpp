#include "fuzz/documentfuzz.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input
            = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    DocumentFuzz::run(input);
    return 0;
}
