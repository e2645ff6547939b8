#include "emulator/settingsstore.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>

namespace {

constexpr int upPort = 1700;
constexpr int downPort = 1700;
constexpr int antennaGainDb = 10;
constexpr int keepaliveIntervalS = 10;
constexpr int channelCount = 8;

struct Channel
{
    bool enabled;
    int radio;
    int frequencyHz;
};

// RU868_SB1, the plan a fresh gateway ships with.
constexpr Channel factoryChannels[channelCount] = {
        {true, 0, 864100000}, {true, 0, 864300000}, {true, 0, 864500000}, {true, 0, 864700000},
        {true, 0, 864900000}, {true, 1, 868900000}, {true, 1, 869100000}, {false, 0, 864900000},
};

bool hasSecondModule(int modelCode)
{
    return modelCode == 2 || modelCode == 3;
}

bool hasWifi(int modelCode)
{
    return modelCode == 0 || modelCode == 3;
}

bool hasLocalServer(int modelCode)
{
    return modelCode != 0;
}

bool hasLte(int modelCode)
{
    return modelCode != 0;
}

bool isReadOnlyKey(const QString &key)
{
    static const QSet<QString> readOnly{
            QStringLiteral("8"),  QStringLiteral("9"),  QStringLiteral("10"), QStringLiteral("11"),
            QStringLiteral("12"), QStringLiteral("13"), QStringLiteral("14"), QStringLiteral("15"),
            QStringLiteral("16"), QStringLiteral("301")};
    return readOnly.contains(key);
}

QJsonObject lteGroup()
{
    return QJsonObject{
            {"211", "internet.mts.ru"},
            {"212", "99"},
            {"213", "mts"},
            {"214", "mts"},
            {"221", "internet.beeline.ru"},
            {"222", "99"},
            {"223", ""},
            {"224", ""},
            {"230", "8.8.8.8"},
            {"240", "1.1.1.1"},
    };
}

QJsonObject staticIpGroup()
{
    return QJsonObject{
            {"310", false},           {"320", "192.168.1.120"}, {"330", "192.168.1.1"},
            {"340", "192.168.1.1"},   {"350", "8.8.4.4"},       {"360", "kelvane.local"},
            {"370", "255.255.255.0"},
    };
}

QJsonObject wifiGroup()
{
    return QJsonObject{
            {"351", 3},
            {"352", "Office"},
            {"353", "office-pass"},
            {"354", "192.168.4.1"},
            {"355", "192.168.4.0"},
            {"356", "255.255.255.0"},
            {"357", "192.168.4.1"},
            {"358", "8.8.8.8"},
            {"359", "1.1.1.1"},
            {"360", "192.168.4.100"},
            {"361", "192.168.4.10"},
            {"362", "Kelvane-GW"},
            {"363", "kelvane123"},
    };
}

QJsonObject localServerGroup()
{
    return QJsonObject{
            {"410", "admin"},
            {"420", "admin"},
            {"430", "000013"},
            {"440", "01"},
            {"450", "/mnt/sd/tyrn/server.db"},
    };
}

QJsonObject deviceKeys(int modelCode)
{
    static const char *const models[]
            = {"ТК-0 rev 1.2", "ТК-1 rev 2.0", "ТК-3 rev 2.1", "ТК-3Max rev 3.0"};
    QJsonObject keys{
            {"8", "02:4B:56:00:1A:3C"},
            {"9", "1.2.0"},
            {"10",
             QJsonObject{{"0", hasWifi(modelCode) ? "192.168.4.1" : ""},
                         {"1", "192.168.1.120"},
                         {"2", hasLte(modelCode) ? "10.64.12.7" : ""},
                         {"3", ""}}},
            {"11", QString::fromUtf8(models[modelCode])},
            {"12", "B"},
            {"16", "2024.11"},
    };
    if (hasLte(modelCode)) {
        keys.insert("13", "Quectel EC25-E");
        keys.insert("14", "u-blox MAX-M10S");
        keys.insert("15", "12.03.2024");
    } else {
        keys.insert("13", "12.03.2024");
    }
    return keys;
}

} // namespace

SettingsStore::SettingsStore(int modelCode)
    : model(qBound(0, modelCode, 3)), held(defaultDocument(modelCode))
{ }

QJsonObject SettingsStore::defaultLoRaGroup(int moduleNumber)
{
    QJsonObject group{
            {"110", moduleNumber == 2 ? "AA555A0000000102" : "AA555A0000000101"},
            {"111", "lns.kelvane.local"},
            {"112", upPort},
            {"113", downPort},
            {"121", "RU868_SB1"},
            {"131", true},
            {"132", false},
            {"133", 55.751244},
            {"134", 37.618423},
            {"135", 156},
            {"141", antennaGainDb},
            {"142", keepaliveIntervalS},
    };
    for (int n = 0; n < channelCount; ++n) {
        const QString prefix = QStringLiteral("ch%1_").arg(n);
        group.insert(prefix + '1', factoryChannels[n].enabled);
        group.insert(prefix + '2', factoryChannels[n].radio);
        group.insert(prefix + '3', factoryChannels[n].frequencyHz);
    }
    return group;
}

QJsonObject SettingsStore::defaultDocument(int modelCode)
{
    modelCode = qBound(0, modelCode, 3);
    QJsonObject document = deviceKeys(modelCode);
    document.insert("100", defaultLoRaGroup(1));
    if (hasSecondModule(modelCode))
        document.insert("150", defaultLoRaGroup(2));
    document.insert("200", lteGroup());
    document.insert("300", staticIpGroup());
    if (hasWifi(modelCode))
        document.insert("350", wifiGroup());
    if (hasLocalServer(modelCode))
        document.insert("400", localServerGroup());
    return document;
}

QByteArray SettingsStore::frameSafeJson(const QJsonObject &document)
{
    const QByteArray json = QJsonDocument(document).toJson(QJsonDocument::Compact);
    QByteArray safe;
    safe.reserve(json.size() + 8);
    bool inString = false;
    bool escaped = false;
    for (qsizetype i = 0; i < json.size(); ++i) {
        const char c = json.at(i);
        if (inString) {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                inString = false;
            // Inside a string the brace is written as an escape sequence.
            if (c == '}' && !safe.isEmpty() && safe.back() == ']') {
                safe.append("\\u007d");
                continue;
            }
        } else if (c == '"') {
            inString = true;
        } else if (c == '}' && !safe.isEmpty() && safe.back() == ']') {
            safe.append(' ');
        }
        safe.append(c);
    }
    return safe;
}

QJsonObject SettingsStore::document() const
{
    return held;
}

void SettingsStore::setDocument(const QJsonObject &document)
{
    held = document;
}

QStringList SettingsStore::merge(const QJsonObject &incoming)
{
    QStringList replaced;
    for (auto it = incoming.constBegin(); it != incoming.constEnd(); ++it) {
        if (isReadOnlyKey(it.key()))
            continue;
        if (it.value().isObject() && it.value().toObject().isEmpty())
            continue;
        held.insert(it.key(),
                    it.value().isObject()
                            ? QJsonValue(withIgnoredKeysKept(it.key(), it.value().toObject()))
                            : QJsonValue(it.value()));
        replaced.append(it.key());
    }
    return replaced;
}

void SettingsStore::setIgnoredKeys(const QStringList &keys)
{
    ignored = keys;
}

QJsonObject SettingsStore::withIgnoredKeysKept(const QString &group, QJsonObject written) const
{
    const QJsonObject before = held.value(group).toObject();
    for (const QString &entry : ignored) {
        const QString key = entry.section(QLatin1Char('/'), -1);
        if (entry.contains(QLatin1Char('/')) && entry.section(QLatin1Char('/'), 0, 0) != group)
            continue;
        if (before.contains(key))
            written.insert(key, before.value(key));
        else
            written.remove(key);
    }
    return written;
}

void SettingsStore::resetAll()
{
    held = defaultDocument(model);
}

void SettingsStore::resetLoRa()
{
    held.insert("100", defaultLoRaGroup(1));
    if (hasSecondModule(model))
        held.insert("150", defaultLoRaGroup(2));
}
