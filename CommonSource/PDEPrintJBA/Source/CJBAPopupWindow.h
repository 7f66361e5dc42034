// What the job accounting pane's windows share: a title from a localisation key, a window
// built again from the pane's nib after it was released, and reading every widget at once.
#pragma once

#include "CPopupWindowInPanel.h"

#include <CoreFoundation/CFRef.h>

class CJBAPopupWindow : public CPopupWindowInPanel
{
public:
    CJBAPopupWindow(CFStringRef nibFileName, CFStringRef windowName, CFBundleRef bundle,
                    CFStringRef titleKey);
    ~CJBAPopupWindow() override;

    // The base work, then the title.
    int InitializeUserPane(unsigned long context, ControlRef pane, CFBundleRef bundle,
                           ppd_file_t *ppd) override;
    int ReInitializeUserPane(WindowRef window) override;
    // Every control with an identity reads its widget.
    virtual bool SycValueFromUI();

    // The window's title becomes the localised title key.
    void InitializeUserPaneTitle();

protected:
    // After a release: a new window from the pane's nib, its controls bound to their widgets
    // and given their initial states.
    void BuildWindowIfReleased();

    CFRef<CFStringRef> titleKey;
};
