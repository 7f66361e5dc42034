// The passcode field's checks and its scrambled ticket value.
#include "CPTTextEditCtrlExt.h"

#include "AboutWindow.h"
#include "AppResources.h"
#include "CAboutWindow.h"
#include "CPTPWStaticTextEditControl.h"
#include "CPrintTypePanel.h"
#include "PPDQueries.h"
#include "PrintTypeTables.h"
#include "PrintTypeText.h"
#include "TextInputFilter.h"

#include <cstring>

namespace {

constexpr char kMinimumMark[] = "[n]";

} // namespace

CPTTextEditCtrlExt::CPTTextEditCtrlExt(ControlID *id, const char *keyword, TextEditIniData *ini,
                                       ConstrainInfo *constrain, TextEditFilterData *filter,
                                       ControlAccessInfo *access, CFStringRef key)
    : CPTTextEditCtrl(id, ini, constrain, filter, access, key), minDigitsKeyword(keyword)
{}

bool CPTTextEditCtrlExt::InitializeCtrl(WindowRef window, ControlRef userPane, CFBundleRef bundle,
                                        ppd_file_t *ppd)
{
    const bool done = CTextEditControl::InitializeCtrl(window, userPane, bundle, ppd);
    if (iniData && ppd && minDigitsKeyword)
        minDigits = GetPWMiniIntValueFromPPD(ppd, minDigitsKeyword);
    return done;
}

bool CPTTextEditCtrlExt::SetControlValueToUI()
{
    // The passcode goes back into the widget only when the dialog loads the pane.
    if (!panel || panel->GetSyncState() != kSyncStateLoadUI || !controlData ||
        !*static_cast<const char *>(controlData))
        return true;
    return CTextEditControl::SetControlValueToUI();
}

int CPTTextEditCtrlExt::Update()
{
    return 0;
}

bool CPTTextEditCtrlExt::CorrectCtrlUI()
{
    return true;
}

bool CPTTextEditCtrlExt::HasValidCharacters()
{
    if (dataSize == 0 || !filterData || !uiData)
        return true;
    unsigned short units[kTextEditBlockSize + 1] = {};
    static_cast<char *>(uiData)[kTextEditBlockSize - 1] = 0;
    return ConvertUTF8ToUnicode(static_cast<char *>(uiData), units) &&
           validateInput(units, filterData);
}

bool CPTTextEditCtrlExt::PreInvalidateData()
{
    if (!ToValidate() || !iniData)
        return true;
    ReadForCheck();
    if (dataSize > UInt32(iniData->maxLength) || SInt32(dataSize) < minDigits) {
        ShowInivalidCharErrMsg();
        return false;
    }
    return true;
}

bool CPTTextEditCtrlExt::InvalidateData()
{
    if (!ToValidate())
        return true;
    if (!PreInvalidateData())
        return false;
    if (!HasValidCharacters()) {
        ShowInivalidCharErrMsg();
        return false;
    }
    return true;
}

bool CPTTextEditCtrlExt::InvalidateDataOnPrintCommand()
{
    if (!ToValidate() || !iniData)
        return true;
    ReadForCheck();
    if (!HasValidCharacters() || dataSize > UInt32(iniData->maxLength)) {
        ShowInivalidCharErrMsg();
        return false;
    }
    if (SInt32(dataSize) < minDigits) {
        ShowErrMsg();
        return false;
    }
    return true;
}

void CPTTextEditCtrlExt::ShowErrMsg()
{
    auto *owner = dynamic_cast<CPrintTypePanel *>(panel);
    CAboutWindow *confirmation = owner ? owner->GetAboutWindow() : nullptr;
    if (owner && owner->HasMinDigitOption() && confirmation) {
        confirmation->ActivateWindow();
        RunAppModalLoopForWindow(confirmation->GetWindowRef());
        confirmation->DeactivateWindow();
        return;
    }
    CTextEditControl::ShowErrMsg();
}

void CPTTextEditCtrlExt::ShowInivalidCharErrMsg()
{
    if (!filterData || !filterData->errorMessageKey || !iniData)
        return;
    CFBundleRef bundle = GetAppBundleRef();
    const std::string text = LocalizedUTF8(bundle, filterData->errorMessageKey);
    const size_t first = text.find(kMinimumMark);
    if (first == std::string::npos) {
        // Without a place for the minimum the window keeps the text of its interface file.
        AboutWindow::Present(bundle, nullptr);
    } else {
        const size_t rest = first + strlen(kMinimumMark);
        const size_t second = text.find(kMinimumMark, rest);
        const std::string message =
            text.substr(0, first) + std::to_string(minDigits) + " " +
            text.substr(rest, second == std::string::npos ? std::string::npos : second - rest);
        CFRef<CFStringRef> shown(CreateStringWithUTF8(message));
        AboutWindow::Present(bundle, shown);
    }
    if (!controlRef)
        return;
    if (WindowRef window = GetControlOwner(controlRef))
        SetKeyboardFocus(window, controlRef, kControlEditTextPart);
}

int CPTTextEditCtrlExt::GetSummaryText(CFMutableArrayRef titles, CFMutableArrayRef values)
{
    if (!titles || !values || !titleKey || !accessInfo)
        return 0;
    std::string title = LocalizedUTF8(GetAppBundleRef(), titleKey);
    if (title.empty())
        return 0;
    if (title.find("0 to 12") != std::string::npos) {
        auto *label = panel ? dynamic_cast<CPTPWStaticTextEditControl *>(
                                  panel->GetPanelControl(&printTypePasswordTextCtrlID))
                            : nullptr;
        if (!label)
            return 0;
        ReplacePasscodeRange(title, int(label->GetMinDigits()));
    }
    const char *text = controlData ? static_cast<const char *>(controlData) : "";
    const OSType tag = accessInfo->getDataTag;
    CFRef<CFStringRef> value;
    if (!*text)
        value.reset(CFStringCreateCopy(kCFAllocatorDefault, CFSTR("")));
    else if (tag == kControlEditTextPasswordCFStringTag || tag == kControlEditTextPasswordTag)
        value.reset(CreateMaskedText(text));
    else if (tag == kControlEditTextTextTag)
        value.reset(CFStringCreateWithCString(kCFAllocatorDefault, text, kCFStringEncodingUTF8));
    CFRef<CFStringRef> shownTitle(CreateStringWithUTF8(title));
    if (!shownTitle || !value)
        return 0;
    CFArrayAppendValue(titles, shownTitle);
    CFArrayAppendValue(values, value);
    return 0;
}
