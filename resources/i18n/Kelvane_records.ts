<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
<context>
    <name>SPortConnector</name>
    <message>
        <source>Базовая станция не подтвердила приём файла %1.</source>
        <translation>The base station did not confirm receiving the file %1.</translation>
    </message>
</context>
<context>
    <name>LoRaLogs</name>
    <message>
        <source>Сохранение логов: %1 МБ</source>
        <translation>Saving the logs: %1 MB</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Запись логов на диск остановлена: %1. Новые строки хранятся в памяти (до %2 МБ).</source>
        <translation>Writing the logs to disk has stopped: %1. New lines are kept in memory (up to %2 MB).</translation>
    </message>
</context>
<context>
    <name>LogSpool</name>
    <message>
        <source>не удалось создать файл в %1</source>
        <translation>cannot create a file in %1</translation>
    </message>
    <message>
        <source>--- пропущено строк: %1 ---</source>
        <translation>--- lines dropped: %1 ---</translation>
    </message>
</context>
</TS>
