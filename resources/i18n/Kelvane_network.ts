<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
<context>
    <name>NetworkSettings</name>
    <message>
        <source>Настройки LTE модема</source>
        <translation>LTE modem settings</translation>
    </message>
    <message>
        <source>Настройки VPN</source>
        <translation>VPN settings</translation>
    </message>
    <message>
        <source>Статический IP адрес</source>
        <translation>Static IP address</translation>
    </message>
    <message>
        <source>Настройки WI-FI</source>
        <translation>Wi-Fi settings</translation>
    </message>
</context>
<context>
    <name>BoxLTE</name>
    <message>
        <source>Адрес</source>
        <translation>Adress</translation>
    </message>
    <message>
        <source>Номер дозвона</source>
        <translation>Dialing number</translation>
    </message>
    <message>
        <source>Имя пользователя</source>
        <translation>User name</translation>
    </message>
    <message>
        <source>Пароль</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>IP№1 для пинга</source>
        <translation>IP№1 to ping</translation>
    </message>
    <message>
        <source>IP№2 для пинга
(не обязятельно)</source>
        <translation>IP№2 to ping
(optional)</translation>
    </message>
</context>
<context>
    <name>BoxStaticIP</name>
    <message>
        <source>Домен</source>
        <translation>Domain</translation>
    </message>
    <message>
        <source>Шлюз</source>
        <translation>Gateway</translation>
    </message>
    <message>
        <source>Маска</source>
        <translation>Mask</translation>
    </message>
</context>
<context>
    <name>BoxWIFI</name>
    <message>
        <source>Пароль</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>Шлюз</source>
        <translation>Gateway</translation>
    </message>
    <message>
        <source>Конфигурация Wi-Fi:</source>
        <translation>Wi-Fi mode:</translation>
    </message>
    <message>
        <source>Клиент</source>
        <translation>Client</translation>
    </message>
    <message>
        <source>Точка доступа</source>
        <translation>Access point</translation>
    </message>
    <message>
        <source>Только Wi-Fi</source>
        <translation>Wi-Fi only</translation>
    </message>
    <message>
        <source>Имя сети (SSID)</source>
        <translation>Network (SSID)</translation>
    </message>
    <message>
        <source>IP-адрес</source>
        <translation>IP address</translation>
    </message>
    <message>
        <source>IP-адрес сети</source>
        <translation>Network IP</translation>
    </message>
    <message>
        <source>Маска подсети</source>
        <translation>Subnet mask</translation>
    </message>
    <message>
        <source>Предпочитаемый DNS</source>
        <translation>Preferred DNS</translation>
    </message>
    <message>
        <source>Дополнительный DNS</source>
        <translation>Alternate DNS</translation>
    </message>
    <message>
        <source>Диапазон IP-адресов</source>
        <translation>IP address range</translation>
    </message>
</context>
<context>
    <name>BoxVPN</name>
    <message>
        <source>Файл настроек VPN</source>
        <translation>VPN settings file</translation>
    </message>
    <message>
        <source>Запустить OVPN</source>
        <translation>Run OVPN</translation>
    </message>
    <message>
        <source>Активировать OVPN</source>
        <translation>Enable OVPN</translation>
    </message>
    <message>
        <source>Выберете конфигурацию для запуска.</source>
        <translation>Select the configuration to run.</translation>
    </message>
    <message>
        <source>Ошибка</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Файлы настроек должны иметь расширение .ovpn, .crt, .key, .conf</source>
        <translation>The configuration files must have the extension .ovpn, .crt, .key, .conf</translation>
    </message>
    <message>
        <source>Выберете файлы настроек</source>
        <translation>Select the settings files</translation>
    </message>
    <message>
        <source>Выберете файл для отправки.</source>
        <translation>Select the file to send.</translation>
    </message>
    <message>
        <source>Не удалось открыть файл %1 для отправки.</source>
        <translation>Failed to open the file %1 for sending.</translation>
    </message>
    <message>
        <source>Файл %1 не отправлен: %2</source>
        <translation>The file %1 was not sent: %2</translation>
    </message>
    <message>
        <source>это не обычный файл.</source>
        <translation>it is not a regular file.</translation>
    </message>
    <message>
        <source>он больше 1 МиБ.</source>
        <translation>it is larger than 1 MiB.</translation>
    </message>
    <message>
        <source>это не текст в кодировке UTF-8.</source>
        <translation>it is not UTF-8 text.</translation>
    </message>
    <message>
        <source>он содержит метку конца файла ((EOF)).</source>
        <translation>it contains the end-of-file marker ((EOF)).</translation>
    </message>
    <message>
        <source>Не выбрана конфигурация для запуска</source>
        <translation>Configuration not selected for startup</translation>
    </message>
</context>
</TS>
