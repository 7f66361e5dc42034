// What a change of a list, check box or radio button does to the controls its tables name:
// which are disabled, enabled, hidden, shown or updated, in which order, and how often.
#include "CCheckBoxControl.h"
#include "CListControl.h"
#include "CRadioButton.h"
#include "ChoiceTestPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include <functional>

namespace {

CFStringRef jobTypeMenu[] = {CFSTR("Job Type None"), CFSTR("Job Type Secure"),
                             CFSTR("Job Type Sample"), nullptr};

// Entry s of each table: the targets acted on in state s (item s + 1 of a list).
const ControlIDList threeStateLists[] = {target1List, target2List, target3List, nullptr};
const ControlStateTable threeStateTable = MakeStateTable(threeStateLists);
ConstrainInfo disableThreeStates = {&threeStateTable, nullptr, nullptr, nullptr};
ConstrainInfo hideThreeStates = {nullptr, &threeStateTable, nullptr, nullptr};
const ControlIDList noLists[] = {nullptr};
const ControlStateTable noListTable = MakeStateTable(noLists);
ConstrainInfo hideWithEmptyDisable = {&noListTable, &threeStateTable, nullptr, nullptr};
ConstrainInfo updateThreeStates = {nullptr, nullptr, &threeStateTable, nullptr};

// Only the first two states have an entry: a third state is past the table.
const ControlIDList twoStateLists[] = {target1List, target2List};
const ControlStateTable twoStateTable = MakeStateTable(twoStateLists);
ConstrainInfo disableTwoStates = {&twoStateTable, nullptr, nullptr, nullptr};

// A table with an entry for "off" only: "on" is past it.
const ControlIDList offOnlyLists[] = {target1List};
const ControlStateTable offOnlyTable = MakeStateTable(offOnlyLists);
ConstrainInfo disableOffOnly = {&offOnlyTable, nullptr, nullptr, nullptr};

ConstrainInfo noTables = {nullptr, nullptr, nullptr, nullptr};

// The preference keys exist so that a load without a stored value falls back to the default.
ControlAccessInfo jobListAccess = {0, 0, nullptr, nullptr, CFSTR("ChoiceJobListReference")};
ControlAccessInfo firstCheckAccess = {0, 0, nullptr, nullptr, CFSTR("ChoiceFirstReference")};
ControlAccessInfo secondCheckAccess = {0, 0, nullptr, nullptr, CFSTR("ChoiceSecondReference")};
ControlAccessInfo shortListAccess = {0, 0, nullptr, nullptr, CFSTR("ChoiceShortReference")};

void FillPreferenceUsers()
{
    static ControlAccessInfo *const records[] = {&jobListAccess, &firstCheckAccess,
                                                 &secondCheckAccess, &shortListAccess, nullptr};
    SetPreferenceUserOfRecords(records, kCFPreferencesCurrentUser);
}

// The scene with a list and two check boxes that the cases add as they need them.
struct ConstraintScene : ChoiceScene
{
    ConstraintScene() { FillPreferenceUsers(); }

    CListControl *AddJobList(SInt32 defaultValue, ConstrainInfo *constrain)
    {
        jobListIni = {0, defaultValue, -1, jobTypeMenu};
        return panel.add(new CListControl(&jobListID, &jobListIni, constrain, &jobListAccess));
    }
    CCheckBoxControl *AddFirstCheck(SInt32 defaultValue, ConstrainInfo *constrain)
    {
        firstCheckIni = {0, defaultValue, -1, CFSTR("First Check Title")};
        return panel.add(
            new CCheckBoxControl(&firstCheckID, &firstCheckIni, constrain, &firstCheckAccess));
    }
    CCheckBoxControl *AddSecondCheck(SInt32 defaultValue, ConstrainInfo *constrain)
    {
        secondCheckIni = {0, defaultValue, -1, CFSTR("Second Check Title")};
        return panel.add(
            new CCheckBoxControl(&secondCheckID, &secondCheckIni, constrain, &secondCheckAccess));
    }

    QComboBox *JobCombo() const { return window.Find<QComboBox>("jobList"); }
    QCheckBox *FirstCheckBox() const { return window.Find<QCheckBox>("firstCheck"); }
    QCheckBox *SecondCheckBox() const { return window.Find<QCheckBox>("secondCheck"); }

    ListPopupIniData jobListIni = {};
    ListPopupIniData shortListIni = {};
    CheckBoxIniData firstCheckIni = {};
    CheckBoxIniData secondCheckIni = {};
};

class ChoiceConstraintTest : public PaneTest, public ConstraintScene
{
};

TEST_F(ChoiceConstraintTest, LoadAppliesOnlyTheTableOfTheStateEntered)
{
    struct Case
    {
        const char *what;
        bool list; // else a check box
        SInt32 defaultValue;
        EventLog expected;
        SInt32 target1Count, target2Count;
    };
    const Case cases[] = {
        {"list on item 1", true, 1, {"target1 disable"}, 1, 0},
        {"list on item 2", true, 2, {"target2 disable"}, 0, 1},
        {"check box off", false, 0, {"target1 disable"}, 1, 0},
        {"check box on", false, 1, {"target2 disable"}, 0, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        ConstraintScene scene;
        CBaseControl *control =
            c.list
                ? static_cast<CBaseControl *>(scene.AddJobList(c.defaultValue, &disableThreeStates))
                : scene.AddFirstCheck(c.defaultValue, &disableThreeStates);
        scene.panel.bind(scene.window.window);
        scene.panel.load();

        EXPECT_EQ(scene.log, c.expected);
        EXPECT_EQ(scene.target1->GetDisableCount(), c.target1Count);
        EXPECT_EQ(scene.target2->GetDisableCount(), c.target2Count);
        EXPECT_EQ(scene.Widget("target1")->isEnabled(), c.target1Count == 0);
        EXPECT_EQ(scene.Widget("target2")->isEnabled(), c.target2Count == 0);
        // The value shown is now the old value of the next change.
        EXPECT_EQ(*static_cast<SInt32 *>(control->GetUIDataBlk()), c.defaultValue);
    }
}

// A check box disables the state it enters before releasing the one it leaves; a list
// releases first. A target named by both states sees the difference.
TEST_F(ChoiceConstraintTest, CheckBoxDisablesFirstWhileListReleasesFirst)
{
    struct Case
    {
        const char *what;
        std::function<void(ConstraintScene &)> build;
        std::function<void(ConstraintScene &)> change;
        EventLog expected;
    };
    const Case cases[] = {
        {"check box 1 to 0",
         [](ConstraintScene &t) { t.AddFirstCheck(1, &disableThreeStates); },
         [](ConstraintScene &t) { ClickButton(t.FirstCheckBox()); },
         {"target1 disable", "target2 enable"}},
        {"check box 0 to 1",
         [](ConstraintScene &t) { t.AddFirstCheck(0, &disableThreeStates); },
         [](ConstraintScene &t) { ClickButton(t.FirstCheckBox()); },
         {"target2 disable", "target1 enable"}},
        {"list 2 to 3 by keyboard",
         [](ConstraintScene &t) { t.AddJobList(2, &disableThreeStates); },
         [](ConstraintScene &t) { ChooseListItem(t.JobCombo(), 3); },
         {"target2 enable", "target3 disable"}},
        {"list 2 to 1 by keyboard",
         [](ConstraintScene &t) { t.AddJobList(2, &disableThreeStates); },
         [](ConstraintScene &t) { ChooseListItem(t.JobCombo(), 1); },
         {"target2 enable", "target1 disable"}},
        {"list 3 to 2 by mouse",
         [](ConstraintScene &t) { t.AddJobList(3, &disableThreeStates); },
         [](ConstraintScene &t) { ClickListItem(t.JobCombo(), 2); },
         {"target3 enable", "target2 disable"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        ConstraintScene scene;
        c.build(scene);
        scene.BindAndLoad();
        c.change(scene);
        EXPECT_EQ(scene.log, c.expected);
    }
}

TEST_F(ChoiceConstraintTest, ListRecordsTheNewValueWhileTheCheckBoxLeavesItToTheHandler)
{
    CListControl *list = AddJobList(1, &disableThreeStates);
    CCheckBoxControl *check = AddFirstCheck(0, &disableThreeStates);
    BindAndLoad();

    SetControlValue(list->GetControlRef(), 2);
    list->DoControlConstrain();
    EXPECT_EQ(*static_cast<SInt32 *>(list->GetUIDataBlk()), 2);

    SetControlValue(check->GetControlRef(), 1);
    check->DoControlConstrain();
    EXPECT_EQ(*static_cast<SInt32 *>(check->GetUIDataBlk()), 0);
}

TEST_F(ChoiceConstraintTest, StatePastTheTableAppliesNothing)
{
    shortListIni = {0, 1, -1, jobTypeMenu};
    panel.add(
        new CListControl(&shortTableListID, &shortListIni, &disableTwoStates, &shortListAccess));
    AddFirstCheck(0, &disableOffOnly);
    BindAndLoad();
    auto *combo = window.Find<QComboBox>("shortTableList");
    ASSERT_EQ(combo->count(), 3);
    // Loaded: item 1 disables target 1, the check box (off) disables target 1 as well.
    ASSERT_EQ(target1->GetDisableCount(), 2);

    ClickListItem(combo, 3);
    EXPECT_EQ(log, (EventLog{"target1 enable"}));
    ClickListItem(combo, 2);
    ClickListItem(combo, 3);
    EXPECT_EQ(log, (EventLog{"target1 enable", "target2 disable", "target2 enable"}));
    EXPECT_EQ(target2->GetDisableCount(), 0);

    log.clear();
    ClickButton(FirstCheckBox());
    EXPECT_EQ(log, (EventLog{"target1 enable"}));
    EXPECT_EQ(target1->GetDisableCount(), 0);
    EXPECT_TRUE(Widget("target1")->isEnabled());
}

TEST_F(ChoiceConstraintTest, HideTableHidesTheNewStateThenShowsTheOld)
{
    // The list records its value in its disable pass, so it needs a disable table (without
    // lists) to know, at the first change, which item it leaves.
    AddJobList(1, &hideWithEmptyDisable);
    AddFirstCheck(0, &hideThreeStates);
    BindAndLoad();
    // Loaded: the list's item 1 and the check box's "off" both hide target 1.
    EXPECT_EQ(target1->GetHideCount(), 2);
    EXPECT_TRUE(Widget("target1")->isHidden());

    ChooseListItem(JobCombo(), 2);
    EXPECT_EQ(log, (EventLog{"target2 hide", "target1 show"}));
    log.clear();
    ClickButton(FirstCheckBox());
    EXPECT_EQ(log, (EventLog{"target2 hide", "target1 show"}));

    EXPECT_FALSE(Widget("target1")->isHidden());
    EXPECT_TRUE(Widget("target2")->isHidden());
    EXPECT_EQ(target2->GetHideCount(), 2);
}

// A list updates the entry of the item chosen; a check box always entry 0.
TEST_F(ChoiceConstraintTest, UpdateTableEntryFollowsTheKindOfControl)
{
    AddJobList(1, &updateThreeStates);
    AddFirstCheck(0, &updateThreeStates);
    BindAndLoad();

    ClickListItem(JobCombo(), 3);
    EXPECT_EQ(log, (EventLog{"target3 update"}));
    log.clear();
    ClickButton(FirstCheckBox());
    ClickButton(FirstCheckBox());
    EXPECT_EQ(log, (EventLog{"target1 update", "target1 update"}));
}

TEST_F(ChoiceConstraintTest, UnchangedValueAppliesNothing)
{
    CListControl *list = AddJobList(2, &disableThreeStates);
    CCheckBoxControl *check = AddFirstCheck(1, &disableThreeStates);
    BindAndLoad();

    for (CBaseControl *control :
         {static_cast<CBaseControl *>(list), static_cast<CBaseControl *>(check)}) {
        EXPECT_TRUE(control->SimulationUIEventHandler());
        EXPECT_TRUE(control->UIEventHandler());
    }
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(target2->GetDisableCount(), 2);
}

// A check box answers "not handled" (-9874) when it has no table for a pass; lists and radio
// buttons answer 0.
TEST_F(ChoiceConstraintTest, MissingTablesAnswers)
{
    static ListPopupIniData listIni = {0, 1, -1, jobTypeMenu};
    static CheckBoxIniData checkIni = {0, 0, -1, CFSTR("First Check Title")};
    static RadioButtonIniData radioIni = {0, 0, -1, CFSTR("Radio A Title"), nullptr};
    for (ConstrainInfo *info : {static_cast<ConstrainInfo *>(nullptr), &noTables}) {
        SCOPED_TRACE(info ? "empty record" : "no record");
        CCheckBoxControl unbound(&firstCheckID, &checkIni, info, nullptr);
        CCheckBoxControl check(&firstCheckID, &checkIni, info, nullptr);
        CListControl list(&jobListID, &listIni, info, nullptr);
        CRadioButton radio(&radioAID, &radioIni, info, nullptr);
        const std::pair<CBaseControl *, int> cases[] = {
            {&unbound, eventNotHandledErr}, {&check, eventNotHandledErr}, {&list, 0}, {&radio, 0}};
        for (const auto &[control, expected] : cases) {
            if (control != &unbound) {
                ASSERT_TRUE(control->InitializeCtrl(window.window, nullptr, nullptr, nullptr));
            }
            EXPECT_EQ(control->DoControlConstrain(), expected);
            EXPECT_EQ(control->DoControlHideConstrain(), expected);
            EXPECT_EQ(control->DoControlUpdateConstrain(), expected);
        }
    }
    // With its tables but before its blocks exist, a check box has nothing to compare.
    CCheckBoxControl unbound(&firstCheckID, &checkIni, &disableThreeStates, nullptr);
    EXPECT_EQ(unbound.DoControlConstrain(), 0);
}

} // namespace
