// The print type pane's description records: control identities, initial data, filters,
// constraint tables and where each value lives in the ticket and the preferences. Defined in
// PrintTypeTables.cpp; controls never free them.
#pragma once

#include "ControlRecords.h"

// Identities of the pane's widgets.
extern ControlID versionstringSTextCtrlID;
extern ControlID printtypeTextCtrlID;
extern ControlID restoredocunameTextCtrlID;
extern ControlID printTypeListCtrlID;
extern ControlID printTypeUserNameCtrlID;
extern ControlID documentNameListCtrlID;
extern ControlID documentNameCtrlID;
extern ControlID printTypePasswordCtrlID;
extern ControlID restoreButtonCtrlID;
extern ControlID printTypeGroupBoxID;
extern ControlID printTypeUserNameTextCtrlID;
extern ControlID printTypePasswordTextCtrlID;
extern ControlID documentNameTextCtrlID;
extern ControlID helpButtonCtrlID;

// Print type list.
extern ListPopupIniData printTypeListIniData;
extern ConstrainInfo printTypeConstrainInfoPtr;
extern ControlAccessInfo printTypeListAccessInfo;
extern ControlID *printTypeValidateArray[];

// Document name type list.
extern ListPopupIniData documentNameListIniData;
extern ConstrainInfo documentNameListConstrainInfoPtr;
extern ControlAccessInfo documentNameListAccessInfo;
extern ControlID *documentNameListValidateArray[];

// Text fields.
extern TextEditIniData printTypeUserNameIniData;
extern TextEditFilterData printTypeUserNameFilterData;
extern ControlAccessInfo printTypeUserNameAccessInfo;
extern TextEditIniData documentNameIniData;
extern TextEditFilterData documentNameFilterData;
extern ControlAccessInfo documentNameAccessInfo;
extern TextEditIniData printTypePasswordIniData;
extern TextEditFilterData printTypePasswordFilterData;
extern ControlAccessInfo printTypePasswordAccessInfo;

// Hard disk: a printer without one keeps the ordinary job type.
extern InstallableOptionConstrainInfo hardDiskOptionConstrainInfoPtr;

// Key filters of the text fields.
ControlKeyFilterResult printTypePasswordFilter(ControlRef control, SInt16 *keyCode,
                                               SInt16 *charCode, EventModifiers *modifiers);
ControlKeyFilterResult printTypeNameFilter(ControlRef control, SInt16 *keyCode, SInt16 *charCode,
                                           EventModifiers *modifiers);
ControlKeyFilterResult documentNameFilter(ControlRef control, SInt16 *keyCode, SInt16 *charCode,
                                          EventModifiers *modifiers);
