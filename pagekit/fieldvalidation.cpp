#include "pagekit/fieldvalidation.h"

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
    const bool acceptable = field->hasAcceptableInput();
    field->setStyleSheet(acceptable ? validFieldStyle : invalidFieldStyle);
    const auto ignored = ignoredFields.find(field);
    if (ignored != ignoredFields.end()) {
        ignored.value() = acceptable ? QString() : labelText;
        return;
    }
    if (acceptable) {
        setFieldValid(field);
    } else {
        watch(field);
        setFieldInvalid(field, labelText);
    }
}

void FieldValidation::setFieldIgnored(QLineEdit *field, bool ignored)
{
    if (!field || ignoredFields.contains(field) == ignored)
        return;
    if (ignored) {
        watch(field);
        ignoredFields.insert(field, labelOfField.value(field));
        setFieldValid(field);
        return;
    }
    const QString label = ignoredFields.take(field);
    if (!label.isEmpty())
        setFieldInvalid(field, label);
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
    for (const QObject *field : std::as_const(watchedFields))
        disconnect(field, &QObject::destroyed, this, nullptr);
    watchedFields.clear();
    invalidLabels.clear();
    fieldsByLabel.clear();
    labelOfField.clear();
    ignoredFields.clear();
}

// A field destroyed while invalid (a removed module page) must not block the
// apply step for ever.
void FieldValidation::watch(QLineEdit *field)
{
    if (watchedFields.contains(field))
        return;
    watchedFields.insert(field);
    connect(field, &QObject::destroyed, this, [this](QObject *gone) { forget(gone); });
}

void FieldValidation::forget(const QObject *field)
{
    setFieldValid(field);
    ignoredFields.remove(field);
    watchedFields.remove(field);
}

void FieldValidation::setFieldValid(const QObject *field)
{
    const auto found = labelOfField.find(field);
    if (found == labelOfField.end())
        return;
    const QString label = found.value();
    labelOfField.erase(found);
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
    // A label text that changed (a language switch) files the field anew.
    setFieldValid(field);
    labelOfField.insert(field, labelText);
    fieldsByLabel[labelText].insert(field);
    if (!invalidLabels.contains(labelText))
        invalidLabels.append(labelText);
}
