// The personal settings window.
#include "CJBAInfoWindow.h"

#include "CJBAInputWindow.h"
#include "CJBAStaticTextEditControl.h"
#include "CJBAWndCancelButton.h"
#include "CJBAWndHelpButton.h"
#include "CJBAWndListCtrl.h"
#include "CJBAWndLoginTECtrl.h"
#include "CJBAWndOKButton.h"
#include "CJBAWndRadioButton.h"
#include "CJBAWndRestoreButton.h"
#include "CJBAWndTextEditCtrlExt.h"
#include "CJBAWndTextEditCtrlExtPwd.h"
#include "CJobAuthenticationPanel.h"
#include "CRadioGroup.h"

CJBAInfoWindow::CJBAInfoWindow(CFStringRef nibFileName, CFStringRef windowName, CFBundleRef bundle,
                               CFStringRef title)
    : CJBAInfoWindow(nibFileName, windowName, bundle, title, jbaWndRecords)
{}

CJBAInfoWindow::CJBAInfoWindow(CFStringRef nibFileName, CFStringRef windowName, CFBundleRef bundle,
                               CFStringRef title, const JBAInfoWindowRecords &r)
    : CJBAPopupWindow(nibFileName, windowName, bundle, title)
{
    // The order of creation is the order of every pass, of the summary and of the checks at OK.
    okButton = std::make_unique<CJBAWndOKButton>(r.okPush, CFSTR("JBA Info OK Btn"));
    RunTimeAddNewControl(okButton.get());
    cancelButton =
        std::make_unique<CJBAWndCancelButton>(r.cancelPush, CFSTR("JBA Info CANCEL Btn"));
    RunTimeAddNewControl(cancelButton.get());
    restoreButton =
        std::make_unique<CJBAWndRestoreButton>(r.restorePush, CFSTR("JBA Info RESTORE Btn"));
    RunTimeAddNewControl(restoreButton.get());
    helpButton = std::make_unique<CJBAWndHelpButton>(r.helpPush, CFSTR("JBA Info HELP Btn"),
                                                     CFSTR("DetailedUS.htm"));
    RunTimeAddNewControl(helpButton.get());
    radioGroup = std::make_unique<CRadioGroup>();
    jobInfoRadio = std::make_unique<CJBAWndRadioButton>(r.jobInfoRadio, &jbaWndJobInfoRdioIniData,
                                                        r.jobInfoRadioConstrain,
                                                        r.jobInfoRadioAccess, nullptr);
    RunTimeAddNewControl(jobInfoRadio.get());
    radioGroup->RunTimeAddNewControl(jobInfoRadio.get());
    userIDListLabel = std::make_unique<CJBAStaticTextEditControl>(r.userIDListLabel,
                                                                  CFSTR("JBA Specify Name text"));
    RunTimeAddNewControl(userIDListLabel.get());
    userIDList = std::make_unique<CJBAWndListCtrl>(r.userIDList, &jbaWndUserIDLboxIniData,
                                                   r.userIDListConstrain, r.userIDListAccess,
                                                   r.userIDListValidate, r.userIDListClear);
    RunTimeAddNewControl(userIDList.get());
    userIDLabel = std::make_unique<CJBAStaticTextEditControl>(r.userIDLabel, CFSTR("User ID text"));
    RunTimeAddNewControl(userIDLabel.get());
    userIDField = std::make_unique<CJBAWndTextEditCtrlExt>(
        r.userIDField, &jbaWndUserIDEtxtIniData, nullptr, &jbaWndUserIDEtxtFltrData,
        r.userIDFieldAccess, CFSTR("User ID text"), false);
    RunTimeAddNewControl(userIDField.get());
    loginField = std::make_unique<CJBAWndLoginTECtrl>(
        r.loginField, &jbaWndLoginEtxtIniData, nullptr, &jbaWndLoginEtxtFltrData,
        r.loginFieldAccess, CFSTR("User ID text"), false);
    RunTimeAddNewControl(loginField.get());
    passwordLabel = std::make_unique<CJBAStaticTextEditControl>(r.passwordLabel,
                                                                CFSTR("User ID Password text"));
    RunTimeAddNewControl(passwordLabel.get());
    passwordField = std::make_unique<CJBAWndTextEditCtrlExtPwd>(
        r.passwordField, &jbaWndUserIDPwEtxtIniData, nullptr, &jbaWndUserIDPwEtxtFltrData,
        r.passwordFieldAccess, CFSTR("User ID Password text"), true);
    RunTimeAddNewControl(passwordField.get());
    jobInputRadio = std::make_unique<CJBAWndRadioButton>(
        r.jobInputRadio, &jbaWndJobInputRdioIniData, r.jobInputRadioConstrain,
        r.jobInputRadioAccess, r.jobInputRadioValidate);
    RunTimeAddNewControl(jobInputRadio.get());
    radioGroup->RunTimeAddNewControl(jobInputRadio.get());
}

CJBAInfoWindow::~CJBAInfoWindow() = default;

SInt32 CJBAInfoWindow::GetServedAccountMode() const
{
    return kJBAAccountModeUser;
}

int CJBAInfoWindow::GetSummaryText(CFMutableArrayRef titles, CFMutableArrayRef values)
{
    auto *owner = dynamic_cast<CJobAuthenticationPanel *>(GetParentPane());
    if (!owner || owner->getAccountMode() != GetServedAccountMode())
        return 0;
    return CJBAPopupWindow::GetSummaryText(titles, values);
}

CBaseControl *CJBAInfoWindow::GetPanelControl(ControlID *id)
{
    if (CBaseControl *control = CJBAPopupWindow::GetPanelControl(id))
        return control;
    auto *owner = dynamic_cast<CJobAuthenticationPanel *>(GetParentPane());
    CJBAInputWindow *input = owner ? owner->GetInputWindow() : nullptr;
    return input ? input->GetPanelControl(id) : nullptr;
}

bool CJBAInfoWindow::InitializePaneConstrains()
{
    return true;
}

int CJBAInfoWindow::ActivateWindow()
{
    BuildWindowIfReleased();
    SetCurrentValueToUI();
    InitializePaneConstrains();
    window->Show();
    return 0;
}

bool CJBAInfoWindow::getbUseLoginNameSelect()
{
    return userIDList && userIDList->GetValueFromControl() == 1;
}

bool CJBAInfoWindow::getbEnterUserDetails()
{
    return jobInputRadio && jobInputRadio->GetValueFromControl() != 0;
}
