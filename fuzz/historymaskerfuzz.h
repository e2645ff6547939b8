#pragma once

#include <QByteArray>

// Drives the history masker with a console session built from arbitrary bytes: a
// login whose console may echo the password, a settings read whose document may
// hold kernel lines, a line of shell noise and an apply echo, fed in pieces cut at
// random points. Aborts unless the output is the session with every secret field's
// value and the password's echo masked and everything else as it came.
// Input: a head byte (bits 0-3 the password length, 1 to 12; bit 4 the console
// echoes it; bits 5-7 the longest piece, 1 to 128 characters), a seed for the cuts,
// the password's characters, then fields, each a byte choosing the field, a byte
// with the value's kind (bits 0-2), a kernel line inside (bit 3) and the value's
// length (bits 4-7), the kernel line's position if any, and the value's characters.
class HistoryMaskerFuzz
{
public:
    static void run(const QByteArray &input);
};
