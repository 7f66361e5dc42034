// Radio buttons tied by a group: the button clicked becomes current, the other switches itself
// off through its Update with its own constraints, and the group keeps its bookkeeping.
#include "CRadioButton.h"
#include "CRadioGroup.h"
#include "ChoiceTestPanel.h"

#include <QRadioButton>

namespace {

ControlID *radioAList[] = {&radioAID, nullptr};
ControlID *radioBList[] = {&radioBID, nullptr};

// A: off disables target 1, on disables target 2; a change of A updates B.
const ControlIDList radioADisableLists[] = {target1List, target2List, nullptr};
const ControlStateTable radioADisableTable = MakeStateTable(radioADisableLists);
const ControlIDList radioAUpdateLists[] = {radioBList, nullptr};
const ControlStateTable radioAUpdateTable = MakeStateTable(radioAUpdateLists);
ConstrainInfo radioAConstrain = {&radioADisableTable, nullptr, &radioAUpdateTable, nullptr};

// B: on disables target 3; a change of B updates A.
const ControlIDList radioBDisableLists[] = {nullptr, target3List, nullptr};
const ControlStateTable radioBDisableTable = MakeStateTable(radioBDisableLists);
const ControlIDList radioBUpdateLists[] = {radioAList, nullptr};
const ControlStateTable radioBUpdateTable = MakeStateTable(radioBUpdateLists);
ConstrainInfo radioBConstrain = {&radioBDisableTable, nullptr, &radioBUpdateTable, nullptr};

ControlAccessInfo radioAAccess = {0, 0, nullptr, CFSTR("com.veltra.kzu.printsettings.RadioA"),
                                  CFSTR("RadioAReference")};
ControlAccessInfo radioBAccess = {0, 0, nullptr, CFSTR("com.veltra.kzu.printsettings.RadioB"),
                                  CFSTR("RadioBReference")};

// Radios whose group is built the way the windows build theirs: SetcurRadio(0) on the empty
// group, then each button registered with the panel and added to the group.
struct RadioScene : ChoiceScene
{
    explicit RadioScene(SInt32 aDefault = 1, SInt32 bDefault = 0)
    {
        static ControlAccessInfo *const records[] = {&radioAAccess, &radioBAccess, nullptr};
        SetPreferenceUserOfRecords(records, kCFPreferencesCurrentUser);
        aIni = {0, aDefault, -1, CFSTR("Radio A Title"), CFSTR("Radio Summary Title")};
        bIni = {0, bDefault, -1, CFSTR("Radio B Title"), nullptr};
        group.SetcurRadio(0);
        radioA = panel.add(new CRadioButton(&radioAID, &aIni, &radioAConstrain, &radioAAccess));
        group.RunTimeAddNewControl(radioA);
        radioB = panel.add(new CRadioButton(&radioBID, &bIni, &radioBConstrain, &radioBAccess));
        group.RunTimeAddNewControl(radioB);
    }
    SInt32 UIValue(CBaseControl *c) const { return *static_cast<SInt32 *>(c->GetUIDataBlk()); }
    QRadioButton *ButtonA() const { return window.Find<QRadioButton>("radioA"); }
    QRadioButton *ButtonB() const { return window.Find<QRadioButton>("radioB"); }

    RadioButtonIniData aIni = {};
    RadioButtonIniData bIni = {};
    CRadioGroup group;
    CRadioButton *radioA = nullptr;
    CRadioButton *radioB = nullptr;
};

class RadioGroupTest : public PaneTest, public RadioScene
{
};

TEST_F(RadioGroupTest, ClickingBSwitchesAOffWithItsConstraints)
{
    BindAndLoad();
    // Loaded: the default button is current, with its "on" list disabled.
    EXPECT_TRUE(ButtonA()->isChecked());
    EXPECT_FALSE(ButtonB()->isChecked());
    EXPECT_EQ(group.GetcurRadio(), 0);
    EXPECT_EQ(target2->GetDisableCount(), 1);
    EXPECT_EQ(ButtonA()->text(), QStringLiteral("Radio A Title"));

    ClickButton(ButtonB());

    EXPECT_EQ(group.GetcurRadio(), 1);
    EXPECT_FALSE(ButtonA()->isChecked());
    EXPECT_TRUE(ButtonB()->isChecked());
    // A's own tables run as it goes off (disable its "off" list, release its "on" list), then
    // B's "on" list is disabled.
    EXPECT_EQ(log, (EventLog{"target1 disable", "target2 enable", "target3 disable"}));
    EXPECT_TRUE(Widget("target2")->isEnabled());
    EXPECT_FALSE(Widget("target1")->isEnabled());
    EXPECT_FALSE(Widget("target3")->isEnabled());
    EXPECT_EQ(UIValue(radioA), 0);
    EXPECT_EQ(UIValue(radioB), 1);

    log.clear();
    ClickButton(ButtonA());

    EXPECT_EQ(group.GetcurRadio(), 0);
    EXPECT_TRUE(ButtonA()->isChecked());
    EXPECT_FALSE(ButtonB()->isChecked());
    EXPECT_EQ(log, (EventLog{"target3 enable", "target2 disable", "target1 enable"}));
    EXPECT_EQ(target1->GetDisableCount(), 0);
    EXPECT_EQ(target2->GetDisableCount(), 1);
    EXPECT_EQ(target3->GetDisableCount(), 0);
}

TEST_F(RadioGroupTest, CommittedChoiceReachesTicketAndPreferences)
{
    BindAndLoad();
    ClickButton(ButtonB());
    panel.SetValueFromUIToControl();
    panel.SetValueToPreference();
    panel.SetValueToTicket(session.ticket().ref(), false);

    const std::string *a = session.ticket().value("com.veltra.kzu.printsettings.RadioA");
    const std::string *b = session.ticket().value("com.veltra.kzu.printsettings.RadioB");
    ASSERT_TRUE(a && b);
    EXPECT_EQ(*a, "0");
    EXPECT_EQ(*b, "1");

    // The next dialog for this printer shows B.
    RadioScene next;
    next.BindAndLoad();
    EXPECT_FALSE(next.ButtonA()->isChecked());
    EXPECT_TRUE(next.ButtonB()->isChecked());
    EXPECT_EQ(next.group.GetcurRadio(), 1);
}

TEST_F(RadioGroupTest, UpdateLeavesTheCurrentButtonAndOffButtonsAlone)
{
    BindAndLoad();
    // A is current and on; B is off: neither changes.
    EXPECT_EQ(radioA->Update(), 0);
    EXPECT_EQ(radioB->Update(), 0);
    EXPECT_TRUE(ButtonA()->isChecked());
    EXPECT_TRUE(log.empty());

    // Without a group both the current index and the button's own are -1: it stays on.
    static RadioButtonIniData loneIni = {0, 1, -1, CFSTR("Lone Title"), nullptr};
    CRadioButton lone(&radioBID, &loneIni, nullptr, nullptr);
    ASSERT_TRUE(lone.InitializeCtrl(window.window, nullptr, nullptr, nullptr));
    SetControlValue(lone.GetControlRef(), 1);
    EXPECT_EQ(lone.GetRadioIndex(), -1);
    lone.Update();
    EXPECT_TRUE(ButtonB()->isChecked());
}

TEST_F(RadioGroupTest, GroupBookkeeping)
{
    CRadioGroup fresh;
    EXPECT_EQ(fresh.GetcurRadio(), -1);
    fresh.SetcurRadio(0); // no member yet
    EXPECT_EQ(fresh.GetcurRadio(), -1);

    static RadioButtonIniData ini = {0, 0, -1, CFSTR("Radio A Title"), nullptr};
    CRadioButton first(&radioAID, &ini, nullptr, nullptr);
    CRadioButton second(&radioBID, &ini, nullptr, nullptr);
    EXPECT_EQ(first.GetRadioIndex(), -1);
    EXPECT_EQ(fresh.RunTimeAddNewControl(&first), 0);
    EXPECT_EQ(fresh.RunTimeAddNewControl(&second), 1);
    EXPECT_EQ(fresh.RunTimeAddNewControl(nullptr), -1);
    EXPECT_EQ(fresh.GetRadioCount(), 2);
    EXPECT_EQ(first.GetGroup(), &fresh);
    EXPECT_EQ(second.GetRadioIndex(), 1);

    struct Step
    {
        long index;
        SInt32 expected;
    };
    const Step steps[] = {{1, 1}, {-1, 1}, {2, 1}, {0, 0}, {5, 0}};
    for (const Step &s : steps) {
        fresh.SetcurRadio(s.index);
        EXPECT_EQ(fresh.GetcurRadio(), s.expected) << "after SetcurRadio(" << s.index << ")";
    }

    second.SetGrpcurRadio();
    EXPECT_EQ(fresh.GetcurRadio(), 1);
    EXPECT_EQ(second.GetCtrlDataSize(), 4u);
}

TEST_F(RadioGroupTest, ProgrammaticChangeGivesAGroupWithoutCurrentItsFirstButton)
{
    panel.bind(window.window);
    // Nothing made a member current yet.
    ASSERT_EQ(group.GetcurRadio(), -1);
    EXPECT_TRUE(radioB->SimulationUIEventHandler());
    EXPECT_EQ(group.GetcurRadio(), 0);
}

TEST_F(RadioGroupTest, ExternalValueMakesTheButtonCurrent)
{
    BindAndLoad();
    SInt32 on = 1;
    EXPECT_TRUE(radioB->SetExternalValueToUI(&on, sizeof on));
    EXPECT_TRUE(ButtonB()->isChecked());
    EXPECT_EQ(group.GetcurRadio(), 1);
    // The blocks are not touched.
    EXPECT_EQ(UIValue(radioB), 0);

    radioA->Disable();
    EXPECT_FALSE(radioA->SetExternalValueToUI(&on, sizeof on));
    EXPECT_TRUE(ButtonA()->isChecked());
    EXPECT_EQ(group.GetcurRadio(), 0);
    EXPECT_FALSE(radioA->SetExternalValueToUI(nullptr, 4));
}

} // namespace
