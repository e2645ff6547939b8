<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
<context>
    <name>FieldCatalog</name>
    <message>
        <source>Частотный план</source>
        <translation>Frequency plan</translation>
    </message>
    <message>
        <source>Конец диапазона IP-адресов</source>
        <translation>End of the IP address range</translation>
    </message>
    <message>
        <source>Канал %1: включён</source>
        <translation>Channel %1: enabled</translation>
    </message>
    <message>
        <source>Канал %1: радио</source>
        <translation>Channel %1: radio</translation>
    </message>
    <message>
        <source>Канал %1: частота</source>
        <translation>Channel %1: frequency</translation>
    </message>
    <message>
        <source>(нет)</source>
        <translation>(none)</translation>
    </message>
    <message>
        <source>да</source>
        <translation>yes</translation>
    </message>
    <message>
        <source>нет</source>
        <translation>no</translation>
    </message>
</context>
<context>
    <name>StackLoRaSettings</name>
    <message>
        <source>Модуль 1</source>
        <translation>Module 1</translation>
    </message>
    <message>
        <source>Модуль 2</source>
        <translation>Module 2</translation>
    </message>
    <message>
        <source>Использовать оба модуля</source>
        <translation>Use both modules</translation>
    </message>
</context>
<context>
    <name>ImportedValues</name>
    <message>
        <source>Эти значения пресета не подходят своим полям:
%1
Поля отмечены; настройки не применятся, пока они не исправлены.</source>
        <translation>These preset values do not fit their fields:
%1
The fields are marked; the settings will not be applied until they are corrected.</translation>
    </message>
    <message>
        <source>Этих полей нет на страницах, они не загружены: %1</source>
        <translation>No page shows these fields; they were not loaded: %1</translation>
    </message>
</context>
</TS>
