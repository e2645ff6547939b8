<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
<context>
    <name>AboutDevice</name>
    <message>
        <source>Отчистить логи</source>
        <translation>Clear logs</translation>
    </message>
    <message>
        <source>Сброс настроек базовой станции</source>
        <translation>Reset gateway settings</translation>
    </message>
    <message>
        <source>Сброс настроек LoRa</source>
        <translation>Resetting LoRa settings</translation>
    </message>
    <message>
        <source>Перезагрузка базовой станции</source>
        <translation>Reboot gateway</translation>
    </message>
    <message>
        <source>Общаяя информация об устройстве</source>
        <translation>General information about the device</translation>
    </message>
</context>
<context>
    <name>General</name>
    <message>
        <source>MAC адрес устройства:</source>
        <translation>Gateway MAC:</translation>
    </message>
    <message>
        <source>Модель устройства:</source>
        <translation>Model:</translation>
    </message>
    <message>
        <source>Ревизия:</source>
        <translation>Revision:</translation>
    </message>
    <message>
        <source>Печатная плата:</source>
        <translation>PCB:</translation>
    </message>
    <message>
        <source>Дата производства:</source>
        <translation>Prod date:</translation>
    </message>
    <message>
        <source>Версия ядра приложения:</source>
        <translation>Application Core version:</translation>
    </message>
    <message>
        <source>Поддержка LTE:</source>
        <translation>LTE support:</translation>
    </message>
    <message>
        <source>GNSS модуль:</source>
        <translation>GNSS module:</translation>
    </message>
    <message>
        <source>GSM модуль:</source>
        <translation>GSM module:</translation>
    </message>
    <message>
        <source>Версия релиза:</source>
        <translation>Release version:</translation>
    </message>
    <message>
        <source>Производитель:</source>
        <translation>Manufacturer:</translation>
    </message>
    <message>
        <source>Текущий IP(eth0):</source>
        <translation>Current IP(eth0):</translation>
    </message>
    <message>
        <source>Текущий IP(ppp0):</source>
        <translation>Current IP(ppp0)</translation>
    </message>
    <message>
        <source>Текущий IP(tun0):</source>
        <translation>Current IP(tun0)</translation>
    </message>
</context>
<context>
    <name>AboutDeveloper</name>
    <message>
        <source>О программе</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Версия: %1&lt;br&gt;Дата сборки: %2 - &lt;br&gt;%3</source>
        <translation>Version: %1&lt;br&gt;Build date: %2 - &lt;br&gt;%3</translation>
    </message>
    <message>
        <source>Техническая поддержка:</source>
        <translation>Technical Support:</translation>
    </message>
    <message>
        <source>Форум</source>
        <translation>Forum</translation>
    </message>
    <message>
        <source>Разработчик:</source>
        <translation>Developer:</translation>
    </message>
    <message>
        <source>Основной сайт</source>
        <translation>Main site</translation>
    </message>
    <message>
        <source>Сайт IOT</source>
        <translation>IOT website</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
</context>
</TS>
