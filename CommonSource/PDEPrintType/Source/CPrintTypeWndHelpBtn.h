// Help: opens the help page that the printer description names for the pane.
#pragma once

#include "CPTBaseButton.h"

class CPrintTypeWndHelpBtn : public CPTBaseButton
{
public:
    using CPTBaseButton::CPTBaseButton;

    using CPTBaseButton::InitializeCtrl;

    // Also finds the page: "SelectJobType_" + the part of "VZXPrintTypeSettings" after its
    // first "-" + ".htm".
    bool InitializeCtrl(WindowRef window, ControlRef userPane, CFBundleRef bundle,
                        ppd_file_t *ppd) override;
    bool UIEventHandler() override;

    CFStringRef GetHelpPageName() const { return pageName.get(); }

private:
    CFRef<CFStringRef> pageName;
};
