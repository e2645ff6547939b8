#include "window/pageedits.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QWidget>

PageEdits::PageEdits(QObject *parent) : QObject(parent), settleTimer(this)
{
    settleTimer.setObjectName(QStringLiteral("pendingTimer"));
    settleTimer.setSingleShot(true);
    settleTimer.setInterval(0);
    connect(&settleTimer, &QTimer::timeout, this, &PageEdits::settled);
}

void PageEdits::watch(const QList<QWidget *> &pages)
{
    const auto start = qOverload<>(&QTimer::start);
    for (QWidget *page : pages) {
        for (QLineEdit *field : page->findChildren<QLineEdit *>())
            connect(field, &QLineEdit::textChanged, &settleTimer, start, Qt::UniqueConnection);
        for (QComboBox *box : page->findChildren<QComboBox *>())
            connect(box, &QComboBox::currentIndexChanged, &settleTimer, start,
                    Qt::UniqueConnection);
        for (QAbstractButton *button : page->findChildren<QAbstractButton *>())
            connect(button, &QAbstractButton::toggled, &settleTimer, start, Qt::UniqueConnection);
        for (QGroupBox *box : page->findChildren<QGroupBox *>())
            connect(box, &QGroupBox::toggled, &settleTimer, start, Qt::UniqueConnection);
    }
}
