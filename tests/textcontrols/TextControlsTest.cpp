// Text fields and labels: what they read, show, commit, write and refuse, and their rebinding.
#include "TextFieldsFixture.h"

#include <PrintCore/PrintHost.h>

using namespace textfields;
using P = TextFieldsPanel;
using TextControlsTest = TextFieldsTest;

namespace {

std::string TicketText(CTextEditControl *field)
{
    unsigned char out[256] = {};
    return field->ConvertToTickectData(out) ? reinterpret_cast<const char *>(out) : "<failed>";
}

} // namespace

TEST_F(TextControlsTest, ReadingKeepsFiftyUnitsAndMeasuresTheWholeWidgetText)
{
    const std::tuple<const char *, CTextEditControl * P::*, QString, std::string, UInt32> rows[] = {
        {"sixty letters keep fifty", &P::name, QString(60, u'x'), std::string(50, 'x'), 60},
        {"a pair cut in half loses its first half", &P::name, QString(49, u'a') + "😀",
         std::string(49, 'a'), 53},
        {"a password field reads through its own tag", &P::passcode, "0042", "0042", 4},
        {"an empty field empties uiData", &P::name, "", "", 0},
    };
    for (const auto &[name, member, shown, uiText, dataSize] : rows) {
        SCOPED_TRACE(name);
        CTextEditControl *field = panel.get()->*member;
        WidgetOf(field)->setText("previous value"); // something old the read must replace
        field->GetValueFromUI();
        WidgetOf(field)->setText(shown);
        EXPECT_EQ(TextOf(field->GetValueFromUI()), uiText);
        EXPECT_EQ(field->GetDataBlkSize(), dataSize);
    }
}

// Showing the committed text sets the display length; a damaged text shows its readable part.
TEST_F(TextControlsTest, ShowingTheCommittedTextSetsTheDisplayLength)
{
    const QString e127 = QString("é").repeated(127);
    const std::tuple<const char *, CTextEditControl * P::*, std::string, bool, QString, UInt32>
        rows[] = {
            {"plain text", &P::name, "héllo", true, "héllo", 5},
            {"password field", &P::passcode, "1234", true, "1234", 4},
            {"invalid UTF-8 shows its readable part", &P::name, "ab\xFF\x63", false, "ab", 0},
            // 150 two-byte letters: byte 255 falls inside the 128th.
            {"a preference cut inside a character", &P::name,
             QString("é").repeated(150).toStdString(), false, e127, 0},
        };
    for (const auto &[name, member, committed, shown, widget, dataSize] : rows) {
        SCOPED_TRACE(name);
        CTextEditControl *field = panel.get()->*member;
        WidgetOf(field)->setText("stale");
        std::string text = committed;
        ASSERT_TRUE(field->ConvertFromPreferenceString(text.data()));
        EXPECT_EQ(field->SetControlValueToUI(), shown);
        EXPECT_EQ(WidgetOf(field)->text(), widget);
        EXPECT_EQ(field->GetDataBlkSize(), dataSize);
    }
}

// What the user types reaches the ticket plain, or scrambled (by its display length) when the
// field is on the encode list; a shorter text leaves nothing of a longer one behind.
TEST_F(TextControlsTest, TypedTextReachesTheTicketPlainOrScrambled)
{
    const std::tuple<QString, std::string, std::string> rows[] = {
        {"hello", "hello", "GQcYAh4="},
        {"Jörg", "J\xC3\xB6rg", "O6HCHA=="},
        {"hi", "hi", "GQs="},
        {"", "", ""}};
    QLineEdit *edit = WidgetOf(panel->name);
    veltra::PrintSession session("Lobby", veltra::PPDFile());
    CFRef<CFMutableArrayRef> encodeList(CreateEncodeArray());
    AddControlToEncodeArray(nullptr, nameFieldID.signature, nameFieldID.id, encodeList);
    for (const auto &[typed, committed, scrambled] : rows) {
        SCOPED_TRACE(committed);
        edit->clear();
        for (QChar ch : typed)
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(ch), Qt::NoModifier);
        ASSERT_EQ(edit->text(), typed);
        panel->name->GetValueFromUI();
        panel->name->SetValueFromUIToControl();
        EXPECT_EQ(TicketText(panel->name), committed);
        ASSERT_TRUE(panel->name->SetValueToTicket(session.ticket().ref(), false, nullptr));
        EXPECT_EQ(TicketValue(session, "com.veltra.kzu.printsettings.NameKey"), committed);
        ASSERT_TRUE(panel->name->SetValueToTicket(session.ticket().ref(), false, encodeList));
        EXPECT_EQ(TicketValue(session, "com.veltra.kzu.printsettings.NameKey"), scrambled);
    }
}

TEST_F(TextControlsTest, StoredTextKeepsTheFirst255BytesAndIsReplacedOnlyByTheDefault)
{
    std::string stored(300, 'p');
    stored[254] = 'L';
    ASSERT_TRUE(panel->name->ConvertFromPreferenceString(stored.data()));
    // The length is the stored text's, so the field's checks see it as too long.
    EXPECT_EQ(panel->name->GetDataBlkSize(), 300u);
    EXPECT_EQ(TicketText(panel->name), stored.substr(0, 255));
    char preference[255];
    memset(preference, 'Z', sizeof preference);
    ASSERT_TRUE(panel->name->ConvertToPreferenceString(preference)); // 254 bytes and the NUL
    EXPECT_EQ(std::string(preference, strnlen(preference, 255)), stored.substr(0, 254));

    for (CTextEditControl *field : {panel->account, panel->plain}) {
        const std::string value = field == panel->plain ? "guest" : "";
        char old[] = "old value that is longer";
        ASSERT_TRUE(field->ConvertFromPreferenceString(old));
        EXPECT_TRUE(field->SetControlValueToDefault());
        EXPECT_EQ(TicketText(field), value);
    }
    // The panel's default pass shows the default without committing it.
    char old[] = "kept";
    ASSERT_TRUE(panel->plain->ConvertFromPreferenceString(old));
    EXPECT_TRUE(panel->plain->SetDefaultValueToUI());
    EXPECT_EQ(WidgetOf(panel->plain)->text(), "guest");
    // So do an external value and the correction, which empties widget and uiData.
    char shown[] = "shown only";
    EXPECT_TRUE(panel->plain->SetExternalValueToUI(shown, 0));
    EXPECT_FALSE(panel->plain->SetExternalValueToUI(nullptr, 0));
    EXPECT_EQ(TextOf(panel->plain->GetValueFromUI()), "shown only");
    EXPECT_TRUE(panel->plain->CorrectCtrlUI());
    EXPECT_EQ(WidgetOf(panel->plain)->text(), "");
    EXPECT_EQ(TextOf(panel->plain->GetUIDataBlk()), "");
    EXPECT_EQ(panel->plain->GetDataBlkSize(), 0u);
    EXPECT_EQ(TicketText(panel->plain), "kept");
}

TEST_F(TextControlsTest, FieldWithoutWidgetBlocksOrRecordsChangesNothing)
{
    EXPECT_FALSE(panel->name->ConvertFromPreferenceString(nullptr));
    EXPECT_FALSE(panel->name->ConvertToPreferenceString(nullptr));
    EXPECT_FALSE(panel->name->ConvertToTickectData(nullptr));

    CTextEditControl orphan(&missingFieldID, &plainIni, nullptr, &plainFilter, &plainAccess);
    EXPECT_FALSE(orphan.InitializeCtrl(window, nullptr, bundle, nullptr));
    char text[] = "abc";
    EXPECT_FALSE(orphan.ConvertFromPreferenceString(text));
    EXPECT_TRUE(orphan.SetControlValueToDefault());
    EXPECT_FALSE(orphan.SetControlValueToUI());
    EXPECT_FALSE(orphan.SetExternalValueToUI(text, 3));
    EXPECT_EQ(orphan.GetValueFromUI(), nullptr);
    EXPECT_TRUE(orphan.CorrectCtrlUI());

    // Bound to its widget by the bare lookup, before its blocks exist: nothing to show.
    CTextEditControl unfilled(&nameFieldID, &nameIni, nullptr, &nameFilter, &nameAccess);
    ASSERT_TRUE(unfilled.InitializeCtrl(window));
    WidgetOf(&unfilled)->setText("visible");
    EXPECT_FALSE(unfilled.SetControlValueToUI());
    // Without access record: the widget is found but no text is shown or read.
    CTextEditControl noAccess(&nameFieldID, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(noAccess.InitializeCtrl(window, nullptr, bundle, nullptr));
    EXPECT_FALSE(noAccess.SetControlValueToUI());
    EXPECT_EQ(WidgetOf(&noAccess)->text(), "visible");
    EXPECT_EQ(TextOf(noAccess.GetValueFromUI()), "");
    EXPECT_TRUE(noAccess.InvalidateData()); // without initial data there is nothing to check
}

TEST_F(TextControlsTest, RebuiltWindowRebindsFieldsAndKeepsTheirValues)
{
    char committed[] = "Sato";
    ASSERT_TRUE(panel->account->ConvertFromPreferenceString(committed));
    QLineEdit *oldEdit = WidgetOf(panel->account);
    WindowRef rebuilt = LoadFieldsWindow();
    panel->ReInitializeUserPaneControl(rebuilt);
    QLineEdit *newEdit = WidgetOf(panel->account);
    ASSERT_NE(newEdit, oldEdit);
    EXPECT_TRUE(panel->account->SetControlValueToUI());
    EXPECT_EQ(newEdit->text(), "Sato");
    // The key filter came along: the new field refuses a key beyond its set.
    QTest::sendKeyEvent(QTest::Click, newEdit, Qt::Key_Eacute, "é", Qt::NoModifier);
    EXPECT_EQ(newEdit->text(), "Sato");
    EXPECT_EQ(WidgetOf<QLabel>(panel->title)->text(), kTranslatedKeyEnglish);
    DisposeWindow(window);
    window = rebuilt;
}

// A committed text out of range or with a refused character shows the field's own message and
// gets the keyboard focus back; an acceptable one, or a field without message key, shows nothing
// and leaves the focus alone.
TEST_F(TextControlsTest, RefusedTextShowsItsMessageAndTakesTheFocusBack)
{
    const std::tuple<const char *, CTextEditControl * P::*, QString, QString> rows[] = {
        {"33 characters, maximum 32", &P::name, QString(33, u'x'), kTranslatedKeyEnglish},
        {"two kana and five make 9 bytes", &P::account, "abcdeｱｲ", "Test Account Message"},
        {"shorter than the minimum of four", &P::plain, "abc", "Test Plain Message"},
        {"a letter in the passcode", &P::passcode, "12a4", "Test Passcode Message"},
        {"an empty field passes although its minimum is 1", &P::account, "", ""},
        {"exactly the maximum", &P::name, QString(32, u'n'), ""},
        {"exactly the minimum", &P::plain, "abcd", ""},
        {"a field without message key refuses silently", &P::digits, "123456789", "<silent>"},
    };
    for (const auto &[name, member, text, message] : rows) {
        SCOPED_TRACE(name);
        CTextEditControl *field = panel.get()->*member;
        WidgetOf(field)->setText(text);
        // The user is elsewhere when the check runs.
        ControlRef elsewhere = panel->digits->GetControlRef(), focus = nullptr;
        ASSERT_EQ(SetKeyboardFocus(window, elsewhere, kControlEditTextPart), noErr);
        const bool alert = !message.isEmpty() && message != "<silent>";
        QString shown = "<no alert>";
        {
            ModalScript script; // any window not scripted is a failure
            if (alert)
                script.when("About", ModalScript::readAlert(&shown));
            EXPECT_EQ(field->InvalidateData(), message.isEmpty());
        }
        EXPECT_EQ(shown, alert ? message : "<no alert>");
        GetKeyboardFocus(window, &focus);
        EXPECT_EQ(focus, alert ? field->GetControlRef() : elsewhere);
    }
}

TEST_F(TextControlsTest, LabelsAndAlertsTakeTheBundleStringsAndLabelsReadBackAsUTF8)
{
    EXPECT_EQ(WidgetOf<QLabel>(panel->title)->text(), kTranslatedKeyEnglish);
    EXPECT_TRUE(panel->title->InitializeTitle(nullptr)); // without bundle the title stays
    EXPECT_EQ(WidgetOf<QLabel>(panel->title)->text(), kTranslatedKeyEnglish);
    // The label without a key finds its widget but has no title to show.
    EXPECT_FALSE(panel->emptyLabel->InitializeCtrl(window, nullptr, bundle, nullptr));
    EXPECT_EQ(WidgetOf<QLabel>(panel->emptyLabel)->text(), "");
    EXPECT_FALSE(panel->emptyLabel->ReInitializeCtrl(nullptr)); // nor anything without a window
    EXPECT_EQ(panel->emptyLabel->GetValueFromUI(), nullptr);    // nothing read yet

    for (const char *shown : {"印刷タイプ", "ver. 1.0 \U0001F5A8"}) {
        WidgetOf<QLabel>(panel->title)->setText(QString::fromUtf8(shown));
        EXPECT_EQ(TextOf(panel->title->GetValueFromUI()), shown);
    }
    WidgetOf<QLabel>(panel->title)->setText(""); // an empty label leaves uiData as it was
    EXPECT_EQ(TextOf(panel->title->GetValueFromUI()), "ver. 1.0 \U0001F5A8");
    // Rebinding, and the alert of a refused text, take the language of the moment.
    VeltraBundleSetLanguage("ja");
    EXPECT_TRUE(panel->title->ReInitializeCtrl(window));
    EXPECT_EQ(WidgetOf<QLabel>(panel->title)->text(), "印刷タイプ");
    WidgetOf(panel->name)->setText(QString(60, u'y'));
    QString shown;
    ModalScript script;
    script.when("About", ModalScript::readAlert(&shown));
    EXPECT_FALSE(panel->name->InvalidateData());
    EXPECT_EQ(shown, "印刷タイプ");
}
