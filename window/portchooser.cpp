#include "window/portchooser.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFontMetrics>

#include <algorithm>

namespace {

constexpr int idRole = Qt::UserRole;
constexpr int pathRole = Qt::UserRole + 1;
constexpr int nameRole = Qt::UserRole + 2;
// The list opens wider than the box, as wide as its longest entry and this margin.
constexpr int listMarginPx = 40;

bool sameList(const QList<SerialAdapter> &a, const QList<SerialAdapter> &b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (SerialAdapters::displayText(a[i]) != SerialAdapters::displayText(b[i])
            || a[i].systemLocation != b[i].systemLocation)
            return false;
    }
    return true;
}

} // namespace

PortChooser::PortChooser(QComboBox *box, QObject *parent)
    : QObject(parent), box(box), listTimer(this)
{
    listTimer.setObjectName(QStringLiteral("portListTimer"));
    connect(&listTimer, &QTimer::timeout, this, [this] {
        // An open list is not rebuilt under the operator's pointer. A disabled one (a
        // session runs) is not scanned at all: the scan of the system's serial ports
        // holds the window up for tens of milliseconds, and the list is filled again
        // when it is enabled.
        if (this->box->view()->isVisible() || !this->box->isEnabled())
            return;
        const QList<SerialAdapter> now = listed();
        if (!sameList(now, shown))
            fill(now);
    });
    connect(box, &QComboBox::activated, this, &PortChooser::follow);
    listTimer.start(listPollMs);
}

QList<SerialAdapter> PortChooser::listed()
{
    QList<SerialAdapter> adapters = SerialAdapters::arranged(SerialAdapters::present());
    // A pseudo-terminal is never among the system's serial ports.
    const QString emulator = SerialAdapters::emulatorLinkPath();
    if (SerialAdapters::isOwnEmulatorLink(emulator)) {
        const auto builtIn
                = std::find_if_not(adapters.cbegin(), adapters.cend(), &SerialAdapters::isUsb);
        adapters.insert(builtIn, SerialAdapters::fromPath(emulator));
    }
    return adapters;
}

void PortChooser::refresh()
{
    fill(listed());
}

void PortChooser::fill(const QList<SerialAdapter> &adapters)
{
    const int current = box->currentIndex();
    const bool typed = current < 0 || box->currentText() != box->itemText(current);
    const QString typedText = box->currentText();

    box->blockSignals(true);
    box->clear();
    int widest = 0;
    const QFontMetrics metrics(box->font());
    for (const SerialAdapter &adapter : adapters) {
        const QString text = SerialAdapters::displayText(adapter);
        box->addItem(text);
        const int index = box->count() - 1;
        box->setItemData(index, SerialAdapters::stableId(adapter), idRole);
        box->setItemData(index, adapter.systemLocation, pathRole);
        box->setItemData(index, SerialAdapters::shortName(adapter), nameRole);
        box->setItemData(index, text, Qt::ToolTipRole);
        widest = qMax(widest, metrics.horizontalAdvance(text));
    }
    shown = adapters;
    box->view()->setMinimumWidth(widest + listMarginPx);
    if (typed && !typedText.isEmpty()) {
        box->setCurrentIndex(-1);
        box->setEditText(typedText);
    } else {
        box->setCurrentIndex(indexToChoose());
    }
    box->blockSignals(false);
}

PortChooser::Choice PortChooser::chosen() const
{
    const int index = box->currentIndex();
    if (index >= 0 && box->currentText() == box->itemText(index))
        return {box->itemData(index, pathRole).toString(), box->itemData(index, idRole).toString(),
                box->itemData(index, nameRole).toString()};
    const QString typed = box->currentText().trimmed();
    // An empty box names no port, not the first one without a by-id name.
    if (typed.isEmpty())
        return {};
    // A typed name of a listed port ("ttyUSB0") is that adapter.
    for (const SerialAdapter &adapter : shown) {
        if (adapter.portName == typed || adapter.systemLocation == typed
            || adapter.byIdPath == typed)
            return {adapter.systemLocation, SerialAdapters::stableId(adapter),
                    SerialAdapters::shortName(adapter)};
    }
    return {typed, typed, SerialAdapters::shortName(SerialAdapters::fromPath(typed))};
}

void PortChooser::choose(const QString &id)
{
    wanted = id;
    wantedShown = false;
    box->setCurrentIndex(indexToChoose());
}

QString PortChooser::remembered() const
{
    return chosen().id;
}

int PortChooser::indexOfId(const QString &id) const
{
    if (id.isEmpty())
        return -1;
    return box->findData(id, idRole, Qt::MatchExactly | Qt::MatchCaseSensitive);
}

int PortChooser::indexToChoose()
{
    if (wantedShown)
        return indexOfId(wanted);
    const int index = SerialAdapters::preselected(shown, wanted);
    if (index >= 0) {
        wanted = SerialAdapters::stableId(shown[index]);
        wantedShown = true;
    }
    return index;
}

void PortChooser::follow(int index)
{
    wanted = box->itemData(index, idRole).toString();
    wantedShown = true;
}
