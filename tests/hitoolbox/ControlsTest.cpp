// Controls of a nib window as a pane works them: looking them up, their state, values, menus,
// titles, window-local bounds, moving a pane into the dialog, and text through control data.
#include "ToolboxFixtures.h"

#include "CoreFoundation/CFURL.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

// Found by argument lookup (Rect is a global type), so outside the anonymous namespace.
static bool operator==(const Rect &a, const Rect &b)
{
    return a.top == b.top && a.left == b.left && a.bottom == b.bottom && a.right == b.right;
}

static std::ostream &operator<<(std::ostream &out, const Rect &r)
{
    return out << "(" << r.top << ", " << r.left << ", " << r.bottom << ", " << r.right << ")";
}

namespace {

Rect BoundsOf(ControlRef control)
{
    Rect r{-1, -1, -1, -1};
    GetControlBounds(control, &r);
    return r;
}

CFRef<CFStringRef> CopyText(ControlRef control, ResType tag)
{
    CFStringRef text = nullptr;
    Size actual = 0;
    EXPECT_EQ(GetControlData(control, kControlEditTextPart, tag, sizeof(text), &text, &actual),
              noErr);
    return CFRef<CFStringRef>(text);
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
        ASSERT_EQ(window.status(), noErr);
        const struct
        {
            ControlID id;
            const char *objectName;
        } cases[] = {
            {{'test', 1}, "pane"},     {{'tpop', 1}, "popup"},     {{'trad', 2}, "radioB"},
            {{'tpwd', 1}, "password"}, {{'tedt', 2}, "groupEdit"},
        };
        for (const auto &c : cases) {
            ControlRef control = nullptr;
            ASSERT_EQ(GetControlByID(window, &c.id, &control), noErr) << c.objectName;
            EXPECT_EQ(VeltraControlWidget(control)->objectName(), QLatin1String(c.objectName));
            ControlID back{0, 0};
            EXPECT_EQ(GetControlID(control, &back), noErr);
            EXPECT_EQ(back.signature, c.id.signature);
            EXPECT_EQ(back.id, c.id.id);
            EXPECT_EQ(GetControlOwner(control), window.get());
            EXPECT_EQ(VeltraControlForWidget(VeltraControlWidget(control)), control);
        }
        for (const ControlID &id :
             {ControlID{'tedt', 3}, ControlID{'none', 1}, ControlID{'tpop', 0}}) {
            ControlRef control = reinterpret_cast<ControlRef>(1);
            EXPECT_EQ(GetControlByID(window, &id, &control), errUnknownControl);
            EXPECT_EQ(control, nullptr);
        }
        EXPECT_EQ(GetControlByID(window, nullptr, &field), paramErr);
        // A second window of the same nib has its own controls.
        NibWindow second("Window");
        EXPECT_NE(second.control('tedt', 1), window.control('tedt', 1));
        field = window.control('tedt', 1);
        gone = window.get();
    }
    // Controls of a disposed window are refused, not followed.
    EXPECT_EQ(GetControlValue(field), 0);
    EXPECT_EQ(ActivateControl(field), paramErr);
    EXPECT_FALSE(IsControlVisible(field));
    Size size = 7;
    EXPECT_EQ(GetControlDataSize(field, 0, kControlEditTextTextTag, &size), paramErr);
    EXPECT_EQ(GetControlOwner(field), nullptr);
    EXPECT_EQ(VeltraControlWidget(field), nullptr);
    const ControlID id{'tedt', 1};
    EXPECT_EQ(GetControlByID(gone, &id, &field), errInvalidWindowRef);
    DisposeWindow(gone); // twice: nothing happens
}

TEST(ControlState, ActiveAndVisibleStatesAreTheControlsOwn)
{
    NibWindow window("Window");
    ASSERT_EQ(window.status(), noErr);
    ControlRef field = window.control('tedt', 1);
    ControlRef pane = window.control('test', 1);
    EXPECT_EQ(DeactivateControl(field), noErr);
    EXPECT_FALSE(IsControlActive(field));
    EXPECT_FALSE(VeltraControlWidget(field)->isEnabled());
    EXPECT_EQ(ActivateControl(field), noErr);
    EXPECT_TRUE(IsControlActive(field));
    // An inactive container dims its controls, but they keep their own state.
    DeactivateControl(pane);
    EXPECT_FALSE(IsControlActive(pane));
    EXPECT_TRUE(IsControlActive(field));
    EXPECT_FALSE(VeltraControlWidget(field)->isEnabled());
    ActivateControl(pane);
    EXPECT_TRUE(VeltraControlWidget(field)->isEnabled());

    // Visibility changes even while the window is hidden.
    ControlRef check = window.control('tchk', 1);
    EXPECT_EQ(HideControl(check), noErr);
    EXPECT_FALSE(IsControlVisible(check));
    EXPECT_EQ(ShowControl(check), noErr);
    EXPECT_TRUE(IsControlVisible(check));
    EXPECT_EQ(SetControlVisibility(check, false, false), noErr);
    ShowWindow(window);
    EXPECT_FALSE(VeltraControlWidget(check)->isVisible());
    SetControlVisibility(check, true, true);
    EXPECT_TRUE(VeltraControlWidget(check)->isVisible());
}

TEST(ControlValues, EachKindKeepsItsValueWithinItsLimits)
{
    NibWindow window("Window");
    ASSERT_EQ(window.status(), noErr);
    const struct
    {
        OSType signature;
        SInt32 id;
        SInt16 minimum, maximum, set, expected;
    } cases[] = {
        // Pop-up list: items numbered from 1; values beyond the items are clamped.
        {'tpop', 1, 1, 3, 3, 3},
        {'tpop', 1, 1, 3, 9, 3},
        {'tpop', 1, 1, 3, 0, 1},
        // Check box and radio button: 0 or 1; radio buttons are left for the program to group.
        {'tchk', 1, 0, 1, 1, 1},
        {'trad', 1, 0, 1, 1, 1},
        {'trad', 2, 0, 1, 1, 1},
        {'tchk', 1, 0, 1, 0, 0},
        // Texts have no value.
        {'tedt', 1, 0, 0, 5, 0},
    };
    for (const auto &c : cases) {
        ControlRef control = window.control(c.signature, c.id);
        SetControlValue(control, c.set);
        EXPECT_EQ(GetControlValue(control), c.expected) << std::hex << c.signature << " " << c.set;
        EXPECT_EQ(GetControl32BitValue(control), c.expected);
        EXPECT_EQ(GetControlMinimum(control), c.minimum);
        EXPECT_EQ(GetControlMaximum(control), c.maximum);
    }
    EXPECT_EQ(GetControlValue(window.control('trad', 1)), 1) << "B on did not turn A off";
    SetControl32BitValue(window.control('tpop', 1), 2);
    EXPECT_EQ(window.widgetOf<QComboBox>('tpop', 1)->currentIndex(), 1);

    ControlRef pane = window.control('tinr', 1);
    SetControlMaximum(pane, 10);
    SetControlMinimum(pane, 2);
    const std::pair<int, int> limited[] = {{5, 5}, {50, 10}, {-5, 2}};
    for (const auto &[set, expected] : limited) {
        SetControlValue(pane, SInt16(set));
        EXPECT_EQ(GetControlValue(pane), expected) << set;
    }
}

TEST(PopupMenus, ListSetUpEmptiesTheMenuAndAppendsItsItems)
{
    MenuRef gone = nullptr;
    {
        NibWindow window("Window");
        ASSERT_EQ(window.status(), noErr);
        ControlRef list = window.control('tpop', 1);
        MenuRef menu = GetControlPopupMenuHandle(list);
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(CountMenuItems(menu), 3);
        EXPECT_EQ(DeleteMenuItems(menu, 1, CountMenuItems(menu)), noErr);
        EXPECT_EQ(CountMenuItems(menu), 0);
        EXPECT_EQ(GetControlMaximum(list), 0);
        EXPECT_EQ(GetControlValue(list), 0);
        MenuItemIndex index = 0;
        for (const char *item : {"Normal Print", "Secure Print", "Sample Print", "Hold"})
            EXPECT_EQ(AppendMenuItemTextWithCFString(menu, MakeCFString(item), 0, 0, &index),
                      noErr);
        EXPECT_EQ(index, 4);
        SetControlMinimum(list, 1);
        EXPECT_EQ(GetControlMaximum(list), 4);
        SetControlValue(list, 3);
        EXPECT_EQ(window.widgetOf<QComboBox>('tpop', 1)->currentText(),
                  QStringLiteral("Sample Print"));

        // Deleting the middle two leaves the first and the last; past the end, what is there.
        EXPECT_EQ(DeleteMenuItems(menu, 2, 2), noErr);
        EXPECT_EQ(GetControlMaximum(list), 2);
        CFRef<CFStringRef> text;
        ASSERT_EQ(CopyMenuItemTextAsCFString(menu, 2, &text.out()), noErr);
        EXPECT_EQ(QStringFromCF(text), QStringLiteral("Hold"));
        EXPECT_EQ(DeleteMenuItems(menu, 2, 10), noErr);
        EXPECT_EQ(CountMenuItems(menu), 1);
        EXPECT_EQ(CopyMenuItemTextAsCFString(menu, 5, &text.out()), paramErr);
        EXPECT_EQ(DeleteMenuItems(menu, 0, 1), paramErr);
        EXPECT_EQ(GetControlPopupMenuHandle(window.control('tchk', 1)), nullptr);
        gone = menu;
    }
    EXPECT_EQ(CountMenuItems(gone), 0);
    EXPECT_EQ(AppendMenuItemTextWithCFString(gone, CFSTR("x"), 0, 0, nullptr), errUnknownMenu);
}

TEST(ControlTitles, TitlesRoundTripAsPlainText)
{
    NibWindow window("Window");
    ASSERT_EQ(window.status(), noErr);
    ControlRef root = nullptr;
    ASSERT_EQ(GetRootControl(window, &root), noErr);
    const struct
    {
        ControlRef control;
        const char *title;
    } cases[] = {
        {window.control('tbtn', 1), "Print & Fax"},
        {window.control('trad', 1), "Ask at print time"},
        {window.control('tgrp', 1), "Job <b>type</b>"},
        {window.control('tstx', 1), "Passcode <4 digits>"},
        {root, "Accounting"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(SetControlTitleWithCFString(c.control, MakeCFString(c.title)), noErr) << c.title;
        CFRef<CFStringRef> back;
        ASSERT_EQ(CopyControlTitleAsCFString(c.control, &back.out()), noErr);
        EXPECT_EQ(QStringFromCF(back), QString::fromUtf8(c.title));
    }
    // A button shows the ampersand, not a shortcut.
    EXPECT_EQ(window.widgetOf<QPushButton>('tbtn', 1)->text(), QStringLiteral("Print && Fax"));
    EXPECT_EQ(window.widget()->windowTitle(), QStringLiteral("Accounting"));
    EXPECT_EQ(SetControlTitleWithCFString(window.control('tbtn', 1), nullptr), paramErr);
}

TEST(ControlBounds, BoundsAreWindowCoordinates)
{
    NibWindow window("Window");
    ASSERT_EQ(window.status(), noErr);
    ControlRef root = nullptr;
    ASSERT_EQ(GetRootControl(window, &root), noErr);
    // The pane lies at (10, 20) in the window; its widgets are placed inside it.
    EXPECT_EQ(BoundsOf(window.control('test', 1)), (Rect{20, 10, 300, 390}));
    EXPECT_EQ(BoundsOf(window.control('tedt', 1)), (Rect{168, 20, 192, 220}));
    EXPECT_EQ(BoundsOf(root), (Rect{0, 0, 320, 420}));
    ControlRef field = window.control('tedt', 1);
    const Rect wanted{100, 50, 130, 250};
    SetControlBounds(field, &wanted);
    EXPECT_EQ(BoundsOf(field), wanted);
    EXPECT_EQ(VeltraControlWidget(field)->geometry(), QRect(40, 80, 200, 30));
}

TEST(EmbedControl, PaneMovesIntoTheDialogKeepingItsWindowLocalBounds)
{
    NibWindow nib("Window");
    ASSERT_EQ(nib.status(), noErr);
    // The host's print dialog: a window with a user pane at (30, 40).
    QWidget dialog;
    dialog.resize(600, 500);
    auto *userPaneWidget = new QWidget(&dialog);
    userPaneWidget->setGeometry(30, 40, 500, 400);
    WindowRef dialogWindow = VeltraWindowForWidget(&dialog);
    ASSERT_NE(dialogWindow, nullptr);
    ControlRef userPane = VeltraControlForWidget(userPaneWidget);

    ControlRef pane = nib.control('test', 1);
    ControlRef field = nib.control('tedt', 1);
    // Only containers take controls, and never a parent of their own.
    EXPECT_EQ(EmbedControl(field, nib.control('tbtn', 1)), errControlIsNotEmbedder);
    EXPECT_EQ(EmbedControl(pane, nib.control('tinr', 1)), paramErr);
    EXPECT_EQ(EmbedControl(nullptr, pane), paramErr);

    // What a panel does: place the pane inside the user pane's area, then embed it.
    const Rect placed{50, 60, 330, 440};
    SetControlBounds(pane, &placed);
    ASSERT_EQ(EmbedControl(pane, userPane), noErr);
    EXPECT_EQ(VeltraControlWidget(pane)->parentWidget(), userPaneWidget);
    EXPECT_EQ(BoundsOf(pane), placed);
    EXPECT_EQ(VeltraControlWidget(pane)->pos(), QPoint(30, 10));
    EXPECT_EQ(GetControlOwner(pane), dialogWindow);

    // The nib window goes; the pane and its controls live on in the dialog.
    DisposeWindow(nib);
    const ControlID fieldID{'tedt', 1};
    ASSERT_EQ(GetControlByID(dialogWindow, &fieldID, &field), noErr);
    EXPECT_EQ(GetControlOwner(field), dialogWindow);
    EXPECT_EQ(BoundsOf(field), (Rect{SInt16(placed.top + 148), SInt16(placed.left + 10),
                                     SInt16(placed.top + 172), SInt16(placed.left + 210)}));
    DisposeWindow(dialogWindow);
    EXPECT_TRUE(dialog.isWindow()) << "an adopted window is only forgotten";
}

TEST(ControlData, TextTagsApplyOnlyToTextsAndRoundTrip)
{
    NibWindow window("Window");
    ASSERT_EQ(window.status(), noErr);
    const struct
    {
        OSType signature;
        ResType tag;
        bool supported;
    } tags[] = {
        {'tedt', 'text', true},  {'tedt', 'pass', true},  {'tedt', 'fltr', true},
        {'tpwd', 'pwcf', true},  {'tstx', 'cfst', true},  {'tstx', 'fltr', false},
        {'tstx', 'pwcf', false}, {'tedt', 'date', false}, {'tchk', 'cfst', false},
        {'tpop', 'text', false}, {'test', 'text', false},
    };
    for (const auto &c : tags) {
        ControlRef control = window.control(c.signature, 1);
        Size size = 0;
        char buffer[64] = {};
        EXPECT_EQ(GetControlDataSize(control, 0, c.tag, &size),
                  c.supported ? noErr : errDataNotSupported)
            << std::hex << c.signature << "/" << c.tag;
        if (!c.supported) {
            EXPECT_EQ(GetControlData(control, 0, c.tag, sizeof(buffer), buffer, &size),
                      errDataNotSupported);
            EXPECT_EQ(SetControlData(control, 0, c.tag, 1, buffer), errDataNotSupported);
        }
    }

    const struct
    {
        OSType signature;
        ResType tag;
        const char *text;
    } texts[] = {
        {'tedt', 'cfst', "Ünïcødé 日本語 テスト"},
        {'tpwd', 'pwcf', "123456"},
        {'tstx', 'cfst', "Enter the passcode <4 digits> & press OK"},
        {'tedt', 'cfst', ""},
    };
    for (const auto &c : texts) {
        ControlRef control = window.control(c.signature, 1);
        ASSERT_EQ(SetText(control, c.tag, c.text), noErr) << c.text;
        CFRef<CFStringRef> back = CopyText(control, c.tag);
        EXPECT_EQ(QStringFromCF(back), QString::fromUtf8(c.text));
        EXPECT_EQ(CFGetRetainCount(back), 1) << "the caller owns the only reference";
    }
    EXPECT_EQ(window.widgetOf<QLineEdit>('tpwd', 1)->text(), QStringLiteral("123456"));
    EXPECT_EQ(window.widgetOf<QLabel>('tstx', 1)->textFormat(), Qt::PlainText);

    // Legacy bytes set the text as Latin-1, up to a NUL.
    const char digits[] = "123456789012";
    ASSERT_EQ(SetControlData(window.control('tpwd', 1), 0, kControlEditTextPasswordTag, 12, digits),
              noErr);
    EXPECT_EQ(window.widgetOf<QLineEdit>('tpwd', 1)->text(), QStringLiteral("123456789012"));
    const char latin1[] = {'n', char(0xE9), '\0', 'x'};
    ASSERT_EQ(SetControlData(window.control('tstx', 1), 0, 'text', sizeof(latin1), latin1), noErr);
    EXPECT_EQ(window.widgetOf<QLabel>('tstx', 1)->text(), QString::fromUtf8("n\xC3\xA9"));
}

TEST(ControlData, LegacyTextIsTheDisplayLengthAndASmallBufferGetsItsBeginning)
{
    NibWindow window("Window");
    ASSERT_EQ(window.status(), noErr);
    ControlRef field = window.control('tedt', 1);
    const struct
    {
        const char *text;
        std::vector<UInt8> bytes;
    } cases[] = {
        {"caf\xC3\xA9", {'c', 'a', 'f', 0xE9}},                 // é is Latin-1: one byte
        {"\xE6\x97\xA5\xE6\x9C\xAC", {0x65, 0xE5, 0x67, 0x2C}}, // 日本: two bytes each
        {"a\xEF\xBD\xB1", {'a', 0xFF, 0x71}},                   // half-width ｱ
        {"", {}},
    };
    for (const auto &c : cases) {
        ASSERT_EQ(SetText(field, 'cfst', c.text), noErr);
        Size size = -1;
        ASSERT_EQ(GetControlDataSize(field, 0, kControlEditTextTextTag, &size), noErr);
        EXPECT_EQ(size, Size(c.bytes.size())) << c.text;
        UInt8 buffer[255] = {};
        Size actual = -1;
        ASSERT_EQ(
            GetControlData(field, 0, kControlEditTextTextTag, sizeof(buffer), buffer, &actual),
            noErr);
        EXPECT_EQ(std::vector<UInt8>(buffer, buffer + actual), c.bytes) << c.text;
    }

    ASSERT_EQ(SetText(field, 'cfst', QString(60, QLatin1Char('x')).toUtf8().constData()), noErr);
    char buffer[8] = {};
    Size actual = 0;
    ASSERT_EQ(GetControlData(field, 0, 'text', 4, buffer, &actual), noErr);
    EXPECT_EQ(actual, 60);
    EXPECT_STREQ(buffer, "xxxx");
    CFStringRef text = nullptr;
    EXPECT_EQ(GetControlData(field, 0, 'cfst', 2, &text, &actual), paramErr);
    EXPECT_EQ(text, nullptr);

    // Bad input is refused and the text is kept.
    ASSERT_EQ(SetText(field, 'cfst', "kept"), noErr);
    CFStringRef none = nullptr;
    EXPECT_EQ(SetControlData(field, 0, 'cfst', sizeof(none), &none), paramErr);
    CFRef<CFURLRef> url(
        CFURLCreateWithFileSystemPath(nullptr, CFSTR("/tmp"), kCFURLPOSIXPathStyle, true));
    CFTypeRef notAString = url.get();
    EXPECT_EQ(SetControlData(field, 0, 'cfst', sizeof(notAString), &notAString), paramErr);
    EXPECT_EQ(SetControlData(field, 0, 'text', 5, nullptr), paramErr);
    EXPECT_EQ(SetControlData(field, 0, 'text', -1, "x"), paramErr);
    EXPECT_EQ(GetControlDataSize(field, 0, 'text', nullptr), paramErr);
    EXPECT_EQ(window.widgetOf<QLineEdit>('tedt', 1)->text(), QStringLiteral("kept"));
}
