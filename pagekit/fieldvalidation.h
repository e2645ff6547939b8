#pragma once

#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

class QLineEdit;

// Remembers which validated fields of the whole program are invalid, so that
// the apply step refuses while any of them is, not only the last one marked.
class FieldValidation : public QObject
{
    Q_OBJECT

public:
    static const QString invalidFieldStyle;
    static const QString validFieldStyle;

    static FieldValidation &instance();

    // Judges the field by its validator (whole text must match), gives it the
    // matching style sheet and records the outcome under labelText.
    void markField(QLineEdit *field, const QString &labelText);

    // A field the operator cannot see (its box is hidden for the model) must not
    // hold the apply back: while ignored it is still styled but not counted, and
    // when counted again its last verdict counts again.
    void setFieldIgnored(QLineEdit *field, bool ignored);

    // True exactly when no counted field is invalid.
    bool fieldsValid() const;
    // Each invalid label text followed by "\n", once per label text, in the
    // order the label texts became invalid.
    QString invalidFields() const;

    // Forgets every mark; for a fresh start in tests.
    void reset();

private:
    explicit FieldValidation(QObject *parent = nullptr);

    void watch(QLineEdit *field);
    void forget(const QObject *field);
    void setFieldValid(const QObject *field);
    void setFieldInvalid(const QObject *field, const QString &labelText);

    QStringList invalidLabels;
    QHash<QString, QSet<const QObject *>> fieldsByLabel;
    QHash<const QObject *, QString> labelOfField;
    // Ignored fields with the label of their last invalid verdict (empty when valid).
    QHash<const QObject *, QString> ignoredFields;
    QSet<const QObject *> watchedFields;
};
