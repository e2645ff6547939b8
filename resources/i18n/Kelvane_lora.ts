<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
<context>
    <name>LoRaSettings</name>
    <message>
        <source>Данные для подлкючения к LoRa серверу</source>
        <translation>Data for connection to the LoRa server</translation>
    </message>
    <message>
        <source>ID Базовой станции</source>
        <translation>Gateway ID</translation>
    </message>
    <message>
        <source>Адрес сервера</source>
        <translation>Server adress</translation>
    </message>
    <message>
        <source>Верхний порт</source>
        <translation>Up port</translation>
    </message>
    <message>
        <source>Нижний порт</source>
        <translation>Down port</translation>
    </message>
    <message>
        <source>Настройки GPS</source>
        <translation>GPS settings</translation>
    </message>
    <message>
        <source>Другие наcтройки LoRa</source>
        <translation>Other settings LoRa</translation>
    </message>
    <message>
        <source>Усиление антенны</source>
        <translation>Antenna gain</translation>
    </message>
    <message>
        <source>Интервал "keepalive"</source>
        <translation>Interval "keepalive"</translation>
    </message>
    <message>
        <source>Показать настройки частот</source>
        <translation>Show frequency settings</translation>
    </message>
    <message>
        <source>Канал %1</source>
        <translation>Channel %1</translation>
    </message>
    <message>
        <source>Двойной клик для редактирования.</source>
        <translation>Double click to edit.</translation>
    </message>
    <message>
        <source>При настрйке этого параметра
учитывайте параметр transmitt_power на сервере.</source>
        <translation>When setting this parameter.
take into account the transmitt_power parameter on the server.</translation>
    </message>
</context>
<context>
    <name>ChannelsBox</name>
    <message>
        <source>Радио 0</source>
        <translation>Radio 0</translation>
    </message>
    <message>
        <source>Радио 1</source>
        <translation>Radio 1</translation>
    </message>
</context>
<context>
    <name>BoxGPS</name>
    <message>
        <source>Использовать GPS</source>
        <translation>Use GPS</translation>
    </message>
    <message>
        <source>Имитация GPS</source>
        <translation>Fake GPS</translation>
    </message>
    <message>
        <source>Широта</source>
        <translation>Latitude</translation>
    </message>
    <message>
        <source>Долгота</source>
        <translation>Longitude</translation>
    </message>
    <message>
        <source>Высота</source>
        <translation>Height</translation>
    </message>
</context>
<context>
    <name>OtherSettings</name>
    <message>
        <source>Настройки локального IoT Tyrn Server</source>
        <translation>Local IoT Tyrn Server settings</translation>
    </message>
</context>
<context>
    <name>TyrnServerBox</name>
    <message>
        <source>Использовать локальный LoRaWAN-сервер</source>
        <translation>Use local LoRaWAN server</translation>
    </message>
    <message>
        <source>Служба сервера запущена</source>
        <translation>Server service is running</translation>
    </message>
    <message>
        <source>Запустить сервер</source>
        <translation>Start the server</translation>
    </message>
    <message>
        <source>Остановить сервер</source>
        <translation>Stop the server</translation>
    </message>
    <message>
        <source>Логин</source>
        <translation>Login</translation>
    </message>
    <message>
        <source>Пароль</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>Идетификатор сети LoRa</source>
        <translation>LoRa network identifier</translation>
    </message>
    <message>
        <source>Идетификатор подсети LoRa</source>
        <translation>LoRa subnet identifier</translation>
    </message>
    <message>
        <source>Путь до базы данных</source>
        <translation>Path to database</translation>
    </message>
</context>
<context>
    <name>LoRaLogs</name>
    <message>
        <source>Показать логи LoRa Paket Forwarder</source>
        <translation>Show LoRa Paket Forwarder logs</translation>
    </message>
    <message>
        <source>Выгрузить в файл</source>
        <translation>Upload to file</translation>
    </message>
    <message>
        <source>Очистить логи</source>
        <translation>Clear logs</translation>
    </message>
    <message>
        <source>Ошибка сохранения логов</source>
        <translation>Error saving logs</translation>
    </message>
    <message>
        <source>Невозможно сохранить пустые логи.</source>
        <translation>Cannot save empty logs.</translation>
    </message>
    <message>
        <source>Ошибка открытитя лог файла</source>
        <translation>Error opening log file</translation>
    </message>
    <message>
        <source>Не удалось создать файл логов:
</source>
        <translation>Failed to create a log file:
</translation>
    </message>
    <message>
        <source>Пауза</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Продолжить</source>
        <translation>Resume</translation>
    </message>
    <message>
        <source>Новых строк: %1</source>
        <translation>New lines: %1</translation>
    </message>
    <message>
        <source>Поиск</source>
        <translation>Find</translation>
    </message>
    <message>
        <source>Предыдущее совпадение</source>
        <translation>Previous match</translation>
    </message>
    <message>
        <source>Следующее совпадение</source>
        <translation>Next match</translation>
    </message>
    <message>
        <source>Не удалось записать логи во временный файл:
</source>
        <translation>Failed to write the logs to a temporary file:
</translation>
    </message>
</context>
</TS>
