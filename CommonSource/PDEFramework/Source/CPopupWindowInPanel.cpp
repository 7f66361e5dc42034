// A panel's modal window: made from its nib on demand, run, and released.
#include "CPopupWindowInPanel.h"

#include "AppResources.h"

CPopupWindowInPanel::CPopupWindowInPanel(CFStringRef nibName, CFStringRef name, CFBundleRef bundle)
    : window(std::make_unique<TWindow>(nibName, name, bundle)),
      windowName(name ? CFStringCreateCopy(kCFAllocatorDefault, name) : nullptr)
{
    nibFileName = nibName;
    nibWindowName = windowName;
}

CPopupWindowInPanel::~CPopupWindowInPanel()
{
    window.reset();
    if (windowName)
        CFRelease(windowName);
}

int CPopupWindowInPanel::InitializeUserPane(unsigned long, ControlRef pane, CFBundleRef bundle,
                                            ppd_file_t *description)
{
    InitializeUserPaneControl(GetWindowRef(), pane, bundle, description);
    SetControlEventHandler();
    return 0;
}

int CPopupWindowInPanel::Terminate(unsigned long, long)
{
    DisposePlatformWindow();
    return 0;
}

void CPopupWindowInPanel::DisposePlatformWindow()
{
    if (!window)
        return;
    // The controls keep their values; their widgets go with the window.
    ForEachControl([](CBaseControl *c) { c->CBaseControl::InitializeCtrl(nullptr); });
    window.reset();
}

int CPopupWindowInPanel::ReInitializeUserPane(WindowRef platformWindow)
{
    ReInitializeUserPaneControl(platformWindow);
    SetControlEventHandler();
    return 0;
}

int CPopupWindowInPanel::ActivateWindow()
{
    if (!window) {
        // The window was released: build a fresh one and let every control find its widget.
        window = std::make_unique<TWindow>(GetPDENibFileName(), windowName, GetAppBundleRef());
        ReInitializeUserPane(window->GetWindowRef());
        SetUIDataToIniData();
    }
    SetCurrentValueToUI();
    window->Show();
    return 0;
}

int CPopupWindowInPanel::DeactivateWindow()
{
    if (window) {
        window->Hide();
        DisposePlatformWindow();
    }
    return 0;
}

int CPopupWindowInPanel::ReleaseWindow()
{
    DisposePlatformWindow();
    return 0;
}
