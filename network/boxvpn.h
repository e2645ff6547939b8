#pragma once

#include <QByteArray>
#include <QGroupBox>
#include <QList>
#include <QMetaObject>
#include <QPointer>
#include <QString>
#include <QStringList>

class QComboBox;
class QDragEnterEvent;
class QDragMoveEvent;
class QDropEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QRect;
class QResizeEvent;
class SPortConnector;

// Uploads OpenVPN files to the gateway and runs or activates the
// configurations the gateway reported.
class BoxVPN : public QGroupBox
{
    Q_OBJECT

public:
    BoxVPN(const QString &title, const QRect &geometry, QWidget *parent = nullptr);

    void attachLink(SPortConnector *link);
    void detachLink();
    void setConfigList(const QStringList &names);
    void setThemeIcons(int colorScheme);

signals:
    void showDialogMessage(int index, QString Title, QString Text);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private slots:
    void searchOVPNFile();
    void runSendingOVPNFileToGW();
    void sendOVPNDataFile();
    void runOVPN();
    void activateOVPN();
    void getOVPNState(QString Text);
    void changeOpenVPNState(int State);
    void finishUpload();

private:
    bool configSelectedOrWarn();
    bool readUploadBody(const QString &path, QByteArray &body);

    QLabel *fileLabel;
    QPushButton *sendButton;
    QLineEdit *pathField;
    QPushButton *browseButton;
    QPushButton *runButton;
    QPushButton *activateButton;
    QLabel *hintLabel;
    QComboBox *configList;

    QPointer<SPortConnector> link;
    QList<QMetaObject::Connection> linkConnections;
};
