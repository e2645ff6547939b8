#include "lora/channelsbox.h"

#include "pagekit/fieldkeys.h"
#include "pagekit/fieldvalidation.h"
#include "pagekit/resizescale.h"
#include "settings/inputpatterns.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <QRegularExpressionValidator>

namespace {
constexpr int enableBoxRightInsetPx = 19;
}

ChannelsBox::ChannelsBox(const QString &title, const QRect &geometry, QWidget *parent)
    : QGroupBox(title, parent), frequencyEdit(new QLineEdit(this)),
      radio0Button(new QRadioButton(tr("Радио 0"), this)),
      radio1Button(new QRadioButton(tr("Радио 1"), this)), enableBox(new QCheckBox(this)),
      frequencyValidator(new QRegularExpressionValidator(InputPatterns::channelFrequency(), this))
{
    setGeometry(geometry);

    frequencyEdit->setObjectName(QStringLiteral("frequencyEdit"));
    frequencyEdit->setGeometry(10, 40, 161, 24);
    frequencyEdit->setValidator(frequencyValidator);
    radio0Button->setObjectName(QStringLiteral("radio0Button"));
    radio0Button->setGeometry(10, 80, 71, 22);
    radio1Button->setObjectName(QStringLiteral("radio1Button"));
    radio1Button->setGeometry(110, 80, 71, 22);
    enableBox->setObjectName(QStringLiteral("enableBox"));
    enableBox->setTristate(false);
    enableBox->setGeometry(160, 0, 16, 22);

    // A disabled channel is not used by the gateway, which keeps any frequency
    // there: it must not hold the apply back, and goes back as it came.
    FieldValidation::instance().setFieldIgnored(frequencyEdit, true);
    connect(enableBox, &QCheckBox::toggled, this, [this](bool enabled) {
        FieldValidation::instance().setFieldIgnored(frequencyEdit, !enabled);
    });
    connect(enableBox, &QCheckBox::stateChanged, this, &ChannelsBox::setEnabled);
    connect(frequencyEdit, &QLineEdit::textChanged, this, &ChannelsBox::validatorFrequency);
    // textEdited fires only for the operator's own edits, never for setChannel.
    connect(frequencyEdit, &QLineEdit::textEdited, this, &ChannelsBox::edited);
}

void ChannelsBox::setFieldKeys(const QString &enabledKey, const QString &radioKey,
                               const QString &frequencyKey)
{
    FieldKeys::setKeys(enableBox, {enabledKey});
    FieldKeys::setKeys(radio0Button, {radioKey});
    FieldKeys::setKeys(frequencyEdit, {frequencyKey});
}

void ChannelsBox::setChannel(bool enabled, int radio, int frequency)
{
    frequencyEdit->setText(QString::number(frequency));
    enableBox->setChecked(enabled);
    // Auto-exclusive buttons: checking one unchecks the other.
    if (radio == 0)
        radio0Button->setChecked(true);
    else if (radio == 1)
        radio1Button->setChecked(true);
}

bool ChannelsBox::channelEnabled() const
{
    return enableBox->isChecked();
}

int ChannelsBox::channelRadio() const
{
    return radio1Button->isChecked() ? 1 : 0;
}

int ChannelsBox::channelFrequency() const
{
    return frequencyEdit->text().toInt(nullptr, 10);
}

void ChannelsBox::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && frequencyEdit->hasFocus())
        frequencyEdit->clearFocus();
    QGroupBox::mousePressEvent(event);
}

void ChannelsBox::resizeEvent(QResizeEvent *event)
{
    QGroupBox::resizeEvent(event);
    const ResizeScale scale(QSize(referenceWidthPx, referenceHeightPx), size());
    frequencyEdit->setGeometry(10, scale.y(40), scale.x(161), 24);
    radio0Button->setGeometry(10, scale.y(80), 71, 22);
    radio1Button->setGeometry(scale.x(110), scale.y(80), 71, 22);
    enableBox->setGeometry(width() - enableBoxRightInsetPx, 0, 16, 22);
}

void ChannelsBox::setEnabled(int state)
{
    if (state != Qt::Checked && state != Qt::Unchecked)
        return;
    const bool on = state == Qt::Checked;
    frequencyEdit->setEnabled(on);
    radio0Button->setEnabled(on);
    radio1Button->setEnabled(on);
}

void ChannelsBox::validatorFrequency(QString Text)
{
    Q_UNUSED(Text)
    FieldValidation::instance().markField(frequencyEdit, title());
}
