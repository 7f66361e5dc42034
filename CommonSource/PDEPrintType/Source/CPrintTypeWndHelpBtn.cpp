// The print type pane's Help button.
#include "CPrintTypeWndHelpBtn.h"

#include "AppResources.h"
#include "PPDQueries.h"
#include "SessionAccess.h"

bool CPrintTypeWndHelpBtn::InitializeCtrl(WindowRef window, ControlRef userPane, CFBundleRef bundle,
                                          ppd_file_t *ppd)
{
    const bool done = CPTBaseButton::InitializeCtrl(window, userPane, bundle, ppd);
    ppd_attr_t *settings = ppd ? ppdFindAttr(ppd, kOrvProductTypePrintType, nullptr) : nullptr;
    if (settings && settings->value && *settings->value) {
        CFRef<CFStringRef> helpPart(GetAppResourceName(settings->value, 1));
        CFRef<CFStringRef> helpName(GetAppFullResourceNamePrintType(helpPart, 1));
        if (helpName) {
            CFMutableStringRef page = CFStringCreateMutableCopy(kCFAllocatorDefault, 0, helpName);
            if (page)
                CFStringAppend(page, CFSTR(".htm"));
            pageName.reset(page);
        }
    }
    return done;
}

bool CPrintTypeWndHelpBtn::UIEventHandler()
{
    if (pageName)
        GotoHelpPage(pageName, nullptr, CFSTR("Help Viewer Title for Job Accounting"));
    return true;
}
