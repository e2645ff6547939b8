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

    // True exactly when no field is invalid.
    bool fieldsValid() const;
    // Each invalid label text followed by "\n", once per label text, in the
    // order the label texts became invalid.
    QString invalidFields() const;

    // Forgets every mark; for a fresh start in tests.
    void reset();

private:
    explicit FieldValidation(QObject *parent = nullptr);

    void setFieldValid(const QObject *field);
    void setFieldInvalid(const QObject *field, const QString &labelText);

    QStringList invalidLabels;
    QHash<QString, QSet<const QObject *>> fieldsByLabel;
    QHash<const QObject *, QString> labelOfField;
};
