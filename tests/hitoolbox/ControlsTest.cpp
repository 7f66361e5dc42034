// Controls as a pane works them: lookup, state, values, menus, titles, bounds, embedding, text.
#include "ToolboxFixtures.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

using Bounds = std::vector<int>;

Bounds BoundsOf(ControlRef control)
{
    Rect r{-1, -1, -1, -1};
    GetControlBounds(control, &r);
    return {r.top, r.left, r.bottom, r.right};
}

OSStatus SetText(ControlRef control, ResType tag, const char *utf8)
{
    CFRef<CFStringRef> text = MakeCFString(utf8);
    CFStringRef value = text.get();
    return SetControlData(control, kControlEditTextPart, tag, sizeof(value), &value);
}

} // namespace

TEST(ControlLookup, FindsControlsByIdentityAndRefusesUnknownOrGoneOnes)
{
    ControlRef field = nullptr;
    WindowRef gone = nullptr;
    {
        NibWindow window("Window");
        for (const auto &[id, objectName] : {std::pair(ControlID{'test', 1}, "pane"),
                                             {{'trad', 2}, "radioB"},
                                             {{'tedt', 2}, "groupEdit"}}) {
            ControlRef control = window.control(id.signature, id.id);
            ControlID back{0, 0};
            ASSERT_EQ(GetControlID(control, &back), noErr) << objectName;
            EXPECT_EQ(VeltraControlWidget(control)->objectName(), QLatin1String(objectName));
            EXPECT_TRUE(back.signature == id.signature && back.id == id.id) << objectName;
            EXPECT_EQ(GetControlOwner(control), WindowRef(window));
        }
        for (const ControlID &id : {ControlID{'tedt', 3}, ControlID{'none', 1}}) {
            ControlRef control = reinterpret_cast<ControlRef>(1);
            EXPECT_EQ(GetControlByID(window, &id, &control), errUnknownControl);
            EXPECT_EQ(control, nullptr);
        }
        field = window.control('tedt');
        gone = window;
    }
    const Rect bounds{1, 2, 3, 4};
    SetControlBounds(field, &bounds);
    EXPECT_EQ(BoundsOf(field), (Bounds{0, 0, 0, 0}));
    EXPECT_EQ(ActivateControl(field), paramErr);
    EXPECT_EQ(VeltraControlWidget(field), nullptr);
    const ControlID id{'tedt', 1};
    EXPECT_EQ(GetControlByID(gone, &id, &field), errInvalidWindowRef);
    DisposeWindow(gone); // twice: nothing happens
}

TEST_F(Toolbox, ActiveVisibleStatesAndValuesAreTheControlsOwnWithinTheirLimits)
{
    ControlRef field = window.control('tedt'), pane = window.control('test');
    QWidget *fieldWidget = VeltraControlWidget(field);
    EXPECT_EQ(DeactivateControl(field), noErr);
    EXPECT_FALSE(IsControlActive(field) || fieldWidget->isEnabled());
    // An inactive container dims its controls, but they keep their own state.
    ActivateControl(field);
    DeactivateControl(pane);
    EXPECT_TRUE(!IsControlActive(pane) && IsControlActive(field) && !fieldWidget->isEnabled());
    ActivateControl(pane);
    EXPECT_TRUE(fieldWidget->isEnabled());
    // Pop-up items are numbered from 1, values beyond them clamped; check boxes and radio
    // buttons are 0 or 1, radio buttons left for the program to group; texts have no value.
    const std::tuple<OSType, SInt32, SInt16, SInt16, SInt16, SInt16> cases[] = {
        {'tpop', 1, 1, 3, 3, 3}, {'tpop', 1, 1, 3, 9, 3}, {'tpop', 1, 1, 3, 0, 1},
        {'tchk', 1, 0, 1, 1, 1}, {'trad', 1, 0, 1, 1, 1}, {'trad', 2, 0, 1, 1, 1},
        {'tchk', 1, 0, 1, 0, 0}, {'tedt', 1, 0, 0, 5, 0}};
    for (const auto &[signature, id, minimum, maximum, set, expected] : cases) {
        ControlRef control = window.control(signature, id);
        SetControlValue(control, set);
        EXPECT_EQ(GetControlValue(control), expected) << std::hex << signature << " " << set;
        EXPECT_EQ(GetControlMinimum(control) * 100 + GetControlMaximum(control),
                  minimum * 100 + maximum);
    }
    EXPECT_EQ(GetControlValue(window.control('trad', 1)), 1) << "B on did not turn A off";
    SetControl32BitValue(window.control('tpop'), 2);
    EXPECT_EQ(window.widgetOf<QComboBox>('tpop')->currentIndex(), 1);
    ControlRef inner = window.control('tinr');
    SetControlMaximum(inner, 10);
    SetControlMinimum(inner, 2);
    for (const auto &[set, expected] : {std::pair(5, 5), {50, 10}, {-5, 2}}) {
        SetControlValue(inner, SInt16(set));
        EXPECT_EQ(GetControlValue(inner), expected) << set;
    }
}

TEST_F(Toolbox, PopUpListSetUpEmptiesTheMenuAndAppendsItsItems)
{
    ControlRef list = window.control('tpop');
    MenuRef menu = GetControlPopupMenuHandle(list);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(DeleteMenuItems(menu, 1, CountMenuItems(menu)), noErr);
    EXPECT_EQ(CountMenuItems(menu) + GetControlMaximum(list) + GetControlValue(list), 0);
    for (const char *item : {"Normal Print", "Secure Print", "Sample Print", "Hold"})
        EXPECT_EQ(AppendMenuItemTextWithCFString(menu, MakeCFString(item), 0, 0, nullptr), noErr);
    SetControlMinimum(list, 1);
    EXPECT_EQ(GetControlMaximum(list), 4);
    SetControlValue(list, 3);
    EXPECT_EQ(window.widgetOf<QComboBox>('tpop')->currentText(), QStringLiteral("Sample Print"));
    EXPECT_EQ(DeleteMenuItems(menu, 2, 10), noErr);
    EXPECT_EQ(CountMenuItems(menu) * 10 + GetControlMaximum(list), 11);
    EXPECT_EQ(GetControlPopupMenuHandle(window.control('tchk')), nullptr);
}

TEST_F(Toolbox, TitlesArePlainTextAndBoundsAreWindowCoordinatesEvenInTheDialog)
{
    ControlRef root = nullptr;
    ASSERT_EQ(GetRootControl(window, &root), noErr);
    for (const auto &[control, title] : {std::pair(window.control('tbtn'), "Print & Fax"),
                                         {window.control('tstx'), "Code <4>"},
                                         {window.control('tgrp'), "Job <b>type</b>"},
                                         {root, "Accounting"}}) {
        EXPECT_EQ(SetControlTitleWithCFString(control, MakeCFString(title)), noErr) << title;
        CFRef<CFStringRef> back;
        ASSERT_EQ(CopyControlTitleAsCFString(control, &back.out()), noErr);
        EXPECT_EQ(QStringFromCF(back), QString::fromUtf8(title));
    }
    EXPECT_EQ(window.widgetOf<QPushButton>('tbtn')->text(), QStringLiteral("Print && Fax"));
    EXPECT_EQ(window.widget()->windowTitle(), QStringLiteral("Accounting"));
    EXPECT_EQ(BoundsOf(window.control('tedt')), (Bounds{168, 20, 192, 220}));
    EXPECT_EQ(BoundsOf(root), (Bounds{0, 0, 320, 420}));
    const Rect wanted{100, 50, 130, 250}, windowSize{0, 0, 200, 300};
    SetControlBounds(window.control('tedt'), &wanted);
    EXPECT_EQ(BoundsOf(window.control('tedt')), (Bounds{100, 50, 130, 250}));
    EXPECT_EQ(window.widgetOf<QLineEdit>('tedt')->geometry(), QRect(40, 80, 200, 30));
    SetControlBounds(root, &windowSize);
    EXPECT_EQ(window.widget()->size(), QSize(300, 200));
    EXPECT_EQ(BoundsOf(root), (Bounds{0, 0, 200, 300}));

    // The host's print dialog with a user pane at (30, 40): the panel places the pane inside
    // the user pane's area, then embeds it; only containers take controls.
    QWidget dialog;
    dialog.resize(600, 500);
    auto *userPane = new QWidget(&dialog);
    userPane->setGeometry(30, 40, 500, 400);
    WindowRef dialogWindow = VeltraWindowForWidget(&dialog);
    ControlRef pane = window.control('test'), field = window.control('tedt');
    const Rect placed{50, 60, 330, 440};
    SetControlBounds(pane, &placed);
    ASSERT_EQ(EmbedControl(pane, VeltraControlForWidget(userPane)), noErr);
    EXPECT_EQ(VeltraControlWidget(pane)->parentWidget(), userPane);
    EXPECT_EQ(BoundsOf(pane), (Bounds{50, 60, 330, 440}));
    DisposeWindow(window);
    const ControlID fieldID{'tedt', 1};
    ASSERT_EQ(GetControlByID(dialogWindow, &fieldID, &field), noErr);
    EXPECT_EQ(GetControlOwner(field), dialogWindow);
    EXPECT_EQ(BoundsOf(field), (Bounds{50 + 80, 60 + 40, 50 + 110, 60 + 240}));
    DisposeWindow(dialogWindow);
    EXPECT_TRUE(dialog.isWindow()) << "an adopted window is only forgotten";
}

TEST_F(Toolbox, TextTagsApplyOnlyToTextsAndTextsRoundTripAsUnicodeOrLegacyBytes)
{
    const std::tuple<OSType, ResType, bool> tags[] = {
        {'tedt', 'text', true},  {'tedt', 'pass', true},  {'tedt', 'fltr', true},
        {'tpwd', 'pwcf', true},  {'tstx', 'cfst', true},  {'tstx', 'fltr', false},
        {'tstx', 'pwcf', false}, {'tedt', 'date', false}, {'tchk', 'cfst', false},
        {'tpop', 'text', false}, {'test', 'text', false}};
    for (const auto &[signature, tag, supported] : tags) {
        Size size = 0;
        EXPECT_EQ(GetControlDataSize(window.control(signature), 0, tag, &size),
                  supported ? noErr : errDataNotSupported)
            << std::hex << signature << " " << tag;
    }
    EXPECT_EQ(SetControlData(window.control('tchk'), 0, 'cfst', 1, "x"), errDataNotSupported);
    for (const auto &[signature, tag, text] :
         {std::tuple('tedt', 'cfst', "Ünïcødé 日本語 テスト"),
          {'tpwd', 'pwcf', "123456"},
          {'tstx', 'cfst', "Enter the passcode <4 digits> & press OK"},
          {'tedt', 'cfst', ""}}) {
        ASSERT_EQ(SetText(window.control(signature), tag, text), noErr) << text;
        CFStringRef back = nullptr;
        Size actual = 0;
        EXPECT_EQ(GetControlData(window.control(signature), 0, tag, sizeof(back), &back, &actual),
                  noErr);
        EXPECT_EQ(CFGetRetainCount(back), 1) << "the caller owns the only reference";
        EXPECT_EQ(QStringFromCF(CFRef<CFStringRef>(back)), QString::fromUtf8(text));
    }
    EXPECT_EQ(window.widgetOf<QLabel>('tstx')->textFormat(), Qt::PlainText);
    // Legacy text is the display length: é is one Latin-1 byte, 日本 two bytes each, ｱ one.
    ControlRef field = window.control('tedt');
    for (const auto &[text, bytes] :
         {std::pair("caf\xC3\xA9", std::vector<UInt8>{'c', 'a', 'f', 0xE9}),
          {"\xE6\x97\xA5\xE6\x9C\xAC", {0x65, 0xE5, 0x67, 0x2C}},
          {"a\xEF\xBD\xB1", {'a', 0xFF, 0x71}},
          {"", {}}}) {
        ASSERT_EQ(SetText(field, 'cfst', text), noErr);
        Size size = -1, actual = -1;
        UInt8 buffer[255] = {};
        ASSERT_EQ(GetControlDataSize(field, 0, 'text', &size), noErr);
        ASSERT_EQ(GetControlData(field, 0, 'text', sizeof(buffer), buffer, &actual), noErr);
        EXPECT_EQ(std::vector<UInt8>(buffer, buffer + size), bytes) << text;
    }
    ASSERT_EQ(SetText(field, 'cfst', std::string(60, 'x').c_str()), noErr);
    char buffer[8] = {};
    Size actual = 0;
    ASSERT_EQ(GetControlData(field, 0, 'text', 4, buffer, &actual), noErr);
    EXPECT_EQ(std::to_string(actual) + buffer, "60xxxx");
    ASSERT_EQ(SetText(field, 'cfst', "kept"), noErr);
    CFRef<CFURLRef> url(
        CFURLCreateWithFileSystemPath(nullptr, CFSTR("/tmp"), kCFURLPOSIXPathStyle, true));
    CFTypeRef notAString = url.get();
    EXPECT_EQ(SetControlData(field, 0, 'cfst', sizeof(notAString), &notAString), paramErr);
    EXPECT_EQ(window.widgetOf<QLineEdit>('tedt')->text(), QStringLiteral("kept"));
}
