// A modal window of a panel: a panel of its own (it takes part in every pass of its parent)
// that owns a platform window built from a named window of the nib.
#pragma once

#include "CBasePrintPanel.h"
#include "TWindow.h"

#include <memory>

class CPopupWindowInPanel : public CBasePrintPanel
{
public:
    CPopupWindowInPanel(CFStringRef nibFileName, CFStringRef windowName, CFBundleRef bundle);
    ~CPopupWindowInPanel() override;

    int InitializeUserPane(unsigned long context, ControlRef pane, CFBundleRef bundle,
                           ppd_file_t *ppd) override;
    int Terminate(unsigned long context, long status) override;
    virtual int ReInitializeUserPane(WindowRef window);

    // Builds the platform window again when it was released, shows every committed value and
    // shows the window. The owner then runs the modal loop.
    int ActivateWindow();
    int DeactivateWindow();
    int ReleaseWindow() override;

    TWindow *GetWindow() const { return window.get(); }
    WindowRef GetWindowRef() const { return window ? window->GetWindowRef() : nullptr; }
    CFStringRef GetWindowName() const { return windowName; }

protected:
    void DisposePlatformWindow();

    std::unique_ptr<TWindow> window;
    CFStringRef windowName = nullptr;
};
