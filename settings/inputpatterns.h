#pragma once

#include <QRegularExpression>

// Every input pattern of the program, compiled once and shared by all boxes
// (used through QRegularExpressionValidator, so each must match a whole text).
class InputPatterns
{
public:
    // Dotted IPv4 address, optionally "/" and up to three digits.
    static const QRegularExpression &ipv4();
    // The same or nothing, for fields that may stay empty.
    static const QRegularExpression &optionalIpv4();
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
    // GPS latitude in degrees, -90 to 90, with up to six decimals.
    static const QRegularExpression &gpsLatitude();
    // GPS longitude in degrees, -180 to 180, with up to six decimals.
    static const QRegularExpression &gpsLongitude();
    // GPS height: a signed integer of up to six digits, or nothing (read as 0).
    static const QRegularExpression &gpsHeight();
    // LTE access point name.
    static const QRegularExpression &apn();
    // LTE dial number: two to five digits.
    static const QRegularExpression &dialNumber();
};
