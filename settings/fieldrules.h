#pragma once

#include <QJsonValue>
#include <QString>

// The rules the pages apply to each field they show, without the pages: which JSON
// type the page writes for it and which input pattern its text must match whole.
// A field without a pattern takes any text of its type.
class FieldRules
{
public:
    enum class Type { String, Integer, Boolean, Double };

    // "100" to "400", the groups a page shows.
    static bool isKnownGroup(const QString &group);

    // The value a page would write for that text; undefined, with the reason in
    // *problem, when the text is not of the field's type or breaks its pattern.
    static QJsonValue valueOf(const QString &group, const QString &key, const QString &text,
                              QString *problem);

    // Whether a page shows the field (a known group and one of its keys).
    static bool isKnownField(const QString &group, const QString &key);
    // What a field takes ("a port of up to 5 digits") when a page would not take the
    // value as it stands: a JSON type other than the one the page writes, or a text
    // or number that breaks the field's pattern. Empty when the page would take it.
    static QString ruleBrokenBy(const QString &group, const QString &key, const QJsonValue &value);
};
