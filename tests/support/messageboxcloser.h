#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

// Reads and closes every modal message box as soon as it stands, so that tests
// of code that runs QMessageBox::exec never hang on one.
class MessageBoxCloser : public QObject
{
    Q_OBJECT

public:
    struct Box
    {
        int icon;
        QString title;
        QString text;
    };

    explicit MessageBoxCloser(QObject *parent = nullptr);

    QList<Box> boxes() const { return seen; }
    void clear() { seen.clear(); }
    // Waits until a box whose text contains the fragment has been closed.
    bool waitForText(const QString &fragment, int timeoutMs = 10000) const;
    bool contains(const QString &fragment) const;

private:
    void closeStandingBox();

    QTimer poll;
    QList<Box> seen;
};
