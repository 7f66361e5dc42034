// What the controls of a settings window ask about the window they belong to: whether it has a
// parent panel, and the window's radio button and list as committed, in the account mode that
// the window serves (false in any other mode or outside a settings window).
#pragma once

class CBasePrintPanel;

bool JBAOwnerHasParent(CBasePrintPanel *owner);
bool JBAOwnerEntersUserDetails(CBasePrintPanel *owner);
bool JBAOwnerUsesLoginName(CBasePrintPanel *owner);
