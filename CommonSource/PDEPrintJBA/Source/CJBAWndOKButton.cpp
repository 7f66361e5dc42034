// OK of the settings windows.
#include "CJBAWndOKButton.h"

#include "CJBAInfoWindow.h"
#include "CJobAuthenticationPanel.h"

bool CJBAWndOKButton::UIEventHandler()
{
    auto *window = dynamic_cast<CJBAInfoWindow *>(panel);
    if (!window)
        return true;
    if (WindowRef platformWindow = window->GetWindowRef())
        ClearKeyboardFocus(platformWindow);
    auto *owner = dynamic_cast<CJobAuthenticationPanel *>(window->GetParentPane());
    const SInt32 mode = owner ? owner->getAccountMode() : kJBANoAccountMode;
    if (mode == kJBAAccountModeAdmin || mode == kJBAAccountModeUser)
        window->SycValueFromUI();
    const CFIndex count = window->GetControlCount();
    for (CFIndex i = 0; i < count; ++i) {
        CBaseControl *control = window->GetControlAt(i);
        if (control && !control->InvalidateData())
            return true;
    }
    window->SetValueFromUIToControl();
    QuitAppModalLoopForWindow(window->GetWindowRef());
    return true;
}
