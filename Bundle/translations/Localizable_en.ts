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
    <message>
        <source>Job Authentication Type User Mode</source>
        <translation>Shared settings</translation>
    </message>
    <message>
        <source>Job Authentication Type Administration Mode</source>
        <translation>Personal settings</translation>
    </message>
    <message>
        <source>JBA Account Mode</source>
        <translation>Account Mode</translation>
    </message>
    <message>
        <source>JBA Account Mode Text</source>
        <translation>Account mode:</translation>
    </message>
    <message>
        <source>Detailed User Settings Btn</source>
        <translation>Settings...</translation>
    </message>
    <message>
        <source>JBA Wnd HELP Btn</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>User Window Title String</source>
        <translation>Personal Accounting Settings</translation>
    </message>
    <message>
        <source>JBA Shared Settings Refused</source>
        <translation>Only an administrator can change the shared accounting settings; they were not saved.</translation>
    </message>
    <message>
        <source>Admin Window Title String</source>
        <translation>Shared Accounting Settings</translation>
    </message>
    <message>
        <source>Input Window Title String</source>
        <translation>Identify This Job</translation>
    </message>
    <message>
        <source>JBA Info OK Btn</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>JBA Info CANCEL Btn</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>JBA Info RESTORE Btn</source>
        <translation>Restore Defaults</translation>
    </message>
    <message>
        <source>JBA Info HELP Btn</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>JBA Common User Info Type</source>
        <translation>Use these details for every job</translation>
    </message>
    <message>
        <source>JBA Job User Type</source>
        <translation>Ask for a user ID and password when printing</translation>
    </message>
    <message>
        <source>Detailed User Settings</source>
        <translation>User Settings</translation>
    </message>
    <message>
        <source>JBA Specify Name text</source>
        <translation>User name</translation>
    </message>
    <message>
        <source>JBA Specify Name</source>
        <translation>User Name</translation>
    </message>
    <message>
        <source>JBA Login Name</source>
        <translation>Login name</translation>
    </message>
    <message>
        <source>JBA Input Name</source>
        <translation>Enter a user ID</translation>
    </message>
    <message>
        <source>User ID text</source>
        <translation>User ID</translation>
    </message>
    <message>
        <source>User ID Password text</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>JBA Input OK Btn</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>JBA Input CANCEL Btn</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>JBA Input HELP Btn</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>JBA Auth Radio</source>
        <translation>Identify this job with:</translation>
    </message>
    <message>
        <source>Warning32</source>
        <translation>The user ID must have 1 to 32 letters, digits or symbols (ASCII characters), and not only spaces.</translation>
    </message>
    <message>
        <source>Warning33</source>
        <translation>The password must be empty or have 4 to 12 letters, digits or symbols (ASCII characters).</translation>
    </message>
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
