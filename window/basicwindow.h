#pragma once

#include <QJsonObject>
#include <QPalette>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>

#include "report/commissioningreport.h"
#include "session/gatewaysession.h"
#include "settings/settingsrules.h"
#include "window/presetactions.h"

class AboutDevice;
class AboutDeveloper;
class ConnectionPanel;
class LoRaLogs;
class NetworkSettings;
class OtherSettings;
class PageEdits;
class PendingChangesButton;
class QPushButton;
class QTabWidget;
class SignalTab;
class SPortConnector;
class StackLoRaSettings;
class WaitingAnimation;

// The program's only top-level window: the connection controls on the left, the
// pages on the right. It is a view of one gateway session: what the session
// does shows here, and every box is raised here.
class BasicWindow : public QWidget, private PresetActions::Host
{
    Q_OBJECT

public:
    static constexpr int minimumWidthPx = 1081;
    static constexpr int minimumHeightPx = 635;
    static constexpr int spinnerFadeMs = 1500;

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
    QString askPresetSaveName(const QString &proposedPath) override;
    QString askPresetOpenName(const QString &startDirectory) override;
    virtual QString askReportSaveName(const QString &proposedPath);
    // What a commissioning report made now holds.
    CommissioningReport::Content reportContent() const;
    // The link of the current connection attempt, for tests that fire its timer.
    SPortConnector *gatewayLink() const { return session->link(); }

private slots:
    void saveReport();
    void connectToGateway();
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
    void unlockApplyButton();
    void expandAuthForm();
    void retainSettingsChanged(bool state);
    void changeInterface(int Index);
    void refreshPortList();

private:
    void createExchangeButtons();
    void createPages();
    void makeWindowConnections();
    void connectSession();
    void placeAnchoredWidgets();
    void sessionStateChanged(GatewaySession::State state);
    void updateControls();
    void showConnectionState();
    void attachPages(SPortConnector *link);
    void gatewayReportedModel(int code);
    void applyFinished(const ApplyOutcome &outcome);
    void adapterLost(bool applyOutcomeUnknown);
    void sameGatewayBack(const QJsonObject &current);
    void otherGatewayBack(const QString &name);
    void setCoreVersionKeepingPages(const QString &version);
    void forwardLocalServerChoice(bool state);

    // What the preset actions need of the window.
    int modelCode() const override;
    QString modelName() const override;
    SettingsRules::PageGroups shownGroups(bool withGatewayId) const override;
    void fillPagesFromCollector(bool withGatewayId) override;
    void updatePendingChanges() override;
    void showBox(int icon, const QString &title, const QString &text) override;

    ConnectionPanel *panel;
    PresetActions *presets;
    QPushButton *requestButton;
    QPushButton *applyButton;
    PendingChangesButton *pendingButton;
    QPushButton *aboutButton;
    QTabWidget *tabs;
    WaitingAnimation *spinner;
    StackLoRaSettings *loraPage;
    NetworkSettings *networkPage;
    OtherSettings *otherPage;
    LoRaLogs *logsPage;
    AboutDevice *devicePage;
    SignalTab *signalTab;
    QPointer<AboutDeveloper> aboutWindow;
    GatewaySession *session;
    // The link the pages that talk to the gateway hold now.
    QPointer<SPortConnector> attachedLink;
    GatewaySession::State shownState = GatewaySession::State::Disconnected;
    // The adapter of this session in a few words, for the state line.
    QString adapterName;
    PageEdits *edits;
    // The last apply's check, for the commissioning report.
    CommissioningReport::Outcome lastOutcome = CommissioningReport::Outcome::NoApply;
    QList<SettingsChange> lastDrift;
    int lastConfirmedFields = 0;
    // The server box reports its check box when the window fills it, too; only
    // the operator's own choice may move the module pages to the local server.
    bool fillingPages = false;
};
