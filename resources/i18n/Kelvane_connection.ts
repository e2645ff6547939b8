<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
<context>
    <name>ConnectionStateLine</name>
    <message>
        <source>Не подключено</source>
        <translation>Not connected</translation>
    </message>
    <message>
        <source>Подключение…</source>
        <translation>Connecting…</translation>
    </message>
    <message>
        <source>Подключено: %1
%2</source>
        <translation>Connected: %1
%2</translation>
    </message>
    <message>
        <source>Перезагрузка…</source>
        <translation>Rebooting…</translation>
    </message>
    <message>
        <source>Адаптер отключён,
ждём его возвращения</source>
        <translation>Adapter unplugged,
waiting for it</translation>
    </message>
    <message>
        <source>Соединение потеряно</source>
        <translation>Connection lost</translation>
    </message>
</context>
<context>
    <name>SerialAdapters</name>
    <message>
        <source>с/н %1</source>
        <translation>S/N %1</translation>
    </message>
</context>
<context>
    <name>PortErrorHint</name>
    <message>
        <source>Порт занят программой %1 (PID %2): закройте её и подключитесь снова.</source>
        <translation>The port is in use by %1 (PID %2): close it and connect again.</translation>
    </message>
    <message>
        <source>Порт занят другой программой: закройте её и подключитесь снова.</source>
        <translation>The port is in use by another program: close it and connect again.</translation>
    </message>
</context>
<context>
    <name>General</name>
    <message>
        <source>Текущий IP(wlan0):</source>
        <translation>Current IP(wlan0):</translation>
    </message>
    <message>
        <source>Tyrnholm, 000000,
г. Образцовск, ул. Пробная, 1
+7 000 000-00-00
+7 000 000-00-01</source>
        <translation>Tyrnholm, 000000,
1 Probnaya St., Obraztsovsk
+7 000 000-00-00
+7 000 000-00-01</translation>
    </message>
</context>
<context>
    <name>LoRaSettings</name>
    <message>
        <source>Настройки частот</source>
        <translation>Frequency settings</translation>
    </message>
</context>
<context>
    <name>SPortConnector</name>
    <message>
        <source>Дополнительный модуль LoRa запущен!</source>
        <translation>The second LoRa module has started!</translation>
    </message>
    <message>
        <source>Дополнительный модуль LoRa остановлен!</source>
        <translation>The second LoRa module has stopped!</translation>
    </message>
    <message>
        <source>Базовая станция будет перезагружена.</source>
        <translation>The base station will be rebooted.</translation>
    </message>
</context>
<context>
    <name>ConnectionPanel</name>
    <message>
        <source>ТК-0</source>
        <translation>TK-0</translation>
    </message>
</context>
<context>
    <name>BasicWindow</name>
    <message>
        <source>Переподключение</source>
        <translation>Reconnection</translation>
    </message>
    <message>
        <source>Не удалось проверить, та же ли это базовая станция. Запросите настройки, прежде чем применять.</source>
        <translation>Whether this is the same gateway could not be checked. Request its settings before applying.</translation>
    </message>
    <message>
        <source>Это другая базовая станция: %1.
Запросите её настройки, прежде чем применять.</source>
        <translation>This is another gateway: %1.
Request its settings before applying.</translation>
    </message>
</context>
</TS>
