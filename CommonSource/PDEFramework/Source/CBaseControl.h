// The base of every control: finds its widget by ControlID, keeps the committed value
// (controlData) and the widget-side value (uiData), moves them between widget, ticket and
// per-printer preferences, and enables, hides or updates other controls of its panel.
#pragma once

#include "ControlRecords.h"

#include <PrintCore/PMCore.h>

class CBaseControl;
class CBasePrintPanel;

// What a control asks of the panel that holds it: the current printer, which keys its
// preferences, and the panel's other controls, which its tables act on.
class ControlOwner
{
public:
    virtual CFStringRef GetCurrentPrinterString() const = 0;
    virtual CBaseControl *GetPanelControl(ControlID *id) = 0;

protected:
    ~ControlOwner() = default;
};

class CBaseControl
{
public:
    CBaseControl();
    virtual ~CBaseControl();
    CBaseControl(const CBaseControl &) = delete;
    CBaseControl &operator=(const CBaseControl &) = delete;

    virtual bool InitializeCtrl(WindowRef window);
    virtual bool ReInitializeCtrl(WindowRef window);
    virtual bool SetValueToTicket(PMTicketRef ticket, bool locked, CFArrayRef encodeList);
    virtual bool SetValueToTicketWithWmbEnc(PMTicketRef ticket, bool locked);
    virtual bool IsOutputNullToTicket();
    virtual bool SetValueToTicket(PMTicketRef ticket, bool locked);
    virtual bool GetValueFromTicket(PMTicketRef ticket);
    virtual bool SetControlValueToUI();
    virtual bool UIEventHandler();
    virtual bool SimulationUIEventHandler();
    virtual bool TerminateCtrl();
    virtual bool SetControlValueToDefault();
    virtual bool SetUIValueToIniData();
    virtual bool SetUIValueToDefault();
    virtual bool SetValueToPreference();
    virtual bool GetValueToPreference();
    virtual bool SetControlData(void *data);
    virtual int GetSummaryText(CFMutableArrayRef titles, CFMutableArrayRef values);
    virtual int Open(unsigned long context);
    virtual int Close(unsigned long context);
    virtual int DoControlConstrain();
    virtual int DoControlHideConstrain();
    virtual int DoControlUpdateConstrain();
    virtual int DoSelfUpdate();
    virtual void HideControlConstrains();
    virtual void ShowControlConstrains();
    virtual void ResetStatus();
    virtual bool SetExternalValueToUI(void *value, int size);
    virtual bool SetDefaultValueToUI();
    virtual bool GetValueToPreset();
    virtual bool InitializeCtrl(WindowRef window, ControlRef userPane, CFBundleRef bundle,
                                ppd_file_t *ppd);
    virtual bool EmbedUserControl(WindowRef window, ControlRef userPane, CFBundleRef bundle,
                                  ppd_file_t *ppd);
    virtual int ConstrainPanelControlFromPPD(ppd_file_t *ppd);
    virtual int UpdateConflictsPanelControlFromPPD(ppd_file_t *ppd);
    virtual void EnableControlConstrains(ControlIDList list);
    virtual void DisableControlConstrains(ControlIDList list);
    virtual void ShowControlConstrains(ControlIDList list);
    virtual void HideControlConstrains(ControlIDList list);
    virtual void *GetDefaultDataBlk();
    virtual UInt32 GetDefaultDataSize();
    virtual void *GetIniDataBlk();
    virtual UInt32 GetIniDataSize();
    virtual UInt32 GetDataBlkSize();
    virtual void Enable();
    virtual void Disable();
    virtual void Show();
    virtual void Hide();
    virtual bool ConvertToTickectData(unsigned char *out);
    virtual bool ConvertFromPreferenceString(char *text);
    virtual bool ConvertToPreferenceString(char *out);
    virtual int Update();
    virtual void DisableControlConstrains();
    virtual void EnableControlConstrains();
    virtual SInt32 GetCurrentControlArrayNumber();
    virtual void *GetValueFromUI();
    virtual int GetValueFromControl();
    virtual void SetValueFromUIToControl();
    virtual bool InvalidateData();
    virtual bool PreInvalidateData();
    virtual bool InvalidateDataOnPrintCommand();
    virtual void PPDCtrlShow();
    virtual void PPDCtrlHide();

    // Right-aligned decimal digits of a non-negative value; NUL in buffer[size - 1]; answers
    // the first digit ("" for 0).
    static char *itoa(int value, char *buffer, int size);
    // Decodes the byte-list form ("/97/44/98") in place; other texts are left alone.
    static void numstrtochar(unsigned char *text, int size);

    // Panel bookkeeping.
    // The same panel, as its concrete kind and as what the control itself asks of it.
    void SetPanel(CBasePrintPanel *concrete, ControlOwner *asked)
    {
        panel = concrete;
        owner = asked;
    }
    CBasePrintPanel *GetPanel() const { return panel; }
    ControlID *GetControlID() const { return controlID; }
    ControlRef GetControlRef() const { return controlRef; }
    ControlAccessInfo *GetAccessInfo() const { return accessInfo; }
    ConstrainInfo *GetConstrainInfo() const { return constrainInfo; }
    SInt32 GetDisableCount() const { return disableCount; }
    SInt32 GetHideCount() const { return hideCount; }
    void *GetControlDataBlk() const { return controlData; }
    void *GetUIDataBlk() const { return uiData; }

protected:
    // Shows the localised text of key (the key itself where the bundle has no translation) as
    // the widget's title; false when there is no text to show.
    bool ShowLocalizedTitle(CFBundleRef bundle, CFStringRef key);
    // Allocates zeroed controlData and uiData blocks of size bytes each (once; later calls keep
    // the blocks). False when the allocation fails.
    bool AllocateDataBlocks(UInt32 size);
    UInt32 DataBlockSize() const { return blockSize; }
    // Copies size bytes of block into destination (a data block) and records the size; nothing
    // when either is missing or the block would not fit.
    void CopyIntoBlock(void *destination, const void *block, UInt32 size);
    // The preference key for this control: printer identifier followed by preferenceKey.
    // Null when the panel has no printer string yet.
    CFMutableStringRef CreatePreferenceKey() const;
    // Applies op to every control of list found through the panel.
    template <typename Op> void ForEachListedControl(ControlIDList list, Op op);

    CBasePrintPanel *panel = nullptr;
    SInt32 reserved = -1;
    ControlID *controlID = nullptr;
    SInt32 disableCount = 0;
    SInt32 hideCount = 0;
    UInt32 dataSize = 0;
    void *controlData = nullptr;
    void *uiData = nullptr;
    ConstrainInfo *constrainInfo = nullptr;
    ControlAccessInfo *accessInfo = nullptr;
    ControlRef controlRef = nullptr;

private:
    ControlOwner *owner = nullptr;
    UInt32 blockSize = 0;
};

// A push button: the concrete buttons act on a click in UIEventHandler.
class CBaseButton : public CBaseControl
{
public:
    CBaseButton() = default;
    explicit CBaseButton(ControlID *id) { controlID = id; }
    virtual bool SimulateUIEventHandler();
};
