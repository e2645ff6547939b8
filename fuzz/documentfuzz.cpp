#include "fuzz/documentfuzz.h"

#include "fuzz/historymaskerfuzz.h"
#include "fuzz/presetcheckfuzz.h"

void DocumentFuzz::run(const QByteArray &input)
{
    HistoryMaskerFuzz::run(input);
    PresetCheckFuzz::run(input);
}
