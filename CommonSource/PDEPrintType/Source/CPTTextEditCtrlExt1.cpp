// The document name field's checks.
#include "CPTTextEditCtrlExt1.h"

bool CPTTextEditCtrlExt1::InvalidateData()
{
    if (!ToValidate())
        return true;
    ReadForCheck();
    return CTextEditControl::InvalidateData();
}
