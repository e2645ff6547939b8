#include "link/historymasker.h"

#include "settings/fieldcatalog.h"

#include <QStringView>

#include <utility>

const QString HistoryMasker::mask = QStringLiteral("••••••");

namespace {

// Field keys are short decimal numbers; anything longer is no key.
constexpr qsizetype maxKeyChars = 4;
// Deeper nesting than any settings document has is followed by depth alone.
constexpr qsizetype maxTrackedDepth = 16;

bool isLineBreak(char16_t c)
{
    return c == u'\r' || c == u'\n';
}

bool isFieldKey(const QString &text)
{
    if (text.isEmpty() || text.size() > maxKeyChars)
        return false;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

} // namespace

void HistoryMasker::setHiddenText(const QString &text)
{
    hidden = text;
    // A held tail could only be the start of the old text.
    held.clear();
}

void HistoryMasker::expectEcho(const QString &text)
{
    echo = text;
    echoAt = 0;
}

QString HistoryMasker::maskPiece(const QString &piece)
{
    const QString text = withoutHiddenText(std::exchange(held, QString()) + withoutEcho(piece));
    QString out;
    out.reserve(text.size());
    maskDocuments(text, out);
    return out;
}

void HistoryMasker::reset()
{
    held.clear();
    echo.clear();
    echoAt = 0;
    forgetStructure();
}

QString HistoryMasker::maskAlone(const QString &text) const
{
    HistoryMasker alone;
    alone.hidden = hidden;
    const QString masked = alone.maskPiece(text);
    return masked + alone.held;
}

// A terminal echoes a line feed as "\r\n"; the line breaks that end the line before
// the echo (the ready reply's) are no part of it.
QString HistoryMasker::withoutEcho(const QString &text)
{
    if (echo.isEmpty())
        return text;
    QString kept;
    qsizetype at = 0;
    while (at < text.size() && echoAt < echo.size()) {
        const char16_t c = text.at(at).unicode();
        const char16_t expected = echo.at(echoAt).unicode();
        if (c == expected) {
            ++echoAt;
        } else if (c == u'\r' && expected == u'\n') {
        } else if (echoAt == 0 && isLineBreak(c)) {
            kept += text.at(at);
        } else {
            break;
        }
        ++at;
    }
    if (at < text.size() || echoAt == echo.size()) {
        echo.clear();
        echoAt = 0;
    }
    return kept + text.sliced(at);
}

QString HistoryMasker::withoutHiddenText(const QString &text)
{
    if (hidden.isEmpty())
        return text;
    QString out = text;
    out.replace(hidden, mask);
    for (qsizetype keep = qMin(hidden.size() - 1, out.size()); keep > 0; --keep) {
        if (QStringView(out).right(keep) == QStringView(hidden).left(keep)) {
            held = out.right(keep);
            out.chop(keep);
            break;
        }
    }
    return out;
}

// Follows the JSON structure just far enough to know the group and key of each
// value. Documents are single lines: a line break ends whatever was open, so
// console text that only looks like JSON costs at most the rest of its line.
void HistoryMasker::maskDocuments(const QString &text, QString &out)
{
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (isLineBreak(c)) {
            forgetStructure();
            out += ch;
            continue;
        }
        if (inSecret) {
            if (escaped) {
                escaped = false;
            } else if (c == u'\\') {
                escaped = true;
            } else if (c == u'"') {
                inSecret = false;
                out += ch;
            }
            continue;
        }
        if (inSecretScalar) {
            if (c != u',' && c != u'}' && c != u']' && c != u' ')
                continue;
            inSecretScalar = false;
        }
        if (inString) {
            out += ch;
            if (escaped) {
                escaped = false;
            } else if (c == u'\\') {
                escaped = true;
            } else if (c == u'"') {
                inString = false;
                stringClosed = true;
            } else if (lastString.size() <= maxKeyChars) {
                lastString += ch;
            }
            continue;
        }
        out += ch;
        switch (c) {
        case u'"':
            if (secretValueFollows()) {
                inSecret = true;
                out += mask;
            } else {
                inString = true;
                lastString.clear();
            }
            keyPending = stringClosed = false;
            break;
        case u':':
            keyPending = stringClosed;
            key = lastString;
            stringClosed = false;
            break;
        case u'{':
        case u'[':
            if (groups.size() < maxTrackedDepth)
                groups.append(keyPending ? key : QString());
            else
                ++untrackedDepth;
            keyPending = stringClosed = false;
            break;
        case u'}':
        case u']':
            if (untrackedDepth > 0)
                --untrackedDepth;
            else if (!groups.isEmpty())
                groups.removeLast();
            keyPending = stringClosed = false;
            break;
        case u' ':
        case u'\t':
            break;
        default:
            if (secretValueFollows()) {
                inSecretScalar = true;
                out.chop(1);
                out += mask;
            }
            keyPending = stringClosed = false;
            break;
        }
    }
}

void HistoryMasker::forgetStructure()
{
    groups.clear();
    untrackedDepth = 0;
    lastString.clear();
    key.clear();
    stringClosed = keyPending = inString = escaped = inSecret = inSecretScalar = false;
}

bool HistoryMasker::secretValueFollows() const
{
    return keyPending && !groups.isEmpty() && isFieldKey(key)
            && FieldCatalog::isSecret(groups.last(), key);
}
