// Pop-up lists: the menu, the 1-based value, and the order of a change of item.
#include "CListControl.h"

#include "AppResources.h"

#include <cstdint>

CListControl::CListControl(ControlID *id, ListPopupIniData *ini, ConstrainInfo *constrain,
                           ControlAccessInfo *access)
    : CChoiceControl(id, ini, constrain, access), iniData(ini)
{}

CListControl::~CListControl() = default;

bool CListControl::ShowTexts(CFBundleRef bundle)
{
    if (!iniData)
        return true;
    MenuRef menu = controlRef ? GetControlPopupMenuHandle(controlRef) : nullptr;
    CFStringRef *keys = iniData->menuItems;
    SInt16 appended = 0;
    if (menu && keys) {
        DeleteMenuItems(menu, 1, CountMenuItems(menu));
        for (CFStringRef *key = keys; *key && appended < INT16_MAX; ++key) {
            CFRef<CFStringRef> text(CopyLocalizedText(bundle, *key));
            if (AppendMenuItemTextWithCFString(menu, text, 0, 0, nullptr) == noErr)
                ++appended;
        }
    }
    if (controlRef) {
        SetControlMinimum(controlRef, 1);
        SetControlMaximum(controlRef, appended);
    }
    return true;
}

bool CListControl::SetExternalValueToUI(void *value, int)
{
    if (!value || !controlRef)
        return false;
    SetControlValue(controlRef, SInt16(ReadValue(value)));
    return true;
}

int CListControl::DoControlConstrain()
{
    if (constrainInfo && MoveToNewState(constrainInfo->disableTable, false, true))
        WriteValue(uiData, GetControlValue(controlRef));
    return 0;
}

SInt32 CListControl::GetCurrentControlArrayNumber()
{
    if (!controlRef)
        return -1;
    return SInt32(GetControlValue(controlRef)) - 1;
}
