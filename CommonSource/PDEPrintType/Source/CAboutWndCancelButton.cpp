// Cancel of the passcode confirmation window.
#include "CAboutWndCancelButton.h"

#include "CPopupWindowInPanel.h"
#include "CPrintTypePanel.h"
#include "PrintTypeTables.h"

bool CAboutWndCancelButton::UIEventHandler()
{
    auto *window = dynamic_cast<CPopupWindowInPanel *>(panel);
    if (!window)
        return true;
    if (CBasePrintPanel *owner = window->GetParentPane()) {
        CBaseControl *passcode = owner->GetPanelControl(&printTypePasswordCtrlID);
        if (ControlRef field = passcode ? passcode->GetControlRef() : nullptr) {
            if (WindowRef fieldWindow = GetControlOwner(field))
                SetKeyboardFocus(fieldWindow, field, kControlEditTextPart);
        }
        if (auto *printType = dynamic_cast<CPrintTypePanel *>(owner))
            printType->SetPrintCommandState(kPrintCommandNotConfirmed);
    }
    QuitAppModalLoopForWindow(window->GetWindowRef());
    return true;
}
