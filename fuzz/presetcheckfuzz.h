#pragma once

#include <QByteArray>

// Drives the preset check with a settings document built from arbitrary bytes:
// groups known and unknown, keys near the pages' own, values of every JSON type.
// Aborts unless every problem names a field the document holds, leaving out the
// unknown keys leaves the other problems as they were, and no description of a
// password field shows the password.
// Input: fields, each a byte choosing the group, a byte choosing the key (above
// 0xf0: a key of text), a byte with the value's kind (bits 0-2) and length (bits
// 3-7), and the value's characters.
class PresetCheckFuzz
{
public:
    static void run(const QByteArray &input);
};
