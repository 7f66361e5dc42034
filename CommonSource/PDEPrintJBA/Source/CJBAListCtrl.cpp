// The account-mode list and the administrators restriction.
#include "CJBAListCtrl.h"

#include "AdminCheck.h"
#include "ChoiceValue.h"
#include "JBAWindowState.h"

CJBAListCtrl::CJBAListCtrl(ControlID *id, ListPopupIniData *ini, ConstrainInfo *constrain,
                           ControlAccessInfo *access, ControlIDList adminList)
    : CListControl(id, ini, constrain, access), adminDisableList(adminList)
{}

CJBAListCtrl::~CJBAListCtrl() = default;

void CJBAListCtrl::TakeIndexFromWidget()
{
    if (!controlRef)
        return;
    const SInt32 value = GetControlValue(controlRef);
    if (value > 0)
        currentIndex = value - 1;
}

void CJBAListCtrl::RestrictToAdministrators()
{
    if (controlRef && !IsUserAdmin_ADSafe())
        DeactivateControl(controlRef);
}

bool CJBAListCtrl::UIEventHandler()
{
    if (controlRef && uiData && GetControlValue(controlRef) != ReadValue(uiData)) {
        TakeIndexFromWidget();
        CBaseControl::UIEventHandler();
    }
    RestrictToAdministrators();
    return true;
}

bool CJBAListCtrl::SimulationUIEventHandler()
{
    TakeIndexFromWidget();
    CListControl::SimulationUIEventHandler();
    RestrictToAdministrators();
    return true;
}

int CJBAListCtrl::GetSummaryText(CFMutableArrayRef titles, CFMutableArrayRef values)
{
    if (!controlData || !iniData || !iniData->menuItems)
        return 0;
    SInt32 count = 0;
    while (iniData->menuItems[count])
        ++count;
    if (currentIndex >= 0 && currentIndex < count)
        JBAAppendLocalizedLine(titles, values, CFSTR("JBA Account Mode"),
                               iniData->menuItems[currentIndex]);
    return 0;
}

void CJBAListCtrl::InitializeConstrains()
{
    if (!adminDisableList || !controlRef || GetControlValue(controlRef) != 1)
        return;
    if (!IsUserAdmin_ADSafe())
        DisableControlConstrains(adminDisableList);
}
