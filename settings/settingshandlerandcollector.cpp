#include "settings/settingshandlerandcollector.h"

#include "settings/settingsrules.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>
#include <QSet>

namespace {

SettingsHandlerAndCollector *instance = nullptr;

// Optional fields: never reported as empty.
const QSet<QString> &optionalKeys()
{
    static const QSet<QString> keys{QStringLiteral("213"), QStringLiteral("214"),
                                    QStringLiteral("240"), QStringLiteral("223"),
                                    QStringLiteral("224"), QStringLiteral("340"),
                                    QStringLiteral("350"), QStringLiteral("360")};
    return keys;
}

bool isEmptyValue(const QJsonValue &value)
{
    if (value.isNull())
        return true;
    if (!value.isString())
        return false;
    const QString text = value.toString();
    return text.isEmpty() || text == QLatin1String(" ");
}

} // namespace

SettingsHandlerAndCollector *SettingsHandlerAndCollector::getInstance()
{
    if (!instance)
        instance = new SettingsHandlerAndCollector;
    return instance;
}

void SettingsHandlerAndCollector::deleteInstance()
{
    delete instance;
    instance = nullptr;
}

SettingsHandlerAndCollector::SettingsHandlerAndCollector() : document(new QJsonObject) { }

SettingsHandlerAndCollector::~SettingsHandlerAndCollector()
{
    delete document;
}

void SettingsHandlerAndCollector::addSettings(QJsonObject settings)
{
    for (auto it = settings.constBegin(); it != settings.constEnd(); ++it)
        document->insert(it.key(), it.value());
}

void SettingsHandlerAndCollector::replaceSettings(QJsonObject settings)
{
    *document = settings;
}

QJsonObject SettingsHandlerAndCollector::getSettings() const
{
    return *document;
}

QJsonObject SettingsHandlerAndCollector::getLoRaSettings() const
{
    return SettingsRules::loraGroupsOf(*document);
}

QJsonObject SettingsHandlerAndCollector::getLTESettings() const
{
    return groupObject(QStringLiteral("200"));
}

QJsonObject SettingsHandlerAndCollector::getStaticIPSettings() const
{
    return groupObject(QStringLiteral("300"));
}

QJsonObject SettingsHandlerAndCollector::getWiFiSettings() const
{
    return groupObject(QStringLiteral("350"));
}

QJsonObject SettingsHandlerAndCollector::getServerSettings() const
{
    return groupObject(QStringLiteral("400"));
}

QStringList SettingsHandlerAndCollector::getOVPNFiles()
{
    const QJsonValue list = document->take(QStringLiteral("301"));
    QStringList names;
    const QJsonArray entries = list.toArray();
    for (const QJsonValue &entry : entries) {
        const QJsonObject config = entry.toObject();
        if (config.isEmpty())
            continue;
        // QJsonObject iterates its keys in sorted order.
        names.append(config.begin().value().toString());
    }
    return names;
}

QJsonObject SettingsHandlerAndCollector::getDeviceInfo()
{
    return deviceInfoOf(*document);
}

QJsonObject SettingsHandlerAndCollector::deviceInfoOf(QJsonObject &document)
{
    const auto takeString = [&document](const char *key) {
        return document.take(QLatin1String(key)).toString();
    };
    QJsonObject info;
    info.insert(QStringLiteral("MAC"), takeString("8"));
    info.insert(QStringLiteral("CoreVer"), takeString("9"));

    const QJsonObject addresses = SettingsRules::groupOf(document, QStringLiteral("10"));
    const QString wlan0 = addresses.value(QStringLiteral("0")).toString();
    if (!wlan0.isEmpty())
        info.insert(QStringLiteral("wlan0"), wlan0);
    info.insert(QStringLiteral("eth0"), addresses.value(QStringLiteral("1")).toString());
    info.insert(QStringLiteral("ppp0"), addresses.value(QStringLiteral("2")).toString());
    info.insert(QStringLiteral("tun0"), addresses.value(QStringLiteral("3")).toString());
    document.remove(QStringLiteral("10"));

    const QString model = takeString("11");
    info.insert(QStringLiteral("Model"), model);
    const QString revision = takeString("12");
    info.insert(QStringLiteral("Revision"), revision);
    info.insert(QStringLiteral("PCB"), revision);

    // Models without LTE name "1.2" in their model text and carry the date in "13".
    if (model.contains(QLatin1String("1.2"))) {
        info.insert(QStringLiteral("LTE"), tr("Нет"));
        info.insert(QStringLiteral("Date"), takeString("13"));
    } else {
        info.insert(QStringLiteral("LTE"), tr("Есть"));
        info.insert(QStringLiteral("GSM"), takeString("13"));
        info.insert(QStringLiteral("GNSS"), takeString("14"));
        info.insert(QStringLiteral("Date"), takeString("15"));
    }
    info.insert(QStringLiteral("Release_ver"), takeString("16"));
    return info;
}

bool SettingsHandlerAndCollector::hasEmptyFields() const
{
    return hasEmptyFields(*document);
}

bool SettingsHandlerAndCollector::hasEmptyFields(const QJsonObject &document)
{
    if (document.isEmpty())
        return true;
    for (auto group = document.constBegin(); group != document.constEnd(); ++group) {
        if (group.key() == QLatin1String("350") || !group.value().isObject())
            continue;
        const QJsonObject fields = group.value().toObject();
        for (auto field = fields.constBegin(); field != fields.constEnd(); ++field) {
            if (optionalKeys().contains(field.key()))
                continue;
            if (isEmptyValue(field.value()))
                return true;
        }
    }
    return false;
}

QByteArray SettingsHandlerAndCollector::toJson() const
{
    return QJsonDocument(*document).toJson(QJsonDocument::Compact);
}

QJsonObject SettingsHandlerAndCollector::groupObject(const QString &key) const
{
    return SettingsRules::groupOf(*document, key);
}
