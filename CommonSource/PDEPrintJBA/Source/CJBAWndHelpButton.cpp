// The job accounting Help buttons.
#include "CJBAWndHelpButton.h"

#include "AppResources.h"
#include "JBATables.h"
#include "PPDQueries.h"
#include "SessionAccess.h"

#include <string>

CJBAWndHelpButton::CJBAWndHelpButton(ControlID *id, CFStringRef key, CFStringRef page)
    : CJBABaseButton(id, key),
      helpPage(page ? CFStringCreateCopy(kCFAllocatorDefault, page) : nullptr)
{}

CJBAWndHelpButton::~CJBAWndHelpButton() = default;

bool CJBAWndHelpButton::InitializeCtrl(WindowRef window, ControlRef, CFBundleRef bundle,
                                       ppd_file_t *ppd)
{
    CBaseControl::InitializeCtrl(window);
    ppd_attr_t *settings = ppd ? ppdFindAttr(ppd, kOrvProductTypeJBA, nullptr) : nullptr;
    if (!settings || !settings->value || !*settings->value)
        return false;
    CFRef<CFStringRef> suffix(GetAppResourceName(settings->value, 1));
    if (helpPage && suffix && CFStringGetLength(suffix) > 0) {
        for (const JBAHelpStringEntry *entry = JBAHelpString; entry->page; ++entry) {
            CFRef<CFStringRef> page(
                CFStringCreateWithCString(kCFAllocatorDefault, entry->page, kCFStringEncodingUTF8));
            if (!page || CFStringCompare(helpPage, page, 0) != kCFCompareEqualTo)
                continue;
            CFRef<CFMutableStringRef> name(CFStringCreateMutable(kCFAllocatorDefault, 0));
            CFRef<CFStringRef> prefix(CFStringCreateWithCString(kCFAllocatorDefault, entry->prefix,
                                                                kCFStringEncodingUTF8));
            if (!name || !prefix)
                break;
            CFStringAppend(name, prefix);
            CFStringAppend(name, suffix);
            CFStringAppend(name, CFSTR(".htm"));
            helpPage.reset(CFStringCreateCopy(kCFAllocatorDefault, name));
            break;
        }
    }
    return InitializeTitle(bundle);
}

bool CJBAWndHelpButton::UIEventHandler()
{
    if (helpPage)
        GotoHelpPage(helpPage, nullptr, CFSTR("Help Viewer Title for Job Accounting"));
    return true;
}
