// OK of the confirmation window: the controls of its reset list take their defaults as if the
// user had chosen them, and the print goes on.
#pragma once

#include "CPTBaseButton.h"

class CAboutWndOKButton : public CPTBaseButton
{
public:
    CAboutWndOKButton(ControlID *id, CFStringRef titleKey, ControlIDList resetList);

    bool UIEventHandler() override;

    void AboutWndSetDefaultValueToUI();

private:
    ControlIDList resetList = nullptr;
};
