#include "messageboxcloser.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>

namespace {
constexpr int pollPeriodMs = 5;
}

MessageBoxCloser::MessageBoxCloser(QObject *parent) : QObject(parent), poll(this)
{
    connect(&poll, &QTimer::timeout, this, &MessageBoxCloser::closeStandingBox);
    poll.start(pollPeriodMs);
}

void MessageBoxCloser::closeStandingBox()
{
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (!box || !box->isVisible())
        return;
    seen.append({int(box->icon()), box->windowTitle(), box->text()});
    box->done(QMessageBox::Ok);
}

bool MessageBoxCloser::contains(const QString &fragment) const
{
    for (const Box &box : seen) {
        if (box.text.contains(fragment))
            return true;
    }
    return false;
}

bool MessageBoxCloser::waitForText(const QString &fragment, int timeoutMs) const
{
    return QTest::qWaitFor([this, &fragment] { return contains(fragment); }, timeoutMs);
}
