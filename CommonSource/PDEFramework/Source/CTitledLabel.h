// A read-only label built on a text field: its text is the localised text of its title key. It
// has no access information and never reaches the ticket or the preferences.
#pragma once

#include "CTextEditControl.h"

#include <CoreFoundation/CFRef.h>

class CTitledLabel : public CTextEditControl
{
public:
    CTitledLabel(ControlID *id, TextEditIniData *iniData, ConstrainInfo *constrainInfo,
                 TextEditFilterData *filterData, ControlAccessInfo *accessInfo,
                 CFStringRef titleKey);
    ~CTitledLabel() override;

    using CTextEditControl::InitializeCtrl;

    bool ReInitializeCtrl(WindowRef window) override;
    bool InitializeCtrl(WindowRef window, ControlRef userPane, CFBundleRef bundle,
                        ppd_file_t *ppd) override;

    // Shows the localised title key; true without change when there is no bundle or text,
    // false without a title key.
    virtual bool InitializeTitle(CFBundleRef bundle);

protected:
    // Puts text into the label.
    void ShowTitle(CFStringRef text);

    CFRef<CFStringRef> titleKey;
};
