// How a choice value travels: widget -> uiData on a click, uiData -> controlData on commit,
// controlData -> preferences and ticket as decimal text, and back from preferences.
#include "CCheckBoxControl.h"
#include "CListControl.h"
#include "CRadioButton.h"
#include "ChoiceTestPanel.h"

#include <QCheckBox>
#include <QComboBox>

#include <cstring>
#include <functional>

namespace {

CFStringRef jobTypeMenu[] = {CFSTR("Job Type None"), CFSTR("Job Type Secure"),
                             CFSTR("Job Type Sample"), nullptr};

ControlAccessInfo listAccess = {0, 0, nullptr, CFSTR("com.veltra.kzu.printsettings.JobListKey"),
                                CFSTR("JobListReference")};
ControlAccessInfo checkAccess = {0, 0, nullptr, CFSTR("com.veltra.kzu.printsettings.CheckKey"),
                                 CFSTR("CheckReference")};
ControlAccessInfo radioAccess = {0, 0, nullptr, CFSTR("com.veltra.kzu.printsettings.RadioKey"),
                                 CFSTR("RadioReference")};

ListPopupIniData listIni = {0, 2, -1, jobTypeMenu};
CheckBoxIniData checkIni = {1, 1, -1, CFSTR("Check Title")};
RadioButtonIniData radioIni = {0, 0, -1, CFSTR("Radio Title"), nullptr};

struct Kind
{
    const char *name;
    std::function<std::unique_ptr<CBaseControl>()> make;
    ControlAccessInfo *access;
    SInt32 defaultValue;
};

const Kind kKinds[] = {
    {"list",
     [] { return std::make_unique<CListControl>(&jobListID, &listIni, nullptr, &listAccess); },
     &listAccess, 2},
    {"check box",
     [] {
         return std::make_unique<CCheckBoxControl>(&firstCheckID, &checkIni, nullptr, &checkAccess);
     },
     &checkAccess, 1},
    {"radio button",
     [] { return std::make_unique<CRadioButton>(&radioAID, &radioIni, nullptr, &radioAccess); },
     &radioAccess, 0},
};

std::string PreferenceKey(const ControlAccessInfo *access)
{
    return "Veltra_Test_Printer" + QStringFromCF(access->preferenceKey).toStdString();
}

SInt32 UIValue(CBaseControl *c)
{
    return *static_cast<SInt32 *>(c->GetUIDataBlk());
}

class ChoiceValueTest : public PaneTest, public ChoiceScene
{
protected:
    void SetUp() override
    {
        PaneTest::SetUp();
        static ControlAccessInfo *const records[] = {&listAccess, &checkAccess, &radioAccess,
                                                     nullptr};
        SetPreferenceUserOfRecords(records, kCFPreferencesCurrentUser);
    }
};

// Preference texts are read as atoi reads them and written back as "%d", to the preferences
// and the ticket alike; without a stored text the value is the record's default.
TEST_F(ChoiceValueTest, PreferenceTextIsReadAsAtoiAndWrittenAsDecimalText)
{
    const struct
    {
        const char *stored; // null: nothing stored
        int value;
        const char *written;
    } cases[] = {{"abc", 0, "0"}, {"12ab", 12, "12"}, {"-1", -1, "-1"},   {"", 0, "0"},
                 {" 7", 7, "7"},  {"+4x", 4, "4"},    {"0012", 12, "12"}, {nullptr, -2, nullptr}};
    for (const Kind &kind : kKinds) {
        for (const auto &c : cases) {
            SCOPED_TRACE(std::string(kind.name) + " from \"" + (c.stored ? c.stored : "-") + "\"");
            ChoiceScene scene;
            CBaseControl *control = scene.panel.add(kind.make().release());
            scene.panel.bind(scene.window.window);
            StorePreference(PreferenceKey(kind.access), c.stored);
            scene.panel.load();
            const int value = c.stored ? c.value : kind.defaultValue;
            EXPECT_EQ(control->GetValueFromControl(), value);
            // Forget the stored text so that what is found next was written by the control.
            StorePreference(PreferenceKey(kind.access), nullptr);
            scene.panel.SetValueToPreference();
            scene.panel.SetValueToTicket(scene.session.ticket().ref(), false);
            const std::string written = c.written ? c.written : std::to_string(value);
            EXPECT_EQ(StoredPreference(PreferenceKey(kind.access)), written);
            const std::string *ticket =
                scene.session.ticket().value(QStringFromCF(kind.access->ticketKey).toStdString());
            ASSERT_NE(ticket, nullptr);
            EXPECT_EQ(*ticket, written);
        }
    }
}

TEST_F(ChoiceValueTest, ClickRecordsTheValueAndCommitMovesIt)
{
    CBaseControl *list = panel.add(kKinds[0].make().release());
    CBaseControl *check = panel.add(kKinds[1].make().release());
    BindAndLoad();
    auto *combo = window.Find<QComboBox>("jobList");
    auto *box = window.Find<QCheckBox>("firstCheck");
    EXPECT_EQ(combo->currentIndex(), 1);
    EXPECT_TRUE(box->isChecked());

    ChooseListItem(combo, 3);
    ClickButton(box);
    EXPECT_EQ(UIValue(list), 3);
    EXPECT_EQ(UIValue(check), 0);
    // Nothing is committed before the dialog asks for it.
    EXPECT_EQ(list->GetValueFromControl(), 2);
    EXPECT_EQ(check->GetValueFromControl(), 1);

    panel.SetValueFromUIToControl();
    EXPECT_EQ(list->GetValueFromControl(), 3);
    EXPECT_EQ(check->GetValueFromControl(), 0);
    panel.SetValueToTicket(session.ticket().ref(), false);
    EXPECT_EQ(*session.ticket().value("com.veltra.kzu.printsettings.JobListKey"), "3");
    EXPECT_EQ(*session.ticket().value("com.veltra.kzu.printsettings.CheckKey"), "0");
}

TEST_F(ChoiceValueTest, ExternalValueIsShownWithoutTouchingTheBlocks)
{
    CBaseControl *list = panel.add(kKinds[0].make().release());
    CBaseControl *check = panel.add(kKinds[1].make().release());
    BindAndLoad();
    auto *combo = window.Find<QComboBox>("jobList");
    auto *box = window.Find<QCheckBox>("firstCheck");
    const SInt32 listUIValue = UIValue(list), checkUIValue = UIValue(check);

    SInt32 three = 3, off = 0, on = 1;
    EXPECT_TRUE(list->SetExternalValueToUI(&three, 4));
    EXPECT_EQ(combo->currentIndex(), 2);
    EXPECT_FALSE(list->SetExternalValueToUI(nullptr, 4));
    EXPECT_TRUE(check->SetExternalValueToUI(&off, 4));
    EXPECT_FALSE(box->isChecked());
    // An inactive check box still shows the value but answers false.
    check->Disable();
    EXPECT_FALSE(check->SetExternalValueToUI(&on, 4));
    EXPECT_TRUE(box->isChecked());

    EXPECT_EQ(UIValue(list), listUIValue);
    EXPECT_EQ(UIValue(check), checkUIValue);
    EXPECT_EQ(list->GetValueFromControl(), 2);
    // The default shown by the panel is the record's.
    ChooseListItem(combo, 3);
    panel.SetDefaultValueToUI();
    EXPECT_EQ(combo->currentIndex(), 1);
}

TEST_F(ChoiceValueTest, BlocksComeFromTheRecordAndConversionsNeedThem)
{
    for (const Kind &kind : kKinds) {
        SCOPED_TRACE(kind.name);
        std::unique_ptr<CBaseControl> unbound = kind.make();
        EXPECT_EQ(*static_cast<SInt32 *>(unbound->GetIniDataBlk()), -1);
        EXPECT_EQ(unbound->GetIniDataSize(), 4u);
        EXPECT_EQ(unbound->GetDefaultDataSize(), 4u);
        EXPECT_EQ(*static_cast<SInt32 *>(unbound->GetDefaultDataBlk()), kind.defaultValue);
        char text[256] = "5";
        unsigned char ticket[256] = {};
        EXPECT_FALSE(unbound->ConvertFromPreferenceString(text));
        EXPECT_FALSE(unbound->ConvertToPreferenceString(text));
        EXPECT_FALSE(unbound->ConvertToTickectData(ticket));
        EXPECT_FALSE(unbound->SetControlValueToUI());
        EXPECT_EQ(unbound->GetValueFromUI(), nullptr);
        EXPECT_EQ(unbound->GetValueFromControl(), 0);

        std::unique_ptr<CBaseControl> bound = kind.make();
        ASSERT_TRUE(bound->InitializeCtrl(window.window, nullptr, nullptr, nullptr));
        EXPECT_FALSE(bound->ConvertFromPreferenceString(nullptr));
        EXPECT_FALSE(bound->ConvertToPreferenceString(nullptr));
        EXPECT_FALSE(bound->ConvertToTickectData(nullptr));
        EXPECT_EQ(bound->GetValueFromControl(), 0);
        EXPECT_EQ(UIValue(bound.get()), 0);
    }
    CListControl noRecord(&jobListID, nullptr, nullptr, nullptr);
    EXPECT_EQ(noRecord.GetDefaultDataBlk(), nullptr);
    EXPECT_EQ(noRecord.GetIniDataBlk(), nullptr);
}

} // namespace
