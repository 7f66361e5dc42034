// The job accounting pane's description records: control identities, initial data, filters,
// constraint tables and where each value lives in the ticket and the preferences. Defined in
// JBATables.cpp; controls never free them.
#pragma once

#include "ControlRecords.h"

// The panel.
extern ControlID jbaMngTypeLboxID;
extern ControlID jbaInfoWndPushID;
extern ControlID versionstringSTextCtrlIDJBA;
extern ControlID jbaHelpBtnID;
extern ControlID jbaAcountMODETTID;
extern ListPopupIniData jbaMngTypeLboxIniData;
extern ControlAccessInfo jbaMngTypeLboxAcssInfo;
extern ConstrainInfo jbaMngTypeLboxCnstrnInfoPtr;
extern ControlID *jbaMngTypeAdminCnstrnArray[];

// The records of one settings window: the user window's or the administrator window's.
struct JBAInfoWindowRecords
{
    ControlID *okPush;
    ControlID *cancelPush;
    ControlID *restorePush;
    ControlID *helpPush;
    ControlID *jobInfoRadio;
    ControlID *userIDListLabel;
    ControlID *userIDList;
    ControlID *userIDLabel;
    ControlID *userIDField;
    ControlID *loginField;
    ControlID *passwordLabel;
    ControlID *passwordField;
    ControlID *jobInputRadio;
    ConstrainInfo *jobInfoRadioConstrain;
    ConstrainInfo *jobInputRadioConstrain;
    ConstrainInfo *userIDListConstrain;
    ControlAccessInfo *jobInfoRadioAccess;
    ControlAccessInfo *userIDListAccess;
    ControlAccessInfo *userIDFieldAccess;
    ControlAccessInfo *loginFieldAccess;
    ControlAccessInfo *passwordFieldAccess;
    ControlAccessInfo *jobInputRadioAccess;
    ControlIDList userIDListValidate;
    ControlIDList userIDListClear;
    ControlIDList jobInputRadioValidate;
};
extern const JBAInfoWindowRecords jbaWndRecords;
extern const JBAInfoWindowRecords jbaWndAdminRecords;

// Shared by both settings windows and the input window.
extern RadioButtonIniData jbaWndJobInfoRdioIniData;
extern RadioButtonIniData jbaWndJobInputRdioIniData;
extern ListPopupIniData jbaWndUserIDLboxIniData;
extern TextEditIniData jbaWndUserIDEtxtIniData;
extern TextEditIniData jbaWndLoginEtxtIniData;
extern TextEditIniData jbaWndUserIDPwEtxtIniData;
extern TextEditFilterData jbaWndUserIDEtxtFltrData;
extern TextEditFilterData jbaWndLoginEtxtFltrData;
extern TextEditFilterData jbaWndUserIDPwEtxtFltrData;

// The print-time input window.
extern ControlID jbaInputWndOKPushID;
extern ControlID jbaInputWndCnclPushID;
extern ControlID jbaInputWndHelpPushID;
extern ControlID jbaInputWndAuthRdioID;
extern ControlID jbaInputWndUserIDStxtID;
extern ControlID jbaInputWndUserIDEtxtID;
extern ControlID jbaInputWndUserIDPwStxtID;
extern ControlID jbaInputWndUserIDPwEtxtID;
extern RadioButtonIniData jbaInputWndAuthRdioIniData;
extern ConstrainInfo jbaInputWndAuthRdioCnstrnInfoPtr;
extern ControlAccessInfo jbaInputWndAuthRdioAcssInfo;
extern ControlAccessInfo jbaInputWndUserIDEtxtAcssInfo;
extern ControlAccessInfo jbaInputWndUserIDPwEtxtAcssInfo;
extern ControlID *jbaAuthRdioValidateArray[];
extern ControlID *jbaInputWndDafaultArray[];

// Help pages and the resource prefix that the printer description's suffix is added to.
struct JBAHelpStringEntry
{
    const char *prefix;
    const char *page;
};
extern const JBAHelpStringEntry JBAHelpString[];

// Key filters of the text fields.
ControlKeyFilterResult jbaWndUserIDFilter(ControlRef control, SInt16 *keyCode, SInt16 *charCode,
                                          EventModifiers *modifiers);
ControlKeyFilterResult jbaWndUserIDPasswordFilter(ControlRef control, SInt16 *keyCode,
                                                  SInt16 *charCode, EventModifiers *modifiers);
