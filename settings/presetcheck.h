#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QString>

// A settings document from outside (a preset file, a script's --set values) judged
// field by field with the pages' own rules before any of it reaches a page or a
// gateway: the JSON type each page writes, its input pattern and its range.
class PresetCheck
{
public:
    struct Problem
    {
        QString group;
        // Empty when the group itself is no object of fields.
        QString key;
        QJsonValue value;
        // What the field takes; empty for a key that no page shows.
        QString rule;

        bool isUnknownKey() const { return rule.isEmpty(); }
    };

    // Every key of the document's settings groups that no page shows or whose value
    // its field refuses, group by group and key by key. A gateway ID is no problem:
    // a preset never sets one.
    static QList<Problem> problems(const QJsonObject &document);
    // The document without the keys that no page shows.
    static QJsonObject withoutUnknownKeys(const QJsonObject &document);
    // "100.112 Верхний порт takes a port of up to 5 digits, not "abc"", passwords as
    // dots; for a key no page shows, "100.999: no page shows this field".
    static QString describe(const Problem &problem);
};
