#pragma once

#include <QByteArray>
#include <QRegularExpression>
#include <QString>

// Cuts complete replies out of the console bytes and hands them out one by one.
// A reply is taken out of the pending text before it is returned, so a caller that
// re-enters (a nested event loop inside a handler) continues with the next one:
// every reply is handed out once, in the order it arrived.
class ReplyFramer
{
public:
    struct Reply
    {
        QString type;
        QString message;
    };

    // Lazy up to the first "]}" of each reply, so replies sharing a line stay apart.
    static const QString replyPatternText;

    explicit ReplyFramer(const QRegularExpression &pattern);

    // Moves everything up to the last "]}" of buffer into the pending text. Only
    // buffer[searchFrom..] is searched: the caller knows that no "]}" stands before.
    bool cutFrame(QByteArray &buffer, qsizetype searchFrom = 0);
    bool takeNext(Reply &reply);
    // Pending text that has not been handed out yet (replies and noise alike).
    QString takeRest();
    void clear();

    // The text between "{[" and the first "]}" of a message.
    static QString payloadOf(const QString &message);

private:
    const QRegularExpression &pattern;
    QString pending;
    qsizetype position = 0;
};
