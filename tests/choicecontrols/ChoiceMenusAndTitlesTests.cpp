// Menus and titles of the choice controls come from localisation keys: the bundle's
// translation when it has one, the key itself otherwise.
#include "CCheckBoxControl.h"
#include "CListControl.h"
#include "CRadioButton.h"
#include "ChoiceTestPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>

namespace {

CFStringRef jobTypeMenu[] = {CFSTR("Job Type None"), CFSTR("Job Type Secure"),
                             CFSTR("Job Type Sample"), nullptr};
CFStringRef noKeys[] = {nullptr};
// "PDE Title" has a translation in the plug-in bundle; the other key has none.
CFStringRef translatedMenu[] = {CFSTR("PDE Title"), CFSTR("Choice Without Translation"), nullptr};
ControlID absentID = {'none', 9};

QStringList ItemsOf(const QComboBox *combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

TEST(ChoiceMenus, ListMenuIsRebuiltFromTheRecordKeys)
{
    const struct
    {
        const char *what;
        ControlID *list;
        const char *widget;
        bool record;
        CFStringRef *keys;
        QStringList items;
        int maximum; // -1: not checked
    } cases[] = {
        {"three keys replace the window's items",
         &jobListID,
         "jobList",
         true,
         jobTypeMenu,
         {"Job Type None", "Job Type Secure", "Job Type Sample"},
         3},
        {"no menu items", &shortTableListID, "shortTableList", true, nullptr, {}, 0},
        {"empty key list", &jobListID, "jobList", true, noKeys, {}, 0},
        // Without keys or without record the menu is left as the window had it.
        {"no keys", &emptyListID, "emptyList", true, nullptr, {"Stale One", "Stale Two"}, -1},
        {"no record", &jobListID, "jobList", false, nullptr, {"Stale Item"}, -1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        TestWindow window("ChoiceWindow");
        ListPopupIniData ini = {0, 1, -1, c.keys};
        CListControl list(c.list, c.record ? &ini : nullptr, nullptr, nullptr);
        ASSERT_TRUE(list.InitializeCtrl(window.window, nullptr, nullptr, nullptr));
        EXPECT_EQ(ItemsOf(window.Find<QComboBox>(c.widget)), c.items);
        if (c.maximum >= 0) {
            EXPECT_EQ(GetControlMinimum(list.GetControlRef()), 1);
            EXPECT_EQ(GetControlMaximum(list.GetControlRef()), c.maximum);
            ASSERT_NE(list.GetControlDataBlk(), nullptr);
            EXPECT_EQ(*static_cast<SInt32 *>(list.GetControlDataBlk()), 0);
        }
    }
}

TEST(ChoiceTitles, TitlesComeFromTheirKeysAndAMissingKeyOrWidgetFails)
{
    TestWindow window("ChoiceWindow");
    static CheckBoxIniData checkIni = {0, 0, -1, CFSTR("Print Type Check Title")};
    static RadioButtonIniData radioIni = {0, 0, -1, CFSTR("Print Type Radio Title"), nullptr};
    CCheckBoxControl check(&firstCheckID, &checkIni, nullptr, nullptr);
    CRadioButton radio(&radioAID, &radioIni, nullptr, nullptr);
    ASSERT_TRUE(check.InitializeCtrl(window.window, nullptr, nullptr, nullptr));
    ASSERT_TRUE(radio.InitializeCtrl(window.window, nullptr, nullptr, nullptr));
    EXPECT_EQ(window.Find<QCheckBox>("firstCheck")->text(), "Print Type Check Title");
    EXPECT_EQ(window.Find<QRadioButton>("radioA")->text(), "Print Type Radio Title");

    // A record without title key fails and allocates nothing.
    static CheckBoxIniData untitledCheck = {0, 0, -1, nullptr};
    static RadioButtonIniData untitledRadio = {0, 0, -1, nullptr, nullptr};
    CCheckBoxControl noTitle(&secondCheckID, &untitledCheck, nullptr, nullptr);
    CRadioButton noRadioTitle(&radioBID, &untitledRadio, nullptr, nullptr);
    EXPECT_FALSE(noTitle.InitializeCtrl(window.window, nullptr, nullptr, nullptr));
    EXPECT_FALSE(noRadioTitle.InitializeCtrl(window.window, nullptr, nullptr, nullptr));
    EXPECT_EQ(noTitle.GetControlDataBlk(), nullptr);
    EXPECT_EQ(noRadioTitle.GetUIDataBlk(), nullptr);
    EXPECT_EQ(window.Find<QCheckBox>("secondCheck")->text(), "Second");
    // Without a record at all there is no title to set, and that is no failure.
    CCheckBoxControl bare(&secondCheckID, nullptr, nullptr, nullptr);
    EXPECT_TRUE(bare.InitializeCtrl(window.window, nullptr, nullptr, nullptr));
    EXPECT_EQ(window.Find<QCheckBox>("secondCheck")->text(), "Second");

    // A control whose widget is missing fails and allocates nothing.
    static ListPopupIniData ini = {0, 1, -1, jobTypeMenu};
    CListControl list(&absentID, &ini, nullptr, nullptr);
    EXPECT_FALSE(list.InitializeCtrl(window.window, nullptr, nullptr, nullptr));
    EXPECT_EQ(list.GetControlRef(), nullptr);
    EXPECT_EQ(list.GetControlDataBlk(), nullptr);
    EXPECT_FALSE(list.InitializeCtrl(nullptr, nullptr, nullptr, nullptr));
}

// Rebinding to a rebuilt window keeps the value and rebuilds menu and title with the
// plug-in's own bundle.
TEST(ChoiceTitles, ReinitialisedControlsUseThePlugInBundle)
{
    static ListPopupIniData listIni = {0, 1, -1, translatedMenu};
    static CheckBoxIniData checkIni = {0, 0, -1, CFSTR("Job Authentication Title")};
    static RadioButtonIniData radioIni = {0, 0, -1, CFSTR("PDE Title"), nullptr};
    CListControl list(&jobListID, &listIni, nullptr, nullptr);
    CCheckBoxControl check(&firstCheckID, &checkIni, nullptr, nullptr);
    CRadioButton radio(&radioAID, &radioIni, nullptr, nullptr);
    {
        TestWindow first("ChoiceWindow");
        ASSERT_TRUE(list.InitializeCtrl(first.window, nullptr, nullptr, nullptr));
        ASSERT_TRUE(check.InitializeCtrl(first.window, nullptr, nullptr, nullptr));
        ASSERT_TRUE(radio.InitializeCtrl(first.window, nullptr, nullptr, nullptr));
        // No bundle given: the keys stand.
        EXPECT_EQ(ItemsOf(first.Find<QComboBox>("jobList")),
                  (QStringList{"PDE Title", "Choice Without Translation"}));
        ChooseListItem(first.Find<QComboBox>("jobList"), 2);
        list.GetValueFromUI();
        list.SetValueFromUIToControl();
    }

    ASSERT_NE(OpenTestBundle("ja"), nullptr) << "the plug-in bundle was not built";
    TestWindow second("ChoiceWindow");
    ASSERT_TRUE(list.ReInitializeCtrl(second.window));
    ASSERT_TRUE(check.ReInitializeCtrl(second.window));
    ASSERT_TRUE(radio.ReInitializeCtrl(second.window));
    EXPECT_TRUE(list.SetControlValueToUI());

    EXPECT_EQ(ItemsOf(second.Find<QComboBox>("jobList")),
              (QStringList{QStringLiteral("印刷タイプ"), "Choice Without Translation"}));
    EXPECT_EQ(second.Find<QComboBox>("jobList")->currentIndex(), 1);
    EXPECT_EQ(second.Find<QCheckBox>("firstCheck")->text(), QStringLiteral("部門管理"));
    EXPECT_EQ(second.Find<QRadioButton>("radioA")->text(), QStringLiteral("印刷タイプ"));
    EXPECT_EQ(list.GetValueFromControl(), 2);

    CListControl lost(&absentID, &listIni, nullptr, nullptr);
    EXPECT_FALSE(lost.ReInitializeCtrl(second.window));
    VeltraBundleSetLanguage("en");
}

} // namespace
