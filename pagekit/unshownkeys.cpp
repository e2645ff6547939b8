#include "pagekit/unshownkeys.h"

#include <utility>

UnshownKeys::UnshownKeys(QStringList ownKeys) : own(std::move(ownKeys)) { }

void UnshownKeys::keepFrom(const QJsonObject &group)
{
    kept = group;
    for (const QString &key : std::as_const(own))
        kept.remove(key);
}

QJsonObject UnshownKeys::addedTo(QJsonObject built) const
{
    for (auto entry = kept.constBegin(); entry != kept.constEnd(); ++entry) {
        if (!built.contains(entry.key()))
            built.insert(entry.key(), entry.value());
    }
    return built;
}
