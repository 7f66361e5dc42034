// A label of the print type pane: its text is the localised title key.
#pragma once

#include "CTextEditControl.h"

#include <CoreFoundation/CFRef.h>

class CPTStaticTextEditControl : public CTextEditControl
{
public:
    CPTStaticTextEditControl(ControlID *id, TextEditIniData *iniData, ConstrainInfo *constrainInfo,
                             TextEditFilterData *filterData, ControlAccessInfo *accessInfo,
                             CFStringRef titleKey);
    ~CPTStaticTextEditControl() override;

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
