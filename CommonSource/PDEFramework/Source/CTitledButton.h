// A push button whose title is the localised text of its title key.
#pragma once

#include "CBaseControl.h"

#include <CoreFoundation/CFRef.h>

class CTitledButton : public CBaseButton
{
public:
    CTitledButton(ControlID *id, CFStringRef titleKey);
    ~CTitledButton() override;

    using CBaseButton::InitializeCtrl;

    bool ReInitializeCtrl(WindowRef window) override;
    bool InitializeCtrl(WindowRef window, ControlRef userPane, CFBundleRef bundle,
                        ppd_file_t *ppd) override;

protected:
    // Sets the localised title key as the widget's title; false without a key or translation.
    bool InitializeTitle(CFBundleRef bundle);

    CFRef<CFStringRef> titleKey;
};
