#include "window/applyreport.h"

#include "settings/fieldcatalog.h"

#include <QMessageBox>
#include <QStringList>

namespace {

// A box taller than the screen helps nobody; the pending list has them all.
constexpr int listedFieldsMax = 15;

} // namespace

ApplyReport ApplyReport::verified(const QString &refusal, int changedFields,
                                  const QList<SettingsChange> &notTaken)
{
    const QString head = refusal.isEmpty() ? tr("Настройки применены!") : refusal;
    if (notTaken.isEmpty()) {
        const QString confirmed = changedFields == 0
                ? tr("Изменённых полей не было: базовая станция хранит то, что показывают "
                     "страницы.")
                : tr("Базовая станция подтвердила изменённые поля: %n.", nullptr, changedFields);
        return {refusal.isEmpty() ? QMessageBox::Information : QMessageBox::Warning,
                tr("Настройки"), head + QStringLiteral("\n\n") + confirmed};
    }
    QStringList lines{head, QString(),
                      tr("Базовая станция хранит не то, что отправлено, в полях: %n.", nullptr,
                         int(notTaken.size()))};
    for (const SettingsChange &field : notTaken.first(qMin(notTaken.size(), listedFieldsMax)))
        lines.append(
                tr("%1: отправлено %2, на базовой станции %3")
                        .arg(FieldCatalog::fieldPath(field.group, field.key),
                             FieldCatalog::shownValue(field.group, field.key, field.newValue),
                             FieldCatalog::shownValue(field.group, field.key, field.oldValue)));
    if (notTaken.size() > listedFieldsMax)
        lines.append(tr("и ещё %n", nullptr, int(notTaken.size()) - listedFieldsMax));
    lines.append(QString());
    lines.append(tr("«Применить настройки» отправит эти поля ещё раз."));
    return {QMessageBox::Warning, tr("Настройки"), lines.join(QLatin1Char('\n'))};
}

ApplyReport ApplyReport::notVerified(const QString &refusal, const QString &reason)
{
    const QString head = refusal.isEmpty() ? tr("Настройки применены, но не проверены.") : refusal;
    return {QMessageBox::Warning, tr("Настройки"),
            head + QStringLiteral("\n\n")
                    + tr("Прочитать их обратно не удалось: %1\nЗапросите настройки, чтобы "
                         "увидеть, что хранит базовая станция.")
                              .arg(reason)};
}
