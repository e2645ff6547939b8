#include "app/fieldvalidation.h"

#include <QLineEdit>

const QString FieldValidation::invalidFieldStyle
        = QStringLiteral("border: 1px solid red;border-radius: 5px");
const QString FieldValidation::validFieldStyle;

FieldValidation::FieldValidation(QObject *parent) : QObject(parent) { }

FieldValidation &FieldValidation::instance()
{
    static FieldValidation validation;
    return validation;
}

void FieldValidation::markField(QLineEdit *field, const QString &labelText)
{
    if (!field)
        return;
    if (field->hasAcceptableInput()) {
        setFieldValid(field);
        field->setStyleSheet(validFieldStyle);
    } else {
        if (!labelOfField.contains(field)) {
            // A field destroyed while invalid (a removed module page) must not
            // block the apply step for ever.
            connect(field, &QObject::destroyed, this,
                    [this](QObject *gone) { setFieldValid(gone); });
        }
        setFieldInvalid(field, labelText);
        field->setStyleSheet(invalidFieldStyle);
    }
}

bool FieldValidation::fieldsValid() const
{
    return invalidLabels.isEmpty();
}

QString FieldValidation::invalidFields() const
{
    QString text;
    for (const QString &label : invalidLabels)
        text += label + QLatin1Char('\n');
    return text;
}

void FieldValidation::reset()
{
    for (auto it = labelOfField.cbegin(); it != labelOfField.cend(); ++it)
        disconnect(it.key(), &QObject::destroyed, this, nullptr);
    invalidLabels.clear();
    fieldsByLabel.clear();
    labelOfField.clear();
}

void FieldValidation::setFieldValid(const QObject *field)
{
    const auto found = labelOfField.find(field);
    if (found == labelOfField.end())
        return;
    const QString label = found.value();
    labelOfField.erase(found);
    disconnect(field, &QObject::destroyed, this, nullptr);
    QSet<const QObject *> &fields = fieldsByLabel[label];
    fields.remove(field);
    if (fields.isEmpty()) {
        fieldsByLabel.remove(label);
        invalidLabels.removeAll(label);
    }
}

void FieldValidation::setFieldInvalid(const QObject *field, const QString &labelText)
{
    const auto found = labelOfField.constFind(field);
    if (found != labelOfField.cend() && found.value() == labelText)
        return;
    if (found != labelOfField.cend()) {
        // The label text changed (for example after a language switch):
        // file the field under its new name.
        const QString oldLabel = found.value();
        QSet<const QObject *> &oldFields = fieldsByLabel[oldLabel];
        oldFields.remove(field);
        if (oldFields.isEmpty()) {
            fieldsByLabel.remove(oldLabel);
            invalidLabels.removeAll(oldLabel);
        }
    }
    labelOfField.insert(field, labelText);
    fieldsByLabel[labelText].insert(field);
    if (!invalidLabels.contains(labelText))
        invalidLabels.append(labelText);
}
