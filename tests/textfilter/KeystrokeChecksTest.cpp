// Keystrokes typed into real fields reach the fields' key filters, which pass or block them by
// the field's character set and length, let the editing keys through and beep at a refusal.
#include "../textcontrols/TextFieldsFixture.h"

#include <QApplication>

using namespace textfields;

namespace {

struct Keystroke
{
    Qt::Key key;
    QString text; // empty: what QTest makes of the key
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};

void Type(QLineEdit *field, const Keystroke &k)
{
    if (k.text.isEmpty())
        QTest::keyClick(field, k.key, k.modifiers);
    else
        QTest::sendKeyEvent(QTest::Click, field, k.key, k.text, k.modifiers);
}

const Keystroke kLetterX = {Qt::Key_X, "x"};
const Keystroke kDigit3 = {Qt::Key_3, "3"};
const Keystroke kLetterA = {Qt::Key_A, "a"};
const Keystroke kBackspace = {Qt::Key_Backspace, ""};
const Keystroke kDelete = {Qt::Key_Delete, ""};
const Keystroke kLeft = {Qt::Key_Left, ""};
const Keystroke kUp = {Qt::Key_Up, ""};
const Keystroke kDown = {Qt::Key_Down, ""};
const Keystroke kCommandUp = {Qt::Key_Up, "", Qt::ControlModifier};
const Keystroke kCommandShiftUp = {Qt::Key_Up, "", Qt::ControlModifier | Qt::ShiftModifier};
const Keystroke kCommandOptionUp = {Qt::Key_Up, "", Qt::ControlModifier | Qt::AltModifier};
const Keystroke kCommandA = {Qt::Key_A, "", Qt::ControlModifier};
const Keystroke kCommandShiftA = {Qt::Key_A, "", Qt::ControlModifier | Qt::ShiftModifier};
const Keystroke kHalfWidthKanaA = {Qt::Key_unknown, QString(QChar(0xFF71))};
const Keystroke kEAcute = {Qt::Key_Eacute, QString(QChar(0xE9))};
const Keystroke kKanji = {Qt::Key_unknown, QString(QChar(0x65E5))};

constexpr SInt16 kAnyCode = -1;
constexpr ControlKeyFilterResult kPass = kControlKeyFilterPassKey;
constexpr ControlKeyFilterResult kBlock = kControlKeyFilterBlockKey;

struct KeystrokeCase
{
    const char *name;
    CTextEditControl *TextFieldsPanel::*field;
    QString before;
    bool selectAll;
    Keystroke key;
    ControlKeyFilterResult result;
    bool beeps;
    QString after;
    SInt16 charCode = kAnyCode; // the legacy code the filter saw
};

} // namespace

class KeystrokeChecksTest : public TextFieldsTest
{
protected:
    void Run(const KeystrokeCase &c)
    {
        SCOPED_TRACE(c.name);
        QLineEdit *edit = LineEditOf(panel.get()->*c.field);
        ASSERT_NE(edit, nullptr);
        edit->setText(c.before);
        if (c.selectAll)
            edit->selectAll();
        keyLog = KeyFilterLog();
        const UInt32 beeps = VeltraBeepCount();

        Type(edit, c.key);

        EXPECT_EQ(keyLog.calls, 1) << "the field's key filter saw the keystroke";
        EXPECT_EQ(keyLog.last, c.result);
        EXPECT_EQ(VeltraBeepCount() - beeps, c.beeps ? 1u : 0u);
        EXPECT_EQ(edit->text(), c.after);
        if (c.charCode != kAnyCode) {
            EXPECT_EQ(keyLog.charCode, c.charCode);
        }
    }
};

// Each field's filter passes or blocks by its character set and length, lets the editing keys
// through, beeps at a refusal and, with the command key alone, lets a refused key pass.
TEST_F(KeystrokeChecksTest, FieldsFilterByTheirSetAndLength)
{
    const QString full = "abcdefgh";
    const QString fullName(32, QChar(u'a'));
    const KeystrokeCase cases[] = {
        {"full field blocks a printable key", &TextFieldsPanel::account, full, false, kLetterX,
         kBlock, true, full},
        {"full field blocks a key that would replace a selection", &TextFieldsPanel::account, full,
         true, kLetterX, kBlock, true, full},
        {"full field passes backspace", &TextFieldsPanel::account, full, false, kBackspace, kPass,
         false, "abcdefg"},
        {"full field passes forward delete", &TextFieldsPanel::account, full, true, kDelete, kPass,
         false, ""},
        {"full field passes left arrow", &TextFieldsPanel::account, full, false, kLeft, kPass,
         false, full},
        {"up arrow beeps and is blocked", &TextFieldsPanel::account, "abc", false, kUp, kBlock,
         true, "abc", 30},
        {"down arrow beeps and is blocked", &TextFieldsPanel::account, "abc", false, kDown, kBlock,
         true, "abc", 31},
        {"up arrow with the command key alone beeps and passes", &TextFieldsPanel::account, "abc",
         false, kCommandUp, kPass, true, "abc", 30},
        {"up arrow with command and shift beeps and is blocked", &TextFieldsPanel::account, "abc",
         false, kCommandShiftUp, kBlock, true, "abc", 30},
        {"up arrow with command and option beeps and is blocked", &TextFieldsPanel::account, "abc",
         false, kCommandOptionUp, kBlock, true, "abc", 30},
        {"half-width kana passes the kana set", &TextFieldsPanel::account, "ab", false,
         kHalfWidthKanaA, kPass, false, QString("ab") + QChar(0xFF71), 0xB1},
        {"a kana counts two bytes toward the limit", &TextFieldsPanel::account,
         QString("abcdef") + QChar(0xFF71), false, kLetterX, kBlock, true,
         QString("abcdef") + QChar(0xFF71)},
        {"e acute is outside the kana set", &TextFieldsPanel::account, "ab", false, kEAcute, kBlock,
         true, "ab", 0xE9},
        {"a kanji has no legacy code and is blocked", &TextFieldsPanel::account, "ab", false,
         kKanji, kBlock, true, "ab", 0x80},
        {"a letter in a digit field beeps and is blocked", &TextFieldsPanel::digits, "12", false,
         kLetterA, kBlock, true, "12", 'a'},
        {"a letter with the command key alone beeps and passes", &TextFieldsPanel::digits, "12",
         false, kCommandA, kPass, true, "12", 'a'},
        {"a letter with command and shift beeps and is blocked", &TextFieldsPanel::digits, "12",
         false, kCommandShiftA, kBlock, true, "12"},
        {"a digit passes without a beep", &TextFieldsPanel::digits, "12", false, kDigit3, kPass,
         false, "123", '3'},
        {"e acute passes the Latin-1 set", &TextFieldsPanel::name, "caf", false, kEAcute, kPass,
         false, QString("caf") + QChar(0xE9), 0xE9},
        {"full field blocks a printable key", &TextFieldsPanel::name, fullName, false, kLetterX,
         kBlock, true, fullName},
        {"full field passes backspace", &TextFieldsPanel::name, fullName, false, kBackspace, kPass,
         false, QString(31, QChar(u'a'))},
        {"up arrow beeps and is blocked", &TextFieldsPanel::name, "abc", false, kUp, kBlock, true,
         "abc"},
        {"up arrow with the command key alone passes", &TextFieldsPanel::name, "abc", false,
         kCommandUp, kPass, true, "abc"},
        {"a kanji is blocked", &TextFieldsPanel::name, "abc", false, kKanji, kBlock, true, "abc"},
        {"a digit passes below the limit", &TextFieldsPanel::passcode, "123", false, kDigit3, kPass,
         false, "1233"},
        {"twelve digits block a thirteenth", &TextFieldsPanel::passcode, "123456789012", false,
         kDigit3, kBlock, true, "123456789012"},
        {"an over-long passcode is cut to twelve and the digit blocked", &TextFieldsPanel::passcode,
         "12345678901234", false, kDigit3, kBlock, true, "123456789012"},
        {"a letter beeps and is blocked", &TextFieldsPanel::passcode, "123", false, kLetterA,
         kBlock, true, "123"},
        {"backspace passes in a full passcode", &TextFieldsPanel::passcode, "123456789012", false,
         kBackspace, kPass, false, "12345678901"},
        {"up arrow beeps and is blocked", &TextFieldsPanel::passcode, "123", false, kUp, kBlock,
         true, "123"},
        {"a letter with the command key alone beeps and passes", &TextFieldsPanel::passcode, "123",
         false, kCommandA, kPass, true, "123"},
    };
    for (const KeystrokeCase &c : cases)
        Run(c);

    // The passed chord did reach the field: command-A selected its text.
    QLineEdit *edit = LineEditOf(panel->digits);
    edit->setText("12");
    edit->deselect();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(edit->selectedText(), "12");
}

TEST_F(KeystrokeChecksTest, FieldWithoutKeyFilterTakesEveryKey)
{
    QLineEdit *edit = LineEditOf(panel->plain);
    ASSERT_NE(edit, nullptr);
    edit->setText(QString(40, QChar(u'a')));
    const UInt32 beeps = VeltraBeepCount();
    QTest::keyClick(edit, Qt::Key_X);
    EXPECT_EQ(keyLog.calls, 0);
    EXPECT_EQ(edit->text(), QString(40, QChar(u'a')) + "x");
    EXPECT_EQ(VeltraBeepCount(), beeps);
}

// The checks called as the panes' wrappers call them, with arguments the toolkit never sends.
TEST_F(KeystrokeChecksTest, ChecksSurviveMissingArguments)
{
    ControlRef field = panel->account->GetControlRef();
    ASSERT_NE(field, nullptr);
    LineEditOf(panel->account)->setText("ab");
    short letter = 'x';
    short up = 30;
    unsigned short command = cmdKey;

    const UInt32 beeps = VeltraBeepCount();
    EXPECT_EQ(InputCharsCheck(field, nullptr, &command, 8, &accountFilter, 'text'), kBlock);
    EXPECT_EQ(charEditBoxCheck(field, nullptr, 8, &nameFilter, &command), kBlock);
    EXPECT_EQ(passwordEditBoxCheck(field, nullptr, 8, &command), kBlock);
    EXPECT_EQ(VeltraBeepCount(), beeps);

    // Without a filter record no character is in the set: refused, passed only with command.
    EXPECT_EQ(InputCharsCheck(field, &letter, nullptr, 8, nullptr, 'text'), kBlock);
    EXPECT_EQ(InputCharsCheck(field, &letter, &command, 8, nullptr, 'text'), kPass);
    EXPECT_EQ(charEditBoxCheck(field, &up, 8, nullptr, nullptr), kBlock);
    EXPECT_EQ(VeltraBeepCount() - beeps, 3u);

    // Without a widget the field counts as empty.
    EXPECT_EQ(InputCharsCheck(nullptr, &letter, nullptr, 8, &accountFilter, 'text'), kPass);
    short digit = '5';
    EXPECT_EQ(passwordEditBoxCheck(nullptr, &digit, 12, nullptr), kPass);
    EXPECT_EQ(passwordEditBoxCheck(nullptr, &digit, 0, nullptr), kBlock);
    EXPECT_EQ(LineEditOf(panel->account)->text(), "ab");
}

TEST_F(KeystrokeChecksTest, DamagedRangeCountReadsNoFurtherThanTheTable)
{
    // A record on the heap, so that a read past its 20 ranges would be caught.
    auto filter = std::make_unique<TextEditFilterData>();
    filter->keyRanges = {1000, {{'a', 'z'}}};
    ControlRef field = panel->account->GetControlRef();
    LineEditOf(panel->account)->setText("");
    short lower = 'q';
    short upper = 'Q';
    EXPECT_EQ(InputCharsCheck(field, &lower, nullptr, 8, filter.get(), 'text'), kPass);
    EXPECT_EQ(InputCharsCheck(field, &upper, nullptr, 8, filter.get(), 'text'), kBlock);
    EXPECT_EQ(charEditBoxCheck(field, &upper, 8, filter.get(), nullptr), kBlock);
    filter->keyRanges.count = -4;
    EXPECT_EQ(InputCharsCheck(field, &lower, nullptr, 8, filter.get(), 'text'), kBlock);
}

TEST_F(KeystrokeChecksTest, NameCheckTestsTheLowByteAccountCheckTheWholeCode)
{
    ControlRef field = panel->account->GetControlRef();
    LineEditOf(panel->account)->setText("");
    const struct
    {
        short code;
        TextEditFilterData *filter;
        ControlKeyFilterResult account;
        ControlKeyFilterResult name;
    } cases[] = {
        // Low byte 0xB1 lies in both the kana and the Latin-1 key sets.
        {short(0x01B1), &accountFilter, kBlock, kPass},
        {short(0x01B1), &nameFilter, kBlock, kPass},
        // Sign-extended 0xFFE9: a negative code for the account check, 0xE9 for the name check.
        {short(0xFFE9), &nameFilter, kBlock, kPass},
        {short(0x00B1), &accountFilter, kPass, kPass},
    };
    for (const auto &c : cases) {
        short code = c.code;
        EXPECT_EQ(InputCharsCheck(field, &code, nullptr, 8, c.filter, 'text'), c.account)
            << std::hex << c.code;
        EXPECT_EQ(charEditBoxCheck(field, &code, 8, c.filter, nullptr), c.name)
            << std::hex << c.code;
        EXPECT_EQ(code, c.code) << "the checks leave the character code alone";
    }
}
