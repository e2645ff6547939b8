<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
<context>
    <name>CommissioningReport</name>
    <message>
        <source>Отчёт о настройке</source>
        <translation>Commissioning report</translation>
    </message>
    <message>
        <source>Дата и время</source>
        <translation>Date and time</translation>
    </message>
    <message>
        <source>Модель</source>
        <translation>Model</translation>
    </message>
    <message>
        <source>Соединение</source>
        <translation>Connection</translation>
    </message>
    <message>
        <source>подключено к базовой станции</source>
        <translation>connected to the base station</translation>
    </message>
    <message>
        <source>не подключено: данные последнего чтения</source>
        <translation>not connected: data of the last read</translation>
    </message>
    <message>
        <source>Примечание установщика</source>
        <translation>Installer's note</translation>
    </message>
    <message>
        <source>(нет)</source>
        <translation>(none)</translation>
    </message>
    <message>
        <source>Об устройстве</source>
        <translation>About device</translation>
    </message>
    <message>
        <source>Настройки</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Проверка последнего применения</source>
        <translation>Check of the last apply</translation>
    </message>
    <message>
        <source>Настройки не применялись.</source>
        <translation>No settings were applied.</translation>
    </message>
    <message>
        <source>Применены, но не проверены: базовая станция не ответила на повторное чтение.</source>
        <translation>Applied, not verified: the base station did not answer the read-back.</translation>
    </message>
    <message numerus="yes">
        <source>Подтверждено базовой станцией полей: %n.</source>
        <translation>
            <numerusform>The base station confirmed %n field.</numerusform>
            <numerusform>The base station confirmed %n fields.</numerusform>
        </translation>
    </message>
    <message>
        <source>Базовая станция не приняла поля:</source>
        <translation>The base station did not take these fields:</translation>
    </message>
    <message>
        <source>Поле</source>
        <translation>Field</translation>
    </message>
    <message>
        <source>Отправлено</source>
        <translation>Sent</translation>
    </message>
    <message>
        <source>В базовой станции</source>
        <translation>Held by the base station</translation>
    </message>
    <message>
        <source>Последние строки журнала</source>
        <translation>Last log lines</translation>
    </message>
    <message>
        <source>Сигнал</source>
        <translation>Signal</translation>
    </message>
    <message>
        <source>Обследование сигнала не проводилось.</source>
        <translation>No signal survey was made.</translation>
    </message>
    <message>
        <source>нет данных</source>
        <translation>no data</translation>
    </message>
    <message>
        <source>Продолжительность</source>
        <translation>Duration</translation>
    </message>
    <message>
        <source>Пакеты</source>
        <translation>Packets</translation>
    </message>
    <message>
        <source>%1, из них с ошибкой CRC: %2</source>
        <translation>%1, with a CRC error: %2</translation>
    </message>
    <message>
        <source>PUSH_DATA подтверждено</source>
        <translation>PUSH_DATA acknowledged</translation>
    </message>
    <message>
        <source>Задержка PUSH_ACK (медиана)</source>
        <translation>PUSH_ACK round trip (median)</translation>
    </message>
    <message>
        <source>%1 мс</source>
        <translation>%1 ms</translation>
    </message>
    <message>
        <source>Частота, МГц</source>
        <translation>Frequency, MHz</translation>
    </message>
    <message>
        <source>CRC в порядке, %</source>
        <translation>CRC ok, %</translation>
    </message>
    <message>
        <source>RSSI, дБм (медиана)</source>
        <translation>RSSI, dBm (median)</translation>
    </message>
    <message>
        <source>SNR, дБ (медиана)</source>
        <translation>SNR, dB (median)</translation>
    </message>
</context>
<context>
    <name>AboutDevice</name>
    <message>
        <source>Примечание установщика</source>
        <translation>Installer's note</translation>
    </message>
    <message>
        <source>Отчёт о настройке</source>
        <translation>Commissioning report</translation>
    </message>
</context>
<context>
    <name>BasicWindow</name>
    <message>
        <source>Сохранить отчёт о настройке</source>
        <translation>Save the commissioning report</translation>
    </message>
    <message>
        <source>Отчёт о настройке</source>
        <translation>Commissioning report</translation>
    </message>
    <message>
        <source>Отчёт сохранён: %1</source>
        <translation>Report saved: %1</translation>
    </message>
    <message>
        <source>Не удалось записать файл %1: %2.</source>
        <translation>Could not write the file %1: %2.</translation>
    </message>
</context>
</TS>
