#include "lora/boxgps.h"

#include "pagekit/fieldkeys.h"
#include "pagekit/fieldvalidation.h"
#include "settings/inputpatterns.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace {
const QString useGpsKey = QStringLiteral("131");
const QString fakeGpsKey = QStringLiteral("132");
const QString latitudeKey = QStringLiteral("133");
const QString longitudeKey = QStringLiteral("134");
const QString heightKey = QStringLiteral("135");

constexpr int coordinateDecimals = 6;
constexpr int fieldGapPx = 19;

QString coordinateText(const QJsonValue &value)
{
    return QString::number(value.toDouble(), 'f', coordinateDecimals);
}
} // namespace

BoxGPS::BoxGPS(const QString &title, const QRect &geometry, QWidget *parent)
    : QGroupBox(title, parent), useGpsBox(new QCheckBox(tr("Использовать GPS"), this)),
      fakeGpsBox(new QCheckBox(tr("Имитация GPS"), this)),
      latitudeLabel(new QLabel(tr("Широта"), this)), latitudeEdit(new QLineEdit(this)),
      longitudeLabel(new QLabel(tr("Долгота"), this)), longitudeEdit(new QLineEdit(this)),
      heightLabel(new QLabel(tr("Высота"), this)), heightEdit(new QLineEdit(this)),
      latitudeValidator(new QRegularExpressionValidator(InputPatterns::gpsLatitude(), this)),
      longitudeValidator(new QRegularExpressionValidator(InputPatterns::gpsLongitude(), this)),
      heightValidator(new QRegularExpressionValidator(InputPatterns::gpsHeight(), this))
{
    setGeometry(geometry);

    useGpsBox->setObjectName(QStringLiteral("useGpsBox"));
    useGpsBox->setGeometry(20, 30, 131, 22);
    fakeGpsBox->setObjectName(QStringLiteral("fakeGpsBox"));
    fakeGpsBox->setGeometry(20, 60, 111, 22);
    latitudeLabel->setGeometry(170, 23, 51, 21);
    latitudeEdit->setObjectName(QStringLiteral("latitudeEdit"));
    latitudeEdit->setGeometry(170, 48, 131, 24);
    latitudeEdit->setValidator(latitudeValidator);
    longitudeLabel->setGeometry(320, 23, 51, 21);
    longitudeEdit->setObjectName(QStringLiteral("longitudeEdit"));
    longitudeEdit->setGeometry(320, 48, 131, 24);
    longitudeEdit->setValidator(longitudeValidator);
    heightLabel->setGeometry(470, 23, 51, 21);
    heightEdit->setObjectName(QStringLiteral("heightEdit"));
    heightEdit->setGeometry(470, 48, 131, 24);
    heightEdit->setValidator(heightValidator);

    FieldKeys::setKeys(useGpsBox, {useGpsKey});
    FieldKeys::setKeys(fakeGpsBox, {fakeGpsKey});
    FieldKeys::setKeys(latitudeEdit, {latitudeKey});
    FieldKeys::setKeys(longitudeEdit, {longitudeKey});
    FieldKeys::setKeys(heightEdit, {heightKey});

    connect(latitudeEdit, &QLineEdit::textChanged, this, &BoxGPS::validatorGPSLatitude);
    connect(longitudeEdit, &QLineEdit::textChanged, this, &BoxGPS::validatorGPSLongitude);
    connect(heightEdit, &QLineEdit::textChanged, this, &BoxGPS::validatorGPSHeight);
}

QStringList BoxGPS::keys()
{
    return {useGpsKey, fakeGpsKey, latitudeKey, longitudeKey, heightKey};
}

void BoxGPS::setSettings(QJsonObject group)
{
    useGpsBox->setChecked(group.value(useGpsKey).toBool());
    fakeGpsBox->setChecked(group.value(fakeGpsKey).toBool());
    latitudeEdit->setText(coordinateText(group.value(latitudeKey)));
    longitudeEdit->setText(coordinateText(group.value(longitudeKey)));
    heightEdit->setText(QString::number(group.value(heightKey).toInt()));
}

void BoxGPS::putSettings(QJsonObject &group) const
{
    group.insert(useGpsKey, useGpsBox->isChecked());
    group.insert(fakeGpsKey, fakeGpsBox->isChecked());
    group.insert(latitudeKey, latitudeEdit->text().toDouble());
    group.insert(longitudeKey, longitudeEdit->text().toDouble());
    group.insert(heightKey, heightEdit->text().toInt(nullptr, 10));
}

void BoxGPS::resizeEvent(QResizeEvent *event)
{
    QGroupBox::resizeEvent(event);
    // Plain integer arithmetic: the fields share the extra width in thirds.
    const int d = height() - referenceHeightPx;
    const int e = d / 2;
    const int w = (width() - referenceWidthPx) / 3 + 131;

    useGpsBox->setGeometry(20, d / 4 + 30, 131, 22);
    fakeGpsBox->setGeometry(20, e + 60, 131, 22);
    latitudeLabel->setGeometry(170, e + 23, 51, 21);
    latitudeEdit->setGeometry(170, e + 48, w, 24);
    const int longitudeX = latitudeEdit->x() + latitudeEdit->width() + fieldGapPx;
    longitudeLabel->setGeometry(longitudeX, e + 23, 51, 21);
    longitudeEdit->setGeometry(longitudeX, e + 48, w, 24);
    const int heightX = longitudeEdit->x() + longitudeEdit->width() + fieldGapPx;
    heightLabel->setGeometry(heightX, e + 23, 51, 21);
    heightEdit->setGeometry(heightX, e + 48, w, 24);
}

void BoxGPS::setFieldsCounted(bool counted)
{
    for (QLineEdit *field : {latitudeEdit, longitudeEdit, heightEdit})
        FieldValidation::instance().setFieldIgnored(field, !counted);
}

void BoxGPS::validatorGPSLatitude(QString Text)
{
    Q_UNUSED(Text)
    FieldValidation::instance().markField(latitudeEdit, latitudeLabel->text());
}

void BoxGPS::validatorGPSLongitude(QString Text)
{
    Q_UNUSED(Text)
    FieldValidation::instance().markField(longitudeEdit, longitudeLabel->text());
}

void BoxGPS::validatorGPSHeight(QString Text)
{
    Q_UNUSED(Text)
    FieldValidation::instance().markField(heightEdit, heightLabel->text());
}
