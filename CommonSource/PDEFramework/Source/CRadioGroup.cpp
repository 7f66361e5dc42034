// Radio groups: members in order and the current one.
#include "CRadioGroup.h"

#include "CRadioButton.h"

CRadioGroup::CRadioGroup()
    // The group refers to its members; the panel owns and deletes them.
    : radios(CFArrayCreateMutable(kCFAllocatorDefault, 0, nullptr))
{}

SInt32 CRadioGroup::RunTimeAddNewControl(CBaseControl *button)
{
    if (!radios)
        return 0;
    if (!button)
        return -1;
    if (auto *radio = dynamic_cast<CRadioButton *>(button))
        radio->group = this;
    CFArrayAppendValue(radios, button);
    return radioCount++;
}

SInt32 CRadioGroup::GetcurRadio()
{
    return currentRadio;
}

void CRadioGroup::SetcurRadio(long index)
{
    if (index >= 0 && index < radioCount)
        currentRadio = SInt32(index);
}

CBaseControl *CRadioGroup::GetRadioAt(SInt32 index) const
{
    if (!radios || index < 0 || index >= CFArrayGetCount(radios))
        return nullptr;
    return static_cast<CBaseControl *>(const_cast<void *>(CFArrayGetValueAtIndex(radios, index)));
}

void *CRadioGroup::GetValueFromUI()
{
    for (SInt32 i = 0; i < radioCount; ++i) {
        if (CBaseControl *member = GetRadioAt(i))
            member->GetValueFromUI();
    }
    return nullptr;
}
