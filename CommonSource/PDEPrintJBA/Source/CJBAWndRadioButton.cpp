#include "CJBAWndRadioButton.h"

#include "AppResources.h"
#include "CBasePrintPanel.h"
#include "ChoiceValue.h"

CJBAWndRadioButton::CJBAWndRadioButton(ControlID *id, RadioButtonIniData *ini,
                                       ConstrainInfo *constrain, ControlAccessInfo *access,
                                       ControlIDList validate)
    : CRadioButton(id, ini, constrain, access), validateList(validate)
{}

CJBAWndRadioButton::~CJBAWndRadioButton() = default;

bool CJBAWndRadioButton::ValidateConstrains()
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

bool CJBAWndRadioButton::UIEventHandler()
{
    if (!controlRef || !uiData)
        return CRadioButton::UIEventHandler();
    if (GetControlValue(controlRef) == ReadValue(uiData))
        return true;
    if (WindowRef window = GetControlOwner(controlRef))
        ClearKeyboardFocus(window);
    if (ValidateConstrains())
        return CRadioButton::UIEventHandler();
    SetControlValue(controlRef, SInt16(ReadValue(uiData)));
    return false;
}

bool CJBAWndRadioButton::ToGetSummaryText()
{
    return controlData && ReadValue(controlData) != 0 && iniData && iniData->titleKey &&
           iniData->summaryTitleKey;
}

int CJBAWndRadioButton::GetSummaryText(CFMutableArrayRef titles, CFMutableArrayRef values)
{
    if (!titles || !values || !ToGetSummaryText())
        return 0;
    CFBundleRef bundle = GetAppBundleRef();
    if (!bundle)
        return 0;
    CFRef<CFStringRef> title(CFBundleCopyLocalizedString(bundle, iniData->summaryTitleKey,
                                                         iniData->summaryTitleKey, nullptr));
    CFRef<CFStringRef> value(
        CFBundleCopyLocalizedString(bundle, iniData->titleKey, iniData->titleKey, nullptr));
    if (!title || !value)
        return 0;
    CFArrayAppendValue(titles, title);
    CFArrayAppendValue(values, value);
    return 0;
}
