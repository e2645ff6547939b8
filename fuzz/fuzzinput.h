#pragma once

#include <QByteArray>
#include <QString>

// Reads a fuzzer's bytes as choices; past the end every choice is 0, so that any input
// makes a whole case.
class FuzzInput
{
public:
    FuzzInput(const QByteArray &input, const QString &alphabet);
    bool atEnd() const;
    qsizetype remaining() const;
    int next();
    // length characters of the alphabet, one byte each.
    QString text(int length);

private:
    const QByteArray &input;
    const QString alphabet;
    qsizetype at = 0;
};
