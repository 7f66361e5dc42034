// The job accounting pane: its controls, windows, account mode and Print.
#include "CJobAuthenticationPanel.h"

#include "AboutWindow.h"
#include "AppResources.h"
#include "CJBAInfoAdminWindow.h"
#include "CJBAInfoWindow.h"
#include "CJBAInfoWndButton.h"
#include "CJBAInputWindow.h"
#include "CJBAListCtrl.h"
#include "CJBAStaticTextEditControl.h"
#include "CJBAVerStringSText.h"
#include "CJBAWndHelpButton.h"
#include "JBATables.h"

CJobAuthenticationPanel::CJobAuthenticationPanel()
{
    nibPaneID = ControlID{'jaup', 1};
    nibFileName = GetPDENibFileNameJBA();
    nibWindowName = CFSTR("Window");
    panelValue = 100;

    // The order of creation is the order of every pass and of the summary.
    accountModeList = std::make_unique<CJBAListCtrl>(
        &jbaMngTypeLboxID, &jbaMngTypeLboxIniData, &jbaMngTypeLboxCnstrnInfoPtr,
        &jbaMngTypeLboxAcssInfo, jbaMngTypeAdminCnstrnArray);
    RunTimeAddNewControl(accountModeList.get());
    settingsButton =
        std::make_unique<CJBAInfoWndButton>(&jbaInfoWndPushID, CFSTR("Detailed User Settings Btn"));
    RunTimeAddNewControl(settingsButton.get());
    versionText = std::make_unique<CJBAVerStringSText>(&versionstringSTextCtrlIDJBA);
    RunTimeAddNewControl(versionText.get());
    helpButton = std::make_unique<CJBAWndHelpButton>(&jbaHelpBtnID, CFSTR("JBA Wnd HELP Btn"),
                                                     CFSTR("JBA.htm"));
    RunTimeAddNewControl(helpButton.get());
    modeLabel = std::make_unique<CJBAStaticTextEditControl>(&jbaAcountMODETTID,
                                                            CFSTR("JBA Account Mode Text"));
    RunTimeAddNewControl(modeLabel.get());

    infoWindow = std::make_unique<CJBAInfoWindow>(
        nibFileName, CFSTR("Authentication"), GetAppBundleRef(), CFSTR("User Window Title String"));
    RunTimeAddNewWindow(infoWindow.get());
    infoAdminWindow = std::make_unique<CJBAInfoAdminWindow>(
        nibFileName, CFSTR("AuthenticationAdmin"), GetAppBundleRef(),
        CFSTR("Admin Window Title String"));
    RunTimeAddNewWindow(infoAdminWindow.get());
    inputWindow = std::make_unique<CJBAInputWindow>(
        nibFileName, CFSTR("UserInput"), GetAppBundleRef(), CFSTR("Input Window Title String"));
    RunTimeAddNewWindow(inputWindow.get());
    printCommandState = kPrintCommandProceed;
}

CJobAuthenticationPanel::~CJobAuthenticationPanel()
{
    accountModeList.reset();
    settingsButton.reset();
    versionText.reset();
    modeLabel.reset();
    helpButton.reset();
    infoWindow.reset();
    infoAdminWindow.reset();
    inputWindow.reset();
}

CFArrayRef CJobAuthenticationPanel::GetPrinterSupporttedListRef()
{
    return nullptr;
}

SInt32 CJobAuthenticationPanel::getAccountMode() const
{
    // A list that never found its widget (the pane was not built) counts as no list.
    if (!accountModeList || !accountModeList->GetControlDataBlk())
        return kJBANoAccountMode;
    return accountModeList->GetCurrentIndex();
}

bool CJobAuthenticationPanel::getbInputWndVisible() const
{
    switch (getAccountMode()) {
    case kJBAAccountModeUser:
        return infoWindow && infoWindow->getbEnterUserDetails();
    case kJBAAccountModeAdmin:
        return infoAdminWindow && infoAdminWindow->getbEnterUserDetails();
    default:
        return false;
    }
}

bool CJobAuthenticationPanel::OnClickPrintCommand()
{
    if (!inputWindow)
        return printCommandState == kPrintCommandProceed;
    if (getbInputWndVisible())
        inputWindow->Present();
    else
        printCommandState = kPrintCommandProceed;
    return printCommandState == kPrintCommandProceed;
}

void CJobAuthenticationPanel::TellIfSharedSettingsRefused()
{
    if (toldSharedSettingsRefused)
        return;
    // Answers false only while changes are pending that cannot be saved.
    if (CFPreferencesSynchronize(kCFPreferencesAnyApplication, kCFPreferencesAnyUser,
                                 kCFPreferencesCurrentHost))
        return;
    toldSharedSettingsRefused = true;
    AboutWindow::Present(GetAppBundleRef(), CFSTR("JBA Shared Settings Refused"));
}
