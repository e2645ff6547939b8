#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QString>

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
// which groups a model has, what an apply sends, what a preset import shows
// and what an export writes, and how two documents differ.
class SettingsRules
{
public:
    // The groups the pages show, gathered for one exchange: "100" (and "150"),
    // "200", "300" and "350", and "400".
    struct PageGroups
    {
        QJsonObject lora;
        QJsonObject network;
        QJsonObject server;
    };

    explicit SettingsRules(int modelCode);

    static bool hasSecondModule(int modelCode);
    static bool hasWifi(int modelCode);
    static bool hasLocalServer(int modelCode);

    // The module groups of a document: "100" always, "150" when it holds one.
    static QJsonObject loraGroupsOf(const QJsonObject &document);
    // A group of a document as an object; empty when missing or not an object.
    static QJsonObject groupOf(const QJsonObject &document, const QString &key);

    // What the program holds after the gateway reported a document.
    QJsonObject readDocument(const QJsonObject &held, const QJsonObject &received) const;
    // The whole document an apply sends: the held one with the shown groups
    // merged in, a group set the pages left unchanged going out as empty objects.
    QJsonObject applyDocument(const QJsonObject &held, const PageGroups &shown) const;
    // What the pages show after a preset is imported over the held document.
    QJsonObject importedDocument(const QJsonObject &held, const QJsonObject &preset) const;
    // What a preset export writes: the held document with the shown groups.
    QJsonObject exportDocument(const QJsonObject &held, const PageGroups &shown) const;

    // Every field that differs, group by group and key by key in sorted order;
    // a top-level value that is not a group counts as one field with an empty key.
    static QList<SettingsChange> differences(const QJsonObject &before, const QJsonObject &after);

private:
    int modelCode;
};
