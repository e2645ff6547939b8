#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QObject>
#include <QStringList>

// The program's one copy of the settings document: received documents and
// preset files are merged into it, the pages take their groups out of it.
class SettingsHandlerAndCollector : public QObject
{
    Q_OBJECT

public:
    static SettingsHandlerAndCollector *getInstance();
    static void deleteInstance();

    ~SettingsHandlerAndCollector() override;

    void addSettings(QJsonObject settings);
    // Puts an earlier copy of the whole document back.
    void replaceSettings(QJsonObject settings);
    QJsonObject getSettings() const;
    QJsonObject getLoRaSettings() const;
    QJsonObject getLTESettings() const;
    QJsonObject getStaticIPSettings() const;
    QJsonObject getWiFiSettings() const;
    QJsonObject getServerSettings() const;
    QStringList getOVPNFiles();
    QJsonObject getDeviceInfo();
    // The same on any document: for a program that holds several gateways' documents.
    static QJsonObject deviceInfoOf(QJsonObject &document);
    bool hasEmptyFields() const;
    // The same test on any document, e.g. a copy about to be saved.
    static bool hasEmptyFields(const QJsonObject &document);
    QByteArray toJson() const;

private:
    SettingsHandlerAndCollector();

    QJsonObject groupObject(const QString &key) const;

    QJsonObject *document;
};
