// Keystrokes typed into real fields reach the fields' key filters, which pass or block them by
// the field's character set and length, let the editing keys through and beep at a refusal.
#include "../textcontrols/TextFieldsFixture.h"

#include <QApplication>

#include <tuple>

using namespace textfields;
using P = TextFieldsPanel;
using KeystrokeChecksTest = TextFieldsTest;

namespace {

// A key, its text (empty: what QTest makes of the key) and its modifiers.
using Keystroke = std::tuple<Qt::Key, QString, Qt::KeyboardModifiers>;
const Keystroke kX{Qt::Key_X, "x", {}}, k3{Qt::Key_3, "3", {}}, kA{Qt::Key_A, "a", {}},
    kBackspace{Qt::Key_Backspace, "", {}}, kDelete{Qt::Key_Delete, "", {}},
    kLeft{Qt::Key_Left, "", {}}, kUp{Qt::Key_Up, "", {}},
    kCmdUp{Qt::Key_Up, "", Qt::ControlModifier}, kCmdA{Qt::Key_A, "", Qt::ControlModifier},
    kKana{Qt::Key_unknown, "ｱ", {}}, kEAcute{Qt::Key_Eacute, "é", {}},
    kKanji{Qt::Key_unknown, "日", {}};

// What a keystroke does: the filter passes it; the user hears a beep; the field's text was all
// selected before.
constexpr int Pass = 1, Beep = 2, Selected = 4;

struct PaintCounter : QObject
{
    int paints = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

constexpr auto kPass = kControlKeyFilterPassKey, kBlock = kControlKeyFilterBlockKey;

} // namespace

// Each field's filter passes or blocks by its character set and length, lets the editing keys
// through, beeps at a refusal and, with the command key alone, lets a refused key pass.
TEST_F(KeystrokeChecksTest, FieldsFilterByTheirSetAndLength)
{
    const QString full = "abcdefgh", fullName(32, u'a'), twelve = "123456789012";
    // The last column is the legacy code the filter saw (-1: not checked).
    const std::tuple<const char *, CTextEditControl * P::*, QString, Keystroke, int, QString, int>
        rows[] = {
            {"full field blocks a key", &P::account, full, kX, Beep, full, -1},
            {"full field passes backspace", &P::account, full, kBackspace, Pass, "abcdefg", -1},
            {"full field passes delete", &P::account, full, kDelete, Selected | Pass, "", -1},
            {"full field passes left arrow", &P::account, full, kLeft, Pass, full, -1},
            {"up arrow beeps and is blocked", &P::account, "abc", kUp, Beep, "abc", 30},
            {"half-width kana passes the kana set", &P::account, "ab", kKana, Pass, "abｱ", 0xB1},
            {"a kana counts two bytes", &P::account, "abcdefｱ", kX, Beep, "abcdefｱ", -1},
            {"e acute is outside the kana set", &P::account, "ab", kEAcute, Beep, "ab", 0xE9},
            {"a letter in a digit field", &P::digits, "12", kA, Beep, "12", 'a'},
            {"a letter with command alone passes", &P::digits, "12", kCmdA, Pass | Beep, "12", 'a'},
            {"a digit passes without a beep", &P::digits, "12", k3, Pass, "123", '3'},
            {"e acute passes the Latin-1 set", &P::name, "caf", kEAcute, Pass, "café", 0xE9},
            {"full name field blocks a key", &P::name, fullName, kX, Beep, fullName, -1},
            {"up arrow in a name field", &P::name, "abc", kUp, Beep, "abc", -1},
            {"command-up in a name field passes", &P::name, "abc", kCmdUp, Pass | Beep, "abc", 30},
            {"a kanji in a name field", &P::name, "abc", kKanji, Beep, "abc", 0x80},
            {"a digit passes below the limit", &P::passcode, "123", k3, Pass, "1233", -1},
            {"twelve digits block a thirteenth", &P::passcode, twelve, k3, Beep, twelve, -1},
            {"an over-long passcode is cut", &P::passcode, twelve + "34", k3, Beep, twelve, -1},
            {"a letter in a passcode", &P::passcode, "123", kA, Beep, "123", -1},
            {"backspace in a full passcode", &P::passcode, twelve, kBackspace, Pass, "12345678901",
             -1},
            {"no key filter: every key", &P::plain, QString(40, u'a'), kX, Pass,
             QString(40, u'a') + "x", -1},
        };
    for (const auto &[name, member, before, key, does, after, charCode] : rows) {
        SCOPED_TRACE(name);
        QLineEdit *edit = WidgetOf(panel.get()->*member);
        edit->setText(before);
        if (does & Selected)
            edit->selectAll();
        keyLog = KeyFilterLog();
        const UInt32 beeps = VeltraBeepCount();
        const auto &[qtKey, text, modifiers] = key;
        if (text.isEmpty())
            QTest::keyClick(edit, qtKey, modifiers);
        else
            QTest::sendKeyEvent(QTest::Click, edit, qtKey, text, modifiers);

        EXPECT_EQ(VeltraBeepCount() - beeps, does & Beep ? 1u : 0u);
        EXPECT_EQ(edit->text(), after);
        EXPECT_EQ(keyLog.calls, member == &P::plain ? 0 : 1);
        EXPECT_EQ(keyLog.last, member == &P::plain ? -1 : does & Pass ? kPass : kBlock);
        EXPECT_EQ(charCode == -1 ? -1 : keyLog.charCode, charCode);
    }
}

// The checks called as the panes' wrappers call them, with arguments the toolkit never sends.
TEST_F(KeystrokeChecksTest, ChecksSurviveMissingArgumentsAndDamagedTables)
{
    ControlRef field = panel->account->GetControlRef();
    short letter = 'x', up = 30, digit = '5', lower = 'q', upper = 'Q';
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
    EXPECT_EQ(passwordEditBoxCheck(nullptr, &digit, 12, nullptr), kPass);
    EXPECT_EQ(passwordEditBoxCheck(nullptr, &digit, 0, nullptr), kBlock);

    // A key refused for want of room redraws the full field; one outside the set does not.
    ASSERT_TRUE(QTest::qWaitForWindowExposed(VeltraWindowWidget(window)));
    QLineEdit *edit = WidgetOf(panel->account);
    for (short code : {short(30), short('x')}) {
        edit->setText("abcdefgh");
        edit->repaint();
        QApplication::processEvents();
        PaintCounter counter;
        edit->installEventFilter(&counter);
        EXPECT_EQ(InputCharsCheck(field, &code, nullptr, 8, &accountFilter, 'text'), kBlock);
        QApplication::processEvents();
        EXPECT_EQ(counter.paints > 0, code == 'x') << code;
    }
    edit->clear();
    // A record on the heap, so that a read past its 20 ranges would be caught.
    auto filter = std::make_unique<TextEditFilterData>();
    filter->keyRanges = {1000, {{'a', 'z'}}};
    EXPECT_EQ(InputCharsCheck(field, &lower, nullptr, 8, filter.get(), 'text'), kPass);
    EXPECT_EQ(InputCharsCheck(field, &upper, nullptr, 8, filter.get(), 'text'), kBlock);
    EXPECT_EQ(charEditBoxCheck(field, &upper, 8, filter.get(), nullptr), kBlock);
    filter->keyRanges.count = -4;
    EXPECT_EQ(InputCharsCheck(field, &lower, nullptr, 8, filter.get(), 'text'), kBlock);
}

// The name check matches the low byte, the account check the whole (sign-extended) code.
TEST_F(KeystrokeChecksTest, NameCheckTestsTheLowByteAccountCheckTheWholeCode)
{
    ControlRef field = panel->account->GetControlRef();
    // Low byte 0xB1 lies in both the kana and the Latin-1 key sets; 0xFFE9 is negative.
    const std::tuple<short, TextEditFilterData *, ControlKeyFilterResult> rows[] = {
        {short(0x01B1), &accountFilter, kBlock},
        {short(0x01B1), &nameFilter, kBlock},
        {short(0xFFE9), &nameFilter, kBlock},
        {short(0x00B1), &accountFilter, kPass}};
    for (auto [code, filter, account] : rows) {
        SCOPED_TRACE(code);
        const short original = code;
        EXPECT_EQ(InputCharsCheck(field, &code, nullptr, 8, filter, 'text'), account);
        EXPECT_EQ(charEditBoxCheck(field, &code, 8, filter, nullptr), kPass);
        EXPECT_EQ(code, original); // the checks leave the character code alone
    }
}
