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

bool isLineBreak(QChar c)
{
    return c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

// A settings reply (code 33 and a JSON object) ends at the "]}" after its document,
// read as JSON reads it: a "]}" inside a string does not close the reply. Returns
// the index after that "]}", notSettings (the lazy rule applies) or incomplete.
qsizetype settingsReplyEnd(const QString &text, qsizetype payloadStart)
{
    const QStringView payload = QStringView(text).sliced(qMin(payloadStart, text.size()));
    if (!payload.startsWith(settingsCode))
        return notSettings;
    qsizetype at = payloadStart + settingsCode.size();
    while (at < text.size() && text.at(at) == QLatin1Char(' '))
        ++at;
    if (at == text.size())
        return incomplete;
    if (text.at(at) != QLatin1Char('{'))
        return notSettings;
    int depth = 0;
    bool inString = false;
    bool escaped = false;
    for (; at < text.size(); ++at) {
        const QChar c = text.at(at);
        // The document is one line: a line break means it is broken.
        if (isLineBreak(c))
            return notSettings;
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
        } else if (c == QLatin1Char('}') && --depth == 0) {
            break;
        }
    }
    if (at == text.size())
        return incomplete;
    ++at;
    while (at < text.size() && text.at(at).isSpace())
        ++at;
    const QStringView rest = QStringView(text).sliced(at);
    if (rest.startsWith(closing))
        return at + closing.size();
    return closing.startsWith(rest) ? incomplete : notSettings;
}

} // namespace

ReplyFramer::ReplyFramer(const QRegularExpression &pattern) : pattern(pattern) { }

bool ReplyFramer::cutFrame(QByteArray &buffer, qsizetype searchFrom)
{
    const qsizetype from = qBound<qsizetype>(0, searchFrom, buffer.size());
    const qsizetype found = QByteArrayView(buffer).sliced(from).lastIndexOf(frameEnd);
    if (found < 0)
        return false;
    const qsizetype last = from + found;
    const qsizetype frameLength = last + frameEnd.size();
    if (position >= pending.size()) {
        pending.clear();
        position = 0;
    }
    appendWithoutEchoes(QString::fromUtf8(buffer.constData(), frameLength));
    buffer.remove(0, frameLength);
    return true;
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
    if (position >= pending.size()) {
        dropPending();
        return false;
    }
    // The pending text comes from QString::fromUtf8, cut only before ASCII, and is
    // always valid UTF-16.
    const QRegularExpressionMatch match
            = pattern.match(pending, position, QRegularExpression::NormalMatch,
                            QRegularExpression::DontCheckSubjectStringMatchOption);
    if (!match.hasMatch()) {
        dropPending();
        return false;
    }
    const qsizetype messageStart = match.capturedStart(u"Message");
    qsizetype end = match.capturedEnd(0);
    if (match.capturedView(u"Type") == u"RESPONSE") {
        const qsizetype settingsEnd = settingsReplyEnd(pending, messageStart + opening.size());
        if (settingsEnd == incomplete) {
            // Held until the rest of the document arrives or a line break breaks it.
            position = match.capturedStart(0);
            return false;
        }
        if (settingsEnd != notSettings)
            end = settingsEnd;
    }
    reply.type = match.captured(u"Type");
    reply.message = pending.mid(messageStart, end - messageStart);
    position = end;
    return true;
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
    atLineStart = true;
    insideEcho = false;
}

void ReplyFramer::restartLine()
{
    atLineStart = true;
    insideEcho = false;
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
    const qsizetype settingsEnd = settingsReplyEnd(message, from);
    const qsizetype end
            = settingsEnd >= 0 ? settingsEnd - closing.size() : message.indexOf(closing, from);
    return end < 0 ? message.mid(from) : message.mid(from, end - from);
}
