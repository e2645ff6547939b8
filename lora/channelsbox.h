#pragma once

#include <QGroupBox>

class QCheckBox;
class QLineEdit;
class QRadioButton;
class QRegularExpressionValidator;

// One LoRa channel of a module: enabled, serving radio and frequency in Hz.
class ChannelsBox : public QGroupBox
{
    Q_OBJECT

public:
    static constexpr int referenceWidthPx = 181;
    static constexpr int referenceHeightPx = 121;

    ChannelsBox(const QString &title, const QRect &geometry, QWidget *parent);

    void setChannel(bool enabled, int radio, int frequency);
    bool channelEnabled() const;
    int channelRadio() const;
    int channelFrequency() const;
    // The settings keys of the channel's fields: on, radio, frequency.
    void setFieldKeys(const QString &enabledKey, const QString &radioKey,
                      const QString &frequencyKey);

signals:
    void edited(QString text);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private slots:
    void setEnabled(int state);
    void validatorFrequency(QString Text);

private:
    QLineEdit *frequencyEdit;
    QRadioButton *radio0Button;
    QRadioButton *radio1Button;
    QCheckBox *enableBox;
    QRegularExpressionValidator *frequencyValidator;
};
