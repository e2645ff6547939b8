#include "settings/presetcheck.h"

#include "settings/fieldcatalog.h"
#include "settings/fieldrules.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {

const QString gatewayIdKey = QStringLiteral("110");

bool isModuleGroup(const QString &group)
{
    return group == QLatin1String("100") || group == QLatin1String("150");
}

// The value as JSON writes it: a text in quotes, a number or true and false bare.
QString jsonText(const QJsonValue &value)
{
    const QByteArray array = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}

} // namespace

QList<PresetCheck::Problem> PresetCheck::problems(const QJsonObject &document)
{
    QList<Problem> found;
    for (auto entry = document.constBegin(); entry != document.constEnd(); ++entry) {
        const QString group = entry.key();
        if (!FieldRules::isKnownGroup(group))
            continue;
        if (!entry.value().isObject()) {
            found.append({group, QString(), entry.value(), QStringLiteral("a group of fields")});
            continue;
        }
        const QJsonObject fields = entry.value().toObject();
        for (auto field = fields.constBegin(); field != fields.constEnd(); ++field) {
            const QString key = field.key();
            if (isModuleGroup(group) && key == gatewayIdKey)
                continue;
            if (!FieldRules::isKnownField(group, key)) {
                found.append({group, key, field.value(), QString()});
                continue;
            }
            const QString rule = FieldRules::ruleBrokenBy(group, key, field.value());
            if (!rule.isEmpty())
                found.append({group, key, field.value(), rule});
        }
    }
    return found;
}

QJsonObject PresetCheck::withoutUnknownKeys(const QJsonObject &document)
{
    QJsonObject kept = document;
    for (const Problem &problem : problems(document)) {
        if (!problem.isUnknownKey())
            continue;
        QJsonObject fields = kept.value(problem.group).toObject();
        fields.remove(problem.key);
        kept.insert(problem.group, fields);
    }
    return kept;
}

QString PresetCheck::describe(const Problem &problem)
{
    if (problem.isUnknownKey())
        return QStringLiteral("%1.%2: no page shows this field").arg(problem.group, problem.key);
    if (problem.key.isEmpty())
        return QStringLiteral("%1 takes %2").arg(problem.group, problem.rule);
    const QString value = FieldCatalog::isSecret(problem.group, problem.key)
            ? FieldCatalog::shownValue(problem.group, problem.key, problem.value)
            : jsonText(problem.value);
    return QStringLiteral("%1.%2 %3 takes %4, not %5")
            .arg(problem.group, problem.key, FieldCatalog::label(problem.group, problem.key),
                 problem.rule, value);
}
