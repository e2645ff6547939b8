// The fuzz target of what the program does with settings documents. Each part under
// test has an entry of its own that reads the whole input its own way.
#include "fuzz/historymaskerfuzz.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input
            = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    HistoryMaskerFuzz::run(input);
    return 0;
}
