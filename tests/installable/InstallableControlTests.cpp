// The hard-disk option of the print type pane: the description's marked choice of "VZHardDisk"
// decides which controls stay out of reach, when the pane is built and after every reset.
#include "CInstallableControl.h"
#include "PPDQueries.h"
#include "PaneFixture.h"
#include "UiTestWindow.h"

#include <QComboBox>

#include <fstream>

namespace {

ControlID printtypeTextCtrlID = {'ptst', 220}, restoredocunameTextCtrlID = {'rtst', 221},
          printTypeListCtrlID = {'ssls', 202}, printTypeUserNameCtrlID = {'spui', 204},
          documentNameListCtrlID = {'dnls', 310}, documentNameCtrlID = {'dnui', 210},
          printTypePasswordCtrlID = {'sppi', 206};
ControlID *noHardDiskConstrainArray[] = {&printTypeListCtrlID,     &printTypeUserNameCtrlID,
                                         &printTypePasswordCtrlID, &restoredocunameTextCtrlID,
                                         &printtypeTextCtrlID,     nullptr};
const InstallableOptionChoice hardDiskChoices[] = {
    {"True", nullptr}, {"False", noHardDiskConstrainArray}, {nullptr, nullptr}};
InstallableOptionConstrainInfo hardDiskInfo = {hardDiskChoices, nullptr, nullptr, nullptr};
const std::vector<ControlID *> kNoHardDiskControls = {
    &printtypeTextCtrlID, &restoredocunameTextCtrlID, &printTypeListCtrlID,
    &printTypeUserNameCtrlID, &printTypePasswordCtrlID};

struct CWidgetControl : CBaseControl
{
    explicit CWidgetControl(ControlID *id) { controlID = id; }
};

// The print type pane's layout; its controls bind to the test window whatever window is offered.
struct OptionsPanel : TestPanel
{
    explicit OptionsPanel(WindowRef testWindow) : testWindow(testWindow)
    {
        for (ControlID *id :
             {&printtypeTextCtrlID, &restoredocunameTextCtrlID, &printTypeListCtrlID,
              &printTypeUserNameCtrlID, &documentNameListCtrlID, &documentNameCtrlID,
              &printTypePasswordCtrlID})
            add(new CWidgetControl(id));
        RunTimeAddNewInstallableControl(&hardDisk);
    }
    int InitializeUserPaneControl(WindowRef, ControlRef pane, CFBundleRef bundle,
                                  ppd_file_t *ppd) override
    {
        return TestPanel::InitializeUserPaneControl(testWindow, pane, bundle, ppd);
    }
    std::vector<ControlID *> DisabledControls() const
    {
        std::vector<ControlID *> disabled;
        for (const auto &control : owned)
            if (control->GetDisableCount() != 0)
                disabled.push_back(control->GetControlID());
        return disabled;
    }
    CInstallableControl hardDisk{kPPDHardDiskKey, &hardDiskInfo};
    WindowRef testWindow;
};

struct InstallableControlTest : ::testing::Test
{
    void SetUp() override { ASSERT_NE(window.widget, nullptr) << "PrintTypeOptions.ui"; }
    // A description with these VZHardDisk choices (none: no such option), defaults marked.
    veltra::PPDFile HardDiskPPD(const std::string &marked, const std::vector<std::string> &choices)
    {
        std::string text = "*PPD-Adobe: \"4.3\"\n";
        if (!choices.empty()) {
            text += "*OpenUI *VZHardDisk/Hard Disk: PickOne\n*DefaultVZHardDisk: " + marked + "\n";
            for (const std::string &choice : choices)
                text += "*VZHardDisk " + choice + "/" + choice + ": \"\"\n";
            text += "*CloseUI: *VZHardDisk\n";
        }
        const std::string path = dir.filePath("printer.ppd").toStdString();
        std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
        veltra::PPDFile ppd = OpenTestPPD(path);
        ppdMarkDefaults(ppd.get());
        return ppd;
    }

    QTemporaryDir dir;
    UiTestWindow window{"PrintTypeOptions"};
};

TEST_F(InstallableControlTest, MarkedChoiceDecidesWhatIsDisabledAndMissingInputsAnswerZero)
{
    const struct
    {
        const char *what;
        std::string marked;
        std::vector<std::string> choices;
        bool matches, disables;
    } rows[] = {
        {"no hard disk", "False", {"True", "False"}, true, true},
        {"hard disk installed", "True", {"True", "False"}, true, false},
        // An entry names the beginning of a choice.
        {"longer choice after True", "TrueHD", {"TrueHD", "False"}, true, false},
        {"longer choice after False", "False2", {"True", "False2"}, true, true},
        {"choice shorter than every entry", "F", {"T", "F"}, false, false},
        {"choice beginning like no entry", "Tru", {"Tru", "Fals"}, false, false},
        {"choice in another case", "false", {"true", "false"}, false, false},
        {"no such option", "", {}, false, false},
        {"default that names no choice", "Maybe", {"True", "False"}, false, false},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        veltra::PPDFile ppd = HardDiskPPD(row.marked, row.choices);
        OptionsPanel panel(window.window);
        panel.bind(nullptr, nullptr, false);
        for (const auto &control : panel.owned) // the window is shared: start from active widgets
            control->ResetStatus();
        EXPECT_EQ(panel.hardDisk.IsOptionNeedConstrain(ppd.get()), row.matches ? 1001 : 0);
        EXPECT_TRUE(panel.DisabledControls().empty());
        EXPECT_EQ(panel.hardDisk.ConstrainPanelControlFromPPD(ppd.get()), row.matches ? 1000 : 0);
        EXPECT_EQ(panel.DisabledControls(),
                  row.disables ? kNoHardDiskControls : std::vector<ControlID *>());
    }
}

TEST_F(InstallableControlTest, BuiltPaneAndResetsApplyTheChoiceWithoutStacking)
{
    for (const bool hardDisk : {true, false}) { // first: the window keeps old panels' handlers
        SCOPED_TRACE(hardDisk ? "hard disk" : "no hard disk");
        veltra::PrintSession session("Veltra_Disk",
                                     HardDiskPPD(hardDisk ? "True" : "False", {"True", "False"}));
        OptionsPanel panel(window.window);
        PMPrintSession ref = session.ref();
        panel.SetCurrentPrintSession(&ref);
        // No interface file is found for this panel; its controls bind to the test window.
        EXPECT_EQ(panel.InitializeUserPane(0, nullptr, nullptr, session.ppd()), 0);
        for (const char *name : {"printTypeList", "userName", "passcode"})
            EXPECT_EQ(window.Find(name)->isEnabled(), hardDisk) << name;
        EXPECT_TRUE(window.Find("documentName")->isEnabled());
        EXPECT_TRUE(window.Find("documentNameList")->isEnabled());
        // Without a hard disk the user cannot leave "Job Type None".
        const int before = window.Find<QComboBox>("printTypeList")->currentIndex();
        QTest::keyClick(window.Find("printTypeList"), Qt::Key_Down);
        EXPECT_EQ(window.Find<QComboBox>("printTypeList")->currentIndex(), before + hardDisk);

        CBaseControl *userName = panel.owned[3].get(), *documentName = panel.owned[5].get();
        for (int round = 1; round <= 3; ++round) {
            SCOPED_TRACE(round);
            // Other sources disable between resets; a reset forgets them.
            userName->Disable();
            documentName->Disable();
            round % 2 ? panel.ResetControlStatus() : panel.ResetCurrentControlStatus();
            EXPECT_EQ(userName->GetDisableCount(), hardDisk ? 0 : 1);
            EXPECT_EQ(documentName->GetDisableCount(), 0);
            EXPECT_EQ(panel.DisabledControls(),
                      hardDisk ? std::vector<ControlID *>() : kNoHardDiskControls);
            EXPECT_EQ(window.Find("userName")->isEnabled(), hardDisk);
            EXPECT_TRUE(window.Find("documentName")->isEnabled());
        }
        // Without a printer description the reset only clears.
        session.setPPDAvailable(false);
        panel.ResetControlStatus();
        EXPECT_TRUE(panel.DisabledControls().empty());
        EXPECT_TRUE(window.Find("printTypeList")->isEnabled());
    }

    // Missing inputs answer zero.
    veltra::PPDFile ppd = HardDiskPPD("False", {"True", "False"});
    OptionsPanel panel(window.window);
    panel.bind(nullptr, nullptr, false);
    InstallableOptionConstrainInfo emptyInfo = {nullptr, nullptr, nullptr, nullptr};
    CInstallableControl noKeyword(nullptr, &hardDiskInfo), noTable(kPPDHardDiskKey, nullptr),
        emptyTable(kPPDHardDiskKey, &emptyInfo);
    for (CInstallableControl *control : {&noKeyword, &noTable, &emptyTable}) {
        panel.RunTimeAddNewInstallableControl(control);
        EXPECT_EQ(control->ConstrainPanelControlFromPPD(ppd.get()), 0);
        EXPECT_EQ(control->IsOptionNeedConstrain(ppd.get()), 0);
    }
    EXPECT_EQ(panel.hardDisk.ConstrainPanelControlFromPPD(nullptr), 0);
    EXPECT_EQ(panel.hardDisk.IsOptionNeedConstrain(nullptr), 0);
    EXPECT_TRUE(panel.DisabledControls().empty());

    // Outside a panel the list has nowhere to be resolved: nothing happens, the match counts.
    CInstallableControl detached(kPPDHardDiskKey, &hardDiskInfo);
    EXPECT_EQ(detached.ConstrainPanelControlFromPPD(ppd.get()), 1000);
    EXPECT_TRUE(panel.DisabledControls().empty());
}

} // namespace
