#include "window/applyreport.h"

#include "link/sportconnector.h"
#include "settings/fieldcatalog.h"

#include <QMessageBox>
#include <QStringList>

namespace {

// A box taller than the screen helps nobody; the pending list has them all.
constexpr int listedFieldsMax = 15;
constexpr int msPerSecond = 1000;
constexpr int timeoutSeconds = GatewaySession::exchangeTimeoutMs / msPerSecond;

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

ApplyReport ApplyReport::of(const ApplyOutcome &outcome)
{
    switch (outcome.verdict) {
    case ApplyOutcome::Verdict::Confirmed:
    case ApplyOutcome::Verdict::Drift:
        return verified(outcome.refusal, outcome.changedFields, outcome.drift);
    case ApplyOutcome::Verdict::NotVerified:
        if (outcome.cause == ApplyOutcome::Cause::DamagedReply)
            return notVerified(outcome.refusal, SPortConnector::damagedSettingsText());
        if (outcome.cause == ApplyOutcome::Cause::NoReply)
            return notVerified(outcome.refusal,
                               tr("базовая станция не ответила за %1 с.").arg(timeoutSeconds));
        return notVerified(outcome.refusal, outcome.errorText);
    case ApplyOutcome::Verdict::Unanswered:
        return {QMessageBox::Warning, tr("Настройки"),
                tr("Базовая станция не ответила на применение настроек за %1 с. Применены ли они, "
                   "неизвестно: запросите настройки, чтобы проверить.")
                        .arg(timeoutSeconds)};
    case ApplyOutcome::Verdict::Failed:
        break;
    }
    return {QMessageBox::Critical, tr("Ошибка"), outcome.errorText};
}

ApplyReport ApplyReport::failedExchange(GatewaySession::State exchange,
                                        GatewaySession::Failure failure, const QString &text)
{
    switch (failure) {
    case GatewaySession::Failure::NoReply:
        if (exchange != GatewaySession::State::Reading)
            return {QMessageBox::NoIcon, QString(), QString()};
        return {QMessageBox::Warning, tr("Настройки"),
                tr("Базовая станция не прислала настройки за %1 с. Запросите их ещё раз.")
                        .arg(timeoutSeconds)};
    case GatewaySession::Failure::DamagedReply:
        return {QMessageBox::Warning, tr("Ошибка"), text};
    case GatewaySession::Failure::ErrorReply:
        break;
    }
    return {QMessageBox::Critical, tr("Ошибка"), text};
}
