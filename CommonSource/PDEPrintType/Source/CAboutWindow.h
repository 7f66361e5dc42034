// The confirmation window of a passcode shorter than the printer's minimum: OK prints the job
// as an ordinary one, Cancel goes back to the passcode.
#pragma once

#include "CPopupWindowInPanel.h"

#include <memory>

class CAboutWndCancelButton;
class CAboutWndOKButton;
class CStaticTextControl;

class CAboutWindow : public CPopupWindowInPanel
{
public:
    CAboutWindow(CFStringRef nibFileName, CFStringRef windowName, CFBundleRef bundle);
    ~CAboutWindow() override;

private:
    std::unique_ptr<CStaticTextControl> message;
    std::unique_ptr<CAboutWndOKButton> okButton;
    std::unique_ptr<CAboutWndCancelButton> cancelButton;
};
