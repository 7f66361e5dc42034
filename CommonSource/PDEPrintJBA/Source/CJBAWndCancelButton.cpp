// Cancel of the settings windows.
#include "CJBAWndCancelButton.h"

#include "CPopupWindowInPanel.h"

bool CJBAWndCancelButton::UIEventHandler()
{
    if (auto *window = dynamic_cast<CPopupWindowInPanel *>(panel))
        QuitAppModalLoopForWindow(window->GetWindowRef());
    return true;
}
