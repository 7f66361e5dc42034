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
    <message>
        <source>Print Type List</source>
        <translation>印刷タイプ:</translation>
    </message>
    <message>
        <source>Retrieve Document Name List</source>
        <translation>文書名:</translation>
    </message>
    <message>
        <source>PDE Menu Summary</source>
        <translation>印刷タイプ</translation>
    </message>
    <message>
        <source>Job Type None</source>
        <translation>通常印刷</translation>
    </message>
    <message>
        <source>Job Type Secure</source>
        <translation>機密印刷</translation>
    </message>
    <message>
        <source>Job Type Sample</source>
        <translation>試し印刷</translation>
    </message>
    <message>
        <source>User ID</source>
        <translation>ユーザー名</translation>
    </message>
    <message>
        <source>Retrieve Document Name</source>
        <translation>文書名の指定</translation>
    </message>
    <message>
        <source>Document Name Type Auto</source>
        <translation>自動</translation>
    </message>
    <message>
        <source>Document Name Type Enter Name</source>
        <translation>名前を入力</translation>
    </message>
    <message>
        <source>Document Name</source>
        <translation>文書名</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>パスコード（0 to 12 桁）</translation>
    </message>
    <message>
        <source>Restore Button Title</source>
        <translation>初期設定に戻す</translation>
    </message>
    <message>
        <source>Print Type Group Control Title</source>
        <translation>印刷タイプ</translation>
    </message>
    <message>
        <source>Print Type User Name Text</source>
        <translation>ユーザー名:</translation>
    </message>
    <message>
        <source>Password Text</source>
        <translation>パスコード（0 to 12 桁）:</translation>
    </message>
    <message>
        <source>Document Name Text</source>
        <translation>名前:</translation>
    </message>
    <message>
        <source>Help Button Title</source>
        <translation>ヘルプ</translation>
    </message>
    <message>
        <source>Message41</source>
        <translation>文書名は半角の英数字・記号で12文字以内で入力してください。</translation>
    </message>
    <message>
        <source>Message42</source>
        <translation>ユーザー名を入力してください。</translation>
    </message>
    <message>
        <source>Message43</source>
        <translation>ユーザー名は半角の英数字・記号で1～8文字で入力してください（空白だけの名前は使えません）。</translation>
    </message>
    <message>
        <source>Message60</source>
        <translation>パスコードは[n]～12桁の数字で入力してください。</translation>
    </message>
    <message>
        <source>Message61</source>
        <translation>パスコードがこのプリンターで必要な桁数より短くなっています。OKを押すと通常印刷として印刷します。キャンセルを押すとパスコードを入力し直せます。</translation>
    </message>
    <message>
        <source>PT Message OK Btn</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>PT Message CANCEL Btn</source>
        <translation>キャンセル</translation>
    </message>
</context>
</TS>
