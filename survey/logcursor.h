#pragma once

#include <QStringView>

// Reads JSON values and the words of the forwarder's statistics lines in place, without
// copies: each call skips white space first, and moves past what it read only when it
// succeeds.
class LogCursor
{
public:
    explicit LogCursor(QStringView text);

    void skipSpaces();
    bool take(char16_t c);
    bool takeWord(QStringView word);
    // A JSON number, read by hand: fast, and exact enough for what the forwarder prints.
    bool number(double *value);
    // The raw text between the quotes; escapes are left as they are.
    bool string(QStringView *value);
    // Any JSON value, nested no deeper than a forwarder writes.
    bool skipValue(int depth = 0);

private:
    const char16_t *at;
    const char16_t *end;
};
