#include "link/replyframer.h"

#include <QByteArrayView>
#include <QStringView>

const QString ReplyFramer::replyPatternText
        = QStringLiteral("(?<Type>RESPONSE|CONNECT|LOGS|ERROR)\\.(?<Message>\\{\\[.*?\\s*\\]\\})");

namespace {

const QByteArray frameEnd = QByteArrayLiteral("]}");
constexpr QStringView closing = u"]}";
constexpr QStringView opening = u"{[";
constexpr QStringView settingsCode = u"33 ";
const QLatin1String requestStart("REQUEST.{[");

constexpr qsizetype notSettings = -1;
constexpr qsizetype incomplete = -2;
constexpr qsizetype notKernel = -3;

bool isLineBreak(QChar c)
{
    return c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

qsizetype afterLineBreaks(const QString &text, qsizetype at)
{
    while (at < text.size() && isLineBreak(text.at(at)))
        ++at;
    return at;
}

// "[", blanks, seconds, ".", fraction, "]": how the kernel starts a console line.
// Returns the index after it, incomplete when the text ends inside it, or notKernel.
qsizetype kernelHeaderEnd(const QString &text, qsizetype at)
{
    if (at == text.size())
        return incomplete;
    if (text.at(at) != QLatin1Char('['))
        return notKernel;
    ++at;
    while (at < text.size() && text.at(at) == QLatin1Char(' '))
        ++at;
    for (const QChar separator : {QLatin1Char('.'), QLatin1Char(']')}) {
        const qsizetype digits = at;
        while (at < text.size() && isDigit(text.at(at)))
            ++at;
        if (at == text.size())
            return incomplete;
        if (at == digits || text.at(at) != separator)
            return notKernel;
        ++at;
    }
    return at;
}

// From a line break: the index after the whole kernel lines that follow it, line
// breaks included; incomplete while the text ends before that can be told.
qsizetype kernelLinesEnd(const QString &text, qsizetype lineBreak)
{
    qsizetype next = afterLineBreaks(text, lineBreak);
    bool found = false;
    for (;;) {
        const qsizetype header = kernelHeaderEnd(text, next);
        if (header == incomplete)
            return incomplete;
        if (header == notKernel)
            return found ? next : notKernel;
        qsizetype lineEnd = header;
        while (lineEnd < text.size() && !isLineBreak(text.at(lineEnd)))
            ++lineEnd;
        if (lineEnd == text.size())
            return incomplete;
        next = afterLineBreaks(text, lineEnd);
        found = true;
    }
}

// A settings reply (code 33 and a JSON object) ends at the "]}" after its document,
// read as JSON reads it: a "]}" inside a string does not close the reply, and the
// kernel lines a console prints into it are passed over. Returns the index after
// that "]}", notSettings (the lazy rule applies) or incomplete. A broken document
// ends the reply where it breaks: at a line break that starts no kernel line, or,
// once the gateway ended the reply's line (lineEnded), at the end of the text.
qsizetype settingsReplyEnd(const QString &text, qsizetype payloadStart, bool lineEnded)
{
    const QStringView payload = QStringView(text).sliced(qMin(payloadStart, text.size()));
    if (!payload.startsWith(settingsCode))
        return notSettings;
    const qsizetype unfinished = lineEnded ? text.size() : incomplete;
    qsizetype at = payloadStart + settingsCode.size();
    while (at < text.size() && text.at(at) == QLatin1Char(' '))
        ++at;
    if (at == text.size())
        return unfinished;
    if (text.at(at) != QLatin1Char('{'))
        return notSettings;
    int depth = 0;
    bool opened = false;
    bool inString = false;
    bool escaped = false;
    while (at < text.size()) {
        const QChar c = text.at(at);
        if (isLineBreak(c)) {
            const qsizetype after = kernelLinesEnd(text, at);
            if (after == incomplete)
                return unfinished;
            if (after != notKernel)
                at = after;
            else if (depth > 0)
                return at;
            else
                at = afterLineBreaks(text, at);
            continue;
        }
        if (opened && depth == 0) {
            // After the document only white space may stand before the closing.
            if (c.isSpace()) {
                ++at;
                continue;
            }
            const QStringView rest = QStringView(text).sliced(at);
            if (rest.startsWith(closing))
                return at + closing.size();
            return closing.startsWith(rest) ? unfinished : notSettings;
        }
        if (inString) {
            if (escaped)
                escaped = false;
            else if (c == QLatin1Char('\\'))
                escaped = true;
            else if (c == QLatin1Char('"'))
                inString = false;
        } else if (c == QLatin1Char('"')) {
            inString = true;
        } else if (c == QLatin1Char('{')) {
            ++depth;
            opened = true;
        } else if (c == QLatin1Char('}')) {
            --depth;
        }
        ++at;
    }
    return unfinished;
}

const QRegularExpression &replyStartPattern()
{
    static const QRegularExpression pattern(
            QStringLiteral("(RESPONSE|CONNECT|LOGS|ERROR)\\.\\{\\["));
    return pattern;
}

} // namespace

ReplyFramer::ReplyFramer(const QRegularExpression &pattern) : pattern(pattern) { }

bool ReplyFramer::cutFrame(QByteArray &buffer, qsizetype searchFrom)
{
    const qsizetype from = qBound<qsizetype>(0, searchFrom, buffer.size());
    const qsizetype found = QByteArrayView(buffer).sliced(from).lastIndexOf(frameEnd);
    if (found < 0) {
        noteLineEnd(buffer);
        return false;
    }
    const qsizetype last = from + found;
    const qsizetype frameLength = last + frameEnd.size();
    if (position >= pending.size()) {
        pending.clear();
        position = 0;
    }
    appendWithoutEchoes(QString::fromUtf8(buffer.constData(), frameLength));
    buffer.remove(0, frameLength);
    followsCut = true;
    noteLineEnd(buffer);
    return true;
}

// The gateway ends every reply's line; a settings reply still open when its line
// has ended is broken and waits for nothing.
void ReplyFramer::noteLineEnd(const QByteArray &rest)
{
    lineEnded = followsCut && !rest.isEmpty() && (rest.front() == '\r' || rest.front() == '\n');
}

// The console echoes every request line the link writes. An echo starts a line and
// runs to the next line break; a reply inside it (a Wi-Fi name such as
// "RESPONSE.{[50]}") is the link's own text and is dropped with it.
void ReplyFramer::appendWithoutEchoes(const QString &text)
{
    qsizetype at = 0;
    while (at < text.size()) {
        if (insideEcho) {
            qsizetype lineEnd = at;
            while (lineEnd < text.size() && !isLineBreak(text.at(lineEnd)))
                ++lineEnd;
            if (lineEnd == text.size())
                break;
            insideEcho = false;
            at = lineEnd;
            continue;
        }
        qsizetype echo = text.indexOf(requestStart, at);
        while (echo >= 0 && !(echo == 0 ? atLineStart : isLineBreak(text.at(echo - 1))))
            echo = text.indexOf(requestStart, echo + 1);
        if (echo < 0) {
            pending += QStringView(text).sliced(at);
            break;
        }
        pending += QStringView(text).sliced(at, echo - at);
        insideEcho = true;
        at = echo;
    }
    if (!text.isEmpty())
        atLineStart = isLineBreak(text.back());
}

bool ReplyFramer::takeNext(Reply &reply)
{
    // The pending text comes from QString::fromUtf8, cut only before ASCII, and is
    // always valid UTF-16.
    constexpr auto unchecked = QRegularExpression::DontCheckSubjectStringMatchOption;
    while (position < pending.size()) {
        const QRegularExpressionMatch start = replyStartPattern().match(
                pending, position, QRegularExpression::NormalMatch, unchecked);
        if (!start.hasMatch())
            break;
        const qsizetype replyStart = start.capturedStart(0);
        const qsizetype payloadStart = start.capturedEnd(0);
        if (start.capturedView(1) == u"RESPONSE") {
            const qsizetype settingsEnd = settingsReplyEnd(pending, payloadStart, lineEnded);
            if (settingsEnd == incomplete) {
                // Held until the rest of the document arrives or its line ends.
                position = replyStart;
                return false;
            }
            if (settingsEnd != notSettings) {
                reply.type = start.captured(1);
                reply.message = pending.mid(payloadStart - opening.size(),
                                            settingsEnd - payloadStart + opening.size());
                position = settingsEnd;
                return true;
            }
        }
        const QRegularExpressionMatch match
                = pattern.match(pending, replyStart, QRegularExpression::NormalMatch,
                                QRegularExpression::AnchorAtOffsetMatchOption | unchecked);
        if (match.hasMatch()) {
            reply.type = match.captured(u"Type");
            reply.message = match.captured(u"Message");
            position = match.capturedEnd(0);
            return true;
        }
        position = replyStart + 1;
    }
    dropPending();
    return false;
}

QString ReplyFramer::takeRest()
{
    const QString rest = pending.mid(position);
    clear();
    return rest;
}

void ReplyFramer::clear()
{
    dropPending();
    restartLine();
}

void ReplyFramer::restartLine()
{
    atLineStart = true;
    insideEcho = false;
    followsCut = false;
    lineEnded = false;
}

// An echo may run on into the next frame: its state stays.
void ReplyFramer::dropPending()
{
    pending.clear();
    position = 0;
}

QString ReplyFramer::payloadOf(const QString &message)
{
    const qsizetype start = message.indexOf(opening);
    const qsizetype from = start < 0 ? 0 : start + opening.size();
    const qsizetype settingsEnd = settingsReplyEnd(message, from, false);
    qsizetype end = message.indexOf(closing, from);
    if (settingsEnd >= 0)
        end = QStringView(message).first(settingsEnd).endsWith(closing)
                ? settingsEnd - closing.size()
                : settingsEnd;
    return end < 0 ? message.mid(from) : message.mid(from, end - from);
}

ReplyFramer::KernelLine ReplyFramer::startsKernelLine(const QString &text)
{
    const qsizetype end = kernelHeaderEnd(text, 0);
    return end == incomplete   ? KernelLine::Maybe
            : end == notKernel ? KernelLine::No
                               : KernelLine::Yes;
}

QString ReplyFramer::withoutKernelLines(const QString &document)
{
    static const QRegularExpression kernelLines(
            QStringLiteral("[\\r\\n]+(?:\\[ *[0-9]+\\.[0-9]+\\][^\\r\\n]*[\\r\\n]+)+"));
    return QString(document).remove(kernelLines);
}
