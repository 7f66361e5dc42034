// Text fields: reading the widget (widget length versus the 50-unit cut), showing, committing,
// defaults, the preference and ticket texts, and rebinding to a rebuilt window.
#include "TextFieldsFixture.h"

#include <PrintCore/PrintHost.h>

using namespace textfields;

namespace {

QString Repeated(const char *unit, int count)
{
    return QString::fromUtf8(unit).repeated(count);
}

std::string PreferenceText(CTextEditControl *field)
{
    char out[255];
    memset(out, 'Z', sizeof out);
    if (!field->ConvertToPreferenceString(out))
        return "<failed>";
    return std::string(out, strnlen(out, sizeof out));
}

std::string TicketText(CTextEditControl *field)
{
    unsigned char out[256] = {};
    if (!field->ConvertToTickectData(out))
        return "<failed>";
    return std::string(reinterpret_cast<const char *>(out));
}

} // namespace

class TextEditControlTest : public TextFieldsTest
{
};

TEST_F(TextEditControlTest, ReadingKeepsFiftyUnitsAndMeasuresTheWholeWidgetText)
{
    const struct
    {
        const char *name;
        CTextEditControl *TextFieldsPanel::*field;
        QString shown;
        std::string uiText;
        UInt32 dataSize;
    } cases[] = {
        {"three letters", &TextFieldsPanel::name, "abc", "abc", 3},
        {"two kanji count two each", &TextFieldsPanel::name, QString::fromUtf8("日本"), "日本", 4},
        {"latin-1 letters count one", &TextFieldsPanel::name, QString::fromUtf8("café"), "café", 4},
        {"sixty letters keep fifty", &TextFieldsPanel::name, QString(60, QChar(u'x')),
         std::string(50, 'x'), 60},
        {"sixty kanji keep fifty", &TextFieldsPanel::name, Repeated("語", 60),
         Repeated("語", 50).toStdString(), 120},
        {"a pair cut in half loses its first half", &TextFieldsPanel::name,
         QString(49, QChar(u'a')) + QString::fromUtf8("😀"), std::string(49, 'a'), 53},
        {"a password field reads through its own tag", &TextFieldsPanel::passcode, "0042", "0042",
         4},
        {"an empty field empties uiData", &TextFieldsPanel::name, "", "", 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        CTextEditControl *field = panel.get()->*c.field;
        // Something old in uiData that the read must replace.
        LineEditOf(field)->setText("previous value");
        field->GetValueFromUI();
        LineEditOf(field)->setText(c.shown);
        void *read = field->GetValueFromUI();
        EXPECT_EQ(read, field->GetUIDataBlk());
        EXPECT_EQ(TextOf(read), c.uiText);
        EXPECT_EQ(field->GetDataBlkSize(), c.dataSize);
    }
}

TEST_F(TextEditControlTest, ShowingTheCommittedTextSetsTheDisplayLength)
{
    const struct
    {
        const char *name;
        CTextEditControl *TextFieldsPanel::*field;
        std::string committed;
        bool shown;
        QString widget;
        UInt32 dataSize;
    } cases[] = {
        {"plain text", &TextFieldsPanel::name, "héllo", true, QString::fromUtf8("héllo"), 5},
        {"kanji count two", &TextFieldsPanel::name, "日本語", true, QString::fromUtf8("日本語"), 6},
        {"password field", &TextFieldsPanel::passcode, "1234", true, "1234", 4},
        {"empty text", &TextFieldsPanel::name, "", true, "", 0},
        {"invalid UTF-8 shows its readable part", &TextFieldsPanel::name, "ab\xFF\x63\x64", false,
         "ab", 0},
        {"a truncated character is not shown", &TextFieldsPanel::name, "ab\xE6\x97", false, "ab",
         0},
        // 150 two-byte letters: byte 255 falls inside the 128th.
        {"a preference cut inside a character shows the whole ones before it",
         &TextFieldsPanel::name, Repeated("é", 150).toStdString(), false, Repeated("é", 127), 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        CTextEditControl *field = panel.get()->*c.field;
        LineEditOf(field)->setText("stale");
        std::string text = c.committed;
        ASSERT_TRUE(field->ConvertFromPreferenceString(text.data()));
        EXPECT_EQ(field->SetControlValueToUI(), c.shown);
        EXPECT_EQ(LineEditOf(field)->text(), c.widget);
        EXPECT_EQ(field->GetDataBlkSize(), c.dataSize);
    }
}

// What the user types reaches the ticket plain, or scrambled (by its display length) when the
// field is on the encode list; a shorter text leaves nothing of a longer one behind.
TEST_F(TextEditControlTest, TypedTextReachesTicketAndPreferenceTexts)
{
    const struct
    {
        QString typed;
        bool pasted; // the name field's keys stop at Latin-1: kanji come from an input method
        std::string committed;
        std::string scrambled;
    } cases[] = {
        {"hello", false, "hello", "GQcYAh4="},
        {QString::fromUtf8("Jörg"), false, "J\xC3\xB6rg", "O6HCHA=="},
        {"hi", false, "hi", "GQs="},
        {QString::fromUtf8("日本"), true, "日本", "l/XRiA=="},
        {"", false, "", ""},
    };
    CTextEditControl *field = panel->name;
    QLineEdit *edit = LineEditOf(field);
    veltra::PrintSession session("Lobby", veltra::PPDFile());
    CFRef<CFMutableArrayRef> encodeList(CreateEncodeArray());
    CFRef<CFMutableArrayRef> otherList(CreateEncodeArray());
    AddControlToEncodeArray(nullptr, nameFieldID.signature, nameFieldID.id, encodeList);
    AddControlToEncodeArray(nullptr, nameFieldID.signature, nameFieldID.id + 1, otherList);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.committed);
        edit->clear();
        if (c.pasted)
            edit->insert(c.typed);
        for (QChar ch : c.pasted ? QString() : c.typed)
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(ch), Qt::NoModifier);
        ASSERT_EQ(edit->text(), c.typed);
        field->GetValueFromUI();
        field->SetValueFromUIToControl();
        EXPECT_EQ(TicketText(field), c.committed);
        EXPECT_EQ(PreferenceText(field), c.committed);

        ASSERT_TRUE(field->SetValueToTicket(session.ticket().ref(), false, otherList));
        EXPECT_EQ(*session.ticket().value("com.veltra.kzu.printsettings.NameKey"), c.committed);
        ASSERT_TRUE(field->SetValueToTicket(session.ticket().ref(), false, encodeList));
        EXPECT_EQ(*session.ticket().value("com.veltra.kzu.printsettings.NameKey"), c.scrambled);
    }
    EXPECT_EQ(field->GetDataBlkSize(), 0u);
}

TEST_F(TextEditControlTest, PreferenceStringKeepsTheFirst255Bytes)
{
    CTextEditControl *field = panel->name;
    std::string stored(300, 'p');
    stored[254] = 'L';
    stored[255] = 'X';
    ASSERT_TRUE(field->ConvertFromPreferenceString(stored.data()));

    const char *block = static_cast<const char *>(field->GetControlDataBlk());
    EXPECT_EQ(std::string(block, strnlen(block, 256)), stored.substr(0, 255));
    EXPECT_EQ(block[255], 0);
    // The length is the stored text's, so the field's checks see it as too long.
    EXPECT_EQ(field->GetDataBlkSize(), 300u);
    EXPECT_EQ(TicketText(field), stored.substr(0, 255));
    // The preference text goes into a 255-byte buffer with its NUL.
    EXPECT_EQ(PreferenceText(field), stored.substr(0, 254));
}

TEST_F(TextEditControlTest, DefaultTextReplacesTheCommittedValue)
{
    const struct
    {
        CTextEditControl *TextFieldsPanel::*field;
        std::string value;
    } cases[] = {{&TextFieldsPanel::account, ""}, {&TextFieldsPanel::plain, "guest"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.value);
        CTextEditControl *field = panel.get()->*c.field;
        char old[] = "old value that is longer";
        ASSERT_TRUE(field->ConvertFromPreferenceString(old));
        EXPECT_TRUE(field->SetControlValueToDefault());
        EXPECT_EQ(TicketText(field), c.value);
        EXPECT_EQ(field->GetDataBlkSize(), c.value.size());
        EXPECT_EQ(field->GetDefaultDataSize(), c.value.size());
        EXPECT_EQ(TextOf(field->GetDefaultDataBlk()), c.value);
    }

    // The panel's default pass shows the default without committing it.
    char old[] = "kept";
    ASSERT_TRUE(panel->plain->ConvertFromPreferenceString(old));
    EXPECT_TRUE(panel->plain->SetDefaultValueToUI());
    EXPECT_EQ(LineEditOf(panel->plain)->text(), "guest");
    EXPECT_EQ(TicketText(panel->plain), "kept");
}

TEST_F(TextEditControlTest, ExternalValueAndCorrectionLeaveTheCommittedValue)
{
    CTextEditControl *field = panel->name;
    LineEditOf(field)->setText("committed");
    field->GetValueFromUI();
    field->SetValueFromUIToControl();
    char shown[] = "shown only";
    EXPECT_TRUE(field->SetExternalValueToUI(shown, 0));
    EXPECT_EQ(LineEditOf(field)->text(), "shown only");
    EXPECT_FALSE(field->SetExternalValueToUI(nullptr, 0));
    EXPECT_EQ(LineEditOf(field)->text(), "shown only");

    EXPECT_TRUE(field->CorrectCtrlUI());
    EXPECT_EQ(LineEditOf(field)->text(), "");
    EXPECT_EQ(TextOf(field->GetUIDataBlk()), "");
    EXPECT_EQ(field->GetDataBlkSize(), 0u);
    EXPECT_EQ(TicketText(field), "committed");
}

TEST_F(TextEditControlTest, FieldWithoutWidgetRecordsOrBuffersChangesNothing)
{
    EXPECT_FALSE(panel->name->ConvertFromPreferenceString(nullptr));
    EXPECT_FALSE(panel->name->ConvertToPreferenceString(nullptr));
    EXPECT_FALSE(panel->name->ConvertToTickectData(nullptr));

    CTextEditControl orphan(&missingFieldID, &plainIni, nullptr, &plainFilter, &plainAccess);
    EXPECT_FALSE(orphan.InitializeCtrl(window, nullptr, bundle, nullptr));
    EXPECT_EQ(orphan.GetControlDataBlk(), nullptr);
    char text[] = "abc";
    EXPECT_FALSE(orphan.ConvertFromPreferenceString(text));
    EXPECT_TRUE(orphan.SetControlValueToDefault());
    EXPECT_FALSE(orphan.SetControlValueToUI());
    EXPECT_FALSE(orphan.SetExternalValueToUI(text, 3));
    EXPECT_EQ(orphan.GetValueFromUI(), nullptr);
    EXPECT_TRUE(orphan.CorrectCtrlUI());

    // A field without access record finds its widget but cannot show or read text.
    CTextEditControl noAccess(&nameFieldID, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(noAccess.InitializeCtrl(window, nullptr, bundle, nullptr));
    LineEditOf(&noAccess)->setText("visible");
    EXPECT_FALSE(noAccess.SetControlValueToUI());
    EXPECT_EQ(LineEditOf(&noAccess)->text(), "visible");
    EXPECT_EQ(TextOf(noAccess.GetValueFromUI()), "");
    EXPECT_EQ(noAccess.GetDefaultDataBlk(), nullptr);
    EXPECT_EQ(noAccess.GetDefaultDataSize(), 0u);
    // Without initial data there is nothing to check.
    EXPECT_TRUE(noAccess.InvalidateData());
}

TEST_F(TextEditControlTest, RebuiltWindowRebindsFieldsAndKeepsTheirValues)
{
    CTextEditControl *field = panel->account;
    char committed[] = "Sato";
    ASSERT_TRUE(field->ConvertFromPreferenceString(committed));
    QLineEdit *oldEdit = LineEditOf(field);

    WindowRef rebuilt = LoadFieldsWindow();
    ASSERT_NE(rebuilt, nullptr);
    panel->ReInitializeUserPaneControl(rebuilt);
    QLineEdit *newEdit = LineEditOf(field);
    ASSERT_NE(newEdit, nullptr);
    EXPECT_NE(newEdit, oldEdit);
    EXPECT_TRUE(field->SetControlValueToUI());
    EXPECT_EQ(newEdit->text(), "Sato");
    // The key filter came along: the new field refuses a key beyond its set.
    QTest::sendKeyEvent(QTest::Click, newEdit, Qt::Key_Eacute, QString(QChar(0xE9)),
                        Qt::NoModifier);
    EXPECT_EQ(keyLog.calls, 1);
    EXPECT_EQ(newEdit->text(), "Sato");
    EXPECT_EQ(LabelOf(panel->title)->text(), kTranslatedKeyEnglish);

    panel->ReInitializeUserPaneControl(window);
    DisposeWindow(rebuilt);
    EXPECT_EQ(LineEditOf(field), oldEdit);
}
