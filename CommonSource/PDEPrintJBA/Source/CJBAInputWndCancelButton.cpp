// Cancel of the print-time input window.
#include "CJBAInputWndCancelButton.h"

#include "CJobAuthenticationPanel.h"
#include "CPopupWindowInPanel.h"

bool CJBAInputWndCancelButton::UIEventHandler()
{
    auto *window = dynamic_cast<CPopupWindowInPanel *>(panel);
    if (!window)
        return true;
    if (auto *owner = dynamic_cast<CJobAuthenticationPanel *>(window->GetParentPane()))
        owner->SetPrintCommandState(kNoPrintCommandPending);
    QuitAppModalLoopForWindow(window->GetWindowRef());
    return true;
}
