#pragma once

#include <QJsonObject>
#include <QString>
#include <QWidget>

class LoRaSettings;
class QCheckBox;
class QRadioButton;
class QStackedWidget;

// The LoRa settings tab: one module page, or two with a switch between them.
class StackLoRaSettings : public QWidget
{
    Q_OBJECT

public:
    static constexpr int referenceWidthPx = 905;
    static constexpr int referenceHeightPx = 582;
    static constexpr int stackExtraWidthPx = 6;

    explicit StackLoRaSettings(QWidget *parent = nullptr);

    void setDeviceType(int code);
    void setSettings(QJsonObject document, bool withGatewayId);
    QJsonObject getSettings(bool withGatewayId) const;
    void setGatewayIds(QJsonObject document);
    void lockGwIDs();
    void setCoreVersion(QString version);

    // The model code last given to setDeviceType.
    int deviceType = 0;

signals:
    void useDoubleModule(bool state);

public slots:
    void setModuleState(bool state);
    // Points every module page's server fields at the local server, or back.
    void useLocalServer(bool state);

protected:
    void resizeEvent(QResizeEvent *event) override;

private slots:
    void selectModule1Settings(bool state);
    void selectModule2Settings(bool state);

private:
    bool hasTwoModules() const;

    QStackedWidget *pagesStack;
    LoRaSettings *module1Page;
    LoRaSettings *module2Page = nullptr;
    QCheckBox *bothModulesBox = nullptr;
    QRadioButton *module1Button = nullptr;
    QRadioButton *module2Button = nullptr;
};
