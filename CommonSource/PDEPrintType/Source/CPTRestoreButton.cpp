// The print type pane's Restore button.
#include "CPTRestoreButton.h"

#include "CBasePrintPanel.h"

bool CPTRestoreButton::UIEventHandler()
{
    if (panel) {
        panel->SetDefaultValueToUI();
        panel->SetValueFromUIToControl();
    }
    return true;
}
