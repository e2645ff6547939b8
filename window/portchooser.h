#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include "link/serialadapters.h"

class QComboBox;

// Fills the port list with every adapter present, named by what the adapter says
// about itself, and the gateway emulator's link when it is this user's own: USB
// adapters, the link, then built-in ports. It follows adapters as they come and go,
// keeps the chosen one chosen (an adapter that returns under another number is the
// same entry) and still takes a typed path. Until an entry has been chosen, the
// remembered one or the only likely one is.
// Tests fire the list's poll through its timer, "portListTimer".
class PortChooser : public QObject
{
    Q_OBJECT

public:
    static constexpr int listPollMs = 1000;

    struct Choice
    {
        // What the link opens.
        QString path;
        // What finds the adapter again, here and in the next run.
        QString id;
        // The adapter in a few words.
        QString name;
    };

    PortChooser(QComboBox *box, QObject *parent = nullptr);

    void refresh();
    Choice chosen() const;
    // Chooses the entry with that id, now or as soon as it appears.
    void choose(const QString &id);
    // What the next run chooses: the entry's id, or the typed text.
    QString remembered() const;

private:
    static QList<SerialAdapter> listed();
    int indexOfId(const QString &id) const;
    int indexToChoose();
    void fill(const QList<SerialAdapter> &adapters);
    void follow(int index);

    QComboBox *box;
    QTimer listTimer;
    QList<SerialAdapter> shown;
    QString wanted;
    // Once the wanted entry has been in the list, it is waited for when it goes.
    bool wantedShown = false;
};
