<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
<context>
    <name>SignalPage</name>
    <message>
        <source>%1 °C</source>
        <translation>%1 °C</translation>
    </message>
    <message>
        <source>%1 дБ</source>
        <translation>%1 dB</translation>
    </message>
    <message>
        <source>%1 дБм</source>
        <translation>%1 dBm</translation>
    </message>
    <message>
        <source>%1 мин</source>
        <translation>%1 min</translation>
    </message>
    <message>
        <source>CRC в порядке, %</source>
        <translation>CRC ok, %</translation>
    </message>
    <message>
        <source>GPS: %1</source>
        <translation>GPS: %1</translation>
    </message>
    <message>
        <source>PULL_DATA подтверждено: %1</source>
        <translation>PULL_DATA acknowledged: %1</translation>
    </message>
    <message>
        <source>PUSH_ACK: %1 мс, медиана %2 мс</source>
        <translation>PUSH_ACK: %1 ms, median %2 ms</translation>
    </message>
    <message>
        <source>PUSH_ACK: %1</source>
        <translation>PUSH_ACK: %1</translation>
    </message>
    <message>
        <source>PUSH_DATA подтверждено: %1</source>
        <translation>PUSH_DATA acknowledged: %1</translation>
    </message>
    <message>
        <source>RSSI, дБм</source>
        <translation>RSSI, dBm</translation>
    </message>
    <message>
        <source>SNR, дБ</source>
        <translation>SNR, dB</translation>
    </message>
    <message>
        <source>Медиана %1 пакетов</source>
        <translation>Median of %1 packets</translation>
    </message>
    <message>
        <source>Медиана RSSI, дБм</source>
        <translation>Median RSSI, dBm</translation>
    </message>
    <message>
        <source>Медиана SNR, дБ</source>
        <translation>Median SNR, dB</translation>
    </message>
    <message>
        <source>Наведение антенны</source>
        <translation>Antenna aiming</translation>
    </message>
    <message>
        <source>Не удалось записать файл %1: %2.</source>
        <translation>Could not write the file %1: %2.</translation>
    </message>
    <message>
        <source>Ошибка записи файла</source>
        <translation>File write error</translation>
    </message>
    <message>
        <source>Пакетов: %1, с ошибкой CRC: %2</source>
        <translation>Packets: %1, CRC errors: %2</translation>
    </message>
    <message>
        <source>Пакеты</source>
        <translation>Packets</translation>
    </message>
    <message>
        <source>Период графиков:</source>
        <translation>Chart span:</translation>
    </message>
    <message>
        <source>Последний пакет</source>
        <translation>Last packet</translation>
    </message>
    <message>
        <source>Сброс</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>Связь с сервером: %1</source>
        <translation>Backhaul: %1</translation>
    </message>
    <message>
        <source>Сервер не отвечает! Связь с сервером: %1</source>
        <translation>The server does not answer! Backhaul: %1</translation>
    </message>
    <message>
        <source>Файл сохранён: %1</source>
        <translation>File saved: %1</translation>
    </message>
    <message>
        <source>Частота, МГц</source>
        <translation>Frequency, MHz</translation>
    </message>
    <message>
        <source>Экспорт CSV</source>
        <translation>Export CSV</translation>
    </message>
    <message>
        <source>заданные координаты</source>
        <translation>configured coordinates</translation>
    </message>
    <message>
        <source>координаты есть</source>
        <translation>position fixed</translation>
    </message>
    <message>
        <source>нет координат</source>
        <translation>no position</translation>
    </message>
    <message>
        <source>отключён</source>
        <translation>disabled</translation>
    </message>
    <message>
        <source>температура концентратора: %1</source>
        <translation>concentrator temperature: %1</translation>
    </message>
</context>
<context>
    <name>SignalTab</name>
    <message>
        <source>Сигнал</source>
        <translation>Signal</translation>
    </message>
</context>
</TS>
