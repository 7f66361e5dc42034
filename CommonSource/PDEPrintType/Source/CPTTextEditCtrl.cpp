// The print type pane's text fields: when they check themselves and what they show.
#include "CPTTextEditCtrl.h"

#include "AboutWindow.h"
#include "AppResources.h"
#include "TextInputFilter.h"

#include <cstring>
#include <vector>

namespace {

constexpr UniChar kMaskCharacter = 0xFF65; // half-width middle dot

} // namespace

CPTTextEditCtrl::CPTTextEditCtrl(ControlID *id, TextEditIniData *ini, ConstrainInfo *constrain,
                                 TextEditFilterData *filter, ControlAccessInfo *access,
                                 CFStringRef key)
    : CTextEditControl(id, ini, constrain, filter, access),
      titleKey(key ? CFStringCreateCopy(kCFAllocatorDefault, key) : nullptr)
{}

CPTTextEditCtrl::~CPTTextEditCtrl() = default;

bool CPTTextEditCtrl::ToValidate()
{
    // A field whose widget the pane could not build is not shown either.
    return controlRef && disableCount == 0 && hideCount == 0;
}

bool CPTTextEditCtrl::ToGetSummaryText()
{
    return true;
}

int CPTTextEditCtrl::Update()
{
    return 0;
}

bool CPTTextEditCtrl::CorrectCtrlUI()
{
    return true;
}

void CPTTextEditCtrl::ReadForCheck()
{
    if (controlRef) {
        if (WindowRef window = GetControlOwner(controlRef))
            ClearKeyboardFocus(window);
    }
    GetValueFromUI();
}

void CPTTextEditCtrl::ShowErrMsg(CFStringRef messageKey)
{
    if (!filterData || !messageKey)
        return;
    AboutWindow::Present(GetAppBundleRef(), messageKey);
    if (!controlRef)
        return;
    if (WindowRef window = GetControlOwner(controlRef))
        SetKeyboardFocus(window, controlRef, kControlEditTextPart);
}

bool CPTTextEditCtrl::CheckNotEmpty(CFStringRef messageKey)
{
    if (!ToValidate())
        return true;
    ReadForCheck();
    if (dataSize != 0 || !iniData || iniData->minLength == 0)
        return true;
    ShowErrMsg(messageKey);
    return false;
}

bool CPTTextEditCtrl::PreInvalidateData()
{
    return CheckNotEmpty(filterData ? filterData->errorMessageKey : nullptr);
}

bool CPTTextEditCtrl::InvalidateData()
{
    if (!ToValidate())
        return true;
    ReadForCheck();
    if (dataSize != 0 && uiData) {
        unsigned short units[kTextEditBlockSize + 1] = {};
        static_cast<char *>(uiData)[kTextEditBlockSize - 1] = 0;
        if (ConvertUTF8ToUnicode(static_cast<char *>(uiData), units) && IsAllSpace(units)) {
            ShowErrMsg(filterData ? filterData->errorMessageKey : nullptr);
            return false;
        }
    }
    return CTextEditControl::InvalidateData();
}

CFStringRef CPTTextEditCtrl::CreateMaskedText(const char *text)
{
    const std::vector<UniChar> mask(strlen(text), kMaskCharacter);
    return CFStringCreateWithCharacters(kCFAllocatorDefault, mask.data(), CFIndex(mask.size()));
}

int CPTTextEditCtrl::GetSummaryText(CFMutableArrayRef titles, CFMutableArrayRef values)
{
    if (!titles || !values || !titleKey || !accessInfo || !ToGetSummaryText())
        return 0;
    CFBundleRef bundle = GetAppBundleRef();
    CFRef<CFStringRef> title(
        bundle ? CFBundleCopyLocalizedString(bundle, titleKey, titleKey, nullptr) : nullptr);
    const char *text = controlData ? static_cast<const char *>(controlData) : "";
    CFRef<CFStringRef> value;
    if (!*text)
        value.reset(CFStringCreateCopy(kCFAllocatorDefault, CFSTR("")));
    else if (accessInfo->getDataTag == kControlEditTextCFStringTag)
        value.reset(CFStringCreateWithCString(kCFAllocatorDefault, text, kCFStringEncodingUTF8));
    else if (accessInfo->getDataTag == kControlEditTextPasswordCFStringTag)
        value.reset(CreateMaskedText(text));
    if (!title || !value)
        return 0;
    CFArrayAppendValue(titles, title);
    CFArrayAppendValue(values, value);
    return 0;
}
