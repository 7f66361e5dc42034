// The window that Print opens to ask for a user ID and password.
#include "CJBAInputWindow.h"

#include "CJBAInputWndCancelButton.h"
#include "CJBAInputWndOKButton.h"
#include "CJBAInputWndTextEditCtrlExt.h"
#include "CJBAStaticTextEditControl.h"
#include "CJBAWndHelpButton.h"
#include "CJBAWndRadioButton.h"
#include "CRadioGroup.h"
#include "JBATables.h"

CJBAInputWindow::CJBAInputWindow(CFStringRef nibFileName, CFStringRef windowName,
                                 CFBundleRef bundle, CFStringRef title)
    : CJBAPopupWindow(nibFileName, windowName, bundle, title)
{
    okButton =
        std::make_unique<CJBAInputWndOKButton>(&jbaInputWndOKPushID, CFSTR("JBA Input OK Btn"));
    RunTimeAddNewControl(okButton.get());
    cancelButton = std::make_unique<CJBAInputWndCancelButton>(&jbaInputWndCnclPushID,
                                                              CFSTR("JBA Input CANCEL Btn"));
    RunTimeAddNewControl(cancelButton.get());
    helpButton = std::make_unique<CJBAWndHelpButton>(
        &jbaInputWndHelpPushID, CFSTR("JBA Input HELP Btn"), CFSTR("EnterUD.htm"));
    RunTimeAddNewControl(helpButton.get());
    radioGroup = std::make_unique<CRadioGroup>();
    authRadio = std::make_unique<CJBAWndRadioButton>(
        &jbaInputWndAuthRdioID, &jbaInputWndAuthRdioIniData, &jbaInputWndAuthRdioCnstrnInfoPtr,
        &jbaInputWndAuthRdioAcssInfo, jbaAuthRdioValidateArray);
    RunTimeAddNewControl(authRadio.get());
    radioGroup->RunTimeAddNewControl(authRadio.get());
    userIDLabel = std::make_unique<CJBAStaticTextEditControl>(&jbaInputWndUserIDStxtID,
                                                              CFSTR("User ID text"));
    RunTimeAddNewControl(userIDLabel.get());
    userIDField = std::make_unique<CJBAInputWndTextEditCtrlExt>(
        &jbaInputWndUserIDEtxtID, &jbaWndUserIDEtxtIniData, nullptr, &jbaWndUserIDEtxtFltrData,
        &jbaInputWndUserIDEtxtAcssInfo, nullptr, false);
    RunTimeAddNewControl(userIDField.get());
    passwordLabel = std::make_unique<CJBAStaticTextEditControl>(&jbaInputWndUserIDPwStxtID,
                                                                CFSTR("User ID Password text"));
    RunTimeAddNewControl(passwordLabel.get());
    passwordField = std::make_unique<CJBAInputWndTextEditCtrl>(
        &jbaInputWndUserIDPwEtxtID, &jbaWndUserIDPwEtxtIniData, nullptr,
        &jbaWndUserIDPwEtxtFltrData, &jbaInputWndUserIDPwEtxtAcssInfo, nullptr, true);
    RunTimeAddNewControl(passwordField.get());
    defaultList = jbaInputWndDafaultArray;
}

CJBAInputWindow::~CJBAInputWindow()
{
    window.reset();
    okButton.reset();
    cancelButton.reset();
    helpButton.reset();
    radioGroup.reset();
    authRadio.reset();
    userIDLabel.reset();
    userIDField.reset();
    passwordLabel.reset();
    passwordField.reset();
}

int CJBAInputWindow::GetSummaryText(CFMutableArrayRef, CFMutableArrayRef)
{
    return 0;
}

int CJBAInputWindow::ActivateWindow()
{
    BuildWindowIfReleased();
    InitializePaneCtrlData();
    SetCurrentValueToUI();
    InitializePaneConstrains();
    window->Show();
    return 0;
}

void CJBAInputWindow::Present()
{
    ActivateWindow();
    if (WindowRef platformWindow = GetWindowRef())
        RunAppModalLoopForWindow(platformWindow);
    DeactivateWindow();
}

bool CJBAInputWindow::SetControlDataToDefault()
{
    for (ControlIDList id = defaultList; id && *id; ++id) {
        CBaseControl *control = GetPanelControl(*id);
        if (control && !control->SetControlValueToDefault())
            return false;
    }
    return true;
}

bool CJBAInputWindow::SycnContents()
{
    return true;
}

bool CJBAInputWindow::InitializePaneConstrains()
{
    return true;
}

bool CJBAInputWindow::InitializePaneCtrlData()
{
    return true;
}

void CJBAInputWindow::SycnFromTextToPw(bool *userIDChanged, bool *passwordChanged)
{
    if (userIDChanged)
        *userIDChanged = false;
    if (passwordChanged)
        *passwordChanged = false;
}
