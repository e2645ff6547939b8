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

    // Headless unless a platform is named; call before the application object.
    static void preferOffscreen();
    // The program's font, and settings of the tool's own, so that the operator's
    // remembered port, model and tab stay untouched.
    static void prepareApplication(const QString &toolName);

    bool connectTo(const QString &port, int model, const QString &password, int timeoutMs);
    bool readSettings(int timeoutMs);
    void startLogStream();
    // The folder a directory dialog is answered with; empty: dialogs are cancelled.
    void setDirectoryAnswer(const QString &directory) { directoryAnswer = directory; }
    int closedBoxes() const { return closed; }

signals:
    // A directory dialog is about to be answered with the folder.
    void directoryAnswering();

private:
    void closeStandingBox();

    BasicWindow *window;
    QTimer poll;
    QString directoryAnswer;
    int closed = 0;
};
