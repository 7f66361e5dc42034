// OK of the passcode confirmation window.
#include "CAboutWndOKButton.h"

#include "CPopupWindowInPanel.h"
#include "CPrintTypePanel.h"

CAboutWndOKButton::CAboutWndOKButton(ControlID *id, CFStringRef key, ControlIDList reset)
    : CPTBaseButton(id, key), resetList(reset)
{}

void CAboutWndOKButton::AboutWndSetDefaultValueToUI()
{
    CBasePrintPanel *owner = panel ? panel->GetParentPane() : nullptr;
    if (!owner || !resetList)
        return;
    for (ControlIDList id = resetList; *id; ++id) {
        CBaseControl *control = owner->GetPanelControl(*id);
        if (!control)
            continue;
        if (!control->SetDefaultValueToUI())
            break;
        control->SimulationUIEventHandler();
    }
}

bool CAboutWndOKButton::UIEventHandler()
{
    auto *window = dynamic_cast<CPopupWindowInPanel *>(panel);
    if (!window)
        return true;
    AboutWndSetDefaultValueToUI();
    if (auto *owner = dynamic_cast<CPrintTypePanel *>(window->GetParentPane()))
        owner->SetPrintCommandState(kPrintCommandConfirmed);
    QuitAppModalLoopForWindow(window->GetWindowRef());
    return true;
}
