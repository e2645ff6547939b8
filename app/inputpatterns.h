#pragma once

#include <QRegularExpression>

// Every input pattern of the program, compiled once and shared by all boxes
// (used through QRegularExpressionValidator, so each must match a whole text).
class InputPatterns
{
public:
    // Dotted IPv4 address, optionally "/" and up to three digits.
    static const QRegularExpression &ipv4();
    // Gateway ID: sixteen characters of the code range A..f or digits.
    static const QRegularExpression &gatewayId();
    // LoRa server address: IPv4, "localhost", anything with a dot, or IPv6 with zone.
    static const QRegularExpression &serverAddress();
    // UDP port: one to five digits.
    static const QRegularExpression &port();
    // Antenna gain and keepalive interval: two or three digits.
    static const QRegularExpression &twoOrThreeDigits();
    // Channel frequency in Hz: exactly nine digits.
    static const QRegularExpression &channelFrequency();
    // GPS latitude or longitude: dd.dddddd (one or two integer digits) or "0".
    static const QRegularExpression &gpsCoordinate();
    // GPS height: up to six digits.
    static const QRegularExpression &gpsHeight();
    // LTE access point name.
    static const QRegularExpression &apn();
    // LTE dial number: two to five digits.
    static const QRegularExpression &dialNumber();
};
