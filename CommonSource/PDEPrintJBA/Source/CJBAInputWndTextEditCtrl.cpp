// The fields of the print-time input window.
#include "CJBAInputWndTextEditCtrl.h"

bool CJBAInputWndTextEditCtrl::SetValueToPreference()
{
    return CTextEditControl::SetValueToPreference();
}
