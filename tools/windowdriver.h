#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

class BasicWindow;

// Drives the main window the way an operator does, for the programs that show
// or time it: picks the port and model, logs in, reads the settings, switches
// the log stream on, and closes every message box as soon as it stands.
class WindowDriver : public QObject
{
    Q_OBJECT

public:
    explicit WindowDriver(BasicWindow *window);

    bool connectTo(const QString &port, int model, const QString &password, int timeoutMs);
    bool readSettings(int timeoutMs);
    void startLogStream();
    int closedBoxes() const { return closed; }

private:
    void closeStandingBox();

    BasicWindow *window;
    QTimer poll;
    int closed = 0;
};
