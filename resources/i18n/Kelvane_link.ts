<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
<context>
    <name>SPortConnector</name>
    <message>
        <source>Не удалось открыть порт: %1.
По причине: %2</source>
        <translation>Failed to open port: %1.
Reason: %2</translation>
    </message>
    <message>
        <source>Не удалось авторизоваться</source>
        <translation>Failed to authenticate</translation>
    </message>
    <message>
        <source>Не верные данные для авторизации.
Проверьте пароль и логин и попробуйте снова</source>
        <translation>Incorrect login information.
Check your password and login and try again</translation>
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
        <source>Ошибка подключения к порту: </source>
        <translation>Port connection error: </translation>
    </message>
    <message>
        <source>Не удалось подключится к базовой станции.
Возможно выбранный COM порт недоступен.</source>
        <translation>Failed to connect to the base station.
The selected COM port may not be available.</translation>
    </message>
    <message>
        <source>Настройки</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Передача файла завершена</source>
        <translation>Transfer of the file is complete</translation>
    </message>
    <message>
        <source>Настройки LoRa успешно сброшены!</source>
        <translation>LoRa settings successfully reset!</translation>
    </message>
    <message>
        <source>Настройки применены!</source>
        <translation>Settings applied!</translation>
    </message>
    <message>
        <source>Настройки базовой станции успешно сброшены!</source>
        <translation>Base station settings successfully reset!</translation>
    </message>
    <message>
        <source>Сервис OpenVPN активирован.</source>
        <translation>Service OpenVPN is enabled</translation>
    </message>
    <message>
        <source>Сервис OpenVPN запущен.</source>
        <translation>Service OpenVPN is running</translation>
    </message>
    <message>
        <source>Локальный LoRaWAN сервер не запущен, поскольку отсутсвует SD накопитель</source>
        <translation>The local LoRaWAN server is not running because the SD drive is missing</translation>
    </message>
    <message>
        <source>Служба lora_pkt_fwd не запущена.</source>
        <translation>The lora_pkt_fwd service is not running.</translation>
    </message>
    <message>
        <source>Не удалось открыть файл .ovpn для записи.</source>
        <translation>Failed to open the .ovpn file for writing.</translation>
    </message>
    <message>
        <source>Не удалось получить некоторые настройки.
Код ошибки: %1</source>
        <translation>Failed to retrieve some settings.
Error code: %1</translation>
    </message>
    <message>
        <source>Не удалось установить некоторые настройки.
Код ошибки: %1</source>
        <translation>Some settings could not be set.
Error code: %1</translation>
    </message>
    <message>
        <source>Не удалось активировать сервис OpenVPN.</source>
        <translation>Failed to enabled the OpenVPN service.</translation>
    </message>
    <message>
        <source>Не удалось запустить сервис OpenVPN.</source>
        <translation>Failed to running the OpenVPN service.</translation>
    </message>
    <message>
        <source>Сервис OpenVPN уже активирован.</source>
        <translation>The OpenVPN service is already enabled.</translation>
    </message>
    <message>
        <source>Сервис OpenVPN уже запущен.</source>
        <translation>The OpenVPN service is already running.</translation>
    </message>
    <message>
        <source>В приложении возникла ошибка. Код ошибки: %1</source>
        <translation>An error occurred in the application. Error code: %1</translation>
    </message>
</context>
<context>
    <name>PortErrorHint</name>
    <message>
        <source>Нет доступа к порту: добавьте пользователя в группу dialout (sudo usermod -aG dialout $USER) и войдите в систему заново.</source>
        <translation>No access to the port: add your user to the dialout group (sudo usermod -aG dialout $USER) and log in again.</translation>
    </message>
</context>
</TS>
