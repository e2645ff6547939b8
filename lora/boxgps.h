#pragma once

#include <QGroupBox>
#include <QJsonObject>
#include <QStringList>

class QCheckBox;
class QLabel;
class QLineEdit;
class QRegularExpressionValidator;

// GPS settings of one LoRa module: receiver use, simulation and the fixed position.
class BoxGPS : public QGroupBox
{
    Q_OBJECT

public:
    static constexpr int referenceWidthPx = 621;
    static constexpr int referenceHeightPx = 91;

    BoxGPS(const QString &title, const QRect &geometry, QWidget *parent);

    // The keys that setSettings reads and putSettings writes.
    static QStringList keys();
    void setSettings(QJsonObject group);
    void putSettings(QJsonObject &group) const;
    // While the box is hidden for a model without GPS the operator cannot correct
    // its fields, so they must not hold the apply back.
    void setFieldsCounted(bool counted);

protected:
    void resizeEvent(QResizeEvent *event) override;

private slots:
    void validatorGPSLatitude(QString Text);
    void validatorGPSLongitude(QString Text);
    void validatorGPSHeight(QString Text);

private:
    QCheckBox *useGpsBox;
    QCheckBox *fakeGpsBox;
    QLabel *latitudeLabel;
    QLineEdit *latitudeEdit;
    QLabel *longitudeLabel;
    QLineEdit *longitudeEdit;
    QLabel *heightLabel;
    QLineEdit *heightEdit;
    QRegularExpressionValidator *latitudeValidator;
    QRegularExpressionValidator *longitudeValidator;
    QRegularExpressionValidator *heightValidator;
};
