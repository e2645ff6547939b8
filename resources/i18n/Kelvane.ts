<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
<context>
    <name>BasicWindow</name>
    <message>
        <source>:/Logo/LogoRU.png</source>
        <translation>:/Logo/LogoEN.png</translation>
    </message>
    <message>
        <source>:/Logo/LogoRU_w.png</source>
        <translation>:/Logo/LogoEN_w.png</translation>
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
</TS>
