// What the job accounting windows share: title, rebuild and widget reading.
#include "CJBAPopupWindow.h"

#include "AppResources.h"

CJBAPopupWindow::CJBAPopupWindow(CFStringRef nibFileName, CFStringRef windowName,
                                 CFBundleRef bundle, CFStringRef title)
    : CPopupWindowInPanel(nibFileName, windowName, bundle),
      titleKey(title ? CFStringCreateCopy(kCFAllocatorDefault, title) : nullptr)
{}

CJBAPopupWindow::~CJBAPopupWindow()
{
    // The widgets go before the controls that refer to them.
    window.reset();
}

int CJBAPopupWindow::InitializeUserPane(unsigned long context, ControlRef pane, CFBundleRef bundle,
                                        ppd_file_t *description)
{
    CPopupWindowInPanel::InitializeUserPane(context, pane, bundle, description);
    InitializeUserPaneTitle();
    return 0;
}

int CJBAPopupWindow::ReInitializeUserPane(WindowRef platformWindow)
{
    CPopupWindowInPanel::ReInitializeUserPane(platformWindow);
    InitializeUserPaneTitle();
    return 0;
}

void CJBAPopupWindow::InitializeUserPaneTitle()
{
    CFBundleRef bundle = GetAppBundleRef();
    WindowRef platformWindow = GetWindowRef();
    if (!bundle || !platformWindow || !titleKey)
        return;
    CFRef<CFStringRef> title(CFBundleCopyLocalizedString(bundle, titleKey, titleKey, nullptr));
    if (title)
        SetWindowTitleWithCFString(platformWindow, title);
}

bool CJBAPopupWindow::SycValueFromUI()
{
    ForEachControl([](CBaseControl *c) {
        if (c->GetControlID())
            c->GetValueFromUI();
    });
    return true;
}

void CJBAPopupWindow::BuildWindowIfReleased()
{
    if (window)
        return;
    window = std::make_unique<TWindow>(GetPDENibFileNameJBA(), windowName, GetAppBundleRef());
    ReInitializeUserPane(window->GetWindowRef());
    SetUIDataToIniData();
}
