// Key filters see real key presses, in legacy codes, before the field does; keyboard focus.
#include "ToolboxFixtures.h"

#include <QLineEdit>
#include <QTest>

namespace {

using Keystroke = std::pair<SInt16, EventModifiers>; // the character code and modifiers

std::vector<Keystroke> g_seen;
ControlKeyFilterResult g_answer = kControlKeyFilterPassKey;

ControlKeyFilterResult RecordingFilter(ControlRef, SInt16 *, SInt16 *charCode,
                                       EventModifiers *modifiers)
{
    g_seen.emplace_back(*charCode, *modifiers);
    return g_answer;
}

void SetFilter(ControlRef field, ControlKeyFilterUPP filter)
{
    ASSERT_EQ(SetControlData(field, 0, kControlEditTextKeyFilterTag, sizeof(filter), &filter),
              noErr);
    g_seen.clear();
    g_answer = kControlKeyFilterPassKey;
}

} // namespace

TEST_F(Toolbox, KeysArriveAtTheFilterAsLegacyCodes)
{
    auto *edit = window.widgetOf<QLineEdit>('tedt');
    SetFilter(window.control('tedt'), NewControlKeyFilterUPP(RecordingFilter));
    // Half-width ｱ has a legacy code, what the encoding cannot hold is 0x80; Ctrl is the command
    // key, and the platform's control character names the letter.
    const std::tuple<Qt::Key, const char *, Qt::KeyboardModifiers, Keystroke> cases[] = {
        {Qt::Key_A, "a", Qt::NoModifier, {'a', 0}},
        {Qt::Key_A, "A", Qt::ShiftModifier, {'A', shiftKey}},
        {Qt::Key_5, "5", Qt::NoModifier, {'5', 0}},
        {Qt::Key_Backspace, "\b", Qt::NoModifier, {8, 0}},
        {Qt::Key_Return, "\r", Qt::NoModifier, {13, 0}},
        {Qt::Key_Eacute, "\xC3\xA9", Qt::NoModifier, {0xE9, 0}},
        {Qt::Key_unknown, "\xEF\xBD\xB1", Qt::NoModifier, {0xB1, 0}},
        {Qt::Key_unknown, "\xE6\x97\xA5", Qt::NoModifier, {0x80, 0}},
        {Qt::Key_V, "\x16", Qt::ControlModifier, {'v', cmdKey}},
        {Qt::Key_A, "", Qt::ControlModifier | Qt::ShiftModifier, {'A', cmdKey | shiftKey}},
        {Qt::Key_B, "b", Qt::AltModifier, {'b', optionKey}},
        {Qt::Key_C, "c", Qt::MetaModifier, {'c', controlKey}}};
    for (const auto &[key, text, modifiers, expected] : cases) {
        g_seen.clear();
        QTest::sendKeyEvent(QTest::Press, edit, key, QString::fromUtf8(text), modifiers);
        EXPECT_EQ(g_seen, std::vector<Keystroke>{expected}) << "key " << std::hex << key;
        QTest::sendKeyEvent(QTest::Release, edit, key, QString::fromUtf8(text), modifiers);
    }
}

TEST_F(Toolbox, PassedKeysReachTheFieldOneCharacterAtATimeAndBlockedKeysDoNot)
{
    ControlRef field = window.control('tedt');
    auto *edit = window.widgetOf<QLineEdit>('tedt');
    SetFilter(field, NewControlKeyFilterUPP(RecordingFilter));
    // Keys that type nothing are not filtered.
    for (Qt::Key key : {Qt::Key_F1, Qt::Key_Home, Qt::Key_Shift, Qt::Key_Tab})
        QTest::keyClick(edit, key);
    EXPECT_TRUE(g_seen.empty());
    edit->clear();
    QTest::keyClicks(edit, QStringLiteral("ab"));
    g_answer = kControlKeyFilterBlockKey;
    QTest::keyClicks(edit, QStringLiteral("cd"));
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString::fromUtf8("a\xE2\x82\xAC"),
                        Qt::NoModifier);
    EXPECT_EQ(edit->text(), QStringLiteral("ab")) << "blocked keys leave the field unchanged";
    EXPECT_EQ(g_seen.size(), 6u) << "a blocked character ends the filtering of its event";
    g_answer = kControlKeyFilterPassKey;
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QStringLiteral("xy"), Qt::NoModifier);
    EXPECT_EQ(edit->text(), QStringLiteral("axy"));
    EXPECT_TRUE(g_seen.size() == 9 && g_seen.back().first == 'y') << "one character at a time";
    SetFilter(field, nullptr);
    QTest::keyClicks(edit, QStringLiteral("z"));
    EXPECT_TRUE(g_seen.empty());
    EXPECT_EQ(edit->text(), QStringLiteral("axyz"));

    // In a dialog, Return and Escape go to the window's buttons, not to the field's filter.
    NibWindow modal("Modal");
    SetFilter(modal.control('medt'), NewControlKeyFilterUPP(RecordingFilter));
    g_answer = kControlKeyFilterBlockKey;
    RecordingHandler handler;
    handler.install(GetWindowEventTarget(modal), kEventClassCommand, kEventCommandProcess);
    QTest::keyClick(modal.widgetOf<QLineEdit>('medt'), Qt::Key_Return);
    QTest::keyClick(modal.widgetOf<QLineEdit>('medt'), Qt::Key_Escape);
    EXPECT_TRUE(g_seen.empty());
    EXPECT_EQ(handler.commands, (std::vector<UInt32>{kHICommandOK, kHICommandCancel}));
}

TEST_F(Toolbox, HiddenWindowRemembersItsFocusAndFocusMovesAndClears)
{
    ControlRef field = window.control('tedt');
    auto *edit = window.widgetOf<QLineEdit>('tedt');
    auto *second = window.widgetOf<QLineEdit>('tpwd');
    edit->setText(QStringLiteral("wrong"));
    ASSERT_EQ(SetKeyboardFocus(window, field, kControlEditTextPart), noErr);
    EXPECT_EQ(window.widget()->focusWidget(), edit);
    ShowWindow(window);
    SelectWindow(window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.widget()));
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(edit->selectedText(), QStringLiteral("wrong")) << "ready to be typed over";
    SetKeyboardFocus(window, window.control('tpwd'), kControlEditTextPart);
    EXPECT_TRUE(second->hasFocus());
    EXPECT_EQ(ClearKeyboardFocus(window), noErr);
    EXPECT_EQ(window.widget()->focusWidget(), nullptr);
    SetKeyboardFocus(window, field, kControlEditTextPart);
    EXPECT_TRUE(edit->hasFocus());
    SetKeyboardFocus(window, field, kControlNoPart);
    EXPECT_FALSE(edit->hasFocus());
}
