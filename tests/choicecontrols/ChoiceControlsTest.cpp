// Lists, check boxes and radio buttons: values, menus, titles, and what a change does to others.
#include "CCheckBoxControl.h"
#include "CListControl.h"
#include "CRadioButton.h"
#include "CRadioGroup.h"
#include "PaneFixture.h"
#include "UiTestWindow.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QTest>

#include <functional>

namespace {

ControlID jobListID = {'clst', 1}, emptyListID = {'clst', 2}, shortTableListID = {'clst', 3},
          firstCheckID = {'cchk', 1}, secondCheckID = {'cchk', 2}, radioAID = {'crad', 1},
          radioBID = {'crad', 2}, target1ID = {'ctgt', 1}, target2ID = {'ctgt', 2},
          target3ID = {'ctgt', 3};
ControlID *target1List[] = {&target1ID, nullptr}, *target2List[] = {&target2ID, nullptr},
          *target3List[] = {&target3ID, nullptr};
CFStringRef jobTypeMenu[] = {CFSTR("Job Type None"), CFSTR("Job Type Secure"),
                             CFSTR("Job Type Sample"), nullptr};

// What happened to the targets, in order: "target1 disable", "target2 enable", "target3 update".
using EventLog = std::vector<std::string>;

// A plain control over a widget of the window that records the requests it receives.
struct CRecordingControl : CBaseControl
{
    CRecordingControl(ControlID *id, std::string name, EventLog *log) : name(name), log(log)
    {
        controlID = id;
    }
    void Enable() override { record("enable"), CBaseControl::Enable(); }
    void Disable() override { record("disable"), CBaseControl::Disable(); }
    void Show() override { record("show"), CBaseControl::Show(); }
    void Hide() override { record("hide"), CBaseControl::Hide(); }
    int Update() override { return record("update"), 0; }
    void record(const char *what) { log->push_back(name + " " + what); }

    std::string name;
    EventLog *log;
};

// Clicks a check box or radio button with the mouse on its box.
void ClickButton(QAbstractButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, ModalScript::ClickPoint(button));
}

// Chooses item (1-based) of a pop-up list with the keyboard.
void ChooseListItem(QComboBox *combo, int item)
{
    while (combo->currentIndex() + 1 != item)
        QTest::keyClick(combo, combo->currentIndex() + 1 < item ? Qt::Key_Down : Qt::Key_Up);
}

// Opens the list's pop-up and clicks item (1-based) with the mouse.
void ClickListItem(QComboBox *combo, int item)
{
    combo->showPopup();
    QAbstractItemView *view = combo->view();
    (void)QTest::qWaitForWindowExposed(view->window());
    const QModelIndex index = view->model()->index(item - 1, combo->modelColumn());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
    QApplication::processEvents();
}

ControlAccessInfo listAccess = {0, 0, nullptr, CFSTR("com.veltra.kzu.printsettings.JobListKey"),
                                CFSTR("JobListReference")};
ControlAccessInfo checkAccess = {0, 0, nullptr, CFSTR("com.veltra.kzu.printsettings.CheckKey"),
                                 CFSTR("CheckReference")};
ControlAccessInfo radioAccess = {0, 0, nullptr, CFSTR("com.veltra.kzu.printsettings.RadioKey"),
                                 CFSTR("RadioReference")};
ControlAccessInfo radioBAccess = {0, 0, nullptr, CFSTR("com.veltra.kzu.printsettings.RadioB"),
                                  CFSTR("RadioBReference")};

// Entry s of each table: the targets acted on in state s (item s + 1 of a list).
const ControlIDList threeStateLists[] = {target1List, target2List, target3List, nullptr};
const ControlStateTable threeStates = MakeStateTable(threeStateLists);
const ControlIDList noLists[] = {nullptr}, twoStateLists[] = {target1List, target2List},
                    offOnlyLists[] = {target1List};
const ControlStateTable noListTable = MakeStateTable(noLists),
                        twoStates = MakeStateTable(twoStateLists),
                        offOnly = MakeStateTable(offOnlyLists);
ConstrainInfo disableThree = {&threeStates, nullptr, nullptr, nullptr},
              hideThree = {nullptr, &threeStates, nullptr, nullptr},
              hideWithEmptyDisable = {&noListTable, &threeStates, nullptr, nullptr},
              updateThree = {nullptr, nullptr, &threeStates, nullptr},
              disableTwo = {&twoStates, nullptr, nullptr, nullptr},
              disableOffOnly = {&offOnly, nullptr, nullptr, nullptr};

// Radio A: off disables target 1, on disables target 2, a change updates B. B: on disables
// target 3, a change updates A.
ControlID *radioAList[] = {&radioAID, nullptr}, *radioBList[] = {&radioBID, nullptr};
const ControlIDList aDisable[] = {target1List, target2List, nullptr},
                    aUpdate[] = {radioBList, nullptr}, bDisable[] = {nullptr, target3List, nullptr},
                    bUpdate[] = {radioAList, nullptr};
const ControlStateTable aDisableTable = MakeStateTable(aDisable),
                        aUpdateTable = MakeStateTable(aUpdate),
                        bDisableTable = MakeStateTable(bDisable),
                        bUpdateTable = MakeStateTable(bUpdate);
ConstrainInfo radioAConstrain = {&aDisableTable, nullptr, &aUpdateTable, nullptr},
              radioBConstrain = {&bDisableTable, nullptr, &bUpdateTable, nullptr};

std::string PreferenceKey(const ControlAccessInfo &access)
{
    return "Veltra_Test_Printer" + QStringFromCF(access.preferenceKey).toStdString();
}

SInt32 UIValue(CBaseControl *control)
{
    return *static_cast<SInt32 *>(control->GetUIDataBlk());
}

// A session whose printer the preference keys start with, the test window, a panel bound to it,
// three recording targets added first, and the choice controls the cases add.
struct Scene
{
    Scene()
    {
        static ControlAccessInfo *const records[] = {&listAccess, &checkAccess, &radioAccess,
                                                     &radioBAccess, nullptr};
        SetPreferenceUserOfRecords(records, kCFPreferencesCurrentUser);
        EXPECT_TRUE(panel.SetCurrentPrinterString(session.ref()));
    }
    // Binds the panel's controls to the window and runs a load sync; the log starts empty.
    void BindAndLoad()
    {
        panel.bind(window.window);
        panel.load();
        log.clear();
    }
    template <typename W = QWidget> W *Widget(const char *name) const
    {
        return window.Find<W>(name);
    }
    CListControl *list(SInt32 value, ConstrainInfo *c, ControlID *id = &jobListID)
    {
        listIni = {0, value, -1, jobTypeMenu};
        return panel.add(new CListControl(id, &listIni, c, &listAccess));
    }
    CCheckBoxControl *check(SInt32 value, ConstrainInfo *c)
    {
        checkIni = {0, value, -1, CFSTR("First Check Title")};
        return panel.add(new CCheckBoxControl(&firstCheckID, &checkIni, c, &checkAccess));
    }
    CRadioButton *radio(SInt32 value) // without group
    {
        aIni = {0, value, -1, CFSTR("Radio Title"), nullptr};
        return panel.add(new CRadioButton(&radioAID, &aIni, nullptr, &radioAccess));
    }
    // Radios grouped the way the windows group theirs: SetcurRadio(0) on the empty group, then
    // each button registered with the panel and added to the group.
    void radios(SInt32 aValue = 1, SInt32 bValue = 0)
    {
        aIni = {0, aValue, -1, CFSTR("Radio A Title"), CFSTR("Radio Summary Title")};
        bIni = {0, bValue, -1, CFSTR("Radio B Title"), nullptr};
        group.SetcurRadio(0);
        group.RunTimeAddNewControl(
            radioA = panel.add(new CRadioButton(&radioAID, &aIni, &radioAConstrain, &radioAccess)));
        group.RunTimeAddNewControl(radioB = panel.add(new CRadioButton(
                                       &radioBID, &bIni, &radioBConstrain, &radioBAccess)));
    }
    QComboBox *combo() const { return Widget<QComboBox>("jobList"); }
    QCheckBox *box() const { return Widget<QCheckBox>("firstCheck"); }
    QRadioButton *buttonA() const { return Widget<QRadioButton>("radioA"); }
    QRadioButton *buttonB() const { return Widget<QRadioButton>("radioB"); }

    ListPopupIniData listIni = {};
    CheckBoxIniData checkIni = {};
    RadioButtonIniData aIni = {}, bIni = {};
    CRadioGroup group;
    CRadioButton *radioA = nullptr, *radioB = nullptr;
    veltra::PrintSession session{"Veltra_Test_Printer", veltra::PPDFile()};
    EventLog log;
    TestPanel panel;
    CRecordingControl *target1 = panel.add(new CRecordingControl(&target1ID, "target1", &log));
    CRecordingControl *target2 = panel.add(new CRecordingControl(&target2ID, "target2", &log));
    CRecordingControl *target3 = panel.add(new CRecordingControl(&target3ID, "target3", &log));
    UiTestWindow window{"ChoiceWindow"}; // after the panel: the widgets go first
};

struct ChoiceTest : PaneTest, Scene
{
};

} // namespace

// Preference texts are read as atoi reads them and written back as decimal text, to the
// preferences and the ticket alike; without a stored text the value is the record's default.
TEST_F(ChoiceTest, PreferenceTextIsReadAsAtoiAndWrittenAsDecimalText)
{
    const std::pair<const char *, int> stored[] = {
        {"abc", 0}, {"12ab", 12}, {"-1", -1}, {" +7", 7}, {nullptr, -2}};
    const std::tuple<const char *, ControlAccessInfo *, SInt32> kinds[] = {
        {"list", &listAccess, 2},
        {"check box", &checkAccess, 1},
        {"radio button", &radioAccess, 0}};
    for (const auto &[kind, access, defaultValue] : kinds) {
        for (const auto &[text, read] : stored) {
            SCOPED_TRACE(std::string(kind) + " from " + (text ? text : "nothing"));
            Scene scene;
            CBaseControl *control =
                access == &listAccess ? scene.list(defaultValue, nullptr)
                : access == &checkAccess
                    ? static_cast<CBaseControl *>(scene.check(defaultValue, nullptr))
                    : scene.radio(defaultValue);
            scene.panel.bind(scene.window.window);
            StorePreference(PreferenceKey(*access), text);
            scene.panel.load();
            const int value = text ? read : defaultValue;
            EXPECT_EQ(control->GetValueFromControl(), value);
            // Forget the stored text so that what is found next was written by the control.
            StorePreference(PreferenceKey(*access), nullptr);
            scene.panel.SetValueToPreference();
            scene.panel.SetValueToTicket(scene.session.ticket().ref(), false);
            EXPECT_EQ(StoredPreference(PreferenceKey(*access)), std::to_string(value));
            EXPECT_EQ(TicketValue(scene.session, QStringFromCF(access->ticketKey).toStdString()),
                      std::to_string(value));
        }
    }
}

TEST_F(ChoiceTest, ClickRecordsTheValueCommitMovesItAndExternalValuesAreOnlyShown)
{
    CBaseControl *jobs = list(2, nullptr), *option = check(1, nullptr);
    BindAndLoad();
    EXPECT_EQ(combo()->currentIndex(), 1);
    EXPECT_TRUE(box()->isChecked());
    ChooseListItem(combo(), 3);
    ClickButton(box());
    // Nothing is committed before the dialog asks for it.
    EXPECT_EQ(jobs->GetValueFromControl(), 2);
    EXPECT_EQ(option->GetValueFromControl(), 1);
    panel.SetValueFromUIToControl();
    panel.SetValueToTicket(session.ticket().ref(), false);
    EXPECT_EQ(TicketValue(session, "com.veltra.kzu.printsettings.JobListKey"), "3");
    EXPECT_EQ(TicketValue(session, "com.veltra.kzu.printsettings.CheckKey"), "0");

    // An external value is shown, and committed nowhere; an inactive check box shows it but
    // answers false.
    SInt32 one = 1, on = 1, off = 0;
    EXPECT_TRUE(jobs->SetExternalValueToUI(&one, 4));
    EXPECT_EQ(combo()->currentIndex(), 0);
    EXPECT_FALSE(jobs->SetExternalValueToUI(nullptr, 4));
    EXPECT_FALSE(option->SetExternalValueToUI(nullptr, 4));
    EXPECT_TRUE(option->SetExternalValueToUI(&on, 4));
    EXPECT_TRUE(box()->isChecked());
    option->Disable();
    EXPECT_FALSE(option->SetExternalValueToUI(&off, 4));
    EXPECT_FALSE(box()->isChecked());
    EXPECT_EQ(UIValue(jobs), 3);
    EXPECT_EQ(UIValue(option), 0);
    EXPECT_EQ(jobs->GetValueFromControl(), 3);
    panel.SetDefaultValueToUI(); // the default shown is the record's
    EXPECT_EQ(combo()->currentIndex(), 1);
}

TEST_F(ChoiceTest, ConversionsNeedTheControlsBlocks)
{
    CCheckBoxControl unbound(&firstCheckID, &checkIni, nullptr, &checkAccess);
    CListControl bound(&jobListID, &listIni, nullptr, &listAccess);
    ASSERT_TRUE(bound.InitializeCtrl(window.window, nullptr, nullptr, nullptr));
    char text[256] = "5";
    unsigned char ticket[256] = {};
    EXPECT_FALSE(unbound.ConvertFromPreferenceString(text));
    EXPECT_FALSE(unbound.ConvertToPreferenceString(text));
    EXPECT_FALSE(unbound.ConvertToTickectData(ticket));
    EXPECT_FALSE(bound.ConvertFromPreferenceString(nullptr));
    EXPECT_FALSE(bound.ConvertToPreferenceString(nullptr));
    EXPECT_FALSE(bound.ConvertToTickectData(nullptr));
}

TEST_F(ChoiceTest, ListMenuIsRebuiltFromTheRecordKeys)
{
    CFStringRef noKeys[] = {nullptr};
    const QStringList three = {"Job Type None", "Job Type Secure", "Job Type Sample"};
    // Without keys or without record the menu is left as the window had it.
    const std::tuple<const char *, ControlID *, const char *, bool, CFStringRef *, QStringList>
        rows[] = {{"three keys", &jobListID, "jobList", true, jobTypeMenu, three},
                  {"no menu items", &shortTableListID, "shortTableList", true, nullptr, {}},
                  {"empty key list", &jobListID, "jobList", true, noKeys, {}},
                  {"no keys", &emptyListID, "emptyList", true, nullptr, {"Stale One", "Stale Two"}},
                  {"no record", &jobListID, "jobList", false, nullptr, {"Stale Item"}}};
    for (const auto &[name, id, widget, record, keys, items] : rows) {
        SCOPED_TRACE(name);
        UiTestWindow fresh("ChoiceWindow");
        ListPopupIniData ini = {0, 1, -1, keys};
        CListControl list(id, record ? &ini : nullptr, nullptr, nullptr);
        ASSERT_TRUE(list.InitializeCtrl(fresh.window, nullptr, nullptr, nullptr));
        auto *combo = fresh.Find<QComboBox>(widget);
        QStringList shown;
        for (int i = 0; i < combo->count(); ++i)
            shown << combo->itemText(i);
        EXPECT_EQ(shown, items);
    }
}

// Titles come from their keys; a record without title key, or a missing widget, fails; without
// a record there is no title to set, and that is no failure.
TEST_F(ChoiceTest, TitlesComeFromTheirKeys)
{
    static CheckBoxIniData titled = {0, 0, -1, CFSTR("Print Type Check Title")}, untitled = {};
    static RadioButtonIniData radioTitled = {0, 0, -1, CFSTR("Print Type Radio Title"), nullptr},
                              radioUntitled = {};
    CCheckBoxControl first(&firstCheckID, &titled, nullptr, nullptr);
    CRadioButton radio(&radioAID, &radioTitled, nullptr, nullptr);
    CCheckBoxControl noTitle(&secondCheckID, &untitled, nullptr, nullptr),
        bare(&secondCheckID, nullptr, nullptr, nullptr);
    CRadioButton noRadioTitle(&radioBID, &radioUntitled, nullptr, nullptr);
    ControlID absentID = {'none', 9};
    CListControl absent(&absentID, &listIni, nullptr, nullptr);
    EXPECT_TRUE(first.InitializeCtrl(window.window, nullptr, nullptr, nullptr));
    EXPECT_TRUE(radio.InitializeCtrl(window.window, nullptr, nullptr, nullptr));
    EXPECT_EQ(box()->text(), "Print Type Check Title");
    EXPECT_EQ(buttonA()->text(), "Print Type Radio Title");
    EXPECT_FALSE(noTitle.InitializeCtrl(window.window, nullptr, nullptr, nullptr));
    EXPECT_FALSE(noRadioTitle.InitializeCtrl(window.window, nullptr, nullptr, nullptr));
    EXPECT_FALSE(absent.InitializeCtrl(window.window, nullptr, nullptr, nullptr));
    EXPECT_FALSE(absent.InitializeCtrl(nullptr, nullptr, nullptr, nullptr));
    EXPECT_TRUE(bare.InitializeCtrl(window.window, nullptr, nullptr, nullptr));
    EXPECT_EQ(Widget<QCheckBox>("secondCheck")->text(), "Second");
}

// Rebinding to a rebuilt window keeps the value and rebuilds menu and title with the plug-in's
// own bundle, in the language of the moment.
TEST_F(ChoiceTest, ReinitialisedControlsUseThePlugInBundle)
{
    static CFStringRef menu[] = {CFSTR("PDE Title"), CFSTR("Choice Without Translation"), nullptr};
    static ListPopupIniData ini = {0, 1, -1, menu};
    static CheckBoxIniData boxIni = {0, 0, -1, CFSTR("Job Authentication Title")};
    static RadioButtonIniData radioIni = {0, 0, -1, CFSTR("PDE Title"), nullptr};
    CListControl jobs(&jobListID, &ini, nullptr, nullptr);
    CCheckBoxControl option(&firstCheckID, &boxIni, nullptr, nullptr);
    CRadioButton radio(&radioAID, &radioIni, nullptr, nullptr);
    for (CBaseControl *control : std::initializer_list<CBaseControl *>{&jobs, &option, &radio})
        ASSERT_TRUE(control->InitializeCtrl(window.window, nullptr, nullptr, nullptr));
    EXPECT_EQ(combo()->itemText(0), "PDE Title"); // no bundle given: the keys stand
    ChooseListItem(combo(), 2);
    jobs.GetValueFromUI();
    jobs.SetValueFromUIToControl();

    VeltraBundleSetLanguage("ja");
    UiTestWindow second("ChoiceWindow");
    for (CBaseControl *control : std::initializer_list<CBaseControl *>{&jobs, &option, &radio})
        ASSERT_TRUE(control->ReInitializeCtrl(second.window));
    EXPECT_TRUE(jobs.SetControlValueToUI());
    auto *combo = second.Find<QComboBox>("jobList");
    EXPECT_EQ(combo->itemText(0), "印刷タイプ");
    EXPECT_EQ(combo->currentIndex(), 1);
    EXPECT_EQ(second.Find<QCheckBox>("firstCheck")->text(), "部門管理");
    EXPECT_EQ(second.Find<QRadioButton>("radioA")->text(), "印刷タイプ");
}

TEST_F(ChoiceTest, LoadAppliesOnlyTheTableOfTheStateEntered)
{
    const std::tuple<const char *, bool, SInt32, EventLog> rows[] = {
        {"list on item 1", true, 1, {"target1 disable"}},
        {"list on item 2", true, 2, {"target2 disable"}},
        {"check box off", false, 0, {"target1 disable"}},
        {"check box on", false, 1, {"target2 disable"}}};
    for (const auto &[name, isList, value, expected] : rows) {
        SCOPED_TRACE(name);
        Scene scene;
        CBaseControl *control = isList
                                    ? static_cast<CBaseControl *>(scene.list(value, &disableThree))
                                    : scene.check(value, &disableThree);
        scene.panel.bind(scene.window.window);
        scene.panel.load();
        EXPECT_EQ(scene.log, expected);
        const bool first = expected.front() == "target1 disable";
        EXPECT_EQ(scene.Widget("target1")->isEnabled(), !first);
        EXPECT_EQ(scene.Widget("target2")->isEnabled(), first);
        EXPECT_EQ(UIValue(control), value); // the old value of the next change
    }
}

// A check box disables the state it enters before releasing the one it leaves; a list releases
// first. A target named by both states would see the difference.
TEST_F(ChoiceTest, CheckBoxDisablesFirstWhileListReleasesFirst)
{
    using Step = std::function<void(Scene &)>;
    const std::tuple<const char *, Step, Step, EventLog> rows[] = {
        {"check box 1 to 0",
         [](Scene &s) { s.check(1, &disableThree); },
         [](Scene &s) { ClickButton(s.box()); },
         {"target1 disable", "target2 enable"}},
        {"check box 0 to 1",
         [](Scene &s) { s.check(0, &disableThree); },
         [](Scene &s) { ClickButton(s.box()); },
         {"target2 disable", "target1 enable"}},
        {"list 2 to 3 by keyboard",
         [](Scene &s) { s.list(2, &disableThree); },
         [](Scene &s) { ChooseListItem(s.combo(), 3); },
         {"target2 enable", "target3 disable"}},
        {"list 3 to 2 by mouse",
         [](Scene &s) { s.list(3, &disableThree); },
         [](Scene &s) { ClickListItem(s.combo(), 2); },
         {"target3 enable", "target2 disable"}}};
    for (const auto &[name, build, change, expected] : rows) {
        SCOPED_TRACE(name);
        Scene scene;
        build(scene);
        scene.BindAndLoad();
        change(scene);
        EXPECT_EQ(scene.log, expected);
    }
}

TEST_F(ChoiceTest, StatePastTheTableAppliesNothing)
{
    list(1, &disableTwo, &shortTableListID);
    check(0, &disableOffOnly);
    BindAndLoad();
    auto *shortList = Widget<QComboBox>("shortTableList");
    EXPECT_FALSE(Widget("target1")->isEnabled()); // item 1 and "off" both disable target 1
    ClickListItem(shortList, 3);
    ClickListItem(shortList, 2);
    ClickListItem(shortList, 3);
    EXPECT_EQ(log, (EventLog{"target1 enable", "target2 disable", "target2 enable"}));
    log.clear();
    ClickButton(box());
    EXPECT_EQ(log, (EventLog{"target1 enable"}));
    EXPECT_TRUE(Widget("target1")->isEnabled());
}

// A hide table hides the new state, then shows the old. (The list records its value in its
// disable pass, so it needs a disable table, without lists, to know which item it leaves.)
// An update table updates the entry of the item chosen, for a check box always entry 0.
TEST_F(ChoiceTest, HideAndUpdateTables)
{
    for (bool hide : {true, false}) {
        SCOPED_TRACE(hide ? "hide" : "update");
        Scene scene;
        scene.list(1, hide ? &hideWithEmptyDisable : &updateThree);
        scene.check(0, hide ? &hideThree : &updateThree);
        scene.BindAndLoad();
        EXPECT_EQ(scene.Widget("target1")->isHidden(), hide);
        ClickListItem(scene.combo(), hide ? 2 : 3);
        ClickButton(scene.box());
        ClickButton(scene.box());
        const EventLog expected =
            hide ? EventLog{"target2 hide", "target1 show", "target2 hide",
                            "target1 show", "target1 hide", "target2 show"}
                 : EventLog{"target3 update", "target1 update", "target1 update"};
        EXPECT_EQ(scene.log, expected);
        EXPECT_EQ(scene.target2->GetHideCount(), hide ? 1 : 0);
    }
}

// The radio button clicked becomes current, the other goes off through its Update with its own
// constraints; the choice reaches ticket, preferences and the next dialog.
TEST_F(ChoiceTest, ClickingARadioButtonSwitchesTheOtherOffWithItsConstraints)
{
    radios();
    BindAndLoad();
    EXPECT_TRUE(buttonA()->isChecked());
    EXPECT_EQ(group.GetcurRadio(), 0);
    EXPECT_EQ(target2->GetDisableCount(), 1); // the default's "on" list
    ClickButton(buttonB());
    EXPECT_EQ(group.GetcurRadio(), 1);
    EXPECT_FALSE(buttonA()->isChecked());
    EXPECT_TRUE(buttonB()->isChecked());
    // A's tables run as it goes off, then B's "on" list is disabled.
    EXPECT_EQ(log, (EventLog{"target1 disable", "target2 enable", "target3 disable"}));

    panel.SetValueFromUIToControl();
    panel.SetValueToPreference();
    panel.SetValueToTicket(session.ticket().ref(), false);
    EXPECT_EQ(TicketValue(session, "com.veltra.kzu.printsettings.RadioKey"), "0");
    EXPECT_EQ(TicketValue(session, "com.veltra.kzu.printsettings.RadioB"), "1");
    Scene next;
    next.radios();
    next.BindAndLoad();
    EXPECT_FALSE(next.buttonA()->isChecked());
    EXPECT_TRUE(next.buttonB()->isChecked());
    EXPECT_EQ(next.group.GetcurRadio(), 1);

    log.clear();
    ClickButton(buttonA());
    EXPECT_EQ(group.GetcurRadio(), 0);
    EXPECT_FALSE(buttonB()->isChecked());
    EXPECT_EQ(log, (EventLog{"target3 enable", "target2 disable", "target1 enable"}));
}

TEST_F(ChoiceTest, RadioUpdateExternalValueAndProgrammaticChange)
{
    radios();
    panel.bind(window.window);
    // Nothing made a member current yet: a programmatic change makes the first current.
    ASSERT_EQ(group.GetcurRadio(), -1);
    EXPECT_TRUE(radioB->SimulationUIEventHandler());
    EXPECT_EQ(group.GetcurRadio(), 0);
    BindAndLoad();
    // The current button and the buttons that are off leave Update alone.
    EXPECT_EQ(radioA->Update(), 0);
    EXPECT_EQ(radioB->Update(), 0);
    EXPECT_TRUE(buttonA()->isChecked());
    EXPECT_TRUE(log.empty());
    // An external value makes the button current without touching the blocks.
    SInt32 on = 1;
    EXPECT_TRUE(radioB->SetExternalValueToUI(&on, sizeof on));
    EXPECT_TRUE(buttonB()->isChecked());
    EXPECT_EQ(group.GetcurRadio(), 1);
    EXPECT_EQ(UIValue(radioB), 0);
    EXPECT_EQ(group.GetValueFromUI(), nullptr); // reading the group reads every member
    EXPECT_EQ(UIValue(radioB), 1);
    radioA->Disable();
    EXPECT_FALSE(radioA->SetExternalValueToUI(&on, sizeof on));
    EXPECT_TRUE(buttonA()->isChecked());
    EXPECT_EQ(group.GetcurRadio(), 0);
    EXPECT_FALSE(radioA->SetExternalValueToUI(nullptr, 4));
}

TEST_F(ChoiceTest, GroupBookkeeping)
{
    CRadioGroup fresh;
    fresh.SetcurRadio(0); // no member yet
    EXPECT_EQ(fresh.GetcurRadio(), -1);
    static RadioButtonIniData ini = {0, 0, -1, CFSTR("Radio A Title"), nullptr};
    CRadioButton first(&radioAID, &ini, nullptr, nullptr),
        second(&radioBID, &ini, nullptr, nullptr);
    EXPECT_EQ(fresh.RunTimeAddNewControl(&first), 0);
    EXPECT_EQ(fresh.RunTimeAddNewControl(&second), 1);
    EXPECT_EQ(fresh.RunTimeAddNewControl(nullptr), -1);
    const std::pair<long, SInt32> steps[] = {{1, 1}, {-1, 1}, {2, 1}, {0, 0}, {5, 0}};
    for (auto [index, current] : steps) {
        fresh.SetcurRadio(index);
        EXPECT_EQ(fresh.GetcurRadio(), current) << "after SetcurRadio(" << index << ")";
    }
    second.SetGrpcurRadio();
    EXPECT_EQ(fresh.GetcurRadio(), 1);
}
