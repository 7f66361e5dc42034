// The passcode label with the printer's minimum in its text.
#include "CPTPWStaticTextEditControl.h"

#include "PPDQueries.h"
#include "PrintTypeText.h"

CPTPWStaticTextEditControl::CPTPWStaticTextEditControl(ControlID *id, const char *keyword,
                                                       TextEditIniData *ini,
                                                       ConstrainInfo *constrain,
                                                       TextEditFilterData *filter,
                                                       ControlAccessInfo *access, CFStringRef key)
    : CPTStaticTextEditControl(id, ini, constrain, filter, access, key), minDigitsKeyword(keyword)
{}

bool CPTPWStaticTextEditControl::InitializeCtrl(WindowRef window, ControlRef userPane,
                                                CFBundleRef bundle, ppd_file_t *ppd)
{
    if (!CTextEditControl::InitializeCtrl(window, userPane, bundle, ppd))
        return false;
    if (ppd && minDigitsKeyword)
        minDigits = GetPWMiniIntValueFromPPD(ppd, minDigitsKeyword);
    return InitializeTitle(bundle);
}

bool CPTPWStaticTextEditControl::InitializeTitle(CFBundleRef bundle)
{
    if (!titleKey)
        return false;
    if (!bundle)
        return true;
    std::string text = LocalizedUTF8(bundle, titleKey);
    if (minDigits >= 0)
        ReplacePasscodeRange(text, int(minDigits));
    CFRef<CFStringRef> shown(CreateStringWithUTF8(text));
    ShowTitle(shown);
    return true;
}
