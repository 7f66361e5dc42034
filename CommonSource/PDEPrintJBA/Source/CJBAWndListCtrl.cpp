// The settings windows' choice of login name or typed user ID.
#include "CJBAWndListCtrl.h"

#include "CBasePrintPanel.h"
#include "CTextEditControl.h"
#include "ChoiceValue.h"
#include "JBAWindowState.h"

CJBAWndListCtrl::CJBAWndListCtrl(ControlID *id, ListPopupIniData *ini, ConstrainInfo *constrain,
                                 ControlAccessInfo *access, ControlIDList validate,
                                 ControlIDList clear)
    : CListControl(id, ini, constrain, access), validateList(validate), clearList(clear)
{}

CJBAWndListCtrl::~CJBAWndListCtrl() = default;

bool CJBAWndListCtrl::ValidateConstrains()
{
    return JBAValidateListedFields(panel, validateList);
}

void CJBAWndListCtrl::ClearUserIDPw()
{
    if (!clearList || !panel)
        return;
    for (ControlIDList id = clearList; *id; ++id) {
        auto *field = dynamic_cast<CTextEditControl *>(panel->GetPanelControl(*id));
        if (field && !field->CorrectCtrlUI())
            return;
    }
}

bool CJBAWndListCtrl::UIEventHandler()
{
    if (!controlRef || !uiData || GetControlValue(controlRef) == ReadValue(uiData))
        return true;
    if (WindowRef window = GetControlOwner(controlRef))
        ClearKeyboardFocus(window);
    ClearUserIDPw();
    return CBaseControl::UIEventHandler();
}

bool CJBAWndListCtrl::SimulationUIEventHandler()
{
    CListControl::SimulationUIEventHandler();
    GetValueFromUI();
    return true;
}

bool CJBAWndListCtrl::ToGetSummaryText()
{
    return hideCount == 0 && controlData && iniData && iniData->menuItems &&
           JBAOwnerHasParent(panel) && !JBAOwnerEntersUserDetails(panel);
}

int CJBAWndListCtrl::GetSummaryText(CFMutableArrayRef titles, CFMutableArrayRef values)
{
    if (!ToGetSummaryText())
        return 0;
    SInt32 count = 0;
    while (iniData->menuItems[count])
        ++count;
    const SInt32 item = ReadValue(controlData) - 1;
    if (item >= 0 && item < count)
        JBAAppendLocalizedLine(titles, values, CFSTR("JBA Specify Name"), iniData->menuItems[item]);
    return 0;
}
