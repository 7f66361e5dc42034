// The job accounting pane's settings button.
#include "CJBAInfoWndButton.h"

#include "CJBAInfoAdminWindow.h"
#include "CJBAInfoWindow.h"
#include "CJobAuthenticationPanel.h"

bool CJBAInfoWndButton::UIEventHandler()
{
    auto *owner = dynamic_cast<CJobAuthenticationPanel *>(panel);
    if (!owner)
        return true;
    CJBAInfoWindow *window = nullptr;
    switch (owner->getAccountMode()) {
    case kJBAAccountModeUser:
        window = owner->GetInfoWindow();
        break;
    case kJBAAccountModeAdmin:
        window = owner->GetInfoAdminWindow();
        break;
    default:
        break;
    }
    if (!window)
        return true;
    window->ActivateWindow();
    if (WindowRef platformWindow = window->GetWindowRef())
        RunAppModalLoopForWindow(platformWindow);
    window->DeactivateWindow();
    return true;
}
