// Keyboard focus and the audible refusal.
#include "ToolboxFixtures.h"

#include <QLineEdit>
#include <QTest>

TEST(KeyboardFocus, HiddenWindowRemembersItsFocusUntilShownAndFocusMovesAndClears)
{
    NibWindow window("Window");
    ASSERT_EQ(window.status(), noErr);
    ControlRef field = window.control('tedt', 1);
    auto *edit = window.widgetOf<QLineEdit>('tedt', 1);
    edit->setText(QStringLiteral("wrong"));

    ASSERT_EQ(SetKeyboardFocus(window, field, kControlEditTextPart), noErr);
    ControlRef focus = nullptr;
    ASSERT_EQ(GetKeyboardFocus(window, &focus), noErr);
    EXPECT_EQ(focus, field);
    EXPECT_EQ(window.widget()->focusWidget(), edit);

    ShowWindow(window);
    SelectWindow(window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.widget()));
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(edit->selectedText(), QStringLiteral("wrong")) << "ready to be typed over";
    QTest::keyClicks(edit, QStringLiteral("ok"));
    EXPECT_EQ(edit->text(), QStringLiteral("ok"));
    // Tab leaves a field even when a key filter watches it.
    ControlKeyFilterUPP filter = NewControlKeyFilterUPP(
        [](ControlRef, SInt16 *, SInt16 *, EventModifiers *) { return kControlKeyFilterBlockKey; });
    SetControlData(field, 0, kControlEditTextKeyFilterTag, sizeof(filter), &filter);
    QTest::keyClick(edit, Qt::Key_Tab);
    EXPECT_FALSE(edit->hasFocus());
    SetKeyboardFocus(window, field, kControlEditTextPart);
    EXPECT_TRUE(edit->hasFocus());

    // Focus moves, and clears with ClearKeyboardFocus or the no-part.
    ControlRef first = field;
    ControlRef second = window.control('tpwd', 1);
    SetKeyboardFocus(window, second, kControlEditTextPart);
    GetKeyboardFocus(window, &focus);
    EXPECT_EQ(focus, second);

    EXPECT_EQ(ClearKeyboardFocus(window), noErr);
    GetKeyboardFocus(window, &focus);
    EXPECT_EQ(focus, nullptr);

    SetKeyboardFocus(window, first, kControlEditTextPart);
    SetKeyboardFocus(window, first, kControlNoPart);
    GetKeyboardFocus(window, &focus);
    EXPECT_EQ(focus, nullptr);

    NibWindow other("Modal");
    EXPECT_EQ(SetKeyboardFocus(other, first, kControlEditTextPart), paramErr)
        << "a control of another window";
    EXPECT_EQ(SetKeyboardFocus(nullptr, first, kControlEditTextPart), errInvalidWindowRef);
    EXPECT_EQ(GetKeyboardFocus(window, nullptr), paramErr);
}

namespace {

ControlKeyFilterResult BeepingDigitFilter(ControlRef, SInt16 *, SInt16 *charCode, EventModifiers *)
{
    if (*charCode >= '0' && *charCode <= '9')
        return kControlKeyFilterPassKey;
    SysBeep(10);
    return kControlKeyFilterBlockKey;
}

} // namespace

TEST(SysBeep, RefusedKeystrokesAreHeard)
{
    NibWindow window("Window");
    ASSERT_EQ(window.status(), noErr);
    ControlKeyFilterUPP filter = NewControlKeyFilterUPP(BeepingDigitFilter);
    SetControlData(window.control('tpwd', 1), 0, kControlEditTextKeyFilterTag, sizeof(filter),
                   &filter);
    auto *edit = window.widgetOf<QLineEdit>('tpwd', 1);
    const UInt32 before = VeltraBeepCount();
    QTest::keyClicks(edit, QStringLiteral("1a2b3"));
    EXPECT_EQ(edit->text(), QStringLiteral("123"));
    EXPECT_EQ(VeltraBeepCount(), before + 2);
}
