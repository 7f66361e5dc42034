#include "CJBAInputWndTextEditCtrlExt.h"

bool CJBAInputWndTextEditCtrlExt::PreInvalidateData()
{
    return !ToValidate() || LengthIsAcceptable();
}
