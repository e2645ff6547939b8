#pragma once

#include <QJsonObject>
#include <QPalette>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>

#include "report/commissioningreport.h"
#include "settings/settingsrules.h"

class AboutDevice;
class AboutDeveloper;
class ConnectionStateLine;
class LoRaLogs;
class NetworkSettings;
class OtherSettings;
class PortChooser;
class PendingChangesButton;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class ReconnectWait;
class SPortConnector;
class StackLoRaSettings;
class WaitingAnimation;

// The program's only top-level window: the connection controls on the left, the
// five pages on the right. It owns the link of the current connection and makes
// every connection between the link, the pages and itself.
class BasicWindow : public QWidget
{
    Q_OBJECT

public:
    static constexpr int minimumWidthPx = 1081;
    static constexpr int minimumHeightPx = 635;
    // A pulled adapter is noticed by this poll at the latest, when no read error
    // on the line has told already.
    static constexpr int connectionCheckPeriodMs = 500;
    static constexpr int spinnerFadeMs = 1500;
    // A read or an apply with no reply by then has failed.
    static constexpr int exchangeTimeoutMs = 30000;

    explicit BasicWindow(QWidget *parent = nullptr);
    ~BasicWindow() override;

public slots:
    void resivedSettings(QJsonObject *SettingsJSON);
    void showDialogWidget(int index, QString Title, QString Text);

protected:
    void changeEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    // The file dialogs of the preset actions; an empty name means cancelled.
    virtual QString askPresetSaveName(const QString &proposedPath);
    virtual QString askPresetOpenName(const QString &startDirectory);
    virtual QString askReportSaveName(const QString &proposedPath);
    // What a commissioning report made now holds.
    CommissioningReport::Content reportContent() const;
    // The link of the current connection attempt, for tests that fire its timer.
    SPortConnector *gatewayLink() const { return link; }

private slots:
    void saveReport();
    void connectToGateway();
    void deleteSPortInstance();
    void disconnectFromGateway();
    void unlockingSettingsFunctions();
    void changeIcons(QPalette Palette);
    void sendSettingsToGateway();
    void rebootSucsess();
    void disableInterface();
    void editViewPassGateway();
    void loadPresets();
    void savePresets();
    void showAboutDeveloperWindow();
    void connectionCheck();
    void unlockApplyButton();
    void blockGetSettingsButton();
    void expandAuthForm();
    void retainSettingsChanged(bool state);
    void changeInterface(int Index);
    void gatewayReportedModel(int code);
    void attemptEnded();
    void adapterLost();
    void reconnectTo(const QString &path);
    void reconnectMessage(int index, QString Title, QString Text);
    void coreLost();

private:
    void startLink(const QString &path);
    void showConnected();
    void refreshPortList();
    void createLeftColumn();
    void createPages();
    void makeWindowConnections();
    void placeAnchoredWidgets();
    void setConnectedControls(bool connected);
    void resetToDisconnected();
    void dropLink();
    void setCoreVersionKeepingPages(const QString &version);
    void fillPagesFromCollector(bool withGatewayId);
    SettingsRules::PageGroups shownGroups(bool withGatewayId) const;
    QByteArray loginBytes() const;
    QByteArray passwordBytes() const;
    void createHoldSettingsBox();
    void forwardLocalServerChoice(bool state);

    // The settings exchange under way: one at a time, each ended by a reply, an
    // error, the time-out or the end of the connection.
    enum class Exchange { None, Read, Apply, ReadBack };
    void beginExchange(Exchange kind);
    Exchange endExchange();
    void rearmExchangeButtons();
    void gatewayTookSettings();
    void gatewayReportedError(int code, const QString &detail);
    void settingsReplyDamaged();
    void exchangeTimedOut();
    void startReadBack();
    void finishReadBack(const QJsonObject &readBack);
    void reportUnverifiedApply(const QString &reason);
    void showLinkBox(int index, const QString &text);
    void watchPageFields();
    void updatePendingChanges();

    QLabel *logoLabel;
    QLabel *loginLabel;
    QLabel *passwordLabel;
    QLabel *modelLabel;
    QLineEdit *loginEdit;
    QLineEdit *passwordEdit;
    QComboBox *portBox;
    QComboBox *modelBox;
    QPushButton *refreshButton;
    QPushButton *connectButton;
    QPushButton *disconnectButton;
    QPushButton *exportButton;
    QPushButton *importButton;
    QPushButton *requestButton;
    QPushButton *applyButton;
    PendingChangesButton *pendingButton;
    QPushButton *showPasswordButton;
    QPushButton *aboutButton;
    QPushButton *expandAuthButton;
    QTabWidget *tabs;
    QGroupBox *authGroup;
    QCheckBox *holdSettingsBox = nullptr;
    bool holdSettings = false;
    WaitingAnimation *spinner;
    StackLoRaSettings *loraPage;
    NetworkSettings *networkPage;
    OtherSettings *otherPage;
    LoRaLogs *logsPage;
    AboutDevice *devicePage;
    QPointer<AboutDeveloper> aboutWindow;
    SPortConnector *link = nullptr;
    QTimer connectionTimer;
    ConnectionStateLine *stateLine;
    PortChooser *portChooser;
    ReconnectWait *reconnect;
    // The adapter of this session in a few words, for the state line.
    QString adapterName;
    // The model code the gateway reported last; its keep-alive answers repeat it.
    int reportedModel = -1;
    // The operator switched the log stream on; it comes back with a lost adapter.
    bool logStreamWanted = false;
    // Fired by tests by name: "exchangeTimer" ends a read or apply nobody answers,
    // "pendingTimer" recounts the pending changes once the pages settle.
    QTimer exchangeTimer;
    QTimer pendingTimer;
    Exchange exchange = Exchange::None;
    // The last apply's check, for the commissioning report.
    CommissioningReport::Outcome lastOutcome = CommissioningReport::Outcome::NoApply;
    QList<SettingsChange> lastDrift;
    int lastConfirmedFields = 0;
    // The apply under way: what went out, how many fields it changes, and the
    // gateway's refusal (ERROR 1008), if any.
    QJsonObject sentDocument;
    int changedFieldCount = 0;
    QString refusalText;
    // What the last preset import holds that the pages cannot show.
    QJsonObject loadedPreset;

    // A gateway reporting a model code the list does not know keeps the line
    // speed of the last known model.
    int lastBaudRate;
    // The server box reports its check box when the window fills it, too; only
    // the operator's own choice may move the module pages to the local server.
    bool fillingPages = false;
};
