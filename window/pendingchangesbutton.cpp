#include "window/pendingchangesbutton.h"

#include "settings/fieldcatalog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QVBoxLayout>

namespace {

constexpr qreal smallFontScale = 0.85;
// No text of the program is smaller.
constexpr qreal smallestPointSize = 8.0;
constexpr int listWidthPx = 620;
constexpr int listHeightPx = 340;

} // namespace

PendingChangesButton::PendingChangesButton(QWidget *parent) : QPushButton(parent)
{
    setFlat(true);
    QFont small = font();
    small.setPointSizeF(qMax(smallestPointSize, small.pointSizeF() * smallFontScale));
    setFont(small);
    setChanges({});
    connect(this, &QPushButton::pressed, this, &PendingChangesButton::showList);
}

void PendingChangesButton::setChanges(const QList<SettingsChange> &pending)
{
    changes = pending;
    setText(tr("Изменений: %n", nullptr, int(changes.size())));
    if (listDialog)
        fillList();
}

QString PendingChangesButton::describe(const SettingsChange &change)
{
    return QStringLiteral("%1: %2 → %3")
            .arg(FieldCatalog::fieldPath(change.group, change.key),
                 FieldCatalog::shownValue(change.group, change.key, change.oldValue),
                 FieldCatalog::shownValue(change.group, change.key, change.newValue));
}

void PendingChangesButton::showList()
{
    if (!listDialog) {
        listDialog = new QDialog(window());
        listDialog->setObjectName(QStringLiteral("pendingChangesList"));
        listDialog->setWindowTitle(tr("Изменения, которые ещё не применены"));
        list = new QListWidget(listDialog);
        list->setObjectName(QStringLiteral("changesList"));
        auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, listDialog);
        connect(buttons, &QDialogButtonBox::rejected, listDialog, &QDialog::hide);
        auto *layout = new QVBoxLayout(listDialog);
        layout->addWidget(list);
        layout->addWidget(buttons);
        listDialog->resize(listWidthPx, listHeightPx);
        fillList();
    }
    listDialog->show();
    listDialog->raise();
    listDialog->activateWindow();
}

void PendingChangesButton::fillList()
{
    list->clear();
    if (changes.isEmpty())
        list->addItem(tr("Страницы показывают то же, что хранит базовая станция."));
    for (const SettingsChange &change : std::as_const(changes))
        list->addItem(describe(change));
}
