<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<!-- Shared: pane titles and the help book -->
<context>
    <name>Localizable</name>
    <message>
        <source>Job Authentication Title</source>
        <translation>Job Accounting</translation>
    </message>
    <message>
        <source>PDE Title</source>
        <translation>Print Type</translation>
    </message>
    <message>
        <source>Help Viewer Title for Job Accounting</source>
        <translation>Veltra Printer Help</translation>
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
