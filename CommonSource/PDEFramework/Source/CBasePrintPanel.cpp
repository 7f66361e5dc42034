// The passes of a panel over its controls and windows, and the constraint passes.
#include "CBasePrintPanel.h"

#include "SessionAccess.h"

#include <cstdio>
#include <cstdlib>

namespace {

// A key named in a diagnostic line is cut to this many bytes with its NUL.
constexpr CFIndex kDiagnosticKeySize = 256;

// A control whose ticket or preference write fails is left out and the pass still answers 0.
// With VELTRA_PDE_DIAGNOSTICS set, one line on stderr names the control and its key, for
// whoever is finding out why a key never reaches the printer driver.
void ReportFailedWrite(const CBaseControl *control, bool written, bool toTicket)
{
    const ControlAccessInfo *access = control->GetAccessInfo();
    const CFStringRef key = !access    ? nullptr
                            : toTicket ? access->ticketKey
                                       : access->preferenceKey;
    if (written || !key || !std::getenv("VELTRA_PDE_DIAGNOSTICS"))
        return;
    char keyText[kDiagnosticKeySize] = "";
    CFStringGetCString(key, keyText, sizeof keyText, kCFStringEncodingUTF8);
    const ControlID *id = control->GetControlID();
    const OSType signature = id ? id->signature : 0;
    std::fprintf(stderr, "veltra-pde: control '%c%c%c%c' %d: the %s %s was not written\n",
                 char(signature >> 24), char(signature >> 16), char(signature >> 8),
                 char(signature), id ? int(id->id) : 0, toTicket ? "ticket key" : "preference",
                 keyText);
}

CFMutableArrayRef CreatePointerList()
{
    return CFArrayCreateMutable(kCFAllocatorDefault, 0, nullptr);
}

template <typename T> T *MemberAt(CFArrayRef list, CFIndex index)
{
    return list ? static_cast<T *>(const_cast<void *>(CFArrayGetValueAtIndex(list, index)))
                : nullptr;
}

const EventTypeSpec kControlHitEvents[] = {{kEventClassControl, kEventControlHit},
                                           {kEventClassControl, kEventControlHit}};
const EventTypeSpec kCommandProcessEvent[] = {{kEventClassCommand, kEventCommandProcess}};

} // namespace

CBasePrintPanel::CBasePrintPanel()
    : controls(CreatePointerList()), installableControls(CreatePointerList()),
      childWindows(CreatePointerList())
{}

CBasePrintPanel::~CBasePrintPanel()
{
    if (printHandlerRef)
        RemoveEventHandler(printHandlerRef);
    if (printHandlerUPP)
        DisposeEventHandlerUPP(printHandlerUPP);
}

CBaseControl *CBasePrintPanel::GetControlAt(CFIndex index) const
{
    return MemberAt<CBaseControl>(controls, index);
}

CBasePrintPanel *CBasePrintPanel::GetChildWindowAt(CFIndex index) const
{
    return MemberAt<CBasePrintPanel>(childWindows, index);
}

template <typename Op> void CBasePrintPanel::ForEachWindow(Op op) const
{
    const CFIndex count = GetChildWindowCount();
    for (CFIndex i = 0; i < count; ++i) {
        if (CBasePrintPanel *window = GetChildWindowAt(i))
            op(window);
    }
}

template <typename Op> int CBasePrintPanel::UntilWindowAnswers(Op op) const
{
    const CFIndex count = GetChildWindowCount();
    for (CFIndex i = 0; i < count; ++i) {
        CBasePrintPanel *window = GetChildWindowAt(i);
        if (!window)
            continue;
        if (const int answer = op(window))
            return answer;
    }
    return 0;
}

int CBasePrintPanel::Open(unsigned long context)
{
    ForEachControl([&](CBaseControl *c) { c->Open(context); });
    UntilWindowAnswers([&](CBasePrintPanel *w) { return w->Open(context); });
    return 0;
}

int CBasePrintPanel::Close(unsigned long context)
{
    ForEachControl([&](CBaseControl *c) { c->Close(context); });
    UntilWindowAnswers([&](CBasePrintPanel *w) { return w->Close(context); });
    return 0;
}

int CBasePrintPanel::GetSummaryText(CFMutableArrayRef titles, CFMutableArrayRef values)
{
    ForEachControl([&](CBaseControl *c) { c->GetSummaryText(titles, values); });
    UntilWindowAnswers([&](CBasePrintPanel *w) { return w->GetSummaryText(titles, values); });
    return 0;
}

int CBasePrintPanel::Terminate(unsigned long context, long status)
{
    UntilWindowAnswers([&](CBasePrintPanel *w) { return w->Terminate(context, status); });
    return 0;
}

int CBasePrintPanel::SetDefaultValueToUI()
{
    ForEachControl([](CBaseControl *c) {
        c->SetDefaultValueToUI();
        c->SimulationUIEventHandler();
    });
    return 0;
}

int CBasePrintPanel::SetCurrentValueToUI()
{
    ForEachControl([](CBaseControl *c) { c->SetControlValueToUI(); });
    ForEachControl([](CBaseControl *c) { c->SimulationUIEventHandler(); });
    UntilWindowAnswers([](CBasePrintPanel *w) { return w->SetCurrentValueToUI(); });
    return 0;
}

int CBasePrintPanel::SetValueToTicket(PMTicketRef ticket, bool locked, CFArrayRef encodeList)
{
    ForEachControl([&](CBaseControl *c) {
        const bool written = encodeList ? c->SetValueToTicket(ticket, locked, encodeList)
                                        : c->SetValueToTicket(ticket, locked);
        ReportFailedWrite(c, written, true);
    });
    UntilWindowAnswers(
        [&](CBasePrintPanel *w) { return w->SetValueToTicket(ticket, locked, encodeList); });
    return 0;
}

int CBasePrintPanel::SetValueToTicket(PMTicketRef ticket, bool locked)
{
    ForEachControl(
        [&](CBaseControl *c) { ReportFailedWrite(c, c->SetValueToTicket(ticket, locked), true); });
    UntilWindowAnswers([&](CBasePrintPanel *w) { return w->SetValueToTicket(ticket, locked); });
    return 0;
}

int CBasePrintPanel::SetValueFromUIToControl()
{
    ForEachControl([](CBaseControl *c) {
        if (c->GetValueFromUI())
            c->SetValueFromUIToControl();
    });
    return 0;
}

int CBasePrintPanel::SetValueToPreference()
{
    ForEachControl([](CBaseControl *c) { ReportFailedWrite(c, c->SetValueToPreference(), false); });
    UntilWindowAnswers([](CBasePrintPanel *w) { return w->SetValueToPreference(); });
    return 0;
}

int CBasePrintPanel::GetValueFromPreference()
{
    ForEachControl([](CBaseControl *c) {
        if (!c->GetValueToPreference())
            c->SetControlValueToDefault();
    });
    UntilWindowAnswers([](CBasePrintPanel *w) { return w->GetValueFromPreference(); });
    return 0;
}

int CBasePrintPanel::ResetControlStatus()
{
    return ResetStatus(true);
}

int CBasePrintPanel::ResetCurrentControlStatus()
{
    return ResetStatus(false);
}

int CBasePrintPanel::ResetStatus(bool withChildWindows)
{
    ForEachControl([](CBaseControl *c) {
        if (c->GetControlID())
            c->ResetStatus();
    });
    if (withChildWindows)
        UntilWindowAnswers([](CBasePrintPanel *w) { return w->ResetControlStatus(); });
    if (ppd_file_t *description = GetPPDRefFromCurrentPrintSession())
        ConstrainPanelControlFromPPD(description);
    return 0;
}

bool CBasePrintPanel::GetValueFromPreset()
{
    ForEachControl([](CBaseControl *c) {
        if (!c->GetValueToPreset())
            c->SetControlValueToDefault();
    });
    ForEachWindow([](CBasePrintPanel *w) { w->GetValueFromPreset(); });
    return true;
}

int CBasePrintPanel::SetUIDataToDefault()
{
    ForEachControl([](CBaseControl *c) { c->SetUIValueToDefault(); });
    UntilWindowAnswers([](CBasePrintPanel *w) { return w->SetUIDataToDefault(); });
    return 0;
}

int CBasePrintPanel::SetUIDataToIniData()
{
    ForEachControl([](CBaseControl *c) { c->SetUIValueToIniData(); });
    UntilWindowAnswers([](CBasePrintPanel *w) { return w->SetUIDataToIniData(); });
    return 0;
}

CFArrayRef CBasePrintPanel::GetPrinterSupporttedListRef()
{
    return nullptr;
}

bool CBasePrintPanel::OnClickPrintCommand()
{
    return true;
}

bool CBasePrintPanel::ValidateUserPane()
{
    return true;
}

CBaseControl *CBasePrintPanel::GetPanelControl(ControlID *id)
{
    if (!id)
        return nullptr;
    for (CFArrayRef list : {controls.get(), installableControls.get()}) {
        const CFIndex count = CountOf(list);
        for (CFIndex i = 0; i < count; ++i) {
            auto *control = MemberAt<CBaseControl>(list, i);
            if (control && SameControlID(control->GetControlID(), id))
                return control;
        }
    }
    CBaseControl *found = nullptr;
    UntilWindowAnswers([&](CBasePrintPanel *w) {
        found = w->GetPanelControl(id);
        return found ? 1 : 0;
    });
    return found;
}

int CBasePrintPanel::DisablePanelControlConstrains()
{
    ForEachControl([](CBaseControl *c) { c->DisableControlConstrains(); });
    return 0;
}

int CBasePrintPanel::DoPanelControlHideConstrain()
{
    ForEachControl([](CBaseControl *c) { c->DoControlHideConstrain(); });
    return 0;
}

int CBasePrintPanel::DoPanelControlSelfUpdate()
{
    ForEachControl([](CBaseControl *c) { c->DoSelfUpdate(); });
    return 0;
}

int CBasePrintPanel::DoPanelControlUpdateConstrain()
{
    ForEachControl([](CBaseControl *c) { c->DoControlUpdateConstrain(); });
    return 0;
}

int CBasePrintPanel::InitializeUserPane(unsigned long context, ControlRef userPane,
                                        CFBundleRef bundle, ppd_file_t *description)
{
    IBNibRef nib = nullptr;
    WindowRef window = nullptr;
    ControlRef pane = nullptr;
    bool paneLoaded = CreateNibReferenceWithCFBundle(bundle, nibFileName, &nib) == noErr &&
                      CreateWindowFromNib(nib, nibWindowName, &window) == noErr &&
                      GetControlByID(window, &nibPaneID, &pane) == noErr;
    Rect frame = {0, 0, 0, 0};
    if (paneLoaded) {
        nibWindow = window;
        // The dialog's pane grows, never shrinks, to hold the nib pane.
        Rect paneBounds;
        GetControlBounds(userPane, &frame);
        GetControlBounds(pane, &paneBounds);
        if (frame.right - frame.left < paneBounds.right)
            frame.right = SInt16(frame.left + paneBounds.right);
        if (frame.bottom - frame.top < paneBounds.bottom)
            frame.bottom = SInt16(frame.top + paneBounds.bottom);
        SetControlBounds(userPane, &frame);
        GetControlBounds(userPane, &frame);

        if (!printHandlerRef) {
            printHandlerUPP = NewEventHandlerUPP(Control_DefaultPrintBtnHandler);
            WindowRef dialog = GetControlOwner(userPane);
            if (dialog)
                InstallEventHandler(GetWindowEventTarget(dialog), printHandlerUPP, 1,
                                    kCommandProcessEvent, this, &printHandlerRef);
        }
    }

    // Without the pane nothing of the nib window survives, so no control may bind to it.
    InitializeUserPaneControl(paneLoaded ? window : nullptr, userPane, bundle, description);
    SetControlEventHandler();
    InitilaizeChildWindow(context, userPane, bundle, description);

    if (paneLoaded) {
        AdjustControlBoundsCenter(pane, &frame);
        EmbedAndShowControl(pane, userPane);
    }
    const int result = ConstrainPanelControlFromPPD(description);

    if (window)
        DisposeWindow(window);
    nibWindow = nullptr;
    if (nib)
        DisposeNibReference(nib);
    return result;
}

int CBasePrintPanel::InitilaizeChildWindow(unsigned long context, ControlRef userPane,
                                           CFBundleRef bundle, ppd_file_t *description)
{
    UntilWindowAnswers([&](CBasePrintPanel *w) {
        return w->InitializeUserPane(context, userPane, bundle, description);
    });
    return 0;
}

int CBasePrintPanel::InitializeUserPaneControl(WindowRef window, ControlRef userPane,
                                               CFBundleRef bundle, ppd_file_t *description)
{
    ForEachControl(
        [&](CBaseControl *c) { c->InitializeCtrl(window, userPane, bundle, description); });
    return 0;
}

int CBasePrintPanel::ReInitializeUserPaneControl(WindowRef window)
{
    ForEachControl([&](CBaseControl *c) {
        c->ReInitializeCtrl(window);
        c->ResetStatus();
    });
    return 0;
}

int CBasePrintPanel::SetControlEventHandler()
{
    ForEachControl([](CBaseControl *c) {
        if (ControlRef widget = c->GetControlRef())
            InstallEventHandler(GetControlEventTarget(widget),
                                NewEventHandlerUPP(Control_DefaultCommandHandler), 2,
                                kControlHitEvents, c, nullptr);
    });
    return 0;
}

CFArrayRef CBasePrintPanel::GetPrintSupporttedListRef()
{
    return nullptr;
}

SInt32 CBasePrintPanel::Append(CFMutableArrayRef list, const void *member)
{
    if (!list)
        return 0;
    CFArrayAppendValue(list, member);
    return SInt32(CFArrayGetCount(list) - 1);
}

SInt32 CBasePrintPanel::RunTimeAddNewControl(CBaseControl *control)
{
    if (control && controls)
        control->SetPanel(this, this);
    return Append(controls, control);
}

SInt32 CBasePrintPanel::RunTimeAddNewInstallableControl(CBaseControl *control)
{
    if (control && installableControls)
        control->SetPanel(this, this);
    return Append(installableControls, control);
}

SInt32 CBasePrintPanel::RunTimeAddNewWindow(CBasePrintPanel *window)
{
    if (window && childWindows)
        window->SetParenetPane(this);
    return Append(childWindows, window);
}

void CBasePrintPanel::SetCurrentPrintSession(PMPrintSession *session)
{
    if (session)
        printSession = *session;
}

bool CBasePrintPanel::SetCurrentPrinterString(PMPrintSession session)
{
    printSession = session;
    if (!printerString)
        printerString.reset(CFStringCreateMutable(kCFAllocatorDefault, 0));
    else
        CFStringReplaceAll(printerString, CFSTR(""));
    if (SetPrinterString(session, printerString) != noErr)
        return false;
    return UntilWindowAnswers([&](CBasePrintPanel *w) {
               return w->SetCurrentPrinterString(session) ? 0 : 1;
           }) == 0;
}

void CBasePrintPanel::SetxppdPtr(ppd_file_t *description)
{
    ppd = description;
    ForEachWindow([&](CBasePrintPanel *w) { w->SetxppdPtr(description); });
}

void CBasePrintPanel::SetxppdPtr(UIConstraintTable *table)
{
    xppdTable = table;
    ForEachWindow([&](CBasePrintPanel *w) { w->SetxppdPtr(table); });
}

ppd_file_t *CBasePrintPanel::GetPPDRefFromCurrentPrintSession()
{
    ppd_file_t *description = nullptr;
    if (!printSession || GetPPDRefFromSession(printSession, &description) != noErr)
        return nullptr;
    return description;
}

int CBasePrintPanel::ConstrainPanelControlFromPPD(ppd_file_t *description)
{
    const CFIndex count = CountOf(installableControls);
    for (CFIndex i = 0; i < count; ++i) {
        if (auto *control = MemberAt<CBaseControl>(installableControls, i))
            control->ConstrainPanelControlFromPPD(description);
    }
    return 0;
}

int CBasePrintPanel::UpdateConflictsPanelControlFromPPD(ppd_file_t *description)
{
    ForEachControl([&](CBaseControl *c) { c->UpdateConflictsPanelControlFromPPD(description); });
    return 0;
}

bool CBasePrintPanel::ReleaseChildWindow()
{
    ForEachWindow([](CBasePrintPanel *w) { w->ReleaseWindow(); });
    return true;
}

OSStatus CBasePrintPanel::Control_DefaultCommandHandler(EventHandlerCallRef, EventRef event,
                                                        void *userData)
{
    auto *control = static_cast<CBaseControl *>(userData);
    if (control && GetEventClass(event) == kEventClassControl &&
        GetEventKind(event) == kEventControlHit) {
        // The constraint passes see the old value in uiData before the new one is recorded.
        control->UIEventHandler();
        control->GetValueFromUI();
    }
    return eventNotHandledErr;
}

OSStatus CBasePrintPanel::Control_DefaultPrintBtnHandler(EventHandlerCallRef, EventRef event,
                                                         void *userData)
{
    HICommand command = {};
    if (GetEventParameter(event, kEventParamDirectObject, typeHICommand, nullptr, sizeof command,
                          nullptr, &command) != noErr ||
        command.commandID != kHICommandOK)
        return eventNotHandledErr;
    auto *panel = static_cast<CBasePrintPanel *>(userData);
    if (!panel)
        return eventNotHandledErr;
    // A panel that refuses consumes the command: the dialog neither closes nor prints.
    if (!panel->OnClickPrintCommand())
        return noErr;
    panel->SetValueFromUIToControl();
    if (!panel->ReleaseChildWindow())
        return noErr;
    return eventNotHandledErr;
}
