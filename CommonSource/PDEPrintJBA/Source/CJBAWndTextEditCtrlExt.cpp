// The settings windows' user ID field.
#include "CJBAWndTextEditCtrlExt.h"

#include "JBAWindowState.h"

bool CJBAWndTextEditCtrlExt::InvalidateData()
{
    if (!ToValidate())
        return true;
    return LengthIsAcceptable() && CJBAWndTextEditCtrl::InvalidateData();
}

bool CJBAWndTextEditCtrlExt::ToGetSummaryText()
{
    return JBAOwnerHasParent(panel) && !JBAOwnerEntersUserDetails(panel) &&
           !JBAOwnerUsesLoginName(panel);
}
