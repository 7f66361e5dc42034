// The print type pane: ordinary, secure or sample job, with the user name, passcode and
// document name a held job carries.
#pragma once

#include "CBasePrintPanel.h"

#include <memory>

class CAboutWindow;
class CGroupBoxCtrl;
class CInstallableControl;
class CPTListCtrl;
class CPTPWStaticTextEditControl;
class CPTRestoreButton;
class CPTStaticTextEditControl;
class CPTTextEditCtrlExt;
class CPTTextEditCtrlExt1;
class CPTUITextEditCtrl;
class CPTVerStringSText;
class CPrintTypeWndHelpBtn;

// printCommandState: a print command has been let through, or the user confirmed a short
// passcode by printing an ordinary job.
constexpr SInt32 kPrintCommandConfirmed = 2001;
constexpr SInt32 kPrintCommandNotConfirmed = 2002;

class CPrintTypePanel : public CBasePrintPanel
{
public:
    CPrintTypePanel();
    ~CPrintTypePanel() override;

    CFArrayRef GetPrinterSupporttedListRef() override;
    // Reads every widget and checks every enabled field; false stops the print. After a
    // refusal it answers whether the user chose to print an ordinary job instead.
    bool OnClickPrintCommand() override;
    // Whether every value may go to the ticket; a refused field has shown its message.
    bool ValidateUserPane() override;
    int InitializeUserPane(unsigned long context, ControlRef userPane, CFBundleRef bundle,
                           ppd_file_t *ppd) override;
    // Reads every control's value from its widget.
    virtual bool SycValueFromUI();

    bool HasMinDigitOption() const { return hasMinDigitOption; }
    SInt32 GetPrintCommandState() const { return printCommandState; }
    void SetPrintCommandState(SInt32 state) { printCommandState = state; }
    CAboutWindow *GetAboutWindow() const { return aboutWindow.get(); }

private:
    std::unique_ptr<CPTVerStringSText> versionText;
    std::unique_ptr<CPTStaticTextEditControl> printTypeLabel;
    std::unique_ptr<CPTStaticTextEditControl> documentNameTypeLabel;
    std::unique_ptr<CPTListCtrl> printTypeList;
    std::unique_ptr<CPTUITextEditCtrl> userName;
    std::unique_ptr<CPTListCtrl> documentNameTypeList;
    std::unique_ptr<CPTTextEditCtrlExt1> documentName;
    std::unique_ptr<CPTTextEditCtrlExt> passcode;
    std::unique_ptr<CPTRestoreButton> restoreButton;
    std::unique_ptr<CGroupBoxCtrl> groupBox;
    std::unique_ptr<CPTStaticTextEditControl> userNameLabel;
    std::unique_ptr<CPTPWStaticTextEditControl> passcodeLabel;
    std::unique_ptr<CPTStaticTextEditControl> documentNameLabel;
    std::unique_ptr<CPrintTypeWndHelpBtn> helpButton;
    std::unique_ptr<CInstallableControl> hardDiskOption;
    std::unique_ptr<CAboutWindow> aboutWindow;

    bool hasMinDigitOption = false;
    SInt32 printCommandState = kPrintCommandNotConfirmed;
};
