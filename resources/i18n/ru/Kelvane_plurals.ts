<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU" sourcelanguage="ru_RU">
<context>
    <name>ApplyReport</name>
    <message numerus="yes">
        <source>Базовая станция подтвердила изменённые поля: %n.</source>
        <translation>
            <numerusform>Базовая станция подтвердила %n изменённое поле.</numerusform>
            <numerusform>Базовая станция подтвердила %n изменённых поля.</numerusform>
            <numerusform>Базовая станция подтвердила %n изменённых полей.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Базовая станция хранит не то, что отправлено, в полях: %n.</source>
        <translation>
            <numerusform>Базовая станция хранит не то, что отправлено, в %n поле.</numerusform>
            <numerusform>Базовая станция хранит не то, что отправлено, в %n полях.</numerusform>
            <numerusform>Базовая станция хранит не то, что отправлено, в %n полях.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>и ещё %n</source>
        <translation>
            <numerusform>и ещё %n поле</numerusform>
            <numerusform>и ещё %n поля</numerusform>
            <numerusform>и ещё %n полей</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CommissioningReport</name>
    <message numerus="yes">
        <source>Подтверждено базовой станцией полей: %n.</source>
        <translation>
            <numerusform>Базовая станция подтвердила %n поле.</numerusform>
            <numerusform>Базовая станция подтвердила %n поля.</numerusform>
            <numerusform>Базовая станция подтвердила %n полей.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>PendingChangesButton</name>
    <message numerus="yes">
        <source>Изменений: %n</source>
        <translation>
            <numerusform>%n изменение</numerusform>
            <numerusform>%n изменения</numerusform>
            <numerusform>%n изменений</numerusform>
        </translation>
    </message>
</context>
</TS>
