// The pane's group box: its title is the localised title key.
#pragma once

#include "CBaseControl.h"

#include <CoreFoundation/CFRef.h>

class CGroupBoxCtrl : public CBaseControl
{
public:
    CGroupBoxCtrl(ControlID *id, CFStringRef titleKey);
    ~CGroupBoxCtrl() override;

    using CBaseControl::InitializeCtrl;

    bool ReInitializeCtrl(WindowRef window) override;
    bool InitializeCtrl(WindowRef window, ControlRef userPane, CFBundleRef bundle,
                        ppd_file_t *ppd) override;

private:
    bool InitializeTitle(CFBundleRef bundle);

    CFRef<CFStringRef> titleKey;
};
