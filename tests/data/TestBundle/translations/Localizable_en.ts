<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Localizable</name>
    <message>
        <source>Greeting</source>
        <translation>Hello from the development language</translation>
    </message>
</context>
</TS>
