#include "settings/fieldcatalog.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QStringList>

namespace {

struct Field
{
    const char *group;
    const char *key;
    const char *context;
    const char *label;
    // The box part that tells two equal labels apart ("SIM1", "Клиент").
    const char *partContext = nullptr;
    const char *part = nullptr;
    bool secret = false;
};

constexpr const char *lora = "LoRaSettings";
constexpr const char *gps = "BoxGPS";
constexpr const char *lte = "BoxLTE";
constexpr const char *staticIp = "BoxStaticIP";
constexpr const char *wifi = "BoxWIFI";
constexpr const char *server = "TyrnServerBox";
constexpr const char *network = "NetworkSettings";

constexpr Field fields[] = {
        {"*", "110", lora, "ID Базовой станции"},
        {"*", "111", lora, "Адрес сервера"},
        {"*", "112", lora, "Верхний порт"},
        {"*", "113", lora, "Нижний порт"},
        {"*", "121", "FieldCatalog", "Частотный план"},
        {"*", "131", gps, "Использовать GPS"},
        {"*", "132", gps, "Имитация GPS"},
        {"*", "133", gps, "Широта"},
        {"*", "134", gps, "Долгота"},
        {"*", "135", gps, "Высота"},
        {"*", "141", lora, "Усиление антенны"},
        {"*", "142", lora, "Интервал \"keepalive\""},
        {"200", "211", lte, "Адрес", nullptr, "SIM1"},
        {"200", "212", lte, "Номер дозвона", nullptr, "SIM1"},
        {"200", "213", lte, "Имя пользователя", nullptr, "SIM1"},
        {"200", "214", lte, "Пароль", nullptr, "SIM1", true},
        {"200", "221", lte, "Адрес", nullptr, "SIM2"},
        {"200", "222", lte, "Номер дозвона", nullptr, "SIM2"},
        {"200", "223", lte, "Имя пользователя", nullptr, "SIM2"},
        {"200", "224", lte, "Пароль", nullptr, "SIM2", true},
        {"200", "230", lte, "IP№1 для пинга"},
        {"200", "240", lte, "IP№2 для пинга\n(не обязятельно)"},
        {"300", "310", network, "Статический IP адрес"},
        {"300", "320", staticIp, "IP"},
        {"300", "330", staticIp, "Шлюз"},
        {"300", "340", staticIp, "DNS1"},
        {"300", "350", nullptr, "DNS2"},
        {"300", "360", staticIp, "Домен"},
        {"300", "370", staticIp, "Маска"},
        {"350", "351", wifi, "Конфигурация Wi-Fi:"},
        {"350", "352", wifi, "Имя сети (SSID)", wifi, "Клиент"},
        {"350", "353", wifi, "Пароль", wifi, "Клиент", true},
        {"350", "354", wifi, "IP-адрес"},
        {"350", "355", wifi, "IP-адрес сети"},
        {"350", "356", wifi, "Маска подсети"},
        {"350", "357", wifi, "Шлюз"},
        {"350", "358", wifi, "Предпочитаемый DNS"},
        {"350", "359", wifi, "Дополнительный DNS"},
        {"350", "360", "FieldCatalog", "Конец диапазона IP-адресов"},
        {"350", "361", wifi, "Диапазон IP-адресов"},
        {"350", "362", wifi, "Имя сети (SSID)", wifi, "Точка доступа"},
        {"350", "363", wifi, "Пароль", wifi, "Точка доступа", true},
        {"400", "410", server, "Логин"},
        {"400", "420", server, "Пароль", nullptr, nullptr, true},
        {"400", "430", server, "Идетификатор сети LoRa"},
        {"400", "440", server, "Идетификатор подсети LoRa"},
        {"400", "450", server, "Путь до базы данных"},
};

bool isModuleGroup(const QString &group)
{
    return group == QLatin1String("100") || group == QLatin1String("150");
}

const Field *find(const QString &group, const QString &key)
{
    const QLatin1String wanted(isModuleGroup(group) ? "*" : "");
    for (const Field &field : fields) {
        const bool groupMatches = isModuleGroup(group) ? QLatin1String(field.group) == wanted
                                                       : group == QLatin1String(field.group);
        if (groupMatches && key == QLatin1String(field.key))
            return &field;
    }
    return nullptr;
}

QString translated(const char *context, const char *text)
{
    return context ? QCoreApplication::translate(context, text) : QString::fromUtf8(text);
}

// Channel keys read "ch<N>_<part>": enabled, radio, frequency.
const QRegularExpression &channelKey()
{
    static const QRegularExpression pattern(QStringLiteral("^ch([0-7])_([1-3])$"));
    return pattern;
}

} // namespace

QString FieldCatalog::pageName(const QString &group)
{
    if (group == QLatin1String("100") || group == QLatin1String("150"))
        return QCoreApplication::translate("BasicWindow", "Настройки LoRa") + QStringLiteral(" › ")
                + QCoreApplication::translate("StackLoRaSettings",
                                              group == QLatin1String("100") ? "Модуль 1"
                                                                            : "Модуль 2");
    if (group == QLatin1String("400"))
        return QCoreApplication::translate("BasicWindow", "Прочие настройки");
    if (group == QLatin1String("200") || group == QLatin1String("300")
        || group == QLatin1String("350"))
        return QCoreApplication::translate("BasicWindow", "Сетевые настройки");
    return group;
}

QString FieldCatalog::groupName(const QString &group)
{
    if (group == QLatin1String("200"))
        return QCoreApplication::translate(network, "Настройки LTE модема");
    if (group == QLatin1String("300"))
        return QCoreApplication::translate(network, "Статический IP адрес");
    if (group == QLatin1String("350"))
        return QCoreApplication::translate(network, "Настройки WI-FI");
    if (group == QLatin1String("400"))
        return QCoreApplication::translate("OtherSettings", "Настройки локального IoT Tyrn Server");
    return QString();
}

QString FieldCatalog::fieldPath(const QString &group, const QString &key)
{
    QStringList parts{pageName(group), groupName(group), label(group, key)};
    parts.removeAll(QString());
    return parts.join(QStringLiteral(" › "));
}

QString FieldCatalog::label(const QString &group, const QString &key)
{
    if (isModuleGroup(group)) {
        const QRegularExpressionMatch channel = channelKey().match(key);
        if (channel.hasMatch()) {
            const char *parts[] = {"Канал %1: включён", "Канал %1: радио", "Канал %1: частота"};
            return QCoreApplication::translate("FieldCatalog",
                                               parts[channel.captured(2).toInt() - 1])
                    .arg(channel.captured(1));
        }
    }
    const Field *field = find(group, key);
    if (!field)
        return key;
    // A label that runs over two lines on its page reads as one here.
    QString text = translated(field->context, field->label).simplified();
    if (text.endsWith(QLatin1Char(':')))
        text.chop(1);
    if (!field->part)
        return text;
    return translated(field->partContext, field->part) + QStringLiteral(" › ") + text;
}

bool FieldCatalog::isSecret(const QString &group, const QString &key)
{
    const Field *field = find(group, key);
    return field && field->secret;
}

QString FieldCatalog::shownValue(const QString &group, const QString &key, const QJsonValue &value)
{
    if (value.isUndefined())
        return QCoreApplication::translate("FieldCatalog", "(нет)");
    if (isSecret(group, key))
        return QStringLiteral("••••••");
    if (value.isString())
        return value.toString();
    if (value.isBool())
        return value.toBool() ? QCoreApplication::translate("FieldCatalog", "да")
                              : QCoreApplication::translate("FieldCatalog", "нет");
    if (value.isDouble())
        return QString::number(value.toDouble(), 'g', 15);
    if (value.isNull())
        return QStringLiteral("null");
    return QString::fromUtf8(
            QJsonDocument::fromVariant(value.toVariant()).toJson(QJsonDocument::Compact));
}
