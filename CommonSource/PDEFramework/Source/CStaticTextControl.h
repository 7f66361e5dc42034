// A static text: shows the localised text of its title key and can read back what it shows.
#pragma once

#include "CBaseControl.h"

#include <CoreFoundation/CFRef.h>

class CStaticTextControl : public CBaseControl
{
public:
    CStaticTextControl(ControlID *id, TextEditIniData *iniData, ConstrainInfo *constrainInfo,
                       TextEditFilterData *filterData, ControlAccessInfo *accessInfo,
                       CFStringRef titleKey);
    ~CStaticTextControl() override;

    using CBaseControl::InitializeCtrl;

    bool ReInitializeCtrl(WindowRef window) override;
    bool InitializeCtrl(WindowRef window, ControlRef userPane, CFBundleRef bundle,
                        ppd_file_t *ppd) override;
    // The text as UTF-8 in a block sized to it; the block read last when the widget is empty.
    void *GetValueFromUI() override;

    // Shows the localised title (the key stands for itself without a translation). True and
    // nothing done without a bundle; false without a title key.
    virtual bool InitializeTitle(CFBundleRef bundle);
    // Shows text on the widget and redraws it; nothing without either.
    void ShowText(CFStringRef text);

    CFStringRef GetTitleKey() const { return titleKey.get(); }
    TextEditIniData *GetIniData() const { return iniData; }
    TextEditFilterData *GetFilterData() const { return filterData; }

protected:
    TextEditIniData *iniData = nullptr;
    TextEditFilterData *filterData = nullptr;
    CFRef<CFStringRef> titleKey;
};
