// The print-time input window: when the active settings window asks for input at print time,
// Print opens it for a user ID and password for this job. OK lets the print go on, Cancel
// holds it back and keeps the dialog open. It never appears in the summary.
#pragma once

#include "CJBAPopupWindow.h"

#include <memory>

class CJBAInputWndCancelButton;
class CJBAInputWndOKButton;
class CJBAInputWndTextEditCtrl;
class CJBAInputWndTextEditCtrlExt;
class CJBAStaticTextEditControl;
class CJBAWndHelpButton;
class CJBAWndRadioButton;
class CRadioGroup;

class CJBAInputWindow : public CJBAPopupWindow
{
public:
    CJBAInputWindow(CFStringRef nibFileName, CFStringRef windowName, CFBundleRef bundle,
                    CFStringRef titleKey);
    ~CJBAInputWindow() override;

    int GetSummaryText(CFMutableArrayRef titles, CFMutableArrayRef values) override;

    // Shows the window and runs it modally until OK or Cancel; the outcome is left in the
    // panel's printCommandState.
    virtual void Present();
    // The user ID and the password take their defaults as committed values.
    virtual bool SetControlDataToDefault();
    virtual bool SycnContents();
    virtual bool InitializePaneConstrains();
    virtual bool InitializePaneCtrlData();

    int ActivateWindow();
    void SycnFromTextToPw(bool *userIDChanged, bool *passwordChanged);

private:
    std::unique_ptr<CJBAInputWndOKButton> okButton;
    std::unique_ptr<CJBAInputWndCancelButton> cancelButton;
    std::unique_ptr<CJBAWndHelpButton> helpButton;
    std::unique_ptr<CRadioGroup> radioGroup;
    std::unique_ptr<CJBAWndRadioButton> authRadio;
    std::unique_ptr<CJBAStaticTextEditControl> userIDLabel;
    std::unique_ptr<CJBAInputWndTextEditCtrlExt> userIDField;
    std::unique_ptr<CJBAStaticTextEditControl> passwordLabel;
    std::unique_ptr<CJBAInputWndTextEditCtrl> passwordField;
    ControlIDList defaultList = nullptr;
};
