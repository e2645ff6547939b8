#pragma once

#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

class QLineEdit;
class QWidget;

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

    // A field whose value came from a preset and broke the field's rule: a check
    // box, a list or a text field that shows it converted (a port "abc" as 0).
    // Styled and counted as an invalid typed value is, until the operator changes
    // the field or clearImported() runs.
    void markImported(QWidget *field, const QString &labelText);
    // Before the pages are filled anew.
    void clearImported();

    // True exactly when no counted field is invalid.
    bool fieldsValid() const;
    // Each invalid label text followed by "\n", once per label text, in the
    // order the label texts became invalid.
    QString invalidFields() const;

    // Forgets every mark; for a fresh start in tests.
    void reset();

private:
    explicit FieldValidation(QObject *parent = nullptr);

    void watch(QObject *field);
    void unmarkImported(QWidget *field);
    QStringList countedLabels() const;
    void forget(const QObject *field);
    void setFieldValid(const QObject *field);
    void setFieldInvalid(const QObject *field, const QString &labelText);

    QStringList invalidLabels;
    QHash<QString, QSet<const QObject *>> fieldsByLabel;
    QHash<const QObject *, QString> labelOfField;
    // Ignored fields with the label of their last invalid verdict (empty when valid).
    QHash<const QObject *, QString> ignoredFields;
    QSet<const QObject *> watchedFields;
    // Marked imported fields with their labels, in the order they were marked.
    QList<std::pair<QWidget *, QString>> importedFields;
    QSet<const QObject *> changeWatchedFields;
};
