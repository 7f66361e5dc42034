// Restore of the settings windows.
#include "CJBAWndRestoreButton.h"

#include "CBasePrintPanel.h"

bool CJBAWndRestoreButton::UIEventHandler()
{
    if (panel)
        panel->SetDefaultValueToUI();
    return true;
}
