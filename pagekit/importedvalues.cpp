#include "pagekit/importedvalues.h"

#include "pagekit/fieldkeys.h"
#include "pagekit/fieldvalidation.h"
#include "settings/fieldcatalog.h"

void ImportedValues::mark(QWidget *root, const QList<PresetCheck::Problem> &problems)
{
    for (const PresetCheck::Problem &problem : problems) {
        if (problem.isUnknownKey())
            continue;
        FieldValidation::instance().markImported(FieldKeys::find(root, problem.group, problem.key),
                                                 FieldCatalog::label(problem.group, problem.key));
    }
}

QString ImportedValues::message(const QList<PresetCheck::Problem> &problems)
{
    QStringList broken;
    QStringList unknown;
    for (const PresetCheck::Problem &problem : problems) {
        if (problem.isUnknownKey()) {
            unknown.append(problem.group + QLatin1Char('.') + problem.key);
            continue;
        }
        const QString value = problem.key.isEmpty()
                ? QString()
                : FieldCatalog::shownValue(problem.group, problem.key, problem.value);
        broken.append(QStringLiteral("%1: %2").arg(
                FieldCatalog::fieldPath(problem.group, problem.key), value));
    }
    QString text;
    if (!broken.isEmpty())
        text += tr("Эти значения пресета не подходят своим полям:\n%1\nПоля отмечены; настройки "
                   "не применятся, пока они не исправлены.")
                        .arg(broken.join(QLatin1Char('\n')));
    if (!unknown.isEmpty())
        text += (text.isEmpty() ? QString() : QStringLiteral("\n\n"))
                + tr("Этих полей нет на страницах, они не загружены: %1")
                          .arg(unknown.join(QStringLiteral(", ")));
    return text;
}
