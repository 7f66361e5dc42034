// Push buttons titled from a localisation key.
#include "CTitledButton.h"

#include "AppResources.h"

CTitledButton::CTitledButton(ControlID *id, CFStringRef key)
    : CBaseButton(id), titleKey(key ? CFStringCreateCopy(kCFAllocatorDefault, key) : nullptr)
{}

CTitledButton::~CTitledButton() = default;

bool CTitledButton::InitializeCtrl(WindowRef window, ControlRef, CFBundleRef bundle, ppd_file_t *)
{
    if (!CBaseControl::InitializeCtrl(window))
        return false;
    return InitializeTitle(bundle);
}

bool CTitledButton::ReInitializeCtrl(WindowRef window)
{
    if (!CBaseControl::ReInitializeCtrl(window))
        return false;
    return InitializeTitle(GetAppBundleRef());
}

bool CTitledButton::InitializeTitle(CFBundleRef bundle)
{
    return bundle && ShowLocalizedTitle(bundle, titleKey);
}
