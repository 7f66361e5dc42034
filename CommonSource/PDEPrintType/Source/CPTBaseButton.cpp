#include "CPTBaseButton.h"

#include "AppResources.h"

CPTBaseButton::CPTBaseButton(ControlID *id, CFStringRef key)
    : CBaseButton(id), titleKey(key ? CFStringCreateCopy(kCFAllocatorDefault, key) : nullptr)
{}

CPTBaseButton::~CPTBaseButton() = default;

bool CPTBaseButton::InitializeCtrl(WindowRef window, ControlRef, CFBundleRef bundle, ppd_file_t *)
{
    if (!CBaseControl::InitializeCtrl(window))
        return false;
    return InitializeTitle(bundle);
}

bool CPTBaseButton::ReInitializeCtrl(WindowRef window)
{
    if (!CBaseControl::ReInitializeCtrl(window))
        return false;
    return InitializeTitle(GetAppBundleRef());
}

bool CPTBaseButton::InitializeTitle(CFBundleRef bundle)
{
    if (!titleKey || !bundle)
        return false;
    CFRef<CFStringRef> title(CFBundleCopyLocalizedString(bundle, titleKey, titleKey, nullptr));
    if (!title)
        return false;
    SetControlTitleWithCFString(controlRef, title);
    return true;
}
