// The print session, the help viewer and the dialog's pane as the panes reach them.
#include "SessionAccess.h"

#include "AppResources.h"

#include <Help/AppleHelp.h>

OSStatus GetTicketFromSession(PMPrintSession session, CFStringRef name, void *out)
{
    CFTypeRef data = nullptr;
    if (!session || !out || PMSessionGetDataFromSession(session, name, &data) != noErr || !data ||
        CFGetTypeID(data) != CFNumberGetTypeID())
        return kNoPrintSettingsTicket;
    SInt32 handle = 0;
    if (!CFNumberGetValue(static_cast<CFNumberRef>(data), kCFNumberSInt32Type, &handle))
        return kNoPrintSettingsTicket;
    *static_cast<PMTicketRef *>(out) = reinterpret_cast<PMTicketRef>(intptr_t(handle));
    return noErr;
}

OSStatus GetPPDRefFromSession(PMPrintSession session, ppd_file_t **ppd)
{
    if (!ppd)
        return paramErr;
    *ppd = nullptr;
    CFTypeRef data = nullptr;
    const OSStatus status = PMSessionGetDataFromSession(session, CFSTR("kPMPPDReference"), &data);
    if (status != noErr)
        return status;
    if (!data)
        return noErr;
    if (CFGetTypeID(data) != CFDataGetTypeID() ||
        CFDataGetLength(static_cast<CFDataRef>(data)) != CFIndex(sizeof(ppd_file_t *)))
        return noErr;
    CFDataGetBytes(static_cast<CFDataRef>(data), CFRangeMake(0, sizeof(ppd_file_t *)),
                   reinterpret_cast<UInt8 *>(ppd));
    return noErr;
}

OSStatus SetPrinterString(PMPrintSession session, CFMutableStringRef out)
{
    if (!out)
        return 1;
    PMPrinter printer = nullptr;
    if (!session || PMSessionGetCurrentPrinter(session, &printer) != noErr || !printer)
        return 1;
    CFStringRef id = PMPrinterGetID(printer);
    if (!id)
        return 1;
    CFStringAppend(out, id);
    return noErr;
}

void ReleasePrinterString(CFStringRef printer)
{
    if (printer)
        CFRelease(printer);
}

bool CreateKeyWithCurrentPrinter(CFStringRef preferenceKey, CFStringRef printer,
                                 CFMutableStringRef key)
{
    if (!preferenceKey || !printer || !key)
        return false;
    CFStringAppend(key, printer);
    CFStringAppend(key, preferenceKey);
    return true;
}

OSStatus RegisterMyHelpBook()
{
    CFBundleRef bundle = GetAppBundleRef();
    if (!bundle)
        return fnfErr;
    CFRef<CFURLRef> url(CFBundleCopyBundleURL(bundle));
    FSRef ref;
    if (!url || !CFURLGetFSRef(url, &ref))
        return fnfErr;
    return AHRegisterHelpBook(&ref);
}

OSStatus GotoHelpPage(CFStringRef path, CFStringRef anchor, CFStringRef bookKey)
{
    CFBundleRef bundle = GetAppBundleRef();
    if (!bundle || !bookKey)
        return fnfErr;
    CFRef<CFStringRef> bookName(CFBundleCopyLocalizedString(bundle, bookKey, bookKey, nullptr));
    if (!bookName)
        return fnfErr;
    if (CFGetTypeID(bookName) != CFStringGetTypeID())
        return paramErr;
    return AHGotoPage(bookName, path, anchor);
}

OSStatus EmbedAndShowControl(ControlRef control, ControlRef container)
{
    const OSStatus status = EmbedControl(control, container);
    if (status != noErr)
        return status;
    return SetControlVisibility(control, true, false);
}

void AdjustControlBoundsCenter(ControlRef control, Rect *frame)
{
    if (!control || !frame)
        return;
    Rect bounds;
    GetControlBounds(control, &bounds);
    bounds.top = SInt16(bounds.top + frame->top);
    bounds.bottom = SInt16(bounds.bottom + frame->top);
    // Integer division rounds toward zero, also when the frame is narrower than the control.
    const int shift = ((frame->right - frame->left) - (bounds.right - bounds.left)) / 2;
    bounds.left = SInt16(bounds.left + shift);
    bounds.right = SInt16(bounds.right + shift);
    SetControlBounds(control, &bounds);
}

void ReleaseCFString(CFStringRef *str)
{
    if (str && *str) {
        CFRelease(*str);
        *str = nullptr;
    }
}
