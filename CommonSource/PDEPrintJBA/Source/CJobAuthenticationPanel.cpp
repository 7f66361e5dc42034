#include "CJobAuthenticationPanel.h"

#include "AppResources.h"

CJobAuthenticationPanel::CJobAuthenticationPanel()
{
    nibPaneID = ControlID{'jaup', 1};
    nibFileName = GetPDENibFileNameJBA();
    nibWindowName = CFSTR("Window");
    panelValue = 100;
}

CJobAuthenticationPanel::~CJobAuthenticationPanel() = default;

CFArrayRef CJobAuthenticationPanel::GetPrinterSupporttedListRef()
{
    return nullptr;
}
