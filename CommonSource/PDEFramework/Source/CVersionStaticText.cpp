// The version label of both panes.
#include "CVersionStaticText.h"

CVersionStaticText::CVersionStaticText(ControlID *id)
    : CStaticTextControl(id, nullptr, nullptr, nullptr, nullptr, nullptr)
{}

bool CVersionStaticText::InitializeTitle(CFBundleRef bundle)
{
    if (!bundle || !controlRef)
        return false;
    CFTypeRef version =
        CFBundleGetValueForInfoDictionaryKey(bundle, CFSTR("CFBundleShortVersionString"));
    if (!version || CFGetTypeID(version) != CFStringGetTypeID())
        return false;
    CFRef<CFMutableStringRef> title(CFStringCreateMutable(kCFAllocatorDefault, 0));
    if (!title)
        return false;
    CFStringAppend(title, CFSTR("ver."));
    CFStringAppend(title, static_cast<CFStringRef>(version));
    ShowText(title);
    return true;
}
