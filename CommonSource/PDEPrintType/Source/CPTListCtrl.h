// A pop-up list of the print type pane. Before it takes a new item it checks the fields of its
// validate list, so a change is refused while an enabled field holds an invalid value. Both
// lists always appear in the summary.
#pragma once

#include "CListControl.h"

#include <CoreFoundation/CFRef.h>

class CPTListCtrl : public CListControl
{
public:
    CPTListCtrl(ControlID *id, ListPopupIniData *iniData, ConstrainInfo *constrainInfo,
                ControlAccessInfo *accessInfo, ControlIDList validateList,
                CFStringRef summaryTitleKey, CFStringRef titleKey);
    ~CPTListCtrl() override;

    using CListControl::InitializeCtrl;

    bool ReInitializeCtrl(WindowRef window) override;
    // An inactive list (no hard disk) always shows, and holds, the first item.
    bool SetControlValueToUI() override;
    // Refuses the change, and shows the last applied item again, when a field of the validate
    // list is invalid; otherwise applies the constraint tables.
    bool UIEventHandler() override;
    int GetSummaryText(CFMutableArrayRef titles, CFMutableArrayRef values) override;
    bool InitializeCtrl(WindowRef window, ControlRef userPane, CFBundleRef bundle,
                        ppd_file_t *ppd) override;

    // Checks the fields of the validate list in order; false at the first that refuses.
    virtual bool ValidateConstrains();
    // True when the list is neither disabled nor hidden.
    virtual bool ToGetSummaryText();
    virtual bool InitializeTitle();

private:
    ControlIDList validateList = nullptr;
    CFRef<CFStringRef> summaryTitleKey;
    CFRef<CFStringRef> titleKey;
};
