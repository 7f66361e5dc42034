// Looking controls up, their state, values, limits, menus and titles.
#include "ToolboxFixtures.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TEST(ControlLookup, FindsWidgetsBySignatureAndID)
{
    NibWindow window("Window");
    ASSERT_EQ(window.status(), noErr);
    const struct
    {
        OSType signature;
        SInt32 id;
        const char *objectName;
    } cases[] = {
        {'test', 1, "pane"},   {'tpop', 1, "popup"},     {'tchk', 1, "check"},
        {'trad', 1, "radioA"}, {'trad', 2, "radioB"},    {'tbtn', 1, "button"},
        {'tedt', 1, "edit"},   {'tpwd', 1, "password"},  {'tstx', 1, "label"},
        {'tgrp', 1, "group"},  {'tedt', 2, "groupEdit"},
    };
    for (const auto &c : cases) {
        const ControlID id{c.signature, c.id};
        ControlRef control = nullptr;
        ASSERT_EQ(GetControlByID(window, &id, &control), noErr) << c.objectName;
        EXPECT_EQ(VeltraControlWidget(control)->objectName(), QLatin1String(c.objectName));
        ControlID back{0, 0};
        EXPECT_EQ(GetControlID(control, &back), noErr);
        EXPECT_EQ(back.signature, c.signature);
        EXPECT_EQ(back.id, c.id);
        EXPECT_EQ(GetControlOwner(control), window.get());
        // The same widget always answers the same reference.
        EXPECT_EQ(VeltraControlForWidget(VeltraControlWidget(control)), control);
    }
}

TEST(ControlLookup, UnknownIdentityIsAnError)
{
    NibWindow window("Window");
    ASSERT_EQ(window.status(), noErr);
    const ControlID cases[] = {{'tedt', 3}, {'none', 1}, {'tpop', 0}};
    for (const ControlID &id : cases) {
        ControlRef control = reinterpret_cast<ControlRef>(1);
        EXPECT_EQ(GetControlByID(window, &id, &control), errUnknownControl);
        EXPECT_EQ(control, nullptr);
    }
    const ControlID id{'tedt', 1};
    ControlRef control = nullptr;
    EXPECT_EQ(GetControlByID(nullptr, &id, &control), errInvalidWindowRef);
    EXPECT_EQ(GetControlByID(window, nullptr, &control), paramErr);
}

TEST(ControlLookup, ControlsOfADisposedWindowAreRefusedNotFollowed)
{
    ControlRef field = nullptr;
    WindowRef gone = nullptr;
    {
        NibWindow window("Window");
        ASSERT_EQ(window.status(), noErr);
        field = window.control('tedt', 1);
        gone = window.get();
    }
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

TEST(ControlState, ActivateDeactivateAnswerTheControlsOwnState)
{
    NibWindow window("Window");
    ASSERT_EQ(window.status(), noErr);
    ControlRef field = window.control('tedt', 1);
    ControlRef pane = window.control('test', 1);
    EXPECT_TRUE(IsControlActive(field));
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
}

TEST(ControlState, ShowAndHideChangeVisibilityEvenInAHiddenWindow)
{
    NibWindow window("Window");
    ASSERT_EQ(window.status(), noErr);
    ControlRef check = window.control('tchk', 1);
    EXPECT_TRUE(IsControlVisible(check));
    EXPECT_EQ(HideControl(check), noErr);
    EXPECT_FALSE(IsControlVisible(check));
    EXPECT_EQ(ShowControl(check), noErr);
    EXPECT_TRUE(IsControlVisible(check));
    EXPECT_EQ(SetControlVisibility(check, false, false), noErr);
    EXPECT_TRUE(VeltraControlWidget(check)->isHidden());
    ShowWindow(window);
    EXPECT_FALSE(VeltraControlWidget(check)->isVisible());
    SetControlVisibility(check, true, true);
    EXPECT_TRUE(VeltraControlWidget(check)->isVisible());
}

TEST(ControlValues, EachKindKeepsItsValueAndLimits)
{
    NibWindow window("Window");
    ASSERT_EQ(window.status(), noErr);
    const struct
    {
        OSType signature;
        SInt32 id;
        SInt16 minimum, maximum;
        SInt16 set, expected;
    } cases[] = {
        // Pop-up list: items numbered from 1; values beyond the items are clamped.
        {'tpop', 1, 1, 3, 2, 2},
        {'tpop', 1, 1, 3, 3, 3},
        {'tpop', 1, 1, 3, 9, 3},
        {'tpop', 1, 1, 3, 0, 1},
        // Check box and radio button: 0 or 1.
        {'tchk', 1, 0, 1, 1, 1},
        {'tchk', 1, 0, 1, 0, 0},
        {'trad', 2, 0, 1, 1, 1},
        {'trad', 1, 0, 1, 0, 0},
        // Texts have no value.
        {'tedt', 1, 0, 0, 5, 0},
        {'tstx', 1, 0, 0, 5, 0},
    };
    for (const auto &c : cases) {
        ControlRef control = window.control(c.signature, c.id);
        SetControlValue(control, c.set);
        EXPECT_EQ(GetControlValue(control), c.expected) << std::hex << c.signature << " " << c.set;
        EXPECT_EQ(GetControl32BitValue(control), c.expected);
        EXPECT_EQ(GetControlMinimum(control), c.minimum);
        EXPECT_EQ(GetControlMaximum(control), c.maximum);
    }
    EXPECT_EQ(window.widgetOf<QComboBox>('tpop', 1)->currentText(), QStringLiteral("First"));
    SetControl32BitValue(window.control('tchk', 1), 1);
    EXPECT_TRUE(window.widgetOf<QCheckBox>('tchk', 1)->isChecked());
}

TEST(ControlValues, PaneValueStaysWithinItsLimits)
{
    NibWindow window("Window");
    ASSERT_EQ(window.status(), noErr);
    ControlRef pane = window.control('tinr', 1);
    SetControlMaximum(pane, 10);
    SetControlMinimum(pane, 2);
    SetControlValue(pane, 5);
    EXPECT_EQ(GetControlValue(pane), 5);
    SetControlValue(pane, 50);
    EXPECT_EQ(GetControlValue(pane), 10);
    SetControlValue(pane, -5);
    EXPECT_EQ(GetControlValue(pane), 2);
}

TEST(PopupMenus, ItemsAreNumberedFromOneAndSetTheMaximum)
{
    NibWindow window("Window");
    ASSERT_EQ(window.status(), noErr);
    ControlRef list = window.control('tpop', 1);
    MenuRef menu = GetControlPopupMenuHandle(list);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(GetControlPopupMenuHandle(list), menu);
    EXPECT_EQ(CountMenuItems(menu), 3);

    // What a list's menu set-up does: empty it, then append the localised items.
    EXPECT_EQ(DeleteMenuItems(menu, 1, CountMenuItems(menu)), noErr);
    EXPECT_EQ(CountMenuItems(menu), 0);
    EXPECT_EQ(GetControlMaximum(list), 0);
    EXPECT_EQ(GetControlValue(list), 0);
    EXPECT_EQ(DeleteMenuItems(menu, 1, 0), noErr);
    const char *items[] = {"Normal Print", "Secure Print", "Sample Print", "Hold"};
    MenuItemIndex index = 0;
    for (const char *item : items)
        EXPECT_EQ(AppendMenuItemTextWithCFString(menu, MakeCFString(item), 0, 0, &index), noErr);
    EXPECT_EQ(index, 4);
    SetControlMinimum(list, 1);
    EXPECT_EQ(GetControlMaximum(list), 4);
    SetControlValue(list, 3);
    EXPECT_EQ(window.widgetOf<QComboBox>('tpop', 1)->currentText(), QStringLiteral("Sample Print"));

    // Deleting the middle two leaves the first and the last.
    EXPECT_EQ(DeleteMenuItems(menu, 2, 2), noErr);
    EXPECT_EQ(GetControlMaximum(list), 2);
    CFRef<CFStringRef> text;
    ASSERT_EQ(CopyMenuItemTextAsCFString(menu, 2, &text.out()), noErr);
    EXPECT_EQ(QStringFromCF(text), QStringLiteral("Hold"));
    // Deleting past the end removes what is there.
    EXPECT_EQ(DeleteMenuItems(menu, 2, 10), noErr);
    EXPECT_EQ(CountMenuItems(menu), 1);

    EXPECT_EQ(CopyMenuItemTextAsCFString(menu, 5, &text.out()), paramErr);
    EXPECT_EQ(DeleteMenuItems(menu, 0, 1), paramErr);
    EXPECT_EQ(AppendMenuItemTextWithCFString(menu, nullptr, 0, 0, nullptr), paramErr);
    EXPECT_EQ(GetControlPopupMenuHandle(window.control('tchk', 1)), nullptr);
    EXPECT_EQ(CountMenuItems(nullptr), 0);
}

TEST(PopupMenus, MenuOfAGoneListIsRefused)
{
    MenuRef menu = nullptr;
    {
        NibWindow window("Window");
        ASSERT_EQ(window.status(), noErr);
        menu = GetControlPopupMenuHandle(window.control('tpop', 1));
    }
    EXPECT_EQ(CountMenuItems(menu), 0);
    EXPECT_EQ(AppendMenuItemTextWithCFString(menu, CFSTR("x"), 0, 0, nullptr), errUnknownMenu);
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
        {window.control('tchk', 1), "Use the login name"},
        {window.control('trad', 1), "Ask at print time"},
        {window.control('tgrp', 1), "Job <b>type</b>"},
        {window.control('tstx', 1), "Passcode <4 digits>"},
        {window.control('tpop', 1), "Type:"},
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
