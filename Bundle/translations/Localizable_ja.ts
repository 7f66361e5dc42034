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
    <message>
        <source>Job Authentication Type User Mode</source>
        <translation>共有設定</translation>
    </message>
    <message>
        <source>Job Authentication Type Administration Mode</source>
        <translation>個人設定</translation>
    </message>
    <message>
        <source>JBA Account Mode</source>
        <translation>アカウントモード</translation>
    </message>
    <message>
        <source>JBA Account Mode Text</source>
        <translation>アカウントモード:</translation>
    </message>
    <message>
        <source>Detailed User Settings Btn</source>
        <translation>設定...</translation>
    </message>
    <message>
        <source>JBA Wnd HELP Btn</source>
        <translation>ヘルプ</translation>
    </message>
    <message>
        <source>User Window Title String</source>
        <translation>個人のアカウント設定</translation>
    </message>
    <message>
        <source>JBA Shared Settings Refused</source>
        <translation>共有のアカウント設定を変更できるのは管理者だけです。設定は保存されませんでした。</translation>
    </message>
    <message>
        <source>Admin Window Title String</source>
        <translation>共有のアカウント設定</translation>
    </message>
    <message>
        <source>Input Window Title String</source>
        <translation>ジョブのユーザー認証</translation>
    </message>
    <message>
        <source>JBA Info OK Btn</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>JBA Info CANCEL Btn</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>JBA Info RESTORE Btn</source>
        <translation>標準に戻す</translation>
    </message>
    <message>
        <source>JBA Info HELP Btn</source>
        <translation>ヘルプ</translation>
    </message>
    <message>
        <source>JBA Common User Info Type</source>
        <translation>すべてのジョブにこの情報を使う</translation>
    </message>
    <message>
        <source>JBA Job User Type</source>
        <translation>印刷時にユーザー ID とパスワードを入力する</translation>
    </message>
    <message>
        <source>Detailed User Settings</source>
        <translation>ユーザー設定</translation>
    </message>
    <message>
        <source>JBA Specify Name text</source>
        <translation>ユーザー名</translation>
    </message>
    <message>
        <source>JBA Specify Name</source>
        <translation>ユーザー名</translation>
    </message>
    <message>
        <source>JBA Login Name</source>
        <translation>ログイン名</translation>
    </message>
    <message>
        <source>JBA Input Name</source>
        <translation>ユーザー ID を入力</translation>
    </message>
    <message>
        <source>User ID text</source>
        <translation>ユーザー ID</translation>
    </message>
    <message>
        <source>User ID Password text</source>
        <translation>パスワード</translation>
    </message>
    <message>
        <source>JBA Input OK Btn</source>
        <translation>印刷</translation>
    </message>
    <message>
        <source>JBA Input CANCEL Btn</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>JBA Input HELP Btn</source>
        <translation>ヘルプ</translation>
    </message>
    <message>
        <source>JBA Auth Radio</source>
        <translation>このジョブの認証情報:</translation>
    </message>
    <message>
        <source>Warning32</source>
        <translation>ユーザー ID は半角の英数字・記号 1～32 文字で入力してください。空白だけの ID は使えません。</translation>
    </message>
    <message>
        <source>Warning33</source>
        <translation>パスワードは空欄にするか、半角の英数字・記号 4～12 文字で入力してください。</translation>
    </message>
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
