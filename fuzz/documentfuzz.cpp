#include "fuzz/documentfuzz.h"

#include "fuzz/historymaskerfuzz.h"

void DocumentFuzz::run(const QByteArray &input)
{
    HistoryMaskerFuzz::run(input);
}
