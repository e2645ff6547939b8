#pragma once

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QWidget>

#include "pagekit/unshownkeys.h"

class BoxGPS;
class ChannelsBox;
class GWIDEdit;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRegularExpressionValidator;

// Editor of the settings of one LoRa module (one group object of the settings document).
class LoRaSettings : public QWidget
{
    Q_OBJECT

public:
    enum FreqType : qint32 {
        PlanRu868Sb1 = 0,
        PlanRu868Sb2 = 1,
        PlanRu868Sb3 = 2,
        PlanEu868 = 3,
        PlanKz868 = 4,
        PlanCustom = 5,
    };
    Q_ENUM(FreqType)

    struct ChannelSettings
    {
        bool enabled;
        int radio;
        int frequency;
    };

    static constexpr int referenceWidthPx = 905;
    static constexpr int referenceHeightPx = 582;
    static constexpr int channelCount = 8;

    explicit LoRaSettings(QWidget *parent = nullptr);

    // The eight channel presets of a plan, channel 0 first; empty for "Custom".
    static QList<ChannelSettings> defaultChannels(FreqType plan);

    void setSettings(QJsonObject group, bool withGatewayId);
    QJsonObject getSettings(bool withGatewayId) const;
    void setGatewayId(QString id);
    void restrictCustomPlan(bool restricted);
    void hideGpsBox(bool hide);

public slots:
    void useLocalServer(bool state);
    void lockGwID();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private slots:
    void validatorID(QString Text);
    void validatorIP(QString Text);
    void validatorUpPort(QString Text);
    void validatorDownPort(QString Text);
    void setFrequency(QString Text);
    void editGwID();
    void switchCustomPlan(QString Text);

private:
    void showFrequencyGroup(int state);

    QGroupBox *connectionGroup;
    QLabel *idLabel;
    GWIDEdit *gatewayIdEdit;
    QLabel *addressLabel;
    QLineEdit *serverAddressEdit;
    QLabel *upPortLabel;
    QLineEdit *upPortEdit;
    QLabel *downPortLabel;
    QLineEdit *downPortEdit;
    BoxGPS *gpsBox;
    QGroupBox *otherGroup;
    QLabel *gainLabel;
    QLineEdit *antennaGainEdit;
    QLabel *keepaliveLabel;
    QLineEdit *keepaliveEdit;
    QComboBox *frequencyPlanBox;
    QCheckBox *showFrequenciesBox;
    QGroupBox *frequencyGroup;
    QList<ChannelsBox *> channelBoxes;

    QRegularExpressionValidator *idValidator;
    QRegularExpressionValidator *serverValidator;
    QRegularExpressionValidator *portValidator;
    QRegularExpressionValidator *twoOrThreeDigitsValidator;

    QString savedServerAddress;
    QString savedUpPort;
    UnshownKeys unshownKeys;
};
