#include "settings/fieldrules.h"

#include "settings/inputpatterns.h"

#include <QRegularExpression>

#include <cmath>
#include <limits>

namespace {

using Type = FieldRules::Type;
using Pattern = const QRegularExpression &(*)();

struct Rule
{
    // "*" stands for both module groups.
    const char *group;
    const char *key;
    Type type;
    Pattern pattern = nullptr;
    const char *patternName = nullptr;
};

// The plans the LoRa page offers, by their names.
const QRegularExpression &frequencyPlan()
{
    static const QRegularExpression pattern(
            QStringLiteral("RU868_SB1|RU868_SB2|RU868_SB3|EU868|KZ868|Custom"));
    return pattern;
}

// A channel is on radio 0 or radio 1.
const QRegularExpression &channelRadio()
{
    static const QRegularExpression pattern(QStringLiteral("[01]"));
    return pattern;
}

// Off, client, Wi-Fi only, access point.
const QRegularExpression &wifiMode()
{
    static const QRegularExpression pattern(QStringLiteral("[0-3]"));
    return pattern;
}

const Rule rules[] = {
        {"*", "110", Type::String, &InputPatterns::gatewayId, "a gateway ID of 16 hex digits"},
        {"*", "111", Type::String, &InputPatterns::serverAddress, "a server address"},
        {"*", "112", Type::Integer, &InputPatterns::port, "a port of up to 5 digits"},
        {"*", "113", Type::Integer, &InputPatterns::port, "a port of up to 5 digits"},
        {"*", "121", Type::String, &frequencyPlan,
         "RU868_SB1, RU868_SB2, RU868_SB3, EU868, KZ868 or Custom"},
        {"*", "131", Type::Boolean},
        {"*", "132", Type::Boolean},
        {"*", "133", Type::Double, &InputPatterns::gpsLatitude, "a latitude of -90 to 90"},
        {"*", "134", Type::Double, &InputPatterns::gpsLongitude, "a longitude of -180 to 180"},
        {"*", "135", Type::Integer, &InputPatterns::gpsHeight, "a height of up to 6 digits"},
        {"*", "141", Type::Integer, &InputPatterns::twoOrThreeDigits, "2 or 3 digits"},
        {"*", "142", Type::Integer, &InputPatterns::twoOrThreeDigits, "2 or 3 digits"},
        {"*", "ch_1", Type::Boolean},
        {"*", "ch_2", Type::Integer, &channelRadio, "radio 0 or 1"},
        {"*", "ch_3", Type::Integer, &InputPatterns::channelFrequency, "9 digits of Hz"},
        {"200", "211", Type::String, &InputPatterns::apn, "an access point name"},
        {"200", "212", Type::String, &InputPatterns::dialNumber, "2 to 5 digits"},
        {"200", "213", Type::String},
        {"200", "214", Type::String},
        {"200", "221", Type::String, &InputPatterns::apn, "an access point name"},
        {"200", "222", Type::String, &InputPatterns::dialNumber, "2 to 5 digits"},
        {"200", "223", Type::String},
        {"200", "224", Type::String},
        {"200", "230", Type::String, &InputPatterns::ipv4, "an IPv4 address"},
        {"200", "240", Type::String, &InputPatterns::optionalIpv4, "an IPv4 address or nothing"},
        {"300", "310", Type::Boolean},
        {"300", "320", Type::String, &InputPatterns::ipv4, "an IPv4 address"},
        {"300", "330", Type::String, &InputPatterns::ipv4, "an IPv4 address"},
        {"300", "340", Type::String, &InputPatterns::optionalIpv4, "an IPv4 address or nothing"},
        {"300", "350", Type::String},
        {"300", "360", Type::String},
        {"300", "370", Type::String},
        {"350", "351", Type::Integer, &wifiMode, "0 (off) to 3"},
        {"350", "352", Type::String},
        {"350", "353", Type::String},
        {"350", "354", Type::String},
        {"350", "355", Type::String},
        {"350", "356", Type::String},
        {"350", "357", Type::String},
        {"350", "358", Type::String},
        {"350", "359", Type::String},
        {"350", "360", Type::String},
        {"350", "361", Type::String},
        {"350", "362", Type::String},
        {"350", "363", Type::String},
        {"400", "410", Type::String},
        {"400", "420", Type::String},
        {"400", "430", Type::String},
        {"400", "440", Type::String},
        {"400", "450", Type::String},
};

bool isModuleGroup(const QString &group)
{
    return group == QLatin1String("100") || group == QLatin1String("150");
}

// Channel keys "ch<N>_<part>" share one rule per part.
QString ruleKey(const QString &key)
{
    static const QRegularExpression channel(QStringLiteral("^ch[0-7]_([1-3])$"));
    const QRegularExpressionMatch match = channel.match(key);
    return match.hasMatch() ? QStringLiteral("ch_") + match.captured(1) : key;
}

const Rule *find(const QString &group, const QString &key)
{
    const QString wanted = ruleKey(key);
    for (const Rule &rule : rules) {
        const bool groupMatches = isModuleGroup(group) ? QLatin1String(rule.group) == "*"
                                                       : group == QLatin1String(rule.group);
        if (groupMatches && wanted == QLatin1String(rule.key))
            return &rule;
    }
    return nullptr;
}

// As a validator judges a field: the pattern must match the whole text.
bool matchesWhole(const QRegularExpression &pattern, const QString &text)
{
    const QRegularExpression anchored(QRegularExpression::anchoredPattern(pattern.pattern()),
                                      pattern.patternOptions());
    return anchored.match(text).hasMatch();
}

QLatin1String typeName(Type type)
{
    const char *const names[] = {"text", "a whole number", "true or false", "a number"};
    return QLatin1String(names[int(type)]);
}

// The pages hold whole numbers as int.
bool isWholeNumber(const QJsonValue &value)
{
    const double number = value.toDouble();
    return value.isDouble() && std::trunc(number) == number
            && number >= std::numeric_limits<int>::min()
            && number <= std::numeric_limits<int>::max();
}

// As the GPS box shows a coordinate.
constexpr int shownDecimals = 6;

} // namespace

bool FieldRules::isKnownGroup(const QString &group)
{
    static const QStringList groups{"100", "150", "200", "300", "350", "400"};
    return groups.contains(group);
}

QJsonValue FieldRules::valueOf(const QString &group, const QString &key, const QString &text,
                               QString *problem)
{
    const Rule *rule = find(group, key);
    if (!isKnownGroup(group) || !rule) {
        *problem = QStringLiteral("no page shows a field %1.%2").arg(group, key);
        return QJsonValue(QJsonValue::Undefined);
    }
    if (rule->pattern && !matchesWhole(rule->pattern(), text)) {
        *problem = QStringLiteral("%1.%2 takes %3, not \"%4\"")
                           .arg(group, key, QLatin1String(rule->patternName), text);
        return QJsonValue(QJsonValue::Undefined);
    }
    bool ok = true;
    QJsonValue value;
    switch (rule->type) {
    case Type::String:
        value = text;
        break;
    case Type::Integer:
        // The pages read their number fields as base-10 integers.
        value = text.isEmpty() ? 0 : text.toInt(&ok, 10);
        break;
    case Type::Double:
        value = text.toDouble(&ok);
        break;
    case Type::Boolean:
        ok = text == QLatin1String("true") || text == QLatin1String("false");
        value = text == QLatin1String("true");
        break;
    }
    if (!ok) {
        *problem = QStringLiteral("%1.%2 takes %3, not \"%4\"")
                           .arg(group, key, typeName(rule->type), text);
        return QJsonValue(QJsonValue::Undefined);
    }
    return value;
}

bool FieldRules::isKnownField(const QString &group, const QString &key)
{
    return isKnownGroup(group) && find(group, key);
}

QString FieldRules::ruleBrokenBy(const QString &group, const QString &key, const QJsonValue &value)
{
    const Rule *rule = isKnownGroup(group) ? find(group, key) : nullptr;
    if (!rule)
        return QStringLiteral("a field a page shows");
    QString text;
    switch (rule->type) {
    case Type::String:
        if (!value.isString())
            return typeName(rule->type);
        text = value.toString();
        break;
    case Type::Integer:
        if (!isWholeNumber(value))
            return typeName(rule->type);
        text = QString::number(value.toInteger());
        break;
    case Type::Double:
        if (!value.isDouble())
            return typeName(rule->type);
        text = QString::number(value.toDouble(), 'f', shownDecimals);
        break;
    case Type::Boolean:
        return value.isBool() ? QString() : QString(typeName(rule->type));
    }
    if (rule->pattern && !matchesWhole(rule->pattern(), text))
        return QLatin1String(rule->patternName);
    return QString();
}
