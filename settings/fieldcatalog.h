#pragma once

#include <QJsonValue>
#include <QString>

// Where each settings field is shown and how it is named there, for lists of
// changes that the operator reads (pending changes, read-back results, the
// commissioning report). The names are the pages' own label texts, translated
// in the pages' contexts, so the lists read like the pages.
class FieldCatalog
{
public:
    // The page that shows a group ("Сетевые настройки", "Настройки LoRa › Модуль 2").
    static QString pageName(const QString &group);
    // The box that shows a group on its page ("Настройки LTE модема"); empty for the
    // module groups, whose page name already names the module, and unknown groups.
    static QString groupName(const QString &group);
    // Where the operator finds a field: page › box › label.
    static QString fieldPath(const QString &group, const QString &key);
    // The field's label, or the key itself for a field no page shows.
    static QString label(const QString &group, const QString &key);
    // Passwords: shown as dots, never written to a log or a report.
    static bool isSecret(const QString &group, const QString &key);
    // A value as the operator may read it: text as is, secrets as dots.
    static QString shownValue(const QString &group, const QString &key, const QJsonValue &value);
};
