<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
<context>
    <name>BasicWindow</name>
    <message>
        <source>Запросить настройки</source>
        <translation>Request settings</translation>
    </message>
    <message>
        <source>Применить настройки</source>
        <translation>Apply settings</translation>
    </message>
    <message>
        <source>Настройки LoRa</source>
        <translation>LoRa settings</translation>
    </message>
    <message>
        <source>Логи LoRa</source>
        <translation>LoRa logs</translation>
    </message>
    <message>
        <source>Сетевые настройки</source>
        <translation>Network settings</translation>
    </message>
    <message>
        <source>Прочие настройки</source>
        <translation>Other settings</translation>
    </message>
    <message>
        <source>Об устройстве</source>
        <translation>About device</translation>
    </message>
    <message>
        <source>Ошибка</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Потеряно соединение с устройством.</source>
        <translation>Connection to the device has been lost.</translation>
    </message>
    <message>
        <source>Перезагрузка</source>
        <translation>Reboot</translation>
    </message>
    <message>
        <source>Базовая станция перезагружена.</source>
        <translation>The base station has been rebooted.</translation>
    </message>
    <message>
        <source>Настройки</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Настройки получены!</source>
        <translation>Settings received!</translation>
    </message>
    <message>
        <source>Заполните поля:
%1
Поскольку они являются обязательными.</source>
        <translation>Fill in the blanks:
%1
As they are mandatory.</translation>
    </message>
    <message>
        <source>Выберете папку для сохранения настроек</source>
        <translation>Select a folder to save the settings</translation>
    </message>
    <message>
        <source>Выберете файл настроек для загрузки</source>
        <translation>Select the settings file to download</translation>
    </message>
    <message>
        <source>Ошибка записи файла</source>
        <translation>File write error</translation>
    </message>
</context>
<context>
    <name>AboutDeveloper</name>
    <message>
        <source>:/Logo/ImageDevRU.png</source>
        <translation>:/Logo/ImageDevEN.png</translation>
    </message>
    <message>
        <source>:/Logo/ImageDevRU_w.png</source>
        <translation>:/Logo/ImageDevEN_w.png</translation>
    </message>
</context>
<context>
    <name>SettingsHandlerAndCollector</name>
    <message>
        <source>Нет</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Есть</source>
        <translation>Yes</translation>
    </message>
</context>
<context>
    <name>ConnectionPanel</name>
    <message>
        <source>:/Logo/LogoRU.png</source>
        <translation>:/Logo/LogoEN.png</translation>
    </message>
    <message>
        <source>:/Logo/LogoRU_w.png</source>
        <translation>:/Logo/LogoEN_w.png</translation>
    </message>
    <message>
        <source>Авторизация</source>
        <translation>Authorization</translation>
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
        <source>Модель:</source>
        <translation>Model:</translation>
    </message>
    <message>
        <source>ТК-1</source>
        <translation>TK-1</translation>
    </message>
    <message>
        <source>ТК-3</source>
        <translation>TK-3</translation>
    </message>
    <message>
        <source>ТК-3Max</source>
        <translation>TK-3Max</translation>
    </message>
    <message>
        <source>Подключиться</source>
        <translation>Connect</translation>
    </message>
    <message>
        <source>Отключиться</source>
        <translation>Disconnect</translation>
    </message>
</context>
<context>
    <name>PresetActions</name>
    <message>
        <source>Экспорт настроек</source>
        <translation>Export settings</translation>
    </message>
    <message>
        <source>Импорт настроек</source>
        <translation>Import settings</translation>
    </message>
    <message>
        <source>Невозможно сохранить пустые настройки</source>
        <translation>Cannot save empty settings</translation>
    </message>
    <message>
        <source>Настройки сохранены!</source>
        <translation>The settings have been saved!</translation>
    </message>
    <message>
        <source>Ошибка открытия файла</source>
        <translation>File opening error</translation>
    </message>
    <message>
        <source>Не удалось открыть файл</source>
        <translation>Failed to open file</translation>
    </message>
    <message>
        <source>Ошибка чтения файла</source>
        <translation>File read error</translation>
    </message>
    <message>
        <source>Файл пустой</source>
        <translation>The file is empty</translation>
    </message>
    <message>
        <source>Удержать настройки</source>
        <translation>Hold settings</translation>
    </message>
    <message>
        <source>Не удалось записать файл %1: %2.
Файл не изменён.</source>
        <translation>Could not write the file %1: %2.
The file has not been changed.</translation>
    </message>
    <message>
        <source>Файл %1 не является файлом настроек базовой станции.</source>
        <translation>The file %1 is not a base station settings file.</translation>
    </message>
    <message>
        <source>Ошибка</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Настройки</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Ошибка записи файла</source>
        <translation>File write error</translation>
    </message>
</context>
<context>
    <name>ApplyReport</name>
    <message>
        <source>Ошибка</source>
        <translation>Error</translation>
    </message>
</context>
</TS>
