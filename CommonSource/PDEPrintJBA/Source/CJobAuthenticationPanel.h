// The job accounting pane: who pays for the job. The panel holds the account-mode list and
// the buttons that open its windows; the values live in the user window, the administrator
// window and the print-time input window, all written to the ticket at every Sync.
#pragma once

#include "CBasePrintPanel.h"

#include <memory>

class CJBAInfoAdminWindow;
class CJBAInfoWindow;
class CJBAInfoWndButton;
class CJBAInputWindow;
class CJBAListCtrl;
class CJBAStaticTextEditControl;
class CJBAVerStringSText;
class CJBAWndHelpButton;

constexpr SInt32 kPrintCommandProceed = 2001;
constexpr SInt32 kNoPrintCommandPending = 2002; // the print-time input was cancelled

// Account modes: the administrator window (list item 1), the user window (item 2), no list.
constexpr SInt32 kJBAAccountModeAdmin = 0;
constexpr SInt32 kJBAAccountModeUser = 1;
constexpr SInt32 kJBANoAccountMode = -1;

class CJobAuthenticationPanel : public CBasePrintPanel
{
public:
    CJobAuthenticationPanel();
    ~CJobAuthenticationPanel() override;

    CFArrayRef GetPrinterSupporttedListRef() override;
    // Runs the input window when the active settings window asks for input at print time;
    // false (the dialog stays open) when the user cancelled it.
    bool OnClickPrintCommand() override;

    // 0 or 1; -1 without a list, or with one whose widget was never found.
    SInt32 getAccountMode() const;
    // Whether Print must open the input window.
    bool getbInputWndVisible() const;

    SInt32 GetPrintCommandState() const { return printCommandState; }
    void SetPrintCommandState(SInt32 state) { printCommandState = state; }

    // After the values went to the preferences: when the shared store refused them (a user who
    // may not write it), its file keeps the values it had, and the user is told once for the
    // life of the pane that only an administrator can change shared settings.
    void TellIfSharedSettingsRefused();

    CJBAListCtrl *GetAccountModeList() const { return accountModeList.get(); }
    CJBAInfoWindow *GetInfoWindow() const { return infoWindow.get(); }
    CJBAInfoAdminWindow *GetInfoAdminWindow() const { return infoAdminWindow.get(); }
    CJBAInputWindow *GetInputWindow() const { return inputWindow.get(); }

private:
    std::unique_ptr<CJBAListCtrl> accountModeList;
    std::unique_ptr<CJBAInfoWndButton> settingsButton;
    std::unique_ptr<CJBAVerStringSText> versionText;
    std::unique_ptr<CJBAWndHelpButton> helpButton;
    std::unique_ptr<CJBAStaticTextEditControl> modeLabel;
    std::unique_ptr<CJBAInfoWindow> infoWindow;
    std::unique_ptr<CJBAInfoAdminWindow> infoAdminWindow;
    std::unique_ptr<CJBAInputWindow> inputWindow;
    SInt32 printCommandState = kPrintCommandProceed;
    bool toldSharedSettingsRefused = false;
};
