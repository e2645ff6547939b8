#pragma once

#include <QList>
#include <QObject>
#include <QTimer>

class QWidget;

// Tells, once the event loop has settled, that a field of the watched pages
// changed: typed, chosen, ticked or filled. Many changes in one turn are one.
// Tests may fire its timer, "pendingTimer".
class PageEdits : public QObject
{
    Q_OBJECT

public:
    explicit PageEdits(QObject *parent = nullptr);

    // Every field the pages hold now; call again when they gained fields.
    void watch(const QList<QWidget *> &pages);
    void touch() { settleTimer.start(); }

signals:
    void settled();

private:
    QTimer settleTimer;
};
