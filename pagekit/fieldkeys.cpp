#include "pagekit/fieldkeys.h"

#include <QVariant>
#include <QWidget>

namespace {
const char *const groupProperty = "settingsGroup";
const char *const keysProperty = "settingsKeys";

QString groupOf(const QWidget *field)
{
    for (const QWidget *widget = field; widget; widget = widget->parentWidget()) {
        const QVariant group = widget->property(groupProperty);
        if (group.isValid())
            return group.toString();
    }
    return QString();
}

bool shows(const QWidget *widget, const QString &group, const QString &key)
{
    return widget->property(keysProperty).toStringList().contains(key) && groupOf(widget) == group;
}
} // namespace

void FieldKeys::setGroup(QWidget *box, const QString &group)
{
    box->setProperty(groupProperty, group);
}

void FieldKeys::setKeys(QWidget *field, const QStringList &keys)
{
    field->setProperty(keysProperty, keys);
}

QWidget *FieldKeys::find(QWidget *root, const QString &group, const QString &key)
{
    if (shows(root, group, key))
        return root;
    const QList<QWidget *> widgets = root->findChildren<QWidget *>();
    for (QWidget *widget : widgets) {
        if (shows(widget, group, key))
            return widget;
    }
    return nullptr;
}
