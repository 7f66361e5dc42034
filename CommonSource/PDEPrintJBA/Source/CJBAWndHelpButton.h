// Help: opens the pane's or a window's help page, named after the printer description's
// resource suffix ("JBA.htm" becomes "JBA_<suffix>.htm").
#pragma once

#include "CJBABaseButton.h"

class CJBAWndHelpButton : public CJBABaseButton
{
public:
    CJBAWndHelpButton(ControlID *id, CFStringRef titleKey, CFStringRef helpPage);
    ~CJBAWndHelpButton() override;

    using CJBABaseButton::InitializeCtrl;

    // Without "VZXAccountingSettings" (or its value) the page and the nib's title stay; false.
    bool InitializeCtrl(WindowRef window, ControlRef userPane, CFBundleRef bundle,
                        ppd_file_t *ppd) override;
    bool UIEventHandler() override;

    CFStringRef GetHelpPageName() const { return helpPage.get(); }

private:
    CFRef<CFStringRef> helpPage;
};
