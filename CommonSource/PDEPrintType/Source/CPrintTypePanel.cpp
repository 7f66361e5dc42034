#include "CPrintTypePanel.h"

#include "AppResources.h"

CPrintTypePanel::CPrintTypePanel()
{
    nibPaneID = ControlID{'joup', 1};
    nibFileName = GetPDENibFileName();
    nibWindowName = CFSTR("Window");
    panelValue = 270;
}

CPrintTypePanel::~CPrintTypePanel() = default;

CFArrayRef CPrintTypePanel::GetPrinterSupporttedListRef()
{
    return nullptr;
}
