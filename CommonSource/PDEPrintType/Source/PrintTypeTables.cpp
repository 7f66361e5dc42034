// The print type pane's static records and constraint tables.
#include "PrintTypeTables.h"

#include "TextInputFilter.h"

ControlID versionstringSTextCtrlID = {'vsst', 123};
ControlID printtypeTextCtrlID = {'ptst', 220};
ControlID restoredocunameTextCtrlID = {'rtst', 221};
ControlID printTypeListCtrlID = {'ssls', 202};
ControlID printTypeUserNameCtrlID = {'spui', 204};
ControlID documentNameListCtrlID = {'dnls', 310};
ControlID documentNameCtrlID = {'dnui', 210};
ControlID printTypePasswordCtrlID = {'sppi', 206};
ControlID restoreButtonCtrlID = {'rsdf', 300};
ControlID printTypeGroupBoxID = {'sspg', 200};
ControlID printTypeUserNameTextCtrlID = {'sput', 211};
ControlID printTypePasswordTextCtrlID = {'sppt', 212};
ControlID documentNameTextCtrlID = {'dntt', 213};
ControlID helpButtonCtrlID = {'hpbn', 301};

// Print type list: 1 ordinary, 2 secure, 3 sample job.

static CFStringRef printTypeListIniMenu[] = {CFSTR("Job Type None"), CFSTR("Job Type Secure"),
                                             CFSTR("Job Type Sample"), nullptr};
ListPopupIniData printTypeListIniData = {0, 1, -1, printTypeListIniMenu};

// An ordinary job carries no user name, passcode or document name.
static ControlID *printTypeNormalConstrainArray[] = {
    &printTypeUserNameCtrlID,     &printTypeUserNameTextCtrlID, &printTypePasswordCtrlID,
    &printTypePasswordTextCtrlID, &documentNameListCtrlID,      &restoredocunameTextCtrlID,
    &documentNameCtrlID,          &documentNameTextCtrlID,      nullptr};
static ControlID *printTypeSecureConstrainArray[] = {nullptr};
// A sample job carries no passcode.
static ControlID *printTypeSampleConstrainArray[] = {&printTypePasswordCtrlID,
                                                     &printTypePasswordTextCtrlID, nullptr};
static const ControlIDList printTypeConstrainArray[] = {printTypeNormalConstrainArray,
                                                        printTypeSecureConstrainArray,
                                                        printTypeSampleConstrainArray, nullptr};
static const ControlStateTable printTypeDisableTable = MakeStateTable(printTypeConstrainArray);

static ControlID *printTypeUpdateArray[] = {&printTypeUserNameCtrlID,
                                            &printTypeUserNameTextCtrlID,
                                            &printTypePasswordCtrlID,
                                            &printTypePasswordTextCtrlID,
                                            &documentNameCtrlID,
                                            &documentNameTextCtrlID,
                                            nullptr};
static const ControlIDList printTypeUpdateConstrain[] = {printTypeUpdateArray, printTypeUpdateArray,
                                                         printTypeUpdateArray, nullptr};
static const ControlStateTable printTypeUpdateTable = MakeStateTable(printTypeUpdateConstrain);

ConstrainInfo printTypeConstrainInfoPtr = {&printTypeDisableTable, nullptr, &printTypeUpdateTable,
                                           nullptr};

ControlAccessInfo printTypeListAccessInfo = {
    0, 0, nullptr, CFSTR("com.veltra.kzu.printsettings.PrintTypeTicketKey"),
    CFSTR("com.veltra.kzu.printsettings.PrintTypeReference")};

// The fields a change of job type must leave valid.
ControlID *printTypeValidateArray[] = {&printTypeUserNameCtrlID, &printTypePasswordCtrlID,
                                       &documentNameCtrlID, nullptr};

// Document name type list: 1 taken automatically, 2 typed by the user.

static CFStringRef documentNameListIniMenu[] = {CFSTR("Document Name Type Auto"),
                                                CFSTR("Document Name Type Enter Name"), nullptr};
ListPopupIniData documentNameListIniData = {0, 2, -1, documentNameListIniMenu};

static ControlID *documentNameAutoRetrieveConstrainArray[] = {&documentNameCtrlID,
                                                              &documentNameTextCtrlID, nullptr};
static const ControlIDList documentNameListConstrainArray[] = {
    documentNameAutoRetrieveConstrainArray, nullptr, nullptr};
static const ControlStateTable documentNameListDisableTable =
    MakeStateTable(documentNameListConstrainArray);

ConstrainInfo documentNameListConstrainInfoPtr = {&documentNameListDisableTable, nullptr, nullptr,
                                                  nullptr};

ControlAccessInfo documentNameListAccessInfo = {
    0, 0, nullptr, CFSTR("com.veltra.kzu.printsettings.DocumentNameTypeTicketKey"),
    CFSTR("com.veltra.kzu.printsettings.DocumentNameTypeReference")};

ControlID *documentNameListValidateArray[] = {&documentNameCtrlID, nullptr};

// Text fields: user name and document name take ASCII and Latin-1, the passcode digits.

TextEditIniData printTypeUserNameIniData = {{}, {}, 1, 8};
TextEditFilterData printTypeUserNameFilterData = {{2, {{0x20, 0x7E}, {0xA0, 0xFF}}},
                                                  {17, {{0x0020, 0x007E}, {0x00A0, 0x00FF}}},
                                                  printTypeNameFilter,
                                                  CFSTR("Message43")};
ControlAccessInfo printTypeUserNameAccessInfo = {
    'cfst', 'cfst', nullptr, CFSTR("com.veltra.kzu.printsettings.PrintTypeUserNameTicketKey"),
    CFSTR("com.veltra.kzu.printsettings.PrintTypeUserNameReference")};

TextEditIniData documentNameIniData = {{}, {}, 0, 12};
TextEditFilterData documentNameFilterData = {{2, {{0x20, 0x7E}, {0xA0, 0xFF}}},
                                             {17, {{0x0020, 0x007E}, {0x00A0, 0x00FF}}},
                                             documentNameFilter,
                                             CFSTR("Message41")};
ControlAccessInfo documentNameAccessInfo = {
    'cfst', 'cfst', nullptr, CFSTR("com.veltra.kzu.printsettings.DocumentNameTicketKey"),
    CFSTR("com.veltra.kzu.printsettings.DocumentNameReference")};

TextEditIniData printTypePasswordIniData = {{}, {}, 0, 12};
TextEditFilterData printTypePasswordFilterData = {
    {1, {{0x30, 0x39}}}, {1, {{0x0030, 0x0039}}}, printTypePasswordFilter, CFSTR("Message60")};
ControlAccessInfo printTypePasswordAccessInfo = {
    'pwcf', 'pwcf', nullptr, CFSTR("com.veltra.kzu.printsettings.PrintTypePasswordTicketKey"),
    CFSTR("com.veltra.kzu.printsettings.PrintTypePasswordReference")};

ControlKeyFilterResult printTypePasswordFilter(ControlRef control, SInt16 *, SInt16 *charCode,
                                               EventModifiers *modifiers)
{
    return passwordEditBoxCheck(control, charCode, printTypePasswordIniData.maxLength, modifiers);
}

ControlKeyFilterResult printTypeNameFilter(ControlRef control, SInt16 *, SInt16 *charCode,
                                           EventModifiers *modifiers)
{
    return charEditBoxCheck(control, charCode, printTypeUserNameIniData.maxLength,
                            &printTypeUserNameFilterData, modifiers);
}

ControlKeyFilterResult documentNameFilter(ControlRef control, SInt16 *, SInt16 *charCode,
                                          EventModifiers *modifiers)
{
    return charEditBoxCheck(control, charCode, documentNameIniData.maxLength,
                            &documentNameFilterData, modifiers);
}

// Hard disk: without one, no job can be held at the printer.

static ControlID *noHardDiskConstrainArray[] = {
    &printTypeListCtrlID,       &printTypeUserNameCtrlID, &printTypePasswordCtrlID,
    &restoredocunameTextCtrlID, &printtypeTextCtrlID,     nullptr};
static const InstallableOptionChoice hardDiskOptionConstrainArray[] = {
    {"True", nullptr}, {"False", noHardDiskConstrainArray}, {nullptr, nullptr}};
InstallableOptionConstrainInfo hardDiskOptionConstrainInfoPtr = {hardDiskOptionConstrainArray,
                                                                 nullptr, nullptr, nullptr};

// Load-time set-up: the pane's values are kept for the user running the dialog.
namespace {

ControlAccessInfo *const printTypeCurrentUserRecords[] = {
    &printTypeListAccessInfo, &printTypeUserNameAccessInfo, &documentNameListAccessInfo,
    &documentNameAccessInfo,  &printTypePasswordAccessInfo, nullptr};

struct PrintTypeRecordsSetUp
{
    PrintTypeRecordsSetUp()
    {
        SetPreferenceUserOfRecords(printTypeCurrentUserRecords, kCFPreferencesCurrentUser);
    }
} const printTypeRecordsSetUp;

} // namespace
