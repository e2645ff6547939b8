#include "survey/logcursor.h"

#include <cmath>

namespace {
// Nested arrays and objects deeper than this are not forwarder output.
constexpr int deepestNesting = 32;
// Mantissa digits that fit a 64-bit integer exactly.
constexpr int mantissaDigits = 18;
constexpr int exactPowers = 22;
constexpr int largestExponent = 400;
constexpr double powersOfTen[exactPowers + 1]
        = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
           1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}
} // namespace

LogCursor::LogCursor(QStringView text) : at(text.utf16()), end(text.utf16() + text.size()) { }

void LogCursor::skipSpaces()
{
    while (at < end && (*at == u' ' || *at == u'\t' || *at == u'\r' || *at == u'\n'))
        ++at;
}

bool LogCursor::take(char16_t c)
{
    skipSpaces();
    if (at == end || *at != c)
        return false;
    ++at;
    return true;
}

bool LogCursor::takeWord(QStringView word)
{
    skipSpaces();
    if (!QStringView(at, end).startsWith(word))
        return false;
    at += word.size();
    return true;
}

bool LogCursor::number(double *value)
{
    skipSpaces();
    const char16_t *p = at;
    const bool negative = p < end && *p == u'-';
    if (p < end && (*p == u'-' || *p == u'+'))
        ++p;
    quint64 mantissa = 0;
    int digits = 0;
    int exponent = 0;
    bool seen = false;
    for (; p < end && isDigit(*p); ++p, seen = true) {
        if (digits < mantissaDigits) {
            mantissa = mantissa * 10 + (*p - u'0');
            digits += mantissa > 0;
        } else {
            ++exponent;
        }
    }
    if (p < end && *p == u'.') {
        for (++p; p < end && isDigit(*p); ++p, seen = true) {
            if (digits < mantissaDigits) {
                mantissa = mantissa * 10 + (*p - u'0');
                digits += mantissa > 0;
                --exponent;
            }
        }
    }
    if (!seen)
        return false;
    if (p < end && (*p == u'e' || *p == u'E')) {
        ++p;
        const bool negativeExponent = p < end && *p == u'-';
        if (p < end && (*p == u'-' || *p == u'+'))
            ++p;
        if (p == end || !isDigit(*p))
            return false;
        int written = 0;
        for (; p < end && isDigit(*p); ++p)
            written = qMin(largestExponent, written * 10 + (*p - u'0'));
        exponent += negativeExponent ? -written : written;
    }
    double result = double(mantissa);
    if (exponent < 0)
        result = -exponent <= exactPowers ? result / powersOfTen[-exponent]
                                          : result * std::pow(10.0, exponent);
    else if (exponent > 0)
        result = exponent <= exactPowers ? result * powersOfTen[exponent]
                                         : result * std::pow(10.0, exponent);
    *value = negative ? -result : result;
    at = p;
    return true;
}

bool LogCursor::string(QStringView *value)
{
    if (!take(u'"'))
        return false;
    const char16_t *start = at;
    for (; at < end; ++at) {
        if (*at == u'\\') {
            if (++at == end)
                return false;
        } else if (*at == u'"') {
            *value = QStringView(start, at);
            ++at;
            return true;
        }
    }
    return false;
}

bool LogCursor::skipValue(int depth)
{
    if (depth > deepestNesting)
        return false;
    skipSpaces();
    if (at == end)
        return false;
    QStringView text;
    double ignored = 0;
    switch (*at) {
    case u'{':
        ++at;
        if (take(u'}'))
            return true;
        do {
            if (!string(&text) || !take(u':') || !skipValue(depth + 1))
                return false;
        } while (take(u','));
        return take(u'}');
    case u'[':
        ++at;
        if (take(u']'))
            return true;
        do {
            if (!skipValue(depth + 1))
                return false;
        } while (take(u','));
        return take(u']');
    case u'"':
        return string(&text);
    case u't':
        return takeWord(u"true");
    case u'f':
        return takeWord(u"false");
    case u'n':
        return takeWord(u"null");
    default:
        return number(&ignored);
    }
}
