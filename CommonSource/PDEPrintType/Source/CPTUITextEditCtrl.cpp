// The user name field's checks.
#include "CPTUITextEditCtrl.h"

bool CPTUITextEditCtrl::PreInvalidateData()
{
    return CheckNotEmpty(CFSTR("Message42"));
}
