// The job accounting pane's static records and tables.
#include "JBATables.h"

#include "TextInputFilter.h"

// The panel: account-mode list, settings button, version, help and the mode label.

ControlID jbaMngTypeLboxID = {'jals', 101};
ControlID jbaInfoWndPushID = {'jibt', 102};
ControlID versionstringSTextCtrlIDJBA = {'vsst', 123};
ControlID jbaHelpBtnID = {'help', 103};
ControlID jbaAcountMODETTID = {'jatt', 104};

// Item 1 is served by the administrator window, item 2 (the default) by the user window.
static CFStringRef jbaListIniMenu[] = {CFSTR("Job Authentication Type User Mode"),
                                       CFSTR("Job Authentication Type Administration Mode"),
                                       nullptr};
ListPopupIniData jbaMngTypeLboxIniData = {0, 2, -1, jbaListIniMenu};
ControlAccessInfo jbaMngTypeLboxAcssInfo = {
    0, 0, nullptr, CFSTR("com.veltra.kzu.printsettings.JBAManageTypeListTicketKey"),
    CFSTR("com.veltra.kzu.printsettings.JBAManageTypeListReference")};
// The list constrains nothing through the generic tables.
ConstrainInfo jbaMngTypeLboxCnstrnInfoPtr = {nullptr, nullptr, nullptr, nullptr};

// The user window: kept for the user running the dialog.

static ControlID jbaWndOKPushID = {'aiob', 211};
static ControlID jbaWndCnclPushID = {'aicb', 212};
static ControlID jbaWndRstrPushID = {'airb', 213};
static ControlID jbaWndHelpPushID = {'aihb', 214};
static ControlID jbaWndJobInfoRdioID = {'jarb', 401};
static ControlID jbaWndUserIDLboxStxtID = {'ulst', 901};
static ControlID jbaWndUserIDLboxID = {'uilc', 301};
static ControlID jbaWndUserIDStxtID = {'uist', 902};
static ControlID jbaWndUserIDEtxtID = {'uitt', 302};
static ControlID jbaWndLoginEtxtID = {'lntt', 307};
static ControlID jbaWndUserIDPwStxtID = {'upst', 903};
static ControlID jbaWndUserIDPwEtxtID = {'uptt', 303};
static ControlID jbaWndJobInputRdioID = {'jirb', 402};

// Common information off: the list, the user ID, the password and their labels are dimmed.
static ControlID *jbaWndJobInfoCnstrnArray[] = {&jbaWndUserIDLboxStxtID,
                                                &jbaWndUserIDLboxID,
                                                &jbaWndUserIDStxtID,
                                                &jbaWndUserIDEtxtID,
                                                &jbaWndUserIDPwStxtID,
                                                &jbaWndUserIDPwEtxtID,
                                                nullptr};
static const ControlIDList jbaWndJobInfoRdioCnstrnArray[] = {jbaWndJobInfoCnstrnArray, nullptr};
static const ControlStateTable jbaWndJobInfoRdioDisableTable =
    MakeStateTable(jbaWndJobInfoRdioCnstrnArray);
static ControlID *jbaWndJobInfoRdioUpdateList[] = {&jbaWndJobInputRdioID, nullptr};
static const ControlIDList jbaWndJobInfoRdioUpdateCnstrnArray[] = {jbaWndJobInfoRdioUpdateList};
static const ControlStateTable jbaWndJobInfoRdioUpdateTable =
    MakeStateTable(jbaWndJobInfoRdioUpdateCnstrnArray);
static ConstrainInfo jbaWndJobInfoRdioCnstrnInfoPtr = {&jbaWndJobInfoRdioDisableTable, nullptr,
                                                       &jbaWndJobInfoRdioUpdateTable, nullptr};

static ControlID *jbaUserInputRdioOffArray[] = {nullptr};
static const ControlIDList jbaUserInputRdioCnstrnArray[] = {jbaUserInputRdioOffArray, nullptr};
static const ControlStateTable jbaUserInputRdioDisableTable =
    MakeStateTable(jbaUserInputRdioCnstrnArray);
static ControlID *jbaUserInputRdioUpdateList[] = {&jbaWndJobInfoRdioID, nullptr};
static const ControlIDList jbaUserInputRdioUpdateCnstrnArray[] = {jbaUserInputRdioUpdateList};
static const ControlStateTable jbaUserInputRdioUpdateTable =
    MakeStateTable(jbaUserInputRdioUpdateCnstrnArray);
static ConstrainInfo jbaWndJobInputRdioCnstrnInfoPtr = {&jbaUserInputRdioDisableTable, nullptr,
                                                        &jbaUserInputRdioUpdateTable, nullptr};

// "JBA Login Name" shows the login name, dimmed, where "JBA Input Name" shows the user ID.
static ControlID *jbaUserIDLboxLoginDisableArray[] = {&jbaWndLoginEtxtID, nullptr};
static const ControlIDList jbaUserIDLboxCnstrnArray[] = {jbaUserIDLboxLoginDisableArray, nullptr};
static const ControlStateTable jbaUserIDLboxDisableTable = MakeStateTable(jbaUserIDLboxCnstrnArray);
static ControlID *jbaUserIDLboxLoginHideArray[] = {&jbaWndUserIDEtxtID, nullptr};
static ControlID *jbaUserIDLboxInputHideArray[] = {&jbaWndLoginEtxtID, nullptr};
static const ControlIDList jbaUserIDLboxHideCnstrnArray[] = {jbaUserIDLboxLoginHideArray,
                                                             jbaUserIDLboxInputHideArray};
static const ControlStateTable jbaUserIDLboxHideTable =
    MakeStateTable(jbaUserIDLboxHideCnstrnArray);
static ConstrainInfo jbaWndUserIDLboxCnstrnInfoPtr = {&jbaUserIDLboxDisableTable,
                                                      &jbaUserIDLboxHideTable, nullptr, nullptr};

static ControlAccessInfo jbaWndJobInfoRdioAcssInfo = {
    0, 0, nullptr, CFSTR("com.veltra.kzu.printsettings.JBAUserSettingRadioBtnTicket"),
    CFSTR("com.veltra.kzu.printsettings.JBAUserSettingRadioBtnReference")};
static ControlAccessInfo jbaWndUserIDLboxAcssInfo = {
    0, 0, nullptr, CFSTR("com.veltra.kzu.printsettings.JBAUserIDListCtrlTicket"),
    CFSTR("com.veltra.kzu.printsettings.JBAUserIDListCtrlReference")};
static ControlAccessInfo jbaWndUserIDEtxtAcssInfo = {
    'cfst', 'cfst', nullptr, CFSTR("com.veltra.kzu.printsettings.JBAUserIDTextEditTicket"),
    CFSTR("com.veltra.kzu.printsettings.JBAUserIDTextEditReference")};
static ControlAccessInfo jbaWndLoginEtxtAcssInfo = {
    'cfst', 'cfst', nullptr, CFSTR("com.veltra.kzu.printsettings.JBALoginTextEditTicket"), nullptr};
static ControlAccessInfo jbaWndUserIDPwEtxtAcssInfo = {
    'pwcf', 'pwcf', nullptr, CFSTR("com.veltra.kzu.printsettings.JBAUserPasswordTextEditTicket"),
    CFSTR("com.veltra.kzu.printsettings.JBAUserPasswordTextEditReference")};
static ControlAccessInfo jbaWndJobInputRdioAcssInfo = {
    0, 0, nullptr, CFSTR("com.veltra.kzu.printsettings.JBAUserInputRadioBtnTicket"),
    CFSTR("com.veltra.kzu.printsettings.JBAUserInputRadioBtnReference")};

static ControlID *jbaWndUserIDLboxValidateArray[] = {&jbaWndUserIDEtxtID, nullptr};
// A change of the specify-name list empties the password.
static ControlID *jbaWndUserIDLboxClearArray[] = {&jbaWndUserIDPwEtxtID, nullptr};
// Input at print time may be chosen only while the user ID and password are valid.
static ControlID *jbaWndJobInputRdioValidateArray[] = {&jbaWndUserIDEtxtID, &jbaWndUserIDPwEtxtID,
                                                       nullptr};

const JBAInfoWindowRecords jbaWndRecords = {&jbaWndOKPushID,
                                            &jbaWndCnclPushID,
                                            &jbaWndRstrPushID,
                                            &jbaWndHelpPushID,
                                            &jbaWndJobInfoRdioID,
                                            &jbaWndUserIDLboxStxtID,
                                            &jbaWndUserIDLboxID,
                                            &jbaWndUserIDStxtID,
                                            &jbaWndUserIDEtxtID,
                                            &jbaWndLoginEtxtID,
                                            &jbaWndUserIDPwStxtID,
                                            &jbaWndUserIDPwEtxtID,
                                            &jbaWndJobInputRdioID,
                                            &jbaWndJobInfoRdioCnstrnInfoPtr,
                                            &jbaWndJobInputRdioCnstrnInfoPtr,
                                            &jbaWndUserIDLboxCnstrnInfoPtr,
                                            &jbaWndJobInfoRdioAcssInfo,
                                            &jbaWndUserIDLboxAcssInfo,
                                            &jbaWndUserIDEtxtAcssInfo,
                                            &jbaWndLoginEtxtAcssInfo,
                                            &jbaWndUserIDPwEtxtAcssInfo,
                                            &jbaWndJobInputRdioAcssInfo,
                                            jbaWndUserIDLboxValidateArray,
                                            jbaWndUserIDLboxClearArray,
                                            jbaWndJobInputRdioValidateArray};

// The administrator window: shared by every user of the computer.

static ControlID jbaWndAdminOKPushID = {'aiob', 1211};
static ControlID jbaWndAdminCnclPushID = {'aicb', 1212};
static ControlID jbaWndAdminRstrPushID = {'airb', 1213};
static ControlID jbaWndAdminHelpPushID = {'aihb', 1214};
static ControlID jbaWndAdminJobInfoRdioID = {'jarb', 1401};
static ControlID jbaWndAdminUserIDLboxStxtID = {'ulst', 1901};
static ControlID jbaWndAdminUserIDLboxID = {'uilc', 1301};
static ControlID jbaWndAdminUserIDStxtID = {'uist', 1902};
static ControlID jbaWndAdminUserIDEtxtID = {'uitt', 1302};
static ControlID jbaWndAdminLoginEtxtID = {'lntt', 1307};
static ControlID jbaWndAdminUserIDPwStxtID = {'upst', 1903};
static ControlID jbaWndAdminUserIDPwEtxtID = {'uptt', 1303};
static ControlID jbaWndAdminJobInputRdioID = {'jirb', 1402};

// Common information off: the list, the user ID, the password and their labels are dimmed.
static ControlID *jbaWndAdminJobInfoCnstrnArray[] = {&jbaWndAdminUserIDLboxStxtID,
                                                     &jbaWndAdminUserIDLboxID,
                                                     &jbaWndAdminUserIDStxtID,
                                                     &jbaWndAdminUserIDEtxtID,
                                                     &jbaWndAdminUserIDPwStxtID,
                                                     &jbaWndAdminUserIDPwEtxtID,
                                                     nullptr};
static const ControlIDList jbaWndAdminJobInfoRdioCnstrnArray[] = {jbaWndAdminJobInfoCnstrnArray,
                                                                  nullptr};
static const ControlStateTable jbaWndAdminJobInfoRdioDisableTable =
    MakeStateTable(jbaWndAdminJobInfoRdioCnstrnArray);
static ControlID *jbaWndAdminJobInfoRdioUpdateList[] = {&jbaWndAdminJobInputRdioID, nullptr};
static const ControlIDList jbaWndAdminJobInfoRdioUpdateCnstrnArray[] = {
    jbaWndAdminJobInfoRdioUpdateList};
static const ControlStateTable jbaWndAdminJobInfoRdioUpdateTable =
    MakeStateTable(jbaWndAdminJobInfoRdioUpdateCnstrnArray);
static ConstrainInfo jbaWndAdminJobInfoRdioCnstrnInfoPtr = {
    &jbaWndAdminJobInfoRdioDisableTable, nullptr, &jbaWndAdminJobInfoRdioUpdateTable, nullptr};

static ControlID *jbaAdminUserInputRdioOffArray[] = {nullptr};
static const ControlIDList jbaAdminUserInputRdioCnstrnArray[] = {jbaAdminUserInputRdioOffArray,
                                                                 nullptr};
static const ControlStateTable jbaAdminUserInputRdioDisableTable =
    MakeStateTable(jbaAdminUserInputRdioCnstrnArray);
static ControlID *jbaAdminUserInputRdioUpdateList[] = {&jbaWndAdminJobInfoRdioID, nullptr};
static const ControlIDList jbaAdminUserInputRdioUpdateCnstrnArray[] = {
    jbaAdminUserInputRdioUpdateList};
static const ControlStateTable jbaAdminUserInputRdioUpdateTable =
    MakeStateTable(jbaAdminUserInputRdioUpdateCnstrnArray);
static ConstrainInfo jbaWndAdminJobInputRdioCnstrnInfoPtr = {
    &jbaAdminUserInputRdioDisableTable, nullptr, &jbaAdminUserInputRdioUpdateTable, nullptr};

// "JBA Login Name" shows the login name, dimmed, where "JBA Input Name" shows the user ID.
static ControlID *jbaAdminUserIDLboxLoginDisableArray[] = {&jbaWndAdminLoginEtxtID, nullptr};
static const ControlIDList jbaAdminUserIDLboxCnstrnArray[] = {jbaAdminUserIDLboxLoginDisableArray,
                                                              nullptr};
static const ControlStateTable jbaAdminUserIDLboxDisableTable =
    MakeStateTable(jbaAdminUserIDLboxCnstrnArray);
static ControlID *jbaAdminUserIDLboxLoginHideArray[] = {&jbaWndAdminUserIDEtxtID, nullptr};
static ControlID *jbaAdminUserIDLboxInputHideArray[] = {&jbaWndAdminLoginEtxtID, nullptr};
static const ControlIDList jbaAdminUserIDLboxHideCnstrnArray[] = {jbaAdminUserIDLboxLoginHideArray,
                                                                  jbaAdminUserIDLboxInputHideArray};
static const ControlStateTable jbaAdminUserIDLboxHideTable =
    MakeStateTable(jbaAdminUserIDLboxHideCnstrnArray);
static ConstrainInfo jbaWndAdminUserIDLboxCnstrnInfoPtr = {
    &jbaAdminUserIDLboxDisableTable, &jbaAdminUserIDLboxHideTable, nullptr, nullptr};

static ControlAccessInfo jbaWndAdminJobInfoRdioAcssInfo = {
    0, 0, nullptr, CFSTR("com.veltra.kzu.printsettings.JBAAdminUserSettingRadioBtnTicket"),
    CFSTR("com.veltra.kzu.printsettings.JBAAdminUserSettingRadioBtnReference")};
static ControlAccessInfo jbaWndAdminUserIDLboxAcssInfo = {
    0, 0, nullptr, CFSTR("com.veltra.kzu.printsettings.JBAAdminUserIDListCtrlTicket"),
    CFSTR("com.veltra.kzu.printsettings.JBAAdminUserIDListCtrlReference")};
static ControlAccessInfo jbaWndAdminUserIDEtxtAcssInfo = {
    'cfst', 'cfst', nullptr, CFSTR("com.veltra.kzu.printsettings.JBAAdminUserIDTextEditTicket"),
    CFSTR("com.veltra.kzu.printsettings.JBAAdminUserIDTextEditReference")};
static ControlAccessInfo jbaWndAdminLoginEtxtAcssInfo = {
    'cfst', 'cfst', nullptr, CFSTR("com.veltra.kzu.printsettings.JBAAdminLoginTextEditTicket"),
    nullptr};
static ControlAccessInfo jbaWndAdminUserIDPwEtxtAcssInfo = {
    'pwcf', 'pwcf', nullptr,
    CFSTR("com.veltra.kzu.printsettings.JBAAdminUserPasswordTextEditTicket"),
    CFSTR("com.veltra.kzu.printsettings.JBAAdminUserPasswordTextEditReference")};
static ControlAccessInfo jbaWndAdminJobInputRdioAcssInfo = {
    0, 0, nullptr, CFSTR("com.veltra.kzu.printsettings.JBAAdminUserInputRadioBtnTicket"),
    CFSTR("com.veltra.kzu.printsettings.JBAAdminUserInputRadioBtnReference")};

static ControlID *jbaWndAdminUserIDLboxValidateArray[] = {&jbaWndAdminUserIDEtxtID, nullptr};
// A change of the specify-name list empties the password.
static ControlID *jbaWndAdminUserIDLboxClearArray[] = {&jbaWndAdminUserIDPwEtxtID, nullptr};
// Input at print time may be chosen only while the user ID and password are valid.
static ControlID *jbaWndAdminJobInputRdioValidateArray[] = {&jbaWndAdminUserIDEtxtID,
                                                            &jbaWndAdminUserIDPwEtxtID, nullptr};

const JBAInfoWindowRecords jbaWndAdminRecords = {&jbaWndAdminOKPushID,
                                                 &jbaWndAdminCnclPushID,
                                                 &jbaWndAdminRstrPushID,
                                                 &jbaWndAdminHelpPushID,
                                                 &jbaWndAdminJobInfoRdioID,
                                                 &jbaWndAdminUserIDLboxStxtID,
                                                 &jbaWndAdminUserIDLboxID,
                                                 &jbaWndAdminUserIDStxtID,
                                                 &jbaWndAdminUserIDEtxtID,
                                                 &jbaWndAdminLoginEtxtID,
                                                 &jbaWndAdminUserIDPwStxtID,
                                                 &jbaWndAdminUserIDPwEtxtID,
                                                 &jbaWndAdminJobInputRdioID,
                                                 &jbaWndAdminJobInfoRdioCnstrnInfoPtr,
                                                 &jbaWndAdminJobInputRdioCnstrnInfoPtr,
                                                 &jbaWndAdminUserIDLboxCnstrnInfoPtr,
                                                 &jbaWndAdminJobInfoRdioAcssInfo,
                                                 &jbaWndAdminUserIDLboxAcssInfo,
                                                 &jbaWndAdminUserIDEtxtAcssInfo,
                                                 &jbaWndAdminLoginEtxtAcssInfo,
                                                 &jbaWndAdminUserIDPwEtxtAcssInfo,
                                                 &jbaWndAdminJobInputRdioAcssInfo,
                                                 jbaWndAdminUserIDLboxValidateArray,
                                                 jbaWndAdminUserIDLboxClearArray,
                                                 jbaWndAdminJobInputRdioValidateArray};

// What a user outside the administrators group may not change in the administrator window.
ControlID *jbaMngTypeAdminCnstrnArray[] = {&jbaWndAdminRstrPushID,
                                           &jbaWndAdminJobInfoRdioID,
                                           &jbaWndAdminUserIDLboxStxtID,
                                           &jbaWndAdminUserIDLboxID,
                                           &jbaWndAdminUserIDStxtID,
                                           &jbaWndAdminUserIDEtxtID,
                                           &jbaWndAdminLoginEtxtID,
                                           &jbaWndAdminUserIDPwStxtID,
                                           &jbaWndAdminUserIDPwEtxtID,
                                           &jbaWndAdminJobInputRdioID,
                                           nullptr};

// Shared by both settings windows: titles, lengths and filters. Every field takes printable ASCII.

RadioButtonIniData jbaWndJobInfoRdioIniData = {0, 1, -1, CFSTR("JBA Common User Info Type"),
                                               CFSTR("Detailed User Settings")};
RadioButtonIniData jbaWndJobInputRdioIniData = {1, 0, -1, CFSTR("JBA Job User Type"),
                                                CFSTR("Detailed User Settings")};
static CFStringRef jbaUserIDListIniMenu[] = {CFSTR("JBA Login Name"), CFSTR("JBA Input Name"),
                                             nullptr};
ListPopupIniData jbaWndUserIDLboxIniData = {1, 1, -1, jbaUserIDListIniMenu};
TextEditIniData jbaWndUserIDEtxtIniData = {{}, {}, 1, 32};
// Filled with the login name when a settings window is made.
TextEditIniData jbaWndLoginEtxtIniData = {{}, {}, 1, 32};
TextEditIniData jbaWndUserIDPwEtxtIniData = {{}, {}, 4, 12};

TextEditFilterData jbaWndUserIDEtxtFltrData = {
    {2, {{0x20, 0x7E}, {0, 0}}}, {17, {{0x20, 0x7E}}}, jbaWndUserIDFilter, CFSTR("Warning32")};
TextEditFilterData jbaWndLoginEtxtFltrData = {
    {2, {{0x20, 0x7E}, {0, 0}}}, {17, {{0x20, 0x7E}}}, jbaWndUserIDFilter, CFSTR("Warning32")};
TextEditFilterData jbaWndUserIDPwEtxtFltrData = {{2, {{0x20, 0x7E}, {0, 0}}},
                                                 {2, {{0x20, 0x7E}, {0, 0}}},
                                                 jbaWndUserIDPasswordFilter,
                                                 CFSTR("Warning33")};

ControlKeyFilterResult jbaWndUserIDFilter(ControlRef control, SInt16 *, SInt16 *charCode,
                                          EventModifiers *modifiers)
{
    return InputCharsCheck(control, charCode, modifiers, jbaWndUserIDEtxtIniData.maxLength,
                           &jbaWndUserIDEtxtFltrData, 0);
}

ControlKeyFilterResult jbaWndUserIDPasswordFilter(ControlRef control, SInt16 *, SInt16 *charCode,
                                                  EventModifiers *modifiers)
{
    return InputCharsCheck(control, charCode, modifiers, jbaWndUserIDPwEtxtIniData.maxLength,
                           &jbaWndUserIDPwEtxtFltrData, 0);
}

// The print-time input window.

ControlID jbaInputWndOKPushID = {'aiob', 601};
ControlID jbaInputWndCnclPushID = {'aicb', 602};
ControlID jbaInputWndHelpPushID = {'aihb', 603};
ControlID jbaInputWndAuthRdioID = {'cisr', 501};
ControlID jbaInputWndUserIDStxtID = {'uist', 503};
ControlID jbaInputWndUserIDEtxtID = {'uitt', 504};
ControlID jbaInputWndUserIDPwStxtID = {'upst', 505};
ControlID jbaInputWndUserIDPwEtxtID = {'uptt', 506};

RadioButtonIniData jbaInputWndAuthRdioIniData = {0, 1, -1, CFSTR("JBA Auth Radio"), nullptr};
// The fields and their labels are shown only while the authentication button is on.
static ControlID *jbaAuthRadioHideConstrainArray[] = {
    &jbaInputWndUserIDStxtID, &jbaInputWndUserIDEtxtID, &jbaInputWndUserIDPwStxtID,
    &jbaInputWndUserIDPwEtxtID, nullptr};
static const ControlIDList jbaInputAuthHideConstrainArray[] = {jbaAuthRadioHideConstrainArray,
                                                               nullptr};
static const ControlStateTable jbaInputAuthHideTable =
    MakeStateTable(jbaInputAuthHideConstrainArray);
static ControlID *jbaAuthRadioUpdateConstrainArray[] = {nullptr};
static const ControlIDList jbaInputAuthUpdateConstrainArray[] = {jbaAuthRadioUpdateConstrainArray};
static const ControlStateTable jbaInputAuthUpdateTable =
    MakeStateTable(jbaInputAuthUpdateConstrainArray);
ConstrainInfo jbaInputWndAuthRdioCnstrnInfoPtr = {nullptr, &jbaInputAuthHideTable,
                                                  &jbaInputAuthUpdateTable, nullptr};

ControlAccessInfo jbaInputWndAuthRdioAcssInfo = {
    0, 0, nullptr, CFSTR("com.veltra.kzu.printsettings.JBAInputAuthRadioBtnTicketKey"),
    CFSTR("com.veltra.kzu.printsettings.JBAInputAuthRadioBtnReference")};
ControlAccessInfo jbaInputWndUserIDEtxtAcssInfo = {
    'cfst', 'cfst', nullptr, CFSTR("com.veltra.kzu.printsettings.JBAInputUserIDTextEditTicket"),
    CFSTR("com.veltra.kzu.printsettings.JBAInputUserIDTextEditReference")};
ControlAccessInfo jbaInputWndUserIDPwEtxtAcssInfo = {
    'pwcf', 'pwcf', nullptr,
    CFSTR("com.veltra.kzu.printsettings.JBAInputUserPasswordTextEditTicket"),
    CFSTR("com.veltra.kzu.printsettings.JBAInputUserPasswordTextEditReference")};
ControlID *jbaAuthRdioValidateArray[] = {nullptr};
ControlID *jbaInputWndDafaultArray[] = {&jbaInputWndUserIDEtxtID, &jbaInputWndUserIDPwEtxtID,
                                        nullptr};

const JBAHelpStringEntry JBAHelpString[] = {{"JBA_", "JBA.htm"},
                                            {"DetailedUS_", "DetailedUS.htm"},
                                            {"EnterUD_", "EnterUD.htm"},
                                            {nullptr, nullptr}};

// Load-time set-up: the account mode and the administrator window's values are kept for every
// user of the computer, the user window's and the print-time input for the user running the
// dialog.
namespace {

ControlAccessInfo *const jbaAnyUserRecords[] = {
    &jbaMngTypeLboxAcssInfo,          &jbaWndAdminJobInfoRdioAcssInfo,
    &jbaWndAdminUserIDLboxAcssInfo,   &jbaWndAdminUserIDEtxtAcssInfo,
    &jbaWndAdminLoginEtxtAcssInfo,    &jbaWndAdminUserIDPwEtxtAcssInfo,
    &jbaWndAdminJobInputRdioAcssInfo, nullptr};
ControlAccessInfo *const jbaCurrentUserRecords[] = {
    &jbaWndJobInfoRdioAcssInfo,       &jbaWndUserIDLboxAcssInfo,
    &jbaWndUserIDEtxtAcssInfo,        &jbaWndLoginEtxtAcssInfo,
    &jbaWndUserIDPwEtxtAcssInfo,      &jbaWndJobInputRdioAcssInfo,
    &jbaInputWndAuthRdioAcssInfo,     &jbaInputWndUserIDEtxtAcssInfo,
    &jbaInputWndUserIDPwEtxtAcssInfo, nullptr};

struct JBARecordsSetUp
{
    JBARecordsSetUp()
    {
        SetPreferenceUserOfRecords(jbaAnyUserRecords, kCFPreferencesAnyUser);
        SetPreferenceUserOfRecords(jbaCurrentUserRecords, kCFPreferencesCurrentUser);
    }
} const jbaRecordsSetUp;

} // namespace
