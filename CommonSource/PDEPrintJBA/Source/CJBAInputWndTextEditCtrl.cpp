#include "CJBAInputWndTextEditCtrl.h"

bool CJBAInputWndTextEditCtrl::SetValueToPreference()
{
    return CTextEditControl::SetValueToPreference();
}
