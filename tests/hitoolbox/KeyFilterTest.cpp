// Key filters see real key presses, in legacy codes, before the field does.
#include "ToolboxFixtures.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

struct Keystroke
{
    SInt16 charCode;
    EventModifiers modifiers;
    bool operator==(const Keystroke &) const = default;
};

std::vector<Keystroke> g_seen;
ControlKeyFilterResult g_answer = kControlKeyFilterPassKey;
ControlRef g_filteredControl = nullptr;

ControlKeyFilterResult RecordingFilter(ControlRef control, SInt16 *, SInt16 *charCode,
                                       EventModifiers *modifiers)
{
    g_filteredControl = control;
    g_seen.push_back(Keystroke{*charCode, *modifiers});
    return g_answer;
}

class KeyFilterTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(window.status(), noErr);
        field = window.control('tedt', 1);
        edit = window.widgetOf<QLineEdit>('tedt', 1);
        ControlKeyFilterUPP filter = NewControlKeyFilterUPP(RecordingFilter);
        ASSERT_EQ(SetControlData(field, 0, kControlEditTextKeyFilterTag, sizeof(filter), &filter),
                  noErr);
        g_seen.clear();
        g_answer = kControlKeyFilterPassKey;
    }

    NibWindow window{"Window"};
    ControlRef field = nullptr;
    QLineEdit *edit = nullptr;
};

} // namespace

TEST_F(KeyFilterTest, KeysArriveAsLegacyCodes)
{
    const struct
    {
        Qt::Key key;
        const char *text; // UTF-8 the key types
        Qt::KeyboardModifiers modifiers;
        Keystroke expected;
    } cases[] = {
        {Qt::Key_A, "a", Qt::NoModifier, {'a', 0}},
        {Qt::Key_A, "A", Qt::ShiftModifier, {'A', shiftKey}},
        {Qt::Key_5, "5", Qt::NoModifier, {'5', 0}},
        {Qt::Key_Space, " ", Qt::NoModifier, {0x20, 0}},
        {Qt::Key_Left, "", Qt::NoModifier, {28, 0}},
        {Qt::Key_Right, "", Qt::NoModifier, {29, 0}},
        {Qt::Key_Up, "", Qt::NoModifier, {30, 0}},
        {Qt::Key_Down, "", Qt::NoModifier, {31, 0}},
        {Qt::Key_Backspace, "\b", Qt::NoModifier, {8, 0}},
        {Qt::Key_Delete, "\x7f", Qt::NoModifier, {127, 0}},
        {Qt::Key_Return, "\r", Qt::NoModifier, {13, 0}},
        {Qt::Key_Enter, "\r", Qt::KeypadModifier, {13, 0}},
        {Qt::Key_Escape, "\x1b", Qt::NoModifier, {27, 0}},
        {Qt::Key_Eacute, "\xC3\xA9", Qt::NoModifier, {0xE9, 0}},
        {Qt::Key_yen, "\xC2\xA5", Qt::NoModifier, {0xA5, 0}},
        // Half-width katakana ｱ (U+FF71) and ﾟ (U+FF9F).
        {Qt::Key_unknown, "\xEF\xBD\xB1", Qt::NoModifier, {0xB1, 0}},
        {Qt::Key_unknown, "\xEF\xBE\x9F", Qt::NoModifier, {0xDF, 0}},
        // Anything else the legacy encoding cannot hold.
        {Qt::Key_unknown, "\xE6\x97\xA5", Qt::NoModifier, {0x80, 0}},
        {Qt::Key_unknown, "\xE2\x82\xAC", Qt::NoModifier, {0x80, 0}},
        // Ctrl is the command key; the platform's control character names the letter.
        {Qt::Key_V, "\x16", Qt::ControlModifier, {'v', cmdKey}},
        {Qt::Key_V, "v", Qt::ControlModifier, {'v', cmdKey}},
        {Qt::Key_A, "", Qt::ControlModifier | Qt::ShiftModifier, {'A', cmdKey | shiftKey}},
        {Qt::Key_B, "b", Qt::AltModifier, {'b', optionKey}},
        {Qt::Key_C, "c", Qt::MetaModifier, {'c', controlKey}},
    };
    for (const auto &c : cases) {
        g_seen.clear();
        QTest::sendKeyEvent(QTest::Press, edit, c.key, QString::fromUtf8(c.text), c.modifiers);
        ASSERT_EQ(g_seen.size(), 1u) << c.text;
        EXPECT_EQ(g_seen.front().charCode, c.expected.charCode) << "key " << std::hex << c.key;
        EXPECT_EQ(g_seen.front().modifiers, c.expected.modifiers) << "key " << std::hex << c.key;
        QTest::sendKeyEvent(QTest::Release, edit, c.key, QString::fromUtf8(c.text), c.modifiers);
    }
    EXPECT_EQ(g_filteredControl, field);
}

TEST_F(KeyFilterTest, PassedKeysReachTheFieldOneCharacterAtATimeAndBlockedKeysDoNot)
{
    // Keys that type nothing are not filtered.
    edit->setText(QStringLiteral("abc"));
    for (Qt::Key key : {Qt::Key_F1, Qt::Key_Home, Qt::Key_Shift, Qt::Key_Tab})
        QTest::keyClick(edit, key);
    EXPECT_TRUE(g_seen.empty());
    EXPECT_EQ(edit->cursorPosition(), 0) << "Home still reached the field";

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
    ASSERT_EQ(g_seen.size(), 9u) << "several characters in one event are filtered one by one";
    EXPECT_EQ(g_seen.back().charCode, 'y');

    // A removed filter is no longer called.
    ControlKeyFilterUPP installed = nullptr;
    Size actual = 0;
    ASSERT_EQ(GetControlData(field, 0, kControlEditTextKeyFilterTag, sizeof(installed), &installed,
                             &actual),
              noErr);
    EXPECT_EQ(installed, &RecordingFilter);
    ControlKeyFilterUPP none = nullptr;
    ASSERT_EQ(SetControlData(field, 0, kControlEditTextKeyFilterTag, sizeof(none), &none), noErr);
    g_seen.clear();
    QTest::keyClicks(edit, QStringLiteral("z"));
    EXPECT_TRUE(g_seen.empty());
    EXPECT_EQ(edit->text(), QStringLiteral("axyz"));
}

TEST(KeyFilterInDialog, ReturnAndEscapeGoToTheWindowsButtons)
{
    NibWindow window("Modal");
    ASSERT_EQ(window.status(), noErr);
    ControlRef field = window.control('medt', 1);
    ControlKeyFilterUPP filter = NewControlKeyFilterUPP(RecordingFilter);
    ASSERT_EQ(SetControlData(field, 0, kControlEditTextKeyFilterTag, sizeof(filter), &filter),
              noErr);
    g_seen.clear();
    g_answer = kControlKeyFilterBlockKey;
    RecordingHandler handler;
    const EventTypeSpec commands{kEventClassCommand, kEventCommandProcess};
    EventHandlerRef ref = nullptr;
    ASSERT_EQ(InstallEventHandler(GetWindowEventTarget(window), RecordingHandler::Proc, 1,
                                  &commands, &handler, &ref),
              noErr);
    auto *edit = window.widgetOf<QLineEdit>('medt', 1);
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_TRUE(g_seen.empty()) << "the field's filter did not see them";
    EXPECT_EQ(handler.commands, (std::vector<UInt32>{kHICommandOK, kHICommandCancel}));
    g_answer = kControlKeyFilterPassKey;
}
