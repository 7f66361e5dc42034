// The print type pane's pop-up lists and the field checks before a change.
#include "CPTListCtrl.h"

#include "AppResources.h"
#include "CBasePrintPanel.h"
#include "ChoiceValue.h"

namespace {

CFStringRef CopyKey(CFStringRef key)
{
    return key ? CFStringCreateCopy(kCFAllocatorDefault, key) : nullptr;
}

} // namespace

CPTListCtrl::CPTListCtrl(ControlID *id, ListPopupIniData *ini, ConstrainInfo *constrain,
                         ControlAccessInfo *access, ControlIDList validate, CFStringRef summaryKey,
                         CFStringRef title)
    : CListControl(id, ini, constrain, access), validateList(validate),
      summaryTitleKey(CopyKey(summaryKey)), titleKey(CopyKey(title))
{}

CPTListCtrl::~CPTListCtrl() = default;

bool CPTListCtrl::InitializeCtrl(WindowRef window, ControlRef userPane, CFBundleRef bundle,
                                 ppd_file_t *ppd)
{
    const bool done = CListControl::InitializeCtrl(window, userPane, bundle, ppd);
    InitializeTitle();
    return done;
}

bool CPTListCtrl::ReInitializeCtrl(WindowRef window)
{
    const bool done = CListControl::ReInitializeCtrl(window);
    InitializeTitle();
    return done;
}

bool CPTListCtrl::InitializeTitle()
{
    return true;
}

bool CPTListCtrl::SetControlValueToUI()
{
    if (controlRef && controlData && !IsControlActive(controlRef))
        WriteValue(controlData, 1);
    return CListControl::SetControlValueToUI();
}

bool CPTListCtrl::ValidateConstrains()
{
    if (!validateList || !panel)
        return true;
    for (ControlIDList id = validateList; *id; ++id) {
        CBaseControl *field = panel->GetPanelControl(*id);
        if (field && !field->InvalidateData())
            return false;
    }
    return true;
}

bool CPTListCtrl::UIEventHandler()
{
    if (controlRef && uiData && GetControlValue(controlRef) != ReadValue(uiData) &&
        !ValidateConstrains()) {
        SetControlValue(controlRef, SInt16(ReadValue(uiData)));
        return false;
    }
    return CBaseControl::UIEventHandler();
}

bool CPTListCtrl::ToGetSummaryText()
{
    return disableCount == 0 && hideCount == 0;
}

int CPTListCtrl::GetSummaryText(CFMutableArrayRef titles, CFMutableArrayRef values)
{
    if (!iniData || !iniData->menuItems || !titles || !values || !summaryTitleKey)
        return 0;
    SInt32 count = 0;
    while (iniData->menuItems[count])
        ++count;
    const SInt32 item = (controlData ? ReadValue(controlData) : 0) - 1;
    if (item < 0 || item >= count)
        return 0;
    CFBundleRef bundle = GetAppBundleRef();
    if (!bundle)
        return 0;
    CFRef<CFStringRef> title(
        CFBundleCopyLocalizedString(bundle, summaryTitleKey, summaryTitleKey, nullptr));
    CFStringRef key = iniData->menuItems[item];
    CFRef<CFStringRef> value(CFBundleCopyLocalizedString(bundle, key, key, nullptr));
    if (!title || !value)
        return 0;
    CFArrayAppendValue(titles, title);
    CFArrayAppendValue(values, value);
    return 0;
}
