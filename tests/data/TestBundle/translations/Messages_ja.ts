<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>Messages</name>
    <message>
        <source>Test Pane A</source>
        <translation>メッセージ表のA</translation>
    </message>
</context>
</TS>
