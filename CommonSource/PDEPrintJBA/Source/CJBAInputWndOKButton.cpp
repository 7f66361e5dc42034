// OK of the print-time input window.
#include "CJBAInputWndOKButton.h"

#include "CJBAInputWindow.h"
#include "CJobAuthenticationPanel.h"

bool CJBAInputWndOKButton::UIEventHandler()
{
    auto *window = dynamic_cast<CJBAInputWindow *>(panel);
    if (!window)
        return true;
    if (WindowRef platformWindow = window->GetWindowRef())
        ClearKeyboardFocus(platformWindow);
    window->SycnContents();
    window->SycValueFromUI();
    const CFIndex count = window->GetControlCount();
    for (CFIndex i = 0; i < count; ++i) {
        CBaseControl *control = window->GetControlAt(i);
        if (control && (!control->PreInvalidateData() || !control->InvalidateData()))
            return true;
    }
    if (auto *owner = dynamic_cast<CJobAuthenticationPanel *>(window->GetParentPane()))
        owner->SetPrintCommandState(kPrintCommandProceed);
    window->SetValueFromUIToControl();
    QuitAppModalLoopForWindow(window->GetWindowRef());
    return true;
}
