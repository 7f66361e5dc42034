// The radio buttons of the job accounting windows.
#include "CJBAWndRadioButton.h"

#include "CBasePrintPanel.h"
#include "ChoiceValue.h"
#include "JBAWindowState.h"

CJBAWndRadioButton::CJBAWndRadioButton(ControlID *id, RadioButtonIniData *ini,
                                       ConstrainInfo *constrain, ControlAccessInfo *access,
                                       ControlIDList validate)
    : CRadioButton(id, ini, constrain, access), validateList(validate)
{}

CJBAWndRadioButton::~CJBAWndRadioButton() = default;

bool CJBAWndRadioButton::ValidateConstrains()
{
    return JBAValidateListedFields(panel, validateList);
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
    if (ToGetSummaryText())
        JBAAppendLocalizedLine(titles, values, iniData->summaryTitleKey, iniData->titleKey);
    return 0;
}
