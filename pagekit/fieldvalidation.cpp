#include "pagekit/fieldvalidation.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
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
    return countedLabels().isEmpty();
}

QString FieldValidation::invalidFields() const
{
    QString text;
    for (const QString &label : countedLabels())
        text += label + QLatin1Char('\n');
    return text;
}

QStringList FieldValidation::countedLabels() const
{
    QStringList labels = invalidLabels;
    for (const auto &[field, label] : importedFields) {
        // A typed verdict on the same field already counts.
        if (!ignoredFields.contains(field) && !labelOfField.contains(field)
            && !labels.contains(label))
            labels.append(label);
    }
    return labels;
}

void FieldValidation::markImported(QWidget *field, const QString &labelText)
{
    if (!field)
        return;
    // A box's own frame, not every field inside it.
    field->setStyleSheet(qobject_cast<QGroupBox *>(field)
                                 ? QStringLiteral(".%1 { %2 }")
                                           .arg(QLatin1String(field->metaObject()->className()),
                                                invalidFieldStyle)
                                 : invalidFieldStyle);
    importedFields.removeIf([field](const auto &entry) { return entry.first == field; });
    importedFields.append({field, labelText});
    watch(field);
    if (changeWatchedFields.contains(field))
        return;
    changeWatchedFields.insert(field);
    // The operator's own change; the pages' later refills (the hold option) keep the mark.
    const auto unmark = [this, field] {
        unmarkImported(field);
    };
    if (auto *edit = qobject_cast<QLineEdit *>(field))
        connect(edit, &QLineEdit::textEdited, this, unmark);
    else if (auto *list = qobject_cast<QComboBox *>(field))
        connect(list, &QComboBox::currentIndexChanged, this, unmark);
    else if (auto *box = qobject_cast<QGroupBox *>(field))
        connect(box, &QGroupBox::toggled, this, unmark);
    else if (auto *button = qobject_cast<QAbstractButton *>(field))
        connect(button, &QAbstractButton::toggled, this, unmark);
}

void FieldValidation::clearImported()
{
    while (!importedFields.isEmpty())
        unmarkImported(importedFields.first().first);
}

void FieldValidation::unmarkImported(QWidget *field)
{
    const auto marked = std::find_if(importedFields.begin(), importedFields.end(),
                                     [field](const auto &entry) { return entry.first == field; });
    if (marked == importedFields.end())
        return;
    importedFields.erase(marked);
    const auto *edit = qobject_cast<QLineEdit *>(field);
    field->setStyleSheet(!edit || edit->hasAcceptableInput() ? validFieldStyle : invalidFieldStyle);
}

void FieldValidation::reset()
{
    for (const QObject *field : std::as_const(watchedFields))
        disconnect(field, nullptr, this, nullptr);
    watchedFields.clear();
    changeWatchedFields.clear();
    importedFields.clear();
    invalidLabels.clear();
    fieldsByLabel.clear();
    labelOfField.clear();
    ignoredFields.clear();
}

// A field destroyed while invalid (a removed module page) must not block the
// apply step for ever.
void FieldValidation::watch(QObject *field)
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
    changeWatchedFields.remove(field);
    importedFields.removeIf([field](const auto &entry) { return entry.first == field; });
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
