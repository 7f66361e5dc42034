// The user settings window (account mode 1): how a job is identified to the printer, either by
// details given here once (login name or a typed user ID, and a password) or by input at
// print time. Its values are kept for the user running the dialog. The administrator window
// is its twin with other control ids, keys and scope.
#pragma once

#include "CJBAPopupWindow.h"
#include "JBATables.h"

#include <memory>

class CJBAStaticTextEditControl;
class CJBAWndCancelButton;
class CJBAWndHelpButton;
class CJBAWndListCtrl;
class CJBAWndLoginTECtrl;
class CJBAWndOKButton;
class CJBAWndRadioButton;
class CJBAWndRestoreButton;
class CJBAWndTextEditCtrlExt;
class CJBAWndTextEditCtrlExtPwd;
class CRadioGroup;

class CJBAInfoWindow : public CJBAPopupWindow
{
public:
    CJBAInfoWindow(CFStringRef nibFileName, CFStringRef windowName, CFBundleRef bundle,
                   CFStringRef titleKey);
    ~CJBAInfoWindow() override;

    // Lists the window's lines only in the account mode it serves.
    int GetSummaryText(CFMutableArrayRef titles, CFMutableArrayRef values) override;
    // Also finds the controls of the parent panel's input window.
    CBaseControl *GetPanelControl(ControlID *id) override;
    virtual bool InitializePaneConstrains();

    // Builds the window when it was released, shows the committed values and shows it.
    int ActivateWindow();
    // Committed "JBA Login Name" in the specify-name list.
    bool getbUseLoginNameSelect();
    // Committed input at print time.
    bool getbEnterUserDetails();

    // The account mode in which the window is opened and summarized.
    virtual SInt32 GetServedAccountMode() const;

protected:
    CJBAInfoWindow(CFStringRef nibFileName, CFStringRef windowName, CFBundleRef bundle,
                   CFStringRef titleKey, const JBAInfoWindowRecords &records);

private:
    std::unique_ptr<CJBAWndOKButton> okButton;
    std::unique_ptr<CJBAWndCancelButton> cancelButton;
    std::unique_ptr<CJBAWndRestoreButton> restoreButton;
    std::unique_ptr<CJBAWndHelpButton> helpButton;
    std::unique_ptr<CRadioGroup> radioGroup;
    std::unique_ptr<CJBAWndRadioButton> jobInfoRadio;
    std::unique_ptr<CJBAStaticTextEditControl> userIDListLabel;
    std::unique_ptr<CJBAWndListCtrl> userIDList;
    std::unique_ptr<CJBAStaticTextEditControl> userIDLabel;
    std::unique_ptr<CJBAWndTextEditCtrlExt> userIDField;
    std::unique_ptr<CJBAWndLoginTECtrl> loginField;
    std::unique_ptr<CJBAStaticTextEditControl> passwordLabel;
    std::unique_ptr<CJBAWndTextEditCtrlExtPwd> passwordField;
    std::unique_ptr<CJBAWndRadioButton> jobInputRadio;
};
