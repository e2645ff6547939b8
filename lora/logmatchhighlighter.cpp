#include "lora/logmatchhighlighter.h"

#include <QColor>

namespace {
// Dark text on amber stays readable in the light and the dark colour scheme.
const QColor matchBackground(255, 200, 40);
const QColor matchForeground(Qt::black);
} // namespace

LogMatchHighlighter::LogMatchHighlighter(QTextDocument *document) : QSyntaxHighlighter(document)
{
    matchFormat.setBackground(matchBackground);
    matchFormat.setForeground(matchForeground);
}

void LogMatchHighlighter::setTerm(const QString &newTerm)
{
    if (newTerm == term)
        return;
    term = newTerm;
    rehighlight();
}

void LogMatchHighlighter::highlightBlock(const QString &text)
{
    if (term.isEmpty())
        return;
    for (qsizetype at = text.indexOf(term, 0, Qt::CaseInsensitive); at >= 0;
         at = text.indexOf(term, at + term.size(), Qt::CaseInsensitive))
        setFormat(int(at), int(term.size()), matchFormat);
}
