#pragma once

#include <QList>
#include <QString>

// Takes secrets out of console text before it reaches the history file: the values
// of secret settings fields wherever a settings document passes (a read reply, the
// echo of an apply line), the console password, and the echo of an uploaded file.
// The console arrives in pieces cut anywhere, so one masker follows one stream and
// remembers where the last piece stopped, e.g. inside a password's quotes.
class HistoryMasker
{
public:
    // Stands in for every hidden value.
    static const QString mask;

    // Text that must never be written, wherever it shows (the console password);
    // empty: none. The last few characters of a piece wait for the next one while
    // they could be the start of it.
    void setHiddenText(const QString &text);
    // The console may echo what the link typed (an uploaded file): the echo is left
    // out up to its first character that differs.
    void expectEcho(const QString &text);
    // The next piece of the stream, masked.
    QString maskPiece(const QString &piece);
    // Forgets the stream, as at a fresh start of the console.
    void reset();

    // One text that stands alone (an entry about one reply), with the same hidden text.
    QString maskAlone(const QString &text) const;

private:
    QString withoutEcho(const QString &text);
    QString withoutHiddenText(const QString &text);
    void maskDocuments(const QString &text, QString &out);
    void forgetStructure();
    bool secretValueFollows() const;

    QString hidden;
    QString held;
    QString echo;
    qsizetype echoAt = 0;

    // Where the settings document stands, as far as the text shows it.
    QList<QString> groups;
    int untrackedDepth = 0;
    QString lastString;
    QString key;
    bool stringClosed = false;
    bool keyPending = false;
    bool inString = false;
    bool escaped = false;
    bool inSecret = false;
    bool inSecretScalar = false;
};
