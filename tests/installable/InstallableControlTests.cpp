// The hard-disk option of the print type pane: the printer description's marked choice of
// "VZHardDisk" decides which controls stay out of reach, when the pane is built and after
// every reset of the control states, without piling up disables.
#include "CBasePrintPanel.h"
#include "CInstallableControl.h"
#include "CListControl.h"
#include "PPDQueries.h"
#include "UiTestWindow.h"

#include <PrintCore/PrintHost.h>

#include <QComboBox>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

// The print type pane's controls and its hard-disk table.
ControlID printtypeTextCtrlID = {'ptst', 220};
ControlID restoredocunameTextCtrlID = {'rtst', 221};
ControlID printTypeListCtrlID = {'ssls', 202};
ControlID printTypeUserNameCtrlID = {'spui', 204};
ControlID documentNameListCtrlID = {'dnls', 310};
ControlID documentNameCtrlID = {'dnui', 210};
ControlID printTypePasswordCtrlID = {'sppi', 206};

ControlID *noHardDiskConstrainArray[] = {&printTypeListCtrlID,     &printTypeUserNameCtrlID,
                                         &printTypePasswordCtrlID, &restoredocunameTextCtrlID,
                                         &printtypeTextCtrlID,     nullptr};
const InstallableOptionChoice hardDiskOptionConstrainArray[] = {
    {"True", nullptr},
    {"False", noHardDiskConstrainArray},
    {nullptr, nullptr},
};
InstallableOptionConstrainInfo hardDiskOptionConstrainInfo = {hardDiskOptionConstrainArray, nullptr,
                                                              nullptr, nullptr};
InstallableOptionConstrainInfo *hardDiskOptionConstrainInfoPtr = &hardDiskOptionConstrainInfo;

CFStringRef printTypeListIniMenu[] = {CFSTR("Job Type None"), CFSTR("Job Type Secure"),
                                      CFSTR("Job Type Sample"), nullptr};
ListPopupIniData printTypeListIniData = {0, 1, -1, printTypeListIniMenu};

// A control over one widget of the window, without value of its own.
class CWidgetControl : public CBaseControl
{
public:
    explicit CWidgetControl(ControlID *id) { controlID = id; }
};

// A description with the hard-disk option whose default (marked) choice is markedChoice and
// whose choices are choices; without choices the option is left out.
std::string HardDiskPPD(const std::string &markedChoice, const std::vector<std::string> &choices)
{
    std::string text = R"PPD(*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "VELTRA.PPD"
*Manufacturer: "Veltra"
*Product: "(Veltra Test)"
*ModelName: "Veltra Test"
*ShortNickName: "Veltra Test"
*NickName: "Veltra Test"
*PSVersion: "(3010.000) 0"
*OpenUI *PageSize/Page Size: PickOne
*DefaultPageSize: A4
*PageSize A4/A4: "<</PageSize[595 842]>>setpagedevice"
*CloseUI: *PageSize
*DefaultPageRegion: A4
*DefaultImageableArea: A4
*ImageableArea A4: "0 0 595 842"
*DefaultPaperDimension: A4
*PaperDimension A4: "595 842"
)PPD";
    if (!choices.empty()) {
        text += "*OpenGroup: InstallableOptions/Options Installed\n"
                "*OpenUI *VZHardDisk/Hard Disk: PickOne\n"
                "*DefaultVZHardDisk: " +
                markedChoice + "\n";
        for (const std::string &choice : choices)
            text += "*VZHardDisk " + choice + "/" + choice + ": \"\"\n";
        text += "*CloseUI: *VZHardDisk\n*CloseGroup: InstallableOptions\n";
    }
    return text;
}

// Writes text to a file of dir and opens it with libcups, defaults marked.
veltra::PPDFile OpenPPDText(const QTemporaryDir &dir, const std::string &text)
{
    const std::string path = dir.filePath("printer.ppd").toStdString();
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << text;
    }
    veltra::PPDFile ppd(ppdOpenFile(path.c_str()));
    if (ppd)
        ppdMarkDefaults(ppd.get());
    return ppd;
}

// A panel laid out like the print type pane, whose controls bind to the test window whatever
// window the pane loading offers them.
class OptionsPanel : public CBasePrintPanel
{
public:
    explicit OptionsPanel(WindowRef testWindow) : testWindow(testWindow)
    {
        Add(std::make_unique<CWidgetControl>(&printtypeTextCtrlID));
        Add(std::make_unique<CWidgetControl>(&restoredocunameTextCtrlID));
        printTypeList = Add(std::make_unique<CListControl>(
            &printTypeListCtrlID, &printTypeListIniData, nullptr, nullptr));
        Add(std::make_unique<CWidgetControl>(&printTypeUserNameCtrlID));
        Add(std::make_unique<CWidgetControl>(&documentNameListCtrlID));
        Add(std::make_unique<CWidgetControl>(&documentNameCtrlID));
        Add(std::make_unique<CWidgetControl>(&printTypePasswordCtrlID));
        hardDisk =
            std::make_unique<CInstallableControl>(kPPDHardDiskKey, hardDiskOptionConstrainInfoPtr);
        RunTimeAddNewInstallableControl(hardDisk.get());
    }

    int InitializeUserPaneControl(WindowRef, ControlRef userPane, CFBundleRef bundle,
                                  ppd_file_t *description) override
    {
        return CBasePrintPanel::InitializeUserPaneControl(testWindow, userPane, bundle,
                                                          description);
    }

    // The controls, by ControlID, that are disabled now.
    std::vector<ControlID *> DisabledControls() const
    {
        std::vector<ControlID *> disabled;
        for (const auto &control : owned) {
            if (control->GetDisableCount() != 0)
                disabled.push_back(control->GetControlID());
        }
        return disabled;
    }

    std::unique_ptr<CInstallableControl> hardDisk;
    CListControl *printTypeList = nullptr;
    std::vector<std::unique_ptr<CBaseControl>> owned;

private:
    template <typename T> T *Add(std::unique_ptr<T> control)
    {
        T *raw = control.get();
        RunTimeAddNewControl(raw);
        owned.push_back(std::move(control));
        return raw;
    }

    WindowRef testWindow;
};

const std::vector<ControlID *> kNoHardDiskControls = {
    &printtypeTextCtrlID, &restoredocunameTextCtrlID, &printTypeListCtrlID,
    &printTypeUserNameCtrlID, &printTypePasswordCtrlID};

class InstallableControlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_NE(window.widget, nullptr) << "PrintTypeOptions.ui did not load";
    }

    QTemporaryDir dir;
    UiTestWindow window{"PrintTypeOptions"};
};

TEST_F(InstallableControlTest, MarkedChoiceDecidesWhatIsDisabled)
{
    struct Case
    {
        const char *what;
        std::string ppd;
        int answer;     // ConstrainPanelControlFromPPD
        int needAnswer; // IsOptionNeedConstrain
        std::vector<ControlID *> disabled;
    };
    const Case cases[] = {
        {"no hard disk", HardDiskPPD("False", {"True", "False"}), 1000, 1001, kNoHardDiskControls},
        {"hard disk installed", HardDiskPPD("True", {"True", "False"}), 1000, 1001, {}},
        // An entry names the beginning of a choice.
        {"longer choice after True", HardDiskPPD("TrueHD", {"TrueHD", "False"}), 1000, 1001, {}},
        {"longer choice after False", HardDiskPPD("False2", {"True", "False2"}), 1000, 1001,
         kNoHardDiskControls},
        {"choice shorter than every entry", HardDiskPPD("F", {"T", "F"}), 0, 0, {}},
        {"choice beginning like no entry", HardDiskPPD("Tru", {"Tru", "Fals"}), 0, 0, {}},
        {"choice in another case", HardDiskPPD("false", {"true", "false"}), 0, 0, {}},
        {"no such option", HardDiskPPD("", {}), 0, 0, {}},
        {"default that names no choice", HardDiskPPD("Maybe", {"True", "False"}), 0, 0, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        veltra::PPDFile ppd = OpenPPDText(dir, c.ppd);
        ASSERT_NE(ppd, nullptr) << ppdErrorString(ppdLastError(nullptr));
        OptionsPanel panel(window.window);
        panel.InitializeUserPaneControl(nullptr, nullptr, nullptr, nullptr);
        // The window is shared by the cases: start from active widgets.
        for (const auto &control : panel.owned)
            control->ResetStatus();

        EXPECT_EQ(panel.hardDisk->IsOptionNeedConstrain(ppd.get()), c.needAnswer);
        EXPECT_TRUE(panel.DisabledControls().empty());
        EXPECT_EQ(panel.hardDisk->ConstrainPanelControlFromPPD(ppd.get()), c.answer);
        EXPECT_EQ(panel.DisabledControls(), c.disabled);
        for (const auto &control : panel.owned) {
            const bool listed = std::find(c.disabled.begin(), c.disabled.end(),
                                          control->GetControlID()) != c.disabled.end();
            EXPECT_EQ(IsControlActive(control->GetControlRef()), !listed);
        }
    }
}

TEST_F(InstallableControlTest, PaneBuiltForAPrinterWithoutHardDiskKeepsOrdinaryJobs)
{
    veltra::PPDFile ppd = OpenPPDText(dir, HardDiskPPD("False", {"True", "False"}));
    ASSERT_NE(ppd, nullptr);
    OptionsPanel panel(window.window);

    // No interface file is found for this panel; its controls bind to the test window.
    EXPECT_EQ(panel.InitializeUserPane(0, nullptr, nullptr, ppd.get()), 0);

    EXPECT_EQ(panel.DisabledControls(), kNoHardDiskControls);
    auto *typeList = static_cast<QComboBox *>(window.Find("printTypeList"));
    EXPECT_FALSE(typeList->isEnabled());
    EXPECT_FALSE(window.Find("userName")->isEnabled());
    EXPECT_FALSE(window.Find("passcode")->isEnabled());
    EXPECT_TRUE(window.Find("documentName")->isEnabled());
    EXPECT_TRUE(window.Find("documentNameList")->isEnabled());

    // The user cannot leave "Job Type None".
    ASSERT_EQ(typeList->currentIndex(), 0);
    QTest::keyClick(typeList, Qt::Key_Down);
    QTest::mouseClick(typeList, Qt::LeftButton);
    EXPECT_EQ(typeList->currentIndex(), 0);
}

TEST_F(InstallableControlTest, ResetsReapplyWithoutStacking)
{
    for (const bool hardDisk : {false, true}) {
        SCOPED_TRACE(hardDisk ? "hard disk" : "no hard disk");
        auto session = std::make_unique<veltra::PrintSession>(
            "Veltra_Disk",
            OpenPPDText(dir, HardDiskPPD(hardDisk ? "True" : "False", {"True", "False"})));
        ASSERT_NE(session->ppd(), nullptr);
        OptionsPanel panel(window.window);
        PMPrintSession ref = session->ref();
        panel.SetCurrentPrintSession(&ref);
        panel.InitializeUserPane(0, nullptr, nullptr, session->ppd());

        CBaseControl *userName = panel.GetPanelControl(&printTypeUserNameCtrlID);
        CBaseControl *documentName = panel.GetPanelControl(&documentNameCtrlID);
        ASSERT_TRUE(userName && documentName);
        for (int round = 1; round <= 3; ++round) {
            SCOPED_TRACE(round);
            // Other sources disable between resets; a reset forgets them.
            userName->Disable();
            documentName->Disable();
            if (round % 2)
                panel.ResetControlStatus();
            else
                panel.ResetCurrentControlStatus();
            EXPECT_EQ(userName->GetDisableCount(), hardDisk ? 0 : 1);
            EXPECT_EQ(documentName->GetDisableCount(), 0);
            EXPECT_EQ(panel.DisabledControls(),
                      hardDisk ? std::vector<ControlID *>() : kNoHardDiskControls);
            EXPECT_EQ(window.Find("userName")->isEnabled(), hardDisk);
            EXPECT_TRUE(window.Find("documentName")->isEnabled());
        }

        // Without a printer description the reset only clears.
        session->setPPDAvailable(false);
        panel.ResetControlStatus();
        EXPECT_TRUE(panel.DisabledControls().empty());
        EXPECT_TRUE(window.Find("printTypeList")->isEnabled());
    }
}

TEST_F(InstallableControlTest, MissingInputsAnswerZero)
{
    veltra::PPDFile ppd = OpenPPDText(dir, HardDiskPPD("False", {"True", "False"}));
    ASSERT_NE(ppd, nullptr);
    OptionsPanel panel(window.window);
    panel.InitializeUserPaneControl(nullptr, nullptr, nullptr, nullptr);

    CInstallableControl noKeyword(nullptr, hardDiskOptionConstrainInfoPtr);
    CInstallableControl noTable(kPPDHardDiskKey, nullptr);
    InstallableOptionConstrainInfo emptyInfo = {nullptr, nullptr, nullptr, nullptr};
    CInstallableControl emptyTable(kPPDHardDiskKey, &emptyInfo);
    for (CInstallableControl *control : {&noKeyword, &noTable, &emptyTable}) {
        panel.RunTimeAddNewInstallableControl(control);
        EXPECT_EQ(control->ConstrainPanelControlFromPPD(ppd.get()), 0);
        EXPECT_EQ(control->IsOptionNeedConstrain(ppd.get()), 0);
    }
    EXPECT_EQ(panel.hardDisk->ConstrainPanelControlFromPPD(nullptr), 0);
    EXPECT_EQ(panel.hardDisk->IsOptionNeedConstrain(nullptr), 0);
    EXPECT_TRUE(panel.DisabledControls().empty());

    // Outside a panel the list has nowhere to be resolved: nothing happens, the match counts.
    CInstallableControl detached(kPPDHardDiskKey, hardDiskOptionConstrainInfoPtr);
    EXPECT_EQ(detached.ConstrainPanelControlFromPPD(ppd.get()), 1000);
    EXPECT_TRUE(panel.DisabledControls().empty());
}

} // namespace
