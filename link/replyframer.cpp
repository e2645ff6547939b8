#include "link/replyframer.h"

#include <QByteArrayView>

const QString ReplyFramer::replyPatternText
        = QStringLiteral("(?<Type>RESPONSE|CONNECT|LOGS|ERROR)\\.(?<Message>\\{\\[.*?\\s*\\]\\})");

namespace {

const QByteArray frameEnd = QByteArrayLiteral("]}");

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
    pending += QString::fromUtf8(buffer.constData(), frameLength);
    buffer.remove(0, frameLength);
    return true;
}

bool ReplyFramer::takeNext(Reply &reply)
{
    if (position >= pending.size()) {
        clear();
        return false;
    }
    // The pending text comes from QString::fromUtf8 and is always valid UTF-16.
    const QRegularExpressionMatch match
            = pattern.match(pending, position, QRegularExpression::NormalMatch,
                            QRegularExpression::DontCheckSubjectStringMatchOption);
    if (!match.hasMatch()) {
        clear();
        return false;
    }
    reply.type = match.captured(u"Type");
    reply.message = match.captured(u"Message");
    position = match.capturedEnd(0);
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
    pending.clear();
    position = 0;
}

QString ReplyFramer::payloadOf(const QString &message)
{
    const qsizetype start = message.indexOf(QLatin1String("{["));
    const qsizetype from = start < 0 ? 0 : start + 2;
    const qsizetype end = message.indexOf(QLatin1String("]}"), from);
    return end < 0 ? message.mid(from) : message.mid(from, end - from);
}
