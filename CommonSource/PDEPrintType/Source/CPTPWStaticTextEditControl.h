// The passcode label: "0 to 12" in its text shows the printer's minimum instead of 0.
#pragma once

#include "CPTStaticTextEditControl.h"

class CPTPWStaticTextEditControl : public CPTStaticTextEditControl
{
public:
    CPTPWStaticTextEditControl(ControlID *id, const char *minDigitsKeyword,
                               TextEditIniData *iniData, ConstrainInfo *constrainInfo,
                               TextEditFilterData *filterData, ControlAccessInfo *accessInfo,
                               CFStringRef titleKey);

    using CPTStaticTextEditControl::InitializeCtrl;

    bool InitializeCtrl(WindowRef window, ControlRef userPane, CFBundleRef bundle,
                        ppd_file_t *ppd) override;
    bool InitializeTitle(CFBundleRef bundle) override;

    SInt32 GetMinDigits() const { return minDigits; }

private:
    const char *minDigitsKeyword = nullptr;
    SInt32 minDigits = 0;
};
