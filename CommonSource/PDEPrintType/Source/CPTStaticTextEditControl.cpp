#include "CPTStaticTextEditControl.h"

#include "AppResources.h"

CPTStaticTextEditControl::CPTStaticTextEditControl(ControlID *id, TextEditIniData *ini,
                                                   ConstrainInfo *constrain,
                                                   TextEditFilterData *filter,
                                                   ControlAccessInfo *access, CFStringRef key)
    : CTextEditControl(id, ini, constrain, filter, access),
      titleKey(key ? CFStringCreateCopy(kCFAllocatorDefault, key) : nullptr)
{}

CPTStaticTextEditControl::~CPTStaticTextEditControl() = default;

bool CPTStaticTextEditControl::InitializeCtrl(WindowRef window, ControlRef userPane,
                                              CFBundleRef bundle, ppd_file_t *ppd)
{
    if (!CTextEditControl::InitializeCtrl(window, userPane, bundle, ppd))
        return false;
    return InitializeTitle(bundle);
}

bool CPTStaticTextEditControl::ReInitializeCtrl(WindowRef window)
{
    if (!CTextEditControl::ReInitializeCtrl(window))
        return false;
    return InitializeTitle(GetAppBundleRef());
}

void CPTStaticTextEditControl::ShowTitle(CFStringRef text)
{
    if (!controlRef || !text)
        return;
    ::SetControlData(controlRef, kControlEditTextPart, kControlEditTextCFStringTag, sizeof text,
                     &text);
    Draw1Control(controlRef);
}

bool CPTStaticTextEditControl::InitializeTitle(CFBundleRef bundle)
{
    if (!titleKey)
        return false;
    if (!bundle)
        return true;
    CFRef<CFStringRef> title(CFBundleCopyLocalizedString(bundle, titleKey, titleKey, nullptr));
    ShowTitle(title);
    return true;
}
