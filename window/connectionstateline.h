#pragma once

#include <QLabel>
#include <QString>

// The one line that always tells what the connection is doing, so that the
// operator need not guess it from which buttons are greyed. Each of its two rows
// is shortened in the middle to the line's width (a device path keeps its end);
// the whole text stands in the tool tip.
class ConnectionStateLine : public QLabel
{
    Q_OBJECT

public:
    enum class State { NotConnected, Connecting, Connected, Rebooting, WaitingForAdapter, Lost };

    explicit ConnectionStateLine(QWidget *parent = nullptr);

    State state() const { return current; }
    // model and adapter are shown while Connected.
    void setState(State state, const QString &model = QString(),
                  const QString &adapter = QString());

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QString fullText() const;
    void showText();

    State current = State::NotConnected;
    QString model;
    QString adapter;
};
