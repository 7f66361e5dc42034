// A field whose committed text is out of range or holds a refused character tells the user in
// the alert, with its own message, and gets the keyboard focus back.
#include "TextFieldsFixture.h"

#include "ModalScript.h"

using namespace textfields;

namespace {

// Reads the alert's message as the user sees it.
ModalScript::Action ReadMessage(QString *shown)
{
    return [shown](WindowRef alert) {
        auto *label = qobject_cast<QLabel *>(ModalScript::widget(alert, ControlID{'mste', 600}));
        *shown = label ? label->text() : QStringLiteral("<no message control>");
    };
}

// Runs check with the alert scripted to be read and confirmed; answers the message shown.
template <typename Check> QString AlertOf(Check check)
{
    QString shown = QStringLiteral("<no alert>");
    ModalScript script;
    script.when("About", {ReadMessage(&shown), ModalScript::clickCommand(kHICommandOK)});
    check();
    return shown;
}

} // namespace

class FieldErrorAlertTest : public TextFieldsTest
{
};

TEST_F(FieldErrorAlertTest, FieldInErrorShowsItsMessageAndTakesTheFocusBack)
{
    const struct
    {
        const char *name;
        CTextEditControl *TextFieldsPanel::*field;
        QString text;
        QString message;
    } cases[] = {
        {"thirty-three characters against a maximum of 32", &TextFieldsPanel::name,
         QString(33, QChar(u'x')), kTranslatedKeyEnglish},
        {"a character outside the Latin-1 text set", &TextFieldsPanel::name,
         QString::fromUtf8("caf\u00E9\u0100"), kTranslatedKeyEnglish},
        {"pound sign in an account field", &TextFieldsPanel::account,
         QString::fromUtf8("Sato\u00A3"), kAccountMessageKey},
        {"nine bytes in an eight-byte account field", &TextFieldsPanel::account, "abcdefghi",
         kAccountMessageKey},
        {"two kana make four bytes of an eight-byte field plus five", &TextFieldsPanel::account,
         QString("abcde") + QChar(0xFF71) + QChar(0xFF72), kAccountMessageKey},
        {"shorter than the minimum of four", &TextFieldsPanel::plain, "abc", "Test Plain Message"},
        {"a letter in the passcode", &TextFieldsPanel::passcode, "12a4", "Test Passcode Message"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        CTextEditControl *field = panel.get()->*c.field;
        LineEditOf(field)->setText(c.text);
        // The user is elsewhere when the check runs.
        ASSERT_EQ(SetKeyboardFocus(window, panel->digits->GetControlRef(), kControlEditTextPart),
                  noErr);
        EXPECT_EQ(AlertOf([&] { EXPECT_FALSE(field->InvalidateData()); }), c.message);
        ControlRef focus = nullptr;
        GetKeyboardFocus(window, &focus);
        EXPECT_EQ(focus, field->GetControlRef());
        // The refused text stays where the user can correct it.
        EXPECT_EQ(LineEditOf(field)->text(), c.text);
    }
}

TEST_F(FieldErrorAlertTest, AcceptableTextShowsNoAlert)
{
    const struct
    {
        const char *name;
        CTextEditControl *TextFieldsPanel::*field;
        QString text;
    } cases[] = {
        {"an empty field passes although its minimum is 1", &TextFieldsPanel::account, ""},
        {"letters, hyphen and yen in an account field", &TextFieldsPanel::account,
         QString::fromUtf8("Sato-\u00A5")},
        {"exactly the maximum", &TextFieldsPanel::name, QString(32, QChar(u'n'))},
        {"accented letters in a Latin-1 field", &TextFieldsPanel::name, QString::fromUtf8("café")},
        {"exactly the minimum", &TextFieldsPanel::plain, "abcd"},
        {"twelve digits", &TextFieldsPanel::passcode, "123456789012"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        CTextEditControl *field = panel.get()->*c.field;
        LineEditOf(field)->setText(c.text);
        ModalScript script; // any window that opens is a failure
        EXPECT_TRUE(field->InvalidateData());
    }
}

TEST_F(FieldErrorAlertTest, MessageSources)
{
    // The refused over-long field still holds its first fifty characters.
    LineEditOf(panel->name)->setText(QString(60, QChar(u'y')));
    EXPECT_EQ(AlertOf([&] { EXPECT_FALSE(panel->name->InvalidateData()); }), kTranslatedKeyEnglish);
    EXPECT_EQ(TextOf(panel->name->GetUIDataBlk()), std::string(50, 'y'));
    EXPECT_EQ(panel->name->GetDataBlkSize(), 60u);

    // The message follows the user's language.
    VeltraBundleSetLanguage("ja");
    EXPECT_EQ(AlertOf([&] { EXPECT_FALSE(panel->name->InvalidateData()); }),
              QString::fromUtf8("印刷タイプ"));
    VeltraBundleSetLanguage("en");

    // A field without widget still shows its message.
    CTextEditControl orphan(&missingFieldID, &plainIni, nullptr, &plainFilter, &plainAccess);
    EXPECT_FALSE(orphan.InitializeCtrl(window, nullptr, bundle, nullptr));
    EXPECT_EQ(AlertOf([&] { orphan.ShowErrMsg(); }), "Test Plain Message");

    // A field without message key refuses silently.
    TextEditFilterData silent = plainFilter;
    silent.errorMessageKey = nullptr;
    TextEditIniData limits = {{}, "", 0, 8};
    CTextEditControl field(&plainFieldID, &limits, nullptr, &silent, &plainAccess);
    ASSERT_TRUE(field.InitializeCtrl(window, nullptr, bundle, nullptr));
    LineEditOf(&field)->setText("far too long for eight");
    ModalScript script;
    EXPECT_FALSE(field.InvalidateData());
}
