#pragma once

#include <QList>
#include <QString>

// Takes secrets out of console text before it reaches the history file, by where
// they stand and never by searching for them: the values of secret settings fields
// wherever a settings document passes (a read reply, the echo of an apply line), an
// echo of the console password on the line where it was typed, and the echo of an
// uploaded file. Everything else stays as it came, even where it holds the same
// characters as a secret. The console arrives in pieces cut anywhere, so one masker
// follows one stream and remembers where the last piece stopped, e.g. inside a
// password's quotes.
class HistoryMasker
{
public:
    // Stands in for every hidden value.
    static const QString mask;

    // The link typed a secret at a prompt (the console password). A console that
    // echoes it does so on the rest of the current line: only there is it masked.
    void expectSecretEcho(const QString &typed);
    // The console may echo what the link typed (an uploaded file): the echo is left
    // out up to its first character that differs.
    void expectEcho(const QString &text);
    // The next piece of the stream, masked. Its end may wait for the next piece while
    // it could be part of the typed secret or the start of a kernel line.
    QString maskPiece(const QString &piece);
    // Forgets the stream, as at a fresh start of the console.
    void reset();

    // One text that stands alone (an entry about one reply).
    static QString maskAlone(const QString &text);

private:
    enum class Line { Inside, AfterBreak, KernelHead, KernelLine, AfterKernelLine };
    enum class Secret { None, String, Scalar, Nested };

    QString withoutEcho(const QString &text);
    QString withoutSecretEcho(const QString &text);
    void take(QChar ch, QString &out);
    void takeHead(QString &out);
    void trackDocument(QChar ch, QString &out);
    bool documentOpen() const;
    void forgetStructure();
    bool secretValueFollows() const;

    QString echo;
    qsizetype echoAt = 0;
    QString typedSecret;
    QString secretEchoHeld;

    // Where the settings document stands, as far as the text shows it.
    QList<QString> groups;
    int untrackedDepth = 0;
    QString lastString;
    QString key;
    bool stringClosed = false;
    bool keyPending = false;
    bool inString = false;
    bool escaped = false;
    Secret secret = Secret::None;
    int secretDepth = 0;

    // A console prints kernel lines into the middle of a document; after one the
    // document goes on where it stood.
    Line line = Line::Inside;
    Line lineBeforeHead = Line::Inside;
    QString kernelHead;
};
