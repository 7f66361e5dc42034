// The settings windows' login-name field.
#include "CJBAWndLoginTECtrl.h"

#include "AdminCheck.h"
#include "JBAWindowState.h"
#include "TextInputFilter.h"

#include <cstring>

namespace {

constexpr char kUnknownUser[] = "UnknownUser";
constexpr size_t kNameTextBytes = 255;

} // namespace

CJBAWndLoginTECtrl::CJBAWndLoginTECtrl(ControlID *id, TextEditIniData *ini,
                                       ConstrainInfo *constrain, TextEditFilterData *filter,
                                       ControlAccessInfo *access, CFStringRef summaryKey,
                                       bool password)
    : CJBAWndTextEditCtrl(id, ini, constrain, filter, access, summaryKey, password)
{
    SetLoginName();
}

void CJBAWndLoginTECtrl::SetLoginName()
{
    if (!iniData)
        return;
    memset(iniData->iniText, 0, kNameTextBytes);
    memset(iniData->defaultText, 0, kNameTextBytes);

    // The login name of the session, or the effective user's name where there is no login
    // record (a graphical session started without a terminal).
    char name[256] = {};
    const char *chosen = kUnknownUser;
    size_t length = sizeof kUnknownUser - 1;
    if (GetDialogUserName(name, sizeof name)) {
        unsigned short units[sizeof name + 1] = {};
        if (ConvertUTF8ToUnicode(name, units) &&
            (!filterData || validateInput(units, filterData))) {
            chosen = name;
            length = strlen(name);
            if (iniData->maxLength > 0 && length > size_t(iniData->maxLength))
                length = size_t(iniData->maxLength);
        }
    }
    memcpy(iniData->iniText, chosen, length);
    memcpy(iniData->defaultText, chosen, length);
}

bool CJBAWndLoginTECtrl::GetValueToPreference()
{
    return false;
}

bool CJBAWndLoginTECtrl::InvalidateData()
{
    return true;
}

bool CJBAWndLoginTECtrl::ToGetSummaryText()
{
    return JBAOwnerHasParent(panel) && !JBAOwnerEntersUserDetails(panel) &&
           JBAOwnerUsesLoginName(panel);
}
