// The base of both panes and of their pop-up windows: holds the controls, the installable-
// option controls and the pop-up windows, runs every pass of the print dialog over them, loads
// the pane from its interface file and intercepts the dialog's Print command.
#pragma once

#include "CBaseControl.h"

#include <CoreFoundation/CFRef.h>

#include <PrintCore/PMCore.h>

class UIConstraintTable;

// What the plug-in entry is doing with the panel.
constexpr SInt32 kSyncStateIdle = 0;
constexpr SInt32 kSyncStateInitialize = 1;
constexpr SInt32 kSyncStateLoadUI = 2;
constexpr SInt32 kSyncStateWriteTicket = 3;
constexpr SInt32 kSyncStateTerminated = 6;
constexpr SInt32 kSyncStateSummary = 7;
constexpr SInt32 kSyncStatePrologue = 8;

class CBasePrintPanel : public ControlOwner
{
public:
    CBasePrintPanel();
    virtual ~CBasePrintPanel();
    CBasePrintPanel(const CBasePrintPanel &) = delete;
    CBasePrintPanel &operator=(const CBasePrintPanel &) = delete;

    virtual int Open(unsigned long context);
    virtual int Close(unsigned long context);
    virtual int GetSummaryText(CFMutableArrayRef titles, CFMutableArrayRef values);
    virtual int Terminate(unsigned long context, long status);
    virtual int SetDefaultValueToUI();
    virtual int SetCurrentValueToUI();
    virtual int SetValueToTicket(PMTicketRef ticket, bool locked, CFArrayRef encodeList);
    virtual int SetValueToTicket(PMTicketRef ticket, bool locked);
    virtual int SetValueFromUIToControl();
    virtual int SetValueToPreference();
    virtual int GetValueFromPreference();
    virtual int ResetControlStatus();
    virtual int ResetCurrentControlStatus();
    virtual bool GetValueFromPreset();
    virtual int SetUIDataToDefault();
    virtual int SetUIDataToIniData();
    virtual CFArrayRef GetPrinterSupporttedListRef();
    virtual bool OnClickPrintCommand();
    virtual bool ValidateUserPane();
    CBaseControl *GetPanelControl(ControlID *id) override;
    virtual int DisablePanelControlConstrains();
    virtual int DoPanelControlHideConstrain();
    virtual int DoPanelControlSelfUpdate();
    virtual int DoPanelControlUpdateConstrain();
    virtual int InitializeUserPane(unsigned long context, ControlRef userPane, CFBundleRef bundle,
                                   ppd_file_t *ppd);
    virtual int InitilaizeChildWindow(unsigned long context, ControlRef userPane,
                                      CFBundleRef bundle, ppd_file_t *ppd);
    virtual int InitializeUserPaneControl(WindowRef window, ControlRef userPane, CFBundleRef bundle,
                                          ppd_file_t *ppd);
    virtual int ReInitializeUserPaneControl(WindowRef window);
    virtual int SetControlEventHandler();
    virtual CFArrayRef GetPrintSupporttedListRef();

    SInt32 RunTimeAddNewControl(CBaseControl *control);
    SInt32 RunTimeAddNewInstallableControl(CBaseControl *control);
    SInt32 RunTimeAddNewWindow(CBasePrintPanel *window);
    void SetParenetPane(CBasePrintPanel *parent) { parentPane = parent; }
    CBasePrintPanel *GetParentPane() const { return parentPane; }
    void SetCurrentPrintSession(PMPrintSession *session);
    PMPrintSession GetCurrentPrintSession() const { return printSession; }
    CFStringRef GetCurrentPrinterString() const override { return printerString; }
    bool SetCurrentPrinterString(PMPrintSession session);
    void SetxppdPtr(ppd_file_t *description);
    ppd_file_t *GetxppdPtr() const { return ppd; }
    // The UI-constraint table of ppd, handed on to every window; the owner keeps it.
    void SetxppdPtr(UIConstraintTable *table);
    UIConstraintTable *GetxppdTable() const { return xppdTable; }
    ppd_file_t *GetPPDRefFromCurrentPrintSession();
    int ConstrainPanelControlFromPPD(ppd_file_t *description);
    int UpdateConflictsPanelControlFromPPD(ppd_file_t *description);
    bool ReleaseChildWindow();
    // Gives back the platform window of a pop-up window; a panel that is not one has none.
    virtual int ReleaseWindow() { return 0; }

    static OSStatus Control_DefaultCommandHandler(EventHandlerCallRef callRef, EventRef event,
                                                  void *control);
    static OSStatus Control_DefaultPrintBtnHandler(EventHandlerCallRef callRef, EventRef event,
                                                   void *panel);

    SInt32 GetSyncState() const { return syncState; }
    void SetSyncState(SInt32 state) { syncState = state; }
    SInt32 GetPanelValue() const { return panelValue; }
    CFIndex GetControlCount() const { return CountOf(controls); }
    CBaseControl *GetControlAt(CFIndex index) const;
    CFIndex GetChildWindowCount() const { return CountOf(childWindows); }
    CBasePrintPanel *GetChildWindowAt(CFIndex index) const;
    const ControlID &GetNibPaneID() const { return nibPaneID; }
    CFStringRef GetNibFileName() const { return nibFileName; }
    CFStringRef GetNibWindowName() const { return nibWindowName; }
    bool IsPrintCommandIntercepted() const { return printHandlerRef != nullptr; }

protected:
    // Calls op on every control (skipping null entries), in the order they were added.
    template <typename Op> void ForEachControl(Op op) const;
    // Calls op on every pop-up window (skipping null entries), in the order they were added.
    template <typename Op> void ForEachWindow(Op op) const;
    // Calls op on every pop-up window until one answers non-zero; answers that value or 0.
    template <typename Op> int UntilWindowAnswers(Op op) const;
    // Resets every control and constrains the installable ones from the printer's description;
    // with withChildWindows, the pop-up windows' controls too.
    int ResetStatus(bool withChildWindows);

    // The lists only refer to their members; the concrete panel owns them.
    CFRef<CFMutableArrayRef> controls;
    CFRef<CFMutableArrayRef> installableControls;
    CFRef<CFMutableArrayRef> childWindows;
    CBasePrintPanel *parentPane = nullptr;
    CFRef<CFMutableStringRef> printerString;
    ControlID nibPaneID = {0, 0};
    CFStringRef nibFileName = nullptr;
    CFStringRef nibWindowName = nullptr;
    SInt32 panelValue = 0;
    SInt32 syncState = kSyncStateIdle;
    EventHandlerUPP printHandlerUPP = nullptr;
    EventHandlerRef printHandlerRef = nullptr;
    WindowRef nibWindow = nullptr;
    PMPrintSession printSession = nullptr;
    ppd_file_t *ppd = nullptr;
    UIConstraintTable *xppdTable = nullptr;

private:
    static CFIndex CountOf(CFArrayRef list) { return list ? CFArrayGetCount(list) : 0; }
    // Appends member to list and answers its index (0 without a list).
    static SInt32 Append(CFMutableArrayRef list, const void *member);
};

template <typename Op> void CBasePrintPanel::ForEachControl(Op op) const
{
    const CFIndex count = GetControlCount();
    for (CFIndex i = 0; i < count; ++i) {
        if (CBaseControl *control = GetControlAt(i))
            op(control);
    }
}
