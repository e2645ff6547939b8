#include "link/historymasker.h"

#include "link/replyframer.h"
#include "settings/fieldcatalog.h"

#include <QStringView>

#include <utility>

const QString HistoryMasker::mask = QStringLiteral("••••••");

namespace {

// Field keys are short decimal numbers; anything longer is no key.
constexpr qsizetype maxKeyChars = 4;
// Deeper nesting than any settings document has is followed by depth alone.
constexpr qsizetype maxTrackedDepth = 16;
// "[  812.110000]" is far shorter; a longer start is no kernel line's.
constexpr qsizetype maxKernelHeadChars = 32;

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

void HistoryMasker::expectSecretEcho(const QString &typed)
{
    typedSecret = typed;
    secretEchoHeld.clear();
}

void HistoryMasker::expectEcho(const QString &text)
{
    echo = text;
    echoAt = 0;
}

// The settings fields are masked first, on the text as the console sent it.
QString HistoryMasker::maskPiece(const QString &piece)
{
    const QString text = withoutEcho(piece);
    QString out;
    out.reserve(text.size());
    for (const QChar ch : text)
        take(ch, out);
    return withoutSecretEcho(out);
}

void HistoryMasker::reset()
{
    echo.clear();
    echoAt = 0;
    typedSecret.clear();
    secretEchoHeld.clear();
    forgetStructure();
    line = Line::Inside;
    kernelHead.clear();
}

QString HistoryMasker::maskAlone(const QString &text)
{
    HistoryMasker alone;
    QString out = alone.maskPiece(text);
    // Nothing follows: what waited as a kernel line's start was not one.
    if (alone.line == Line::KernelHead)
        alone.takeHead(out);
    return out;
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

// Up to the end of the line the secret was typed on; a tail that could be the start
// of its echo waits for the next piece.
QString HistoryMasker::withoutSecretEcho(const QString &text)
{
    if (typedSecret.isEmpty())
        return text;
    qsizetype end = 0;
    while (end < text.size() && !isLineBreak(text.at(end).unicode()))
        ++end;
    QString echoLine = std::exchange(secretEchoHeld, QString()) + text.left(end);
    echoLine.replace(typedSecret, mask);
    if (end < text.size()) {
        typedSecret.clear();
        return echoLine + text.sliced(end);
    }
    for (qsizetype keep = qMin(typedSecret.size() - 1, echoLine.size()); keep > 0; --keep) {
        if (QStringView(echoLine).right(keep) == QStringView(typedSecret).left(keep)) {
            secretEchoHeld = echoLine.right(keep);
            echoLine.chop(keep);
            break;
        }
    }
    return echoLine;
}

// Documents are single lines: a line break ends whatever was open, so console text
// that only looks like JSON costs at most the rest of its line. Only the kernel
// lines a console prints into a document are passed over.
void HistoryMasker::take(QChar ch, QString &out)
{
    const char16_t c = ch.unicode();
    switch (line) {
    case Line::AfterBreak:
    case Line::AfterKernelLine:
        if (isLineBreak(c)) {
            out += ch;
            return;
        }
        if (c == u'[') {
            lineBeforeHead = line;
            line = Line::KernelHead;
            kernelHead = ch;
            return;
        }
        if (line == Line::AfterBreak)
            forgetStructure();
        line = Line::Inside;
        break;
    case Line::KernelHead:
        kernelHead += ch;
        switch (kernelHead.size() > maxKernelHeadChars
                        ? ReplyFramer::KernelLine::No
                        : ReplyFramer::startsKernelLine(kernelHead)) {
        case ReplyFramer::KernelLine::Maybe:
            break;
        case ReplyFramer::KernelLine::Yes:
            out += std::exchange(kernelHead, QString());
            line = Line::KernelLine;
            break;
        case ReplyFramer::KernelLine::No:
            takeHead(out);
            break;
        }
        return;
    case Line::KernelLine:
        out += ch;
        if (isLineBreak(c))
            line = Line::AfterKernelLine;
        return;
    case Line::Inside:
        if (isLineBreak(c)) {
            out += ch;
            if (documentOpen())
                line = Line::AfterBreak;
            else
                forgetStructure();
            return;
        }
        break;
    }
    trackDocument(ch, out);
}

// What waited as a kernel line's start is the document's text after all, or the
// start of other text after the line that ended it.
void HistoryMasker::takeHead(QString &out)
{
    const QString held = std::exchange(kernelHead, QString());
    if (lineBeforeHead == Line::AfterBreak)
        forgetStructure();
    line = Line::Inside;
    for (const QChar ch : held)
        take(ch, out);
}

// Follows the JSON structure just far enough to know the group and key of each
// value; a secret field's whole value, of whatever type, becomes the mask.
void HistoryMasker::trackDocument(QChar ch, QString &out)
{
    const char16_t c = ch.unicode();
    switch (secret) {
    case Secret::String:
        if (escaped) {
            escaped = false;
        } else if (c == u'\\') {
            escaped = true;
        } else if (c == u'"') {
            secret = Secret::None;
            out += ch;
        }
        return;
    case Secret::Nested:
        if (inString) {
            if (escaped)
                escaped = false;
            else if (c == u'\\')
                escaped = true;
            else if (c == u'"')
                inString = false;
        } else if (c == u'"') {
            inString = true;
        } else if (c == u'{' || c == u'[') {
            ++secretDepth;
        } else if ((c == u'}' || c == u']') && --secretDepth == 0) {
            secret = Secret::None;
        }
        return;
    case Secret::Scalar:
        if (c != u',' && c != u'}' && c != u']' && c != u' ' && c != u'\t')
            return;
        secret = Secret::None;
        break;
    case Secret::None:
        break;
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
        return;
    }
    out += ch;
    switch (c) {
    case u'"':
        if (secretValueFollows()) {
            secret = Secret::String;
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
        if (secretValueFollows()) {
            out.chop(1);
            out += mask;
            secret = Secret::Nested;
            secretDepth = 1;
        } else if (groups.size() < maxTrackedDepth) {
            groups.append(keyPending ? key : QString());
        } else {
            ++untrackedDepth;
        }
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
            secret = Secret::Scalar;
            out.chop(1);
            out += mask;
        }
        keyPending = stringClosed = false;
        break;
    }
}

bool HistoryMasker::documentOpen() const
{
    return !groups.isEmpty() || untrackedDepth > 0;
}

void HistoryMasker::forgetStructure()
{
    groups.clear();
    untrackedDepth = 0;
    lastString.clear();
    key.clear();
    stringClosed = keyPending = inString = escaped = false;
    secret = Secret::None;
    secretDepth = 0;
}

bool HistoryMasker::secretValueFollows() const
{
    return keyPending && !groups.isEmpty() && isFieldKey(key)
            && FieldCatalog::isSecret(groups.last(), key);
}
