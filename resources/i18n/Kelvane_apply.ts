<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
<context>
    <name>ApplyReport</name>
    <message>
        <source>Настройки</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Настройки применены!</source>
        <translation>Settings applied!</translation>
    </message>
    <message>
        <source>Изменённых полей не было: базовая станция хранит то, что показывают страницы.</source>
        <translation>No field was changed: the gateway holds what the pages show.</translation>
    </message>
    <message numerus="yes">
        <source>Базовая станция подтвердила изменённые поля: %n.</source>
        <translation>
            <numerusform>The gateway confirmed %n changed field.</numerusform>
            <numerusform>The gateway confirmed %n changed fields.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Базовая станция хранит не то, что отправлено, в полях: %n.</source>
        <translation>
            <numerusform>The gateway holds something other than what was sent in %n field.</numerusform>
            <numerusform>The gateway holds something other than what was sent in %n fields.</numerusform>
        </translation>
    </message>
    <message>
        <source>%1: отправлено %2, на базовой станции %3</source>
        <translation>%1: sent %2, the gateway holds %3</translation>
    </message>
    <message numerus="yes">
        <source>и ещё %n</source>
        <translation>
            <numerusform>and %n more field</numerusform>
            <numerusform>and %n more fields</numerusform>
        </translation>
    </message>
    <message>
        <source>«Применить настройки» отправит эти поля ещё раз.</source>
        <translation>"Apply settings" sends these fields again.</translation>
    </message>
    <message>
        <source>Настройки применены, но не проверены.</source>
        <translation>Settings applied, but not verified.</translation>
    </message>
    <message>
        <source>Прочитать их обратно не удалось: %1
Запросите настройки, чтобы увидеть, что хранит базовая станция.</source>
        <translation>They could not be read back: %1
Request the settings to see what the gateway holds.</translation>
    </message>
    <message>
        <source>Базовая станция не прислала настройки за %1 с. Запросите их ещё раз.</source>
        <translation>The gateway sent no settings within %1 s. Request them again.</translation>
    </message>
    <message>
        <source>Базовая станция не ответила на применение настроек за %1 с. Применены ли они, неизвестно: запросите настройки, чтобы проверить.</source>
        <translation>The gateway did not answer the apply within %1 s. Whether the settings were applied is unknown: request the settings to check.</translation>
    </message>
    <message>
        <source>базовая станция не ответила за %1 с.</source>
        <translation>the gateway did not answer within %1 s.</translation>
    </message>
</context>
<context>
    <name>BasicWindow</name>
    <message>
        <source>Настройки применены!</source>
        <translation>Settings applied!</translation>
    </message>
    <message>
        <source>Связь прервалась во время применения настроек. Применены ли они, неизвестно: после переподключения запросите настройки, чтобы проверить.</source>
        <translation>The connection broke off while the settings were being applied. Whether they were applied is unknown: once reconnected, request the settings to check.</translation>
    </message>
</context>
<context>
    <name>PendingChangesButton</name>
    <message numerus="yes">
        <source>Изменений: %n</source>
        <translation>
            <numerusform>%n change</numerusform>
            <numerusform>%n changes</numerusform>
        </translation>
    </message>
    <message>
        <source>Изменения, которые ещё не применены</source>
        <translation>Changes not applied yet</translation>
    </message>
    <message>
        <source>Страницы показывают то же, что хранит базовая станция.</source>
        <translation>The pages show what the gateway holds.</translation>
    </message>
</context>
<context>
    <name>SPortConnector</name>
    <message>
        <source>Ответ базовой станции с настройками пришёл повреждённым. Запросите настройки ещё раз.</source>
        <translation>The gateway's settings reply arrived damaged. Request the settings again.</translation>
    </message>
</context>
<context>
    <name>PresetActions</name>
    <message>
        <source>Пресет сделан для другой модели: у %1 нет групп
%2
Они не загружены, остальное загружено.</source>
        <translation>The preset was made for another model: %1 has no groups
%2
They were not loaded; everything else was.</translation>
    </message>
</context>
</TS>
