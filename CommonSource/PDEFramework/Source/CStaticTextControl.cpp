// Static texts: the localised title and reading back what is shown.
#include "CStaticTextControl.h"

#include "AppResources.h"

#include <cstdlib>

CStaticTextControl::CStaticTextControl(ControlID *id, TextEditIniData *ini,
                                       ConstrainInfo *constrain, TextEditFilterData *filter,
                                       ControlAccessInfo *access, CFStringRef key)
    : iniData(ini), filterData(filter),
      titleKey(key ? CFStringCreateCopy(kCFAllocatorDefault, key) : nullptr)
{
    controlID = id;
    constrainInfo = constrain;
    accessInfo = access;
}

CStaticTextControl::~CStaticTextControl() = default;

bool CStaticTextControl::InitializeCtrl(WindowRef window, ControlRef, CFBundleRef, ppd_file_t *)
{
    if (!CBaseControl::InitializeCtrl(window))
        return false;
    // The title always comes from the plug-in's own strings, whoever builds the window.
    return InitializeTitle(GetAppBundleRef());
}

bool CStaticTextControl::ReInitializeCtrl(WindowRef window)
{
    if (!CBaseControl::InitializeCtrl(window))
        return false;
    return InitializeTitle(GetAppBundleRef());
}

bool CStaticTextControl::InitializeTitle(CFBundleRef bundle)
{
    if (!bundle)
        return true;
    if (!titleKey)
        return false;
    CFRef<CFStringRef> title(CopyLocalizedText(bundle, titleKey));
    ShowText(title);
    return true;
}

void CStaticTextControl::ShowText(CFStringRef text)
{
    if (!text || !controlRef)
        return;
    ::SetControlData(controlRef, kControlEntireControl, kControlStaticTextCFStringTag, sizeof text,
                     &text);
    Draw1Control(controlRef);
}

void *CStaticTextControl::GetValueFromUI()
{
    if (!controlRef)
        return uiData;
    Size size = 0;
    if (GetControlDataSize(controlRef, kControlEntireControl, kControlStaticTextTextTag, &size) !=
            noErr ||
        size < 1)
        return uiData;
    CFRef<CFStringRef> text;
    if (::GetControlData(controlRef, kControlEntireControl, kControlStaticTextCFStringTag,
                         sizeof(CFStringRef), &text.out(), nullptr) != noErr ||
        !text)
        return uiData;

    // Four bytes per unit hold any UTF-8 form of the text and its NUL.
    const CFIndex units = CFStringGetLength(text);
    const size_t blockSize = size_t(units) * 4 + 1;
    void *block = calloc(1, blockSize);
    if (!block)
        return uiData;
    CFIndex used = 0;
    CFStringGetBytes(text, CFRangeMake(0, units), kCFStringEncodingUTF8, 0, false,
                     static_cast<UInt8 *>(block), CFIndex(blockSize - 1), &used);
    free(uiData);
    uiData = block;
    return uiData;
}
