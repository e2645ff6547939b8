#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QString>
#include <QStringList>

// One field that differs between two settings documents. A key that only one
// side holds has an undefined value on the other.
struct SettingsChange
{
    QString group;
    QString key;
    QJsonValue oldValue;
    QJsonValue newValue;

    bool operator==(const SettingsChange &other) const;
};

// The read and apply rules of the settings document, apart from any window:
// which groups a model has, what an apply sends, what is pending and what a
// read-back confirms, what a preset import shows and what an export writes.
// The held document is always what the gateway last reported.
class SettingsRules
{
public:
    // What the operator means to hold, gathered for one exchange.
    struct PageGroups
    {
        // "100" (and "150"), "200", "300" and "350", and "400", as the pages show them.
        QJsonObject lora;
        QJsonObject network;
        QJsonObject server;
        // The last imported preset, for what no page shows: its top-level keys that
        // are no settings group, and the keys a page keeps out of sight while the
        // gateway has not reported them.
        QJsonObject loaded;
    };

    explicit SettingsRules(int modelCode);

    static bool hasSecondModule(int modelCode);
    static bool hasWifi(int modelCode);
    static bool hasLocalServer(int modelCode);

    // The settings groups of the model, in key order.
    QStringList groups() const;
    // Settings groups of a document that the model lacks.
    QStringList foreignGroups(const QJsonObject &document) const;
    // Top-level keys of a document that are neither a settings group nor
    // read-only (device information, the VPN list).
    static QJsonObject unshownGroups(const QJsonObject &document);

    // The module groups of a document: "100" always, "150" when it holds one.
    static QJsonObject loraGroupsOf(const QJsonObject &document);
    // A group of a document as an object; empty when missing or not an object.
    static QJsonObject groupOf(const QJsonObject &document, const QString &key);

    // What the program holds after the gateway reported a document.
    QJsonObject readDocument(const QJsonObject &held, const QJsonObject &received) const;
    // The same for a read-back, which fills no page: read-only keys stay out.
    QJsonObject readBackDocument(const QJsonObject &held, const QJsonObject &readBack) const;
    // What the gateway holds once an apply went through: each group of the model as
    // its page shows it, with the keys the page keeps out of sight as the gateway
    // reported them, and the top-level keys no page shows.
    QJsonObject targetDocument(const QJsonObject &held, const PageGroups &shown) const;
    // The document an apply sends: the target, a group that the apply leaves as
    // the gateway holds it going out as an empty object. Groups the model lacks
    // and read-only keys never go out.
    QJsonObject applyDocument(const QJsonObject &held, const PageGroups &shown) const;
    // Every field an apply would change on the gateway (old = the gateway's value).
    QList<SettingsChange> pendingChanges(const QJsonObject &held, const PageGroups &shown) const;
    // Every field of the groups an apply wrote that the read-back does not hold as
    // written (old = what the gateway holds, new = what was sent).
    static QList<SettingsChange> verify(const QJsonObject &sent, const QJsonObject &readBack);
    // What the pages show after a preset is imported over the held document: the
    // preset's groups that the model has.
    QJsonObject importedDocument(const QJsonObject &held, const QJsonObject &preset) const;
    // What the pages would show once a preset is imported over the held document and
    // the overrides are typed in: each group of the model as the gateway holds it, with
    // the preset's fields and then the overrides laid over it. The gateway identifiers
    // come from the gateway or the overrides, never from the preset.
    PageGroups presetGroups(const QJsonObject &held, const QJsonObject &preset,
                            const QJsonObject &overrides) const;
    // What a preset export writes: the held document with the target's groups and
    // the other groups the pages show, without gateway identifiers.
    QJsonObject exportDocument(const QJsonObject &held, const PageGroups &shown) const;

    // Every field that differs, group by group and key by key in sorted order;
    // a top-level value that is not a group counts as one field with an empty key.
    static QList<SettingsChange> differences(const QJsonObject &before, const QJsonObject &after);

private:
    int modelCode;
};
