// A push button of the print type pane: its title is the localised title key.
#pragma once

#include "CBaseControl.h"

#include <CoreFoundation/CFRef.h>

class CPTBaseButton : public CBaseButton
{
public:
    CPTBaseButton(ControlID *id, CFStringRef titleKey);
    ~CPTBaseButton() override;

    using CBaseButton::InitializeCtrl;

    bool ReInitializeCtrl(WindowRef window) override;
    bool InitializeCtrl(WindowRef window, ControlRef userPane, CFBundleRef bundle,
                        ppd_file_t *ppd) override;

protected:
    // Sets the localised title key as the widget's title; false without a key or translation.
    bool InitializeTitle(CFBundleRef bundle);

    CFRef<CFStringRef> titleKey;
};
