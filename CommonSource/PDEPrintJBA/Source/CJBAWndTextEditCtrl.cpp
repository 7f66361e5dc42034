// The text fields of the job accounting windows.
#include "CJBAWndTextEditCtrl.h"

#include "AboutWindow.h"
#include "AppResources.h"
#include "JBAWindowState.h"
#include "TextInputFilter.h"

#include <cstring>
#include <vector>

namespace {

constexpr UniChar kMaskCharacter = 0xFF65; // half-width middle dot

} // namespace

CJBAWndTextEditCtrl::CJBAWndTextEditCtrl(ControlID *id, TextEditIniData *ini,
                                         ConstrainInfo *constrain, TextEditFilterData *filter,
                                         ControlAccessInfo *access, CFStringRef summaryKey,
                                         bool password)
    : CTextEditControl(id, ini, constrain, filter, access),
      summaryTitleKey(summaryKey ? CFStringCreateCopy(kCFAllocatorDefault, summaryKey) : nullptr),
      isPassword(password)
{}

CJBAWndTextEditCtrl::~CJBAWndTextEditCtrl() = default;

bool CJBAWndTextEditCtrl::ToValidate()
{
    void *value = GetValueFromUI();
    return controlRef && value && hideCount == 0 && disableCount == 0;
}

bool CJBAWndTextEditCtrl::InvalidateData()
{
    if (!ToValidate())
        return true;
    if (!isPassword && dataSize != 0 && uiData) {
        unsigned short units[kTextEditBlockSize + 1] = {};
        static_cast<char *>(uiData)[kTextEditBlockSize - 1] = 0;
        if (ConvertUTF8ToUnicode(static_cast<char *>(uiData), units) && IsAllSpace(units)) {
            ShowErrMsg();
            return false;
        }
    }
    return CTextEditControl::InvalidateData();
}

bool CJBAWndTextEditCtrl::LengthIsAcceptable()
{
    if (!iniData)
        return true;
    if (dataSize >= UInt32(iniData->minLength) && dataSize <= UInt32(iniData->maxLength))
        return true;
    ShowErrMsg();
    return false;
}

void CJBAWndTextEditCtrl::ShowErrMsg()
{
    if (!filterData || !filterData->errorMessageKey)
        return;
    CFBundleRef bundle = GetAppBundleRef();
    {
        AboutWindow alert(GetPDENibFileNameJBA(), CFSTR("About"), bundle);
        alert.RunModal(bundle, filterData->errorMessageKey);
    }
    if (!controlRef)
        return;
    if (WindowRef window = GetControlOwner(controlRef))
        SetKeyboardFocus(window, controlRef, kControlEditTextPart);
}

bool CJBAWndTextEditCtrl::SetValueToPreference()
{
    if (hideCount != 0)
        return true;
    return CTextEditControl::SetValueToPreference();
}

bool CJBAWndTextEditCtrl::ToGetSummaryText()
{
    return hideCount == 0 && summaryTitleKey && JBAOwnerHasParent(panel) &&
           !JBAOwnerEntersUserDetails(panel);
}

int CJBAWndTextEditCtrl::GetSummaryText(CFMutableArrayRef titles, CFMutableArrayRef values)
{
    if (!titles || !values || !summaryTitleKey || !accessInfo || !ToGetSummaryText())
        return 0;
    CFBundleRef bundle = GetAppBundleRef();
    CFRef<CFStringRef> title(
        bundle ? CFBundleCopyLocalizedString(bundle, summaryTitleKey, summaryTitleKey, nullptr)
               : nullptr);
    const char *text = controlData ? static_cast<const char *>(controlData) : "";
    const size_t length = strnlen(text, kTextEditBlockSize - 1);
    CFRef<CFStringRef> value;
    if (length == 0) {
        value.reset(CFStringCreateCopy(kCFAllocatorDefault, CFSTR("")));
    } else if (accessInfo->getDataTag == kControlEditTextCFStringTag) {
        value.reset(CFStringCreateWithBytes(kCFAllocatorDefault,
                                            reinterpret_cast<const UInt8 *>(text), CFIndex(length),
                                            GetCurrentPDEEncodingJBA(), false));
    } else if (accessInfo->getDataTag == kControlEditTextPasswordCFStringTag) {
        // No password is shown: one dot per byte.
        const std::vector<UniChar> mask(length, kMaskCharacter);
        value.reset(
            CFStringCreateWithCharacters(kCFAllocatorDefault, mask.data(), CFIndex(mask.size())));
    }
    if (!title || !value)
        return 0;
    CFArrayAppendValue(titles, title);
    CFArrayAppendValue(values, value);
    return 0;
}
