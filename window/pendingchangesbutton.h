#pragma once

#include "settings/settingsrules.h"

#include <QList>
#include <QPushButton>
#include <QString>

class QDialog;
class QListWidget;

// How many fields an apply would change on the gateway, beside the apply button.
// A press lists them (page › box › field: the gateway's value → the new value),
// and the list follows the pages while it stands. Passwords show as dots only.
class PendingChangesButton : public QPushButton
{
    Q_OBJECT

public:
    explicit PendingChangesButton(QWidget *parent);

    void setChanges(const QList<SettingsChange> &changes);
    int count() const { return changes.size(); }
    static QString describe(const SettingsChange &change);

private:
    void showList();
    void fillList();

    QList<SettingsChange> changes;
    QDialog *listDialog = nullptr;
    QListWidget *list = nullptr;
};
