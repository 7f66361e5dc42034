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
    <message>
        <source>Print Type List</source>
        <translation>Print type:</translation>
    </message>
    <message>
        <source>Retrieve Document Name List</source>
        <translation>Document name:</translation>
    </message>
    <message>
        <source>PDE Menu Summary</source>
        <translation>Print Type</translation>
    </message>
    <message>
        <source>Job Type None</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>Job Type Secure</source>
        <translation>Secure</translation>
    </message>
    <message>
        <source>Job Type Sample</source>
        <translation>Sample</translation>
    </message>
    <message>
        <source>User ID</source>
        <translation>User Name</translation>
    </message>
    <message>
        <source>Retrieve Document Name</source>
        <translation>Document Name Type</translation>
    </message>
    <message>
        <source>Document Name Type Auto</source>
        <translation>Automatic</translation>
    </message>
    <message>
        <source>Document Name Type Enter Name</source>
        <translation>Enter a name</translation>
    </message>
    <message>
        <source>Document Name</source>
        <translation>Document Name</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Passcode (0 to 12 digits)</translation>
    </message>
    <message>
        <source>Restore Button Title</source>
        <translation>Restore Defaults</translation>
    </message>
    <message>
        <source>Print Type Group Control Title</source>
        <translation>Print Type</translation>
    </message>
    <message>
        <source>Print Type User Name Text</source>
        <translation>User name:</translation>
    </message>
    <message>
        <source>Password Text</source>
        <translation>Passcode (0 to 12 digits):</translation>
    </message>
    <message>
        <source>Document Name Text</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>Help Button Title</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Message41</source>
        <translation>The document name can have up to 12 letters, digits and symbols (Latin-1 characters).</translation>
    </message>
    <message>
        <source>Message42</source>
        <translation>Enter a user name.</translation>
    </message>
    <message>
        <source>Message43</source>
        <translation>The user name must have 1 to 8 letters, digits or symbols (Latin-1 characters), and not only spaces.</translation>
    </message>
    <message>
        <source>Message60</source>
        <translation>Enter a passcode of [n]to 12 digits.</translation>
    </message>
    <message>
        <source>Message61</source>
        <translation>The passcode is shorter than this printer requires. Press OK to print the job as a normal job, or Cancel to correct the passcode.</translation>
    </message>
    <message>
        <source>PT Message OK Btn</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>PT Message CANCEL Btn</source>
        <translation>Cancel</translation>
    </message>
</context>
</TS>
