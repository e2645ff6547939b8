#pragma once

#include <QJsonObject>

// Compares two settings objects by the SHA-1 of their indented JSON texts;
// the text is canonical (sorted keys), so insertion order does not matter.
bool settingsEqual(QJsonObject oldSettings, QJsonObject newSettings);
