// An editable text field: holds a UTF-8 text of at most 255 bytes, shows it in a plain or
// password edit-text widget, filters keystrokes through the field's key filter, and checks the
// committed text against its length range and character set.
#pragma once

#include "CBaseControl.h"

// The text blocks: 255 bytes of UTF-8 and a NUL.
constexpr UInt32 kTextEditBlockSize = UInt32(kTextRecordSize);
// The widget's text is read up to this many UTF-16 units; the length kept in dataSize is the
// uncut one, so an over-long entry is still refused.
constexpr int kTextEditReadUnits = 50;

class CTextEditControl : public CBaseControl
{
public:
    CTextEditControl(ControlID *id, TextEditIniData *iniData, ConstrainInfo *constrainInfo,
                     TextEditFilterData *filterData, ControlAccessInfo *accessInfo);
    ~CTextEditControl() override;

    using CBaseControl::InitializeCtrl;

    bool ReInitializeCtrl(WindowRef window) override;
    bool SetControlValueToUI() override;
    bool SetControlValueToDefault() override;
    bool SetExternalValueToUI(void *text, int size) override;
    bool InitializeCtrl(WindowRef window, ControlRef userPane, CFBundleRef bundle,
                        ppd_file_t *ppd) override;
    void *GetDefaultDataBlk() override;
    UInt32 GetDefaultDataSize() override;
    bool ConvertToTickectData(unsigned char *out) override;
    bool ConvertFromPreferenceString(char *text) override;
    bool ConvertToPreferenceString(char *out) override;
    void *GetValueFromUI() override;
    void SetValueFromUIToControl() override;
    bool InvalidateData() override;

    // Empties the widget and uiData.
    virtual bool CorrectCtrlUI();
    // Shows the field's message (errorMessageKey) in the alert and puts the keyboard focus back
    // on the field. Nothing without a message key.
    virtual void ShowErrMsg();

    TextEditIniData *GetIniData() const { return iniData; }
    TextEditFilterData *GetFilterData() const { return filterData; }

protected:
    // Installs the field's key filter on the widget, when it has one.
    void InstallKeyFilter();
    // Puts text into the widget through setDataTag; the toolkit's answer.
    OSStatus SetWidgetText(CFStringRef text);

    TextEditIniData *iniData = nullptr;
    TextEditFilterData *filterData = nullptr;
};
