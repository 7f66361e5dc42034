// Read-only labels titled from a localisation key.
#include "CTitledLabel.h"

#include "AppResources.h"

CTitledLabel::CTitledLabel(ControlID *id, TextEditIniData *ini, ConstrainInfo *constrain,
                           TextEditFilterData *filter, ControlAccessInfo *access, CFStringRef key)
    : CTextEditControl(id, ini, constrain, filter, access),
      titleKey(key ? CFStringCreateCopy(kCFAllocatorDefault, key) : nullptr)
{}

CTitledLabel::~CTitledLabel() = default;

bool CTitledLabel::InitializeCtrl(WindowRef window, ControlRef userPane, CFBundleRef bundle,
                                  ppd_file_t *ppd)
{
    if (!CTextEditControl::InitializeCtrl(window, userPane, bundle, ppd))
        return false;
    return InitializeTitle(bundle);
}

bool CTitledLabel::ReInitializeCtrl(WindowRef window)
{
    if (!CTextEditControl::ReInitializeCtrl(window))
        return false;
    return InitializeTitle(GetAppBundleRef());
}

void CTitledLabel::ShowTitle(CFStringRef text)
{
    if (!controlRef || !text)
        return;
    ::SetControlData(controlRef, kControlEditTextPart, kControlEditTextCFStringTag, sizeof text,
                     &text);
    Draw1Control(controlRef);
}

bool CTitledLabel::InitializeTitle(CFBundleRef bundle)
{
    if (!titleKey)
        return false;
    if (!bundle)
        return true;
    CFRef<CFStringRef> title(CopyLocalizedText(bundle, titleKey));
    ShowTitle(title);
    return true;
}
