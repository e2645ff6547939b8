#pragma once

#include <QByteArray>
#include <QRegularExpression>
#include <QString>

// Cuts complete replies out of the console bytes and hands them out one by one.
// A reply is taken out of the pending text before it is returned, so a caller that
// re-enters (a nested event loop inside a handler) continues with the next one:
// every reply is handed out once, in the order it arrived.
// The console's echo of a request line is never handed out, whatever it holds.
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
    // False also while a settings reply waits for the rest of its document; one
    // whose line has ended is handed out at once, broken as it is.
    bool takeNext(Reply &reply);
    // Pending text that has not been handed out yet (replies and noise alike).
    QString takeRest();
    // Also forgets where lines start: the next text does not continue this one.
    void clear();
    // The bytes before the next ones were dropped: these start a line, and an echo
    // whose line break went with them does not run on into them.
    void restartLine();
    // Replies (or noise) cut already but not handed out yet.
    bool hasPending() const { return position < pending.size(); }

    // The text between "{[" and the closing "]}": the first one, except for a
    // settings reply (code 33), whose document may hold "]}" inside its strings and
    // kernel lines; a broken settings reply has no closing of its own.
    static QString payloadOf(const QString &message);
    // A settings document without the whole lines a kernel printed into it
    // ("[  812.110000] usb 1-1.2: USB disconnect"), joined where they stood.
    static QString withoutKernelLines(const QString &document);
    // Whether a console line that starts with text is one the kernel printed; Maybe
    // while text ends before that can be told.
    enum class KernelLine { No, Maybe, Yes };
    static KernelLine startsKernelLine(const QString &text);

private:
    void appendWithoutEchoes(const QString &text);
    void dropPending();
    void noteLineEnd(const QByteArray &rest);

    const QRegularExpression &pattern;
    QString pending;
    qsizetype position = 0;
    bool atLineStart = true;
    bool insideEcho = false;
    // The buffer's bytes continue the pending text, and they start with a line break.
    bool followsCut = false;
    bool lineEnded = false;
};
