#include "settings/settingsrules.h"

#include "settings/settingsequal.h"

#include <QStringList>

namespace {

const QString module1Group = QStringLiteral("100");
const QString module2Group = QStringLiteral("150");
const QString lteGroup = QStringLiteral("200");
const QString staticIpGroup = QStringLiteral("300");
const QString wifiGroup = QStringLiteral("350");

constexpr int modelTk0 = 0;
constexpr int modelTk3 = 2;
constexpr int modelTk3Max = 3;

void merge(QJsonObject &document, const QJsonObject &groups)
{
    for (auto group = groups.constBegin(); group != groups.constEnd(); ++group)
        document.insert(group.key(), group.value());
}

QStringList unitedKeys(const QJsonObject &first, const QJsonObject &second)
{
    QStringList keys = first.keys();
    for (const QString &key : second.keys()) {
        if (!first.contains(key))
            keys.append(key);
    }
    keys.sort();
    return keys;
}

} // namespace

bool SettingsChange::operator==(const SettingsChange &other) const
{
    return group == other.group && key == other.key && oldValue == other.oldValue
            && newValue == other.newValue;
}

SettingsRules::SettingsRules(int modelCode) : modelCode(modelCode) { }

bool SettingsRules::hasSecondModule(int modelCode)
{
    return modelCode == modelTk3 || modelCode == modelTk3Max;
}

bool SettingsRules::hasWifi(int modelCode)
{
    return modelCode == modelTk0 || modelCode == modelTk3Max;
}

bool SettingsRules::hasLocalServer(int modelCode)
{
    return modelCode != modelTk0;
}

QJsonObject SettingsRules::groupOf(const QJsonObject &document, const QString &key)
{
    return document.value(key).toObject();
}

QJsonObject SettingsRules::loraGroupsOf(const QJsonObject &document)
{
    QJsonObject lora{{module1Group, groupOf(document, module1Group)}};
    if (document.contains(module2Group))
        lora.insert(module2Group, groupOf(document, module2Group));
    return lora;
}

QJsonObject SettingsRules::readDocument(const QJsonObject &held, const QJsonObject &received) const
{
    QJsonObject now = held;
    merge(now, received);
    return now;
}

QJsonObject SettingsRules::applyDocument(const QJsonObject &held, const PageGroups &shown) const
{
    QJsonObject sent = held;
    if (settingsEqual(loraGroupsOf(held), shown.lora)) {
        QJsonObject unchanged{{module1Group, QJsonObject()}};
        if (hasSecondModule(modelCode))
            unchanged.insert(module2Group, QJsonObject());
        merge(sent, unchanged);
    } else {
        merge(sent, shown.lora);
    }

    QJsonObject networkHeld{{lteGroup, groupOf(held, lteGroup)},
                            {staticIpGroup, groupOf(held, staticIpGroup)}};
    if (hasWifi(modelCode))
        networkHeld.insert(wifiGroup, groupOf(held, wifiGroup));
    if (settingsEqual(networkHeld, shown.network)) {
        QJsonObject unchanged{{lteGroup, QJsonObject()}, {staticIpGroup, QJsonObject()}};
        if (hasWifi(modelCode))
            unchanged.insert(wifiGroup, QJsonObject());
        merge(sent, unchanged);
    } else {
        merge(sent, shown.network);
    }

    // The server group goes out in full: the gateway takes it whole.
    if (hasLocalServer(modelCode))
        merge(sent, shown.server);
    return sent;
}

QJsonObject SettingsRules::importedDocument(const QJsonObject &held,
                                            const QJsonObject &preset) const
{
    QJsonObject shown = held;
    merge(shown, preset);
    return shown;
}

QJsonObject SettingsRules::exportDocument(const QJsonObject &held, const PageGroups &shown) const
{
    QJsonObject saved = held;
    merge(saved, shown.lora);
    merge(saved, shown.network);
    if (hasLocalServer(modelCode))
        merge(saved, shown.server);
    return saved;
}

QList<SettingsChange> SettingsRules::differences(const QJsonObject &before,
                                                 const QJsonObject &after)
{
    QList<SettingsChange> changes;
    for (const QString &group : unitedKeys(before, after)) {
        const QJsonValue old = before.value(group);
        const QJsonValue now = after.value(group);
        if (!old.isObject() && !now.isObject()) {
            if (old != now)
                changes.append({group, QString(), old, now});
            continue;
        }
        const QJsonObject oldGroup = old.toObject();
        const QJsonObject newGroup = now.toObject();
        for (const QString &key : unitedKeys(oldGroup, newGroup)) {
            const QJsonValue oldValue = oldGroup.value(key);
            const QJsonValue newValue = newGroup.value(key);
            if (oldValue != newValue)
                changes.append({group, key, oldValue, newValue});
        }
    }
    return changes;
}
