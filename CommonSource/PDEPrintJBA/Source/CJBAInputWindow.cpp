#include "CJBAInputWindow.h"

#include "AppResources.h"
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
    : CPopupWindowInPanel(nibFileName, windowName, bundle),
      titleKey(title ? CFStringCreateCopy(kCFAllocatorDefault, title) : nullptr)
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

int CJBAInputWindow::InitializeUserPane(unsigned long context, ControlRef pane, CFBundleRef bundle,
                                        ppd_file_t *description)
{
    CPopupWindowInPanel::InitializeUserPane(context, pane, bundle, description);
    InitializeUserPaneTitle();
    return 0;
}

int CJBAInputWindow::ReInitializeUserPane(WindowRef platformWindow)
{
    CPopupWindowInPanel::ReInitializeUserPane(platformWindow);
    InitializeUserPaneTitle();
    return 0;
}

void CJBAInputWindow::InitializeUserPaneTitle()
{
    CFBundleRef bundle = GetAppBundleRef();
    WindowRef platformWindow = GetWindowRef();
    if (!bundle || !platformWindow || !titleKey)
        return;
    CFRef<CFStringRef> title(CFBundleCopyLocalizedString(bundle, titleKey, titleKey, nullptr));
    if (title)
        SetWindowTitleWithCFString(platformWindow, title);
}

int CJBAInputWindow::ActivateWindow()
{
    if (!window) {
        window = std::make_unique<TWindow>(GetPDENibFileNameJBA(), windowName, GetAppBundleRef());
        ReInitializeUserPane(window->GetWindowRef());
        SetUIDataToIniData();
    }
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

bool CJBAInputWindow::SycValueFromUI()
{
    ForEachControl([](CBaseControl *c) {
        if (c->GetControlID())
            c->GetValueFromUI();
    });
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
