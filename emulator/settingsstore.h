#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QStringList>

// The settings document as the gateway core keeps it: the groups of its model
// and the read-only device-information entries "8".."16".
class SettingsStore
{
public:
    explicit SettingsStore(int modelCode);

    static QJsonObject defaultDocument(int modelCode);
    static QJsonObject defaultLoRaGroup(int moduleNumber);
    // Compact JSON that can travel inside "{[" ... "]}": a "]}" never appears,
    // neither between tokens nor inside strings, and the text still parses to
    // the same document.
    static QByteArray frameSafeJson(const QJsonObject &document);

    QJsonObject document() const;
    void setDocument(const QJsonObject &document);
    // A write request: every top-level group replaces the held one, except an
    // empty object, which leaves that group alone; device keys and "301" are
    // read-only and ignored. Returns the keys that were replaced.
    QStringList merge(const QJsonObject &incoming);
    // Keys a write leaves as they were, like a core that silently ignores a
    // setting: "KEY" in any group or "GROUP/KEY".
    void setIgnoredKeys(const QStringList &keys);
    void resetAll();
    void resetLoRa();

private:
    QJsonObject withIgnoredKeysKept(const QString &group, QJsonObject written) const;

    int model;
    QJsonObject held;
    QStringList ignored;
};
