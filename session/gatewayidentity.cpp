#include "session/gatewayidentity.h"

#include "settings/settingshandlerandcollector.h"
#include "settings/settingsrules.h"

namespace {

const QString firstModuleGroup = QStringLiteral("100");
const QString gatewayIdKey = QStringLiteral("110");
const QString macKey = QStringLiteral("MAC");

bool bothKnownAndDiffer(const QString &one, const QString &other)
{
    return !one.isEmpty() && !other.isEmpty() && one != other;
}

} // namespace

bool GatewayIdentity::isKnown() const
{
    return model >= 0 || !gatewayId.isEmpty() || !mac.isEmpty();
}

void GatewayIdentity::takeDocument(const QJsonObject &document)
{
    const QString id
            = SettingsRules::groupOf(document, firstModuleGroup).value(gatewayIdKey).toString();
    if (!id.isEmpty())
        gatewayId = id;
    QJsonObject copy = document;
    const QString address
            = SettingsHandlerAndCollector::deviceInfoOf(copy).value(macKey).toString();
    if (!address.isEmpty())
        mac = address;
}

bool GatewayIdentity::differsFrom(const GatewayIdentity &other) const
{
    return (model >= 0 && other.model >= 0 && model != other.model)
            || bothKnownAndDiffer(gatewayId, other.gatewayId) || bothKnownAndDiffer(mac, other.mac);
}

QString GatewayIdentity::name() const
{
    return gatewayId.isEmpty() ? mac : gatewayId;
}
