// Ties radio buttons together: remembers the members in order and which of them is current.
// The group is not a panel control; the panel owns the buttons, the group only refers to them.
#pragma once

#include "CBaseControl.h"

#include <CoreFoundation/CFRef.h>

class CRadioGroup : public CBaseControl
{
public:
    CRadioGroup();

    // Refreshes uiData of every member in order; answers null.
    void *GetValueFromUI() override;

    // Adopts button (a radio button's group is set to this group) and answers its index; 0
    // without a member array, -1 for a null button.
    virtual SInt32 RunTimeAddNewControl(CBaseControl *button);
    // The current member's index; -1 until one is set.
    virtual SInt32 GetcurRadio();
    // Sets the current index when 0 <= index < the member count; otherwise keeps it.
    virtual void SetcurRadio(long index);

    SInt32 GetRadioCount() const { return radioCount; }
    // The member at index, or null.
    CBaseControl *GetRadioAt(SInt32 index) const;

protected:
    CFRef<CFMutableArrayRef> radios;
    SInt32 radioCount = 0;
    SInt32 currentRadio = -1;
};
