#include "settings/inputpatterns.h"

const QRegularExpression &InputPatterns::ipv4()
{
    static const QRegularExpression pattern(QStringLiteral(
            R"(^((25[0-5]|2[0-4][0-9]|[01]?[0-9]?[0-9])\.){3}(25[0-5]|2[0-4][0-9]|[01]?[0-9]?[0-9])(\/\d{0,3})?$)"));
    return pattern;
}

const QRegularExpression &InputPatterns::optionalIpv4()
{
    static const QRegularExpression pattern(QStringLiteral("^$|") + ipv4().pattern());
    return pattern;
}

const QRegularExpression &InputPatterns::gatewayId()
{
    static const QRegularExpression pattern(QStringLiteral("[A-f0-9]{16}"));
    return pattern;
}

const QRegularExpression &InputPatterns::serverAddress()
{
    static const QRegularExpression pattern(QStringLiteral(
            R"(^((25[0-5]|2[0-4][0-9]|[01]?[0-9]?[0-9])\.){3}(25[0-5]|2[0-4][0-9]|[01]?[0-9]?[0-9])(\/\d{0,3})?$|localhost|.*\.?.*\..*|^(([0-9A-f]{0,4}?:){1,7}([0-9A-f]{0,4})%[A-z0-9]{1,6})$)"));
    return pattern;
}

const QRegularExpression &InputPatterns::port()
{
    static const QRegularExpression pattern(QStringLiteral("[0-9]{1,5}"));
    return pattern;
}

const QRegularExpression &InputPatterns::twoOrThreeDigits()
{
    static const QRegularExpression pattern(QStringLiteral(R"(\d{2,3})"));
    return pattern;
}

const QRegularExpression &InputPatterns::channelFrequency()
{
    static const QRegularExpression pattern(QStringLiteral(R"(^\d{9}$)"));
    return pattern;
}

const QRegularExpression &InputPatterns::gpsLatitude()
{
    static const QRegularExpression pattern(
            QStringLiteral(R"(-?(90(\.0{1,6})?|[1-8]?\d(\.\d{1,6})?))"));
    return pattern;
}

const QRegularExpression &InputPatterns::gpsLongitude()
{
    static const QRegularExpression pattern(
            QStringLiteral(R"(-?(180(\.0{1,6})?|(1[0-7]\d|[1-9]?\d)(\.\d{1,6})?))"));
    return pattern;
}

const QRegularExpression &InputPatterns::gpsHeight()
{
    static const QRegularExpression pattern(QStringLiteral(R"((-?\d{1,6})?)"));
    return pattern;
}

const QRegularExpression &InputPatterns::apn()
{
    static const QRegularExpression pattern(QStringLiteral("[0-9A-z|.]+"));
    return pattern;
}

const QRegularExpression &InputPatterns::dialNumber()
{
    static const QRegularExpression pattern(QStringLiteral("[0-9]{2,5}"));
    return pattern;
}
