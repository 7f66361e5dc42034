// The administrator settings window (account mode 0): the user window's twin whose values are
// shared by every user of the computer. A user outside the administrators group may only look.
#pragma once

#include "CJBAInfoWindow.h"

class CJBAInfoAdminWindow : public CJBAInfoWindow
{
public:
    CJBAInfoAdminWindow(CFStringRef nibFileName, CFStringRef windowName, CFBundleRef bundle,
                        CFStringRef titleKey);

    // Disables the window's settings for a user outside the administrators group.
    bool InitializePaneConstrains() override;
    SInt32 GetServedAccountMode() const override;
};
