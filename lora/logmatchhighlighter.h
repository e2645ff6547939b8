#pragma once

#include <QString>
#include <QSyntaxHighlighter>
#include <QTextCharFormat>

// Marks every occurrence of a search term in a document, ignoring case as the
// find of the text views does.
class LogMatchHighlighter : public QSyntaxHighlighter
{
    Q_OBJECT

public:
    explicit LogMatchHighlighter(QTextDocument *document);

    void setTerm(const QString &newTerm);

protected:
    void highlightBlock(const QString &text) override;

private:
    QString term;
    QTextCharFormat matchFormat;
};
