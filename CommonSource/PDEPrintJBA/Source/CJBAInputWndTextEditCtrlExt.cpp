// The user ID field of the print-time input window.
#include "CJBAInputWndTextEditCtrlExt.h"

bool CJBAInputWndTextEditCtrlExt::PreInvalidateData()
{
    return !ToValidate() || LengthIsAcceptable();
}
