// The shared (administrator) settings window.
#include "CJBAInfoAdminWindow.h"

#include "CJBAListCtrl.h"
#include "CJobAuthenticationPanel.h"

CJBAInfoAdminWindow::CJBAInfoAdminWindow(CFStringRef nibFileName, CFStringRef windowName,
                                         CFBundleRef bundle, CFStringRef title)
    : CJBAInfoWindow(nibFileName, windowName, bundle, title, jbaWndAdminRecords)
{}

bool CJBAInfoAdminWindow::InitializePaneConstrains()
{
    auto *owner = dynamic_cast<CJobAuthenticationPanel *>(GetParentPane());
    if (CJBAListCtrl *list = owner ? owner->GetAccountModeList() : nullptr)
        list->InitializeConstrains();
    return true;
}

SInt32 CJBAInfoAdminWindow::GetServedAccountMode() const
{
    return kJBAAccountModeAdmin;
}
