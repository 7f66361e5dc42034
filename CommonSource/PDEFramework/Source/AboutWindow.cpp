// The refusal alert: its message text and its modal run.
#include "AboutWindow.h"

#include "AppResources.h"
#include "CTextEditControl.h"

static ControlID aboutMsgWndStatictTextCtrlID = {'mste', 600};
static ControlAccessInfo aboutMsgWndStatictTextAccessInfo = {'text', 'text', nullptr, nullptr,
                                                             nullptr};

AboutWindow::AboutWindow(CFStringRef nibFileName, CFStringRef windowName, CFBundleRef bundle)
    : TWindow(nibFileName, windowName, bundle),
      messageControl(std::make_unique<CTextEditControl>(&aboutMsgWndStatictTextCtrlID, nullptr,
                                                        nullptr, nullptr,
                                                        &aboutMsgWndStatictTextAccessInfo))
{
    if (WindowRef window = GetWindowRef()) {
        messageControl->InitializeCtrl(window, nullptr, nullptr, nullptr);
        RepositionWindow(window, nullptr, kWindowAlertPositionOnParentWindowScreen);
    }
}

AboutWindow::~AboutWindow() = default;

bool AboutWindow::HandleCommand(unsigned long command)
{
    if (command != kHICommandOK)
        return false;
    QuitAppModalLoopForWindow(GetWindowRef());
    return true;
}

OSStatus AboutWindow::RunModal(CFBundleRef bundle, CFStringRef messageKey)
{
    WindowRef window = GetWindowRef();
    if (!window)
        return errInvalidWindowRef;
    ControlRef message = messageControl->GetControlRef();
    if (messageKey && message) {
        CFRef<CFStringRef> text(
            bundle ? CFBundleCopyLocalizedString(bundle, messageKey, messageKey, nullptr)
                   : CFStringCreateCopy(kCFAllocatorDefault, messageKey));
        CFStringRef shown = text ? text.get() : messageKey;
        SetControlData(message, kControlEditTextPart, kControlEditTextCFStringTag,
                       sizeof(CFStringRef), &shown);
    }
    Show();
    const OSStatus status = RunAppModalLoopForWindow(window);
    Hide();
    return status;
}

void AboutWindow::Present(CFBundleRef bundle, CFStringRef messageKey)
{
    AboutWindow alert(GetPDENibFileName(), CFSTR("About"), bundle);
    alert.RunModal(bundle, messageKey);
}
