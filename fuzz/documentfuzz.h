#pragma once

#include <QByteArray>

// The entry of the settings documents' fuzz target and of its corpus replay: every
// part of the documents' handling under test takes the whole input in turn and reads
// it its own way (HistoryMaskerFuzz, PresetCheckFuzz).
class DocumentFuzz
{
public:
    static void run(const QByteArray &input);
};
