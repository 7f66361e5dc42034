// What check boxes, radio buttons and pop-up lists share: one SInt32 value in 4-byte blocks,
// default and initial values from the control's record, localised texts shown on binding, and
// the disable, hide and update tables acted on when the widget's value changes.
#pragma once

#include "CBaseControl.h"
#include "ChoiceValue.h"

class CChoiceControl : public CBaseControl
{
public:
    using CBaseControl::InitializeCtrl;

    // Binds the widget, shows the texts and starts both values at 0.
    bool InitializeCtrl(WindowRef window, ControlRef userPane, CFBundleRef bundle,
                        ppd_file_t *ppd) override;
    bool ReInitializeCtrl(WindowRef window) override;
    bool SetControlValueToUI() override;
    // The new state's controls are disabled before the old state's are released.
    int DoControlConstrain() override;
    int DoControlHideConstrain() override;
    // Updates the update table's controls when the widget's value differs from uiData.
    int DoControlUpdateConstrain() override;
    void *GetDefaultDataBlk() override;
    UInt32 GetDefaultDataSize() override;
    void *GetIniDataBlk() override;
    UInt32 GetIniDataSize() override;
    bool ConvertToTickectData(unsigned char *out) override;
    bool ConvertFromPreferenceString(char *text) override;
    bool ConvertToPreferenceString(char *out) override;
    // Reads the widget into uiData; answers uiData, or null when there is no widget or block.
    void *GetValueFromUI() override;
    // The committed value (0 without a block).
    int GetValueFromControl() override;
    void SetValueFromUIToControl() override;

protected:
    // record: the control's ListPopupIniData, CheckBoxIniData or RadioButtonIniData (or null).
    template <typename Record>
    CChoiceControl(ControlID *id, Record *record, ConstrainInfo *constrain,
                   ControlAccessInfo *access)
        : defaultValue(record ? &record->defaultValue : nullptr),
          iniValue(record ? &record->iniValue : nullptr), titleKey(TitleKeyOf(record))
    {
        controlID = id;
        constrainInfo = constrain;
        accessInfo = access;
        dataSize = kChoiceBlockSize;
    }

    // Shows the record's localised title: true without a record, false without a key. A list
    // shows its menu instead.
    virtual bool ShowTexts(CFBundleRef bundle);
    // The table entry of a value: the value itself, or for a list its 0-based item.
    virtual SInt32 StateOfValue(SInt32 value) const { return value; }
    // When the widget's value differs from uiData: applies table's list of the new state
    // (disable or hide) and releases the old state's, the old one first with releaseFirst.
    // False when nothing changed or there is no table, widget or block.
    bool MoveToNewState(const ControlStateTable *table, bool hiding, bool releaseFirst);

    // What the constraint passes answer without their table (0, or eventNotHandledErr).
    int missingTableAnswer = 0;

private:
    template <typename Record> static CFStringRef *TitleKeyOf(Record *record)
    {
        if constexpr (requires { record->titleKey; })
            return record ? &record->titleKey : nullptr;
        return nullptr;
    }

    SInt32 *defaultValue;
    SInt32 *iniValue;
    CFStringRef *titleKey;
};
