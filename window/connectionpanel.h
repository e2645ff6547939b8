#pragma once

#include "pagekit/colorscheme.h"
#include "session/gatewaysession.h"
#include "window/connectionstateline.h"
#include "window/portchooser.h"

#include <QByteArray>
#include <QObject>
#include <QString>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// The window's left column above the settings buttons: the logo, the port and the
// model, the console credentials, connect and disconnect, and the line that tells
// the state of the connection. Its widgets are the window's children, placed in
// the window's own pixels.
class ConnectionPanel : public QObject
{
    Q_OBJECT

public:
    explicit ConnectionPanel(QWidget *window);

    QComboBox *modelBox() const { return models; }
    QPushButton *connectButton() const { return connectPress; }
    QPushButton *disconnectButton() const { return disconnectPress; }

    PortChooser::Choice chosenPort() const { return ports->chosen(); }
    void choosePort(const QString &id) { ports->choose(id); }
    QString rememberedPort() const { return ports->remembered(); }
    void refreshPortList() { ports->refresh(); }

    // The credentials as the console takes them: UTF-8 and a return.
    QByteArray loginBytes() const;
    QByteArray passwordBytes() const;

    // While a session runs, what it was opened with cannot change.
    void setSessionRunning(bool running, bool cancellable);
    // lost: the last session ended because the gateway or its adapter went away.
    void showSession(GatewaySession::State state, bool lost, const QString &model,
                     const QString &adapter);
    void setScheme(ColorScheme::Scheme scheme);

    void expandAuthForm();
    void editViewPassGateway();

signals:
    void connectRequested();
    void disconnectRequested();

private:
    void createAuthForm(QWidget *window);

    QLabel *logoLabel;
    QComboBox *portBox;
    QPushButton *refreshButton;
    QLabel *modelLabel;
    QComboBox *models;
    QGroupBox *authGroup;
    QLabel *loginLabel;
    QLabel *passwordLabel;
    QLineEdit *loginEdit;
    QLineEdit *passwordEdit;
    QPushButton *showPasswordButton;
    QPushButton *expandAuthButton;
    QPushButton *connectPress;
    QPushButton *disconnectPress;
    ConnectionStateLine *stateLine;
    PortChooser *ports;
};
