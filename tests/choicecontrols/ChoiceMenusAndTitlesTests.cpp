// Menus and titles of the choice controls come from localisation keys: the bundle's
// translation when it has one, the key itself otherwise.
#include "AppResources.h"
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

QStringList ItemsOf(const QComboBox *combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

// Opens the plug-in bundle from the build tree, as the print system does before it loads the
// plug-in, and picks the language of its strings.
CFBundleRef OpenPlugInBundle(const char *language)
{
    VeltraBundleSetLanguage(language);
    if (CFBundleRef open = GetAppBundleRef())
        return open;
    CFRef<CFURLRef> url(CFURLCreateWithFileSystemPath(nullptr, CFSTR(VELTRA_TEST_BUNDLE_DIR),
                                                      kCFURLPOSIXPathStyle, true));
    CFBundleCreate(nullptr, url);
    return GetAppBundleRef();
}

TEST(ChoiceMenus, ListMenuIsRebuiltFromTheRecordKeys)
{
    struct Case
    {
        const char *what;
        ControlID *list;
        const char *widget;
        CFStringRef *keys;
        QStringList expectedItems;
        int expectedMaximum;
    };
    const Case cases[] = {
        {"three keys replace the window's items",
         &jobListID,
         "jobList",
         jobTypeMenu,
         {"Job Type None", "Job Type Secure", "Job Type Sample"},
         3},
        {"no menu items", &shortTableListID, "shortTableList", nullptr, {}, 0},
        {"empty key list", &jobListID, "jobList", noKeys, {}, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        TestWindow window("ChoiceWindow");
        ListPopupIniData ini = {0, 1, -1, c.keys};
        CListControl list(c.list, &ini, nullptr, nullptr);
        ASSERT_TRUE(list.InitializeCtrl(window.window, nullptr, nullptr, nullptr));
        EXPECT_EQ(ItemsOf(window.Find<QComboBox>(c.widget)), c.expectedItems);
        EXPECT_EQ(GetControlMinimum(list.GetControlRef()), 1);
        EXPECT_EQ(GetControlMaximum(list.GetControlRef()), c.expectedMaximum);
        ASSERT_NE(list.GetControlDataBlk(), nullptr);
        EXPECT_EQ(*static_cast<SInt32 *>(list.GetControlDataBlk()), 0);
    }
}

// Without keys the menu is left as the window had it.
TEST(ChoiceMenus, ListWithoutKeysKeepsItsMenu)
{
    TestWindow window("ChoiceWindow");
    static ListPopupIniData noMenu = {0, 1, -1, nullptr};
    CListControl list(&emptyListID, &noMenu, nullptr, nullptr);
    EXPECT_TRUE(list.InitializeCtrl(window.window, nullptr, nullptr, nullptr));
    CListControl bare(&jobListID, nullptr, nullptr, nullptr);
    EXPECT_TRUE(bare.InitializeCtrl(window.window, nullptr, nullptr, nullptr));
    EXPECT_EQ(ItemsOf(window.Find<QComboBox>("emptyList")),
              (QStringList{"Stale One", "Stale Two"}));
    EXPECT_EQ(ItemsOf(window.Find<QComboBox>("jobList")), (QStringList{"Stale Item"}));
}

TEST(ChoiceTitles, TitlesComeFromTheirKeys)
{
    TestWindow window("ChoiceWindow");
    static CheckBoxIniData checkIni = {0, 0, -1, CFSTR("Print Type Check Title")};
    static RadioButtonIniData radioIni = {0, 0, -1, CFSTR("Print Type Radio Title"), nullptr};
    CCheckBoxControl check(&firstCheckID, &checkIni, nullptr, nullptr);
    CRadioButton radio(&radioAID, &radioIni, nullptr, nullptr);
    ASSERT_TRUE(check.InitializeCtrl(window.window, nullptr, nullptr, nullptr));
    ASSERT_TRUE(radio.InitializeCtrl(window.window, nullptr, nullptr, nullptr));
    EXPECT_EQ(window.Find<QCheckBox>("firstCheck")->text(),
              QStringLiteral("Print Type Check Title"));
    EXPECT_EQ(window.Find<QRadioButton>("radioA")->text(),
              QStringLiteral("Print Type Radio Title"));
}

TEST(ChoiceTitles, MissingTitleKeyFailsAndAllocatesNothing)
{
    TestWindow window("ChoiceWindow");
    static CheckBoxIniData checkIni = {0, 0, -1, nullptr};
    static RadioButtonIniData radioIni = {0, 0, -1, nullptr, nullptr};
    CCheckBoxControl check(&firstCheckID, &checkIni, nullptr, nullptr);
    CRadioButton radio(&radioAID, &radioIni, nullptr, nullptr);
    EXPECT_FALSE(check.InitializeCtrl(window.window, nullptr, nullptr, nullptr));
    EXPECT_FALSE(radio.InitializeCtrl(window.window, nullptr, nullptr, nullptr));
    EXPECT_EQ(check.GetControlDataBlk(), nullptr);
    EXPECT_EQ(radio.GetUIDataBlk(), nullptr);
    EXPECT_EQ(window.Find<QCheckBox>("firstCheck")->text(), QStringLiteral("First"));

    // Without a record at all there is no title to set, and that is no failure.
    CCheckBoxControl bare(&secondCheckID, nullptr, nullptr, nullptr);
    EXPECT_TRUE(bare.InitializeCtrl(window.window, nullptr, nullptr, nullptr));
    EXPECT_EQ(window.Find<QCheckBox>("secondCheck")->text(), QStringLiteral("Second"));
}

TEST(ChoiceTitles, MissingWidgetFailsAndAllocatesNothing)
{
    TestWindow window("ChoiceWindow");
    static ControlID absent = {'none', 9};
    static ListPopupIniData ini = {0, 1, -1, jobTypeMenu};
    CListControl list(&absent, &ini, nullptr, nullptr);
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

    ASSERT_NE(OpenPlugInBundle("ja"), nullptr) << "the plug-in bundle was not built";
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

    static ControlID absent = {'none', 9};
    CListControl lost(&absent, &listIni, nullptr, nullptr);
    EXPECT_FALSE(lost.ReInitializeCtrl(second.window));
    VeltraBundleSetLanguage("en");
}

} // namespace
