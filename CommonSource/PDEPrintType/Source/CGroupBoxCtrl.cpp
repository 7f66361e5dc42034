// The print type pane's group box and its localised title.
#include "CGroupBoxCtrl.h"

#include "AppResources.h"

CGroupBoxCtrl::CGroupBoxCtrl(ControlID *id, CFStringRef key)
    : titleKey(key ? CFStringCreateCopy(kCFAllocatorDefault, key) : nullptr)
{
    controlID = id;
}

CGroupBoxCtrl::~CGroupBoxCtrl() = default;

bool CGroupBoxCtrl::InitializeCtrl(WindowRef window, ControlRef, CFBundleRef bundle, ppd_file_t *)
{
    if (!CBaseControl::InitializeCtrl(window))
        return false;
    return InitializeTitle(bundle);
}

bool CGroupBoxCtrl::ReInitializeCtrl(WindowRef window)
{
    if (!CBaseControl::ReInitializeCtrl(window))
        return false;
    return InitializeTitle(GetAppBundleRef());
}

bool CGroupBoxCtrl::InitializeTitle(CFBundleRef bundle)
{
    return bundle && ShowLocalizedTitle(bundle, titleKey);
}
