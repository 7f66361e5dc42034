<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
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
</TS>
