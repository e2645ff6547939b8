#include "fuzz/fuzzinput.h"

FuzzInput::FuzzInput(const QByteArray &input, const QString &alphabet)
    : input(input), alphabet(alphabet)
{ }

bool FuzzInput::atEnd() const
{
    return at >= input.size();
}

qsizetype FuzzInput::remaining() const
{
    return atEnd() ? 0 : input.size() - at;
}

int FuzzInput::next()
{
    return atEnd() ? 0 : quint8(input.at(at++));
}

QString FuzzInput::text(int length)
{
    QString made;
    for (int n = 0; n < length; ++n)
        made += alphabet.at(next() % alphabet.size());
    return made;
}
