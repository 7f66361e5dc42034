// The one-message alert that tells the user why an entry was refused.
#pragma once

#include "TWindow.h"

#include <memory>

class CTextEditControl;

class AboutWindow : public TWindow
{
public:
    AboutWindow(CFStringRef nibFileName, CFStringRef windowName, CFBundleRef bundle);
    ~AboutWindow() override;

    bool HandleCommand(unsigned long command) override;
    // Shows the localised text of messageKey (the nib's own text for a null key) and runs the
    // window modally until its OK button.
    virtual OSStatus RunModal(CFBundleRef bundle, CFStringRef messageKey);

    // Builds the alert from the window "About" of the print type nib, runs it, deletes it.
    static void Present(CFBundleRef bundle, CFStringRef messageKey);

    CTextEditControl *GetMessageControl() const { return messageControl.get(); }

private:
    std::unique_ptr<CTextEditControl> messageControl;
};
