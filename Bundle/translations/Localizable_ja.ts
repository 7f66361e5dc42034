<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja">
<!-- Shared: pane titles and the help book -->
<context>
    <name>Localizable</name>
    <message>
        <source>Job Authentication Title</source>
        <translation>部門管理</translation>
    </message>
    <message>
        <source>PDE Title</source>
        <translation>印刷タイプ</translation>
    </message>
    <message>
        <source>Help Viewer Title for Job Accounting</source>
        <translation>Veltra プリンタ ヘルプ</translation>
    </message>
</context>
<!-- Job accounting pane -->
<context>
    <name>Localizable</name>
</context>
<!-- Print type pane -->
<context>
    <name>Localizable</name>
</context>
</TS>
