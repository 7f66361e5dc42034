// What the controls of a settings window ask about the window they belong to: whether it has a
// parent panel, and the window's radio button and list as committed, in the account mode that
// the window serves (false in any other mode or outside a settings window). And the checks and
// summary lines the window controls share.
#pragma once

#include "ControlRecords.h"

class CBasePrintPanel;

bool JBAOwnerHasParent(CBasePrintPanel *owner);
bool JBAOwnerEntersUserDetails(CBasePrintPanel *owner);
bool JBAOwnerUsesLoginName(CBasePrintPanel *owner);

// True when every control of list found through owner accepts its widget's value; false at the
// first that refuses (it has shown its message). True without a list.
bool JBAValidateListedFields(CBasePrintPanel *owner, ControlIDList list);
// Appends the bundle's texts of titleKey and valueKey to titles and values; nothing without a
// bundle, either array or either text.
void JBAAppendLocalizedLine(CFMutableArrayRef titles, CFMutableArrayRef values,
                            CFStringRef titleKey, CFStringRef valueKey);
