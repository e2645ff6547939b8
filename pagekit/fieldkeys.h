#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// Which settings field a widget shows, so that the field of a group and key can be
// found on the pages (where an imported preset's value broke the field's rule).
// Boxes and module pages name their group; fields name their keys within it.
class FieldKeys
{
public:
    static void setGroup(QWidget *box, const QString &group);
    // A field that shows one of two keys by mode (the Wi-Fi network name of the
    // client and of the access point) names both.
    static void setKeys(QWidget *field, const QStringList &keys);
    // The widget below root, or root itself, that shows the key of the group;
    // nullptr when none does.
    static QWidget *find(QWidget *root, const QString &group, const QString &key);
};
