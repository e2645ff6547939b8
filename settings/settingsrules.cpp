#include "settings/settingsrules.h"

namespace {

const QString module1Group = QStringLiteral("100");
const QString module2Group = QStringLiteral("150");
const QString lteGroup = QStringLiteral("200");
const QString staticIpGroup = QStringLiteral("300");
const QString wifiGroup = QStringLiteral("350");
const QString serverGroup = QStringLiteral("400");
const QString gatewayIdKey = QStringLiteral("110");
const QString wifiModeKey = QStringLiteral("351");
const QString additionalDnsKey = QStringLiteral("359");
constexpr int wifiOff = 0;

constexpr int modelTk0 = 0;
constexpr int modelTk3 = 2;
constexpr int modelTk3Max = 3;

const QStringList settingsGroups{module1Group,  module2Group, lteGroup,
                                 staticIpGroup, wifiGroup,    serverGroup};
// Device information and the list of VPN configurations: the gateway reports
// them, nobody writes them.
const QStringList readOnlyKeys{QStringLiteral("8"),  QStringLiteral("9"),  QStringLiteral("10"),
                               QStringLiteral("11"), QStringLiteral("12"), QStringLiteral("13"),
                               QStringLiteral("14"), QStringLiteral("15"), QStringLiteral("16"),
                               QStringLiteral("301")};

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

// A key a page leaves out to say that its field is empty must not come back
// from the gateway's copy: the Wi-Fi box drops an empty additional DNS while
// Wi-Fi is on. Every other key a page leaves out it keeps out of sight.
bool clearedByLeavingOut(const QString &group, const QString &key, const QJsonObject &shownGroup)
{
    return group == wifiGroup && key == additionalDnsKey
            && shownGroup.value(wifiModeKey).toInt() != wifiOff;
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

QStringList SettingsRules::groups() const
{
    QStringList own{module1Group};
    if (hasSecondModule(modelCode))
        own.append(module2Group);
    own.append({lteGroup, staticIpGroup});
    if (hasWifi(modelCode))
        own.append(wifiGroup);
    if (hasLocalServer(modelCode))
        own.append(serverGroup);
    return own;
}

QStringList SettingsRules::foreignGroups(const QJsonObject &document) const
{
    const QStringList own = groups();
    QStringList foreign;
    for (const QString &group : settingsGroups) {
        if (document.contains(group) && !own.contains(group))
            foreign.append(group);
    }
    return foreign;
}

QJsonObject SettingsRules::unshownGroups(const QJsonObject &document)
{
    QJsonObject unshown;
    for (auto entry = document.constBegin(); entry != document.constEnd(); ++entry) {
        if (!settingsGroups.contains(entry.key()) && !readOnlyKeys.contains(entry.key()))
            unshown.insert(entry.key(), entry.value());
    }
    return unshown;
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

QJsonObject SettingsRules::readBackDocument(const QJsonObject &held,
                                            const QJsonObject &readBack) const
{
    QJsonObject settings = readBack;
    for (const QString &key : readOnlyKeys)
        settings.remove(key);
    return readDocument(held, settings);
}

QJsonObject SettingsRules::targetDocument(const QJsonObject &held, const PageGroups &shown) const
{
    QJsonObject pages = shown.lora;
    merge(pages, shown.network);
    merge(pages, shown.server);

    QJsonObject target;
    for (const QString &group : groups()) {
        if (!pages.contains(group) && !held.contains(group) && !shown.loaded.contains(group))
            continue;
        QJsonObject built = groupOf(pages, group);
        const QJsonObject shownGroup = built;
        // The gateway's value first: what the operator cannot see stays as it is.
        for (const QJsonObject &source : {groupOf(held, group), groupOf(shown.loaded, group)}) {
            for (auto entry = source.constBegin(); entry != source.constEnd(); ++entry) {
                if (!built.contains(entry.key())
                    && !clearedByLeavingOut(group, entry.key(), shownGroup))
                    built.insert(entry.key(), entry.value());
            }
        }
        target.insert(group, built);
    }
    merge(target, unshownGroups(held));
    merge(target, unshownGroups(shown.loaded));
    return target;
}

QJsonObject SettingsRules::applyDocument(const QJsonObject &held, const PageGroups &shown) const
{
    const QJsonObject target = targetDocument(held, shown);
    QJsonObject sent;
    for (auto entry = target.constBegin(); entry != target.constEnd(); ++entry) {
        const QJsonValue reported = held.value(entry.key());
        const bool unchanged = entry.value().isObject() && reported.isObject()
                && differences({{entry.key(), reported}}, {{entry.key(), entry.value()}}).isEmpty();
        sent.insert(entry.key(), unchanged ? QJsonValue(QJsonObject()) : entry.value());
    }
    return sent;
}

QList<SettingsChange> SettingsRules::pendingChanges(const QJsonObject &held,
                                                    const PageGroups &shown) const
{
    const QJsonObject target = targetDocument(held, shown);
    QJsonObject reported;
    for (auto entry = target.constBegin(); entry != target.constEnd(); ++entry) {
        if (held.contains(entry.key()))
            reported.insert(entry.key(), held.value(entry.key()));
    }
    return differences(reported, target);
}

QList<SettingsChange> SettingsRules::verify(const QJsonObject &sent, const QJsonObject &readBack)
{
    QJsonObject written;
    QJsonObject holds;
    for (auto entry = sent.constBegin(); entry != sent.constEnd(); ++entry) {
        if (entry.value().isObject() && entry.value().toObject().isEmpty())
            continue;
        written.insert(entry.key(), entry.value());
        if (readBack.contains(entry.key()))
            holds.insert(entry.key(), readBack.value(entry.key()));
    }
    return differences(holds, written);
}

QJsonObject SettingsRules::importedDocument(const QJsonObject &held,
                                            const QJsonObject &preset) const
{
    QJsonObject shown = held;
    for (const QString &group : groups()) {
        if (preset.contains(group))
            shown.insert(group, preset.value(group));
    }
    return shown;
}

SettingsRules::PageGroups SettingsRules::presetGroups(const QJsonObject &held,
                                                      const QJsonObject &preset,
                                                      const QJsonObject &overrides) const
{
    PageGroups shown;
    for (const QString &group : groups()) {
        if (!held.contains(group) && !preset.contains(group) && !overrides.contains(group))
            continue;
        QJsonObject built = groupOf(held, group);
        QJsonObject fromPreset = groupOf(preset, group);
        fromPreset.remove(gatewayIdKey);
        merge(built, fromPreset);
        merge(built, groupOf(overrides, group));
        if (group == module1Group || group == module2Group)
            shown.lora.insert(group, built);
        else if (group == serverGroup)
            shown.server.insert(group, built);
        else
            shown.network.insert(group, built);
    }
    // Top-level keys no page shows go out as the preset has them, as after an import.
    shown.loaded = unshownGroups(preset);
    return shown;
}

QJsonObject SettingsRules::exportDocument(const QJsonObject &held, const PageGroups &shown) const
{
    QJsonObject saved = held;
    merge(saved, shown.lora);
    merge(saved, shown.network);
    if (hasLocalServer(modelCode))
        merge(saved, shown.server);
    merge(saved, targetDocument(held, shown));
    // Identifiers belong to one gateway, never to a preset.
    for (const QString &module : {module1Group, module2Group}) {
        if (!saved.value(module).isObject())
            continue;
        QJsonObject group = saved.value(module).toObject();
        group.remove(gatewayIdKey);
        saved.insert(module, group);
    }
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
