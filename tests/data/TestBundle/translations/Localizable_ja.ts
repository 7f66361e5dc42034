<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>Localizable</name>
    <message>
        <source>Test Pane A</source>
        <translation>テストA</translation>
    </message>
    <message>
        <source>Test Help Book</source>
        <translation>テストヘルプ</translation>
    </message>
    <message>
        <source>Untranslated</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
