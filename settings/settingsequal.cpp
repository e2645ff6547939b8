#include "settings/settingsequal.h"

#include <QCryptographicHash>
#include <QDebug>
#include <QJsonDocument>

bool settingsEqual(QJsonObject oldSettings, QJsonObject newSettings)
{
    const QByteArray oldText = QJsonDocument(oldSettings).toJson(QJsonDocument::Indented);
    const QByteArray newText = QJsonDocument(newSettings).toJson(QJsonDocument::Indented);
    qDebug().noquote() << "Old -" << oldText << "\nNew -" << newText;
    return QCryptographicHash::hash(oldText, QCryptographicHash::Sha1)
            == QCryptographicHash::hash(newText, QCryptographicHash::Sha1);
}
