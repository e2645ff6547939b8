#pragma once

#include <QByteArray>

// What more than one of the source files of SPortConnector needs; included by them only.
namespace SPortConnectorPrivate {

constexpr int historyInfo = 0;
constexpr int historyWarning = 1;
constexpr int historyError = 2;

constexpr int boxInformation = 1;
constexpr int boxWarning = 2;
constexpr int boxCritical = 3;

inline const QByteArray promptRequest = QByteArrayLiteral("\r");
// Ends an uploaded file's body on the gateway.
inline const QByteArray fileEndLine = QByteArrayLiteral("((EOF))\r");

} // namespace SPortConnectorPrivate
