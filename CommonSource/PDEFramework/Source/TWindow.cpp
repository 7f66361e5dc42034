// Windows made from a nib, and their command and window events.
#include "TWindow.h"

namespace {

// The events every window routes to its operations.
const EventTypeSpec kWindowEvents[] = {
    {kEventClassWindow, kEventWindowClose},         {kEventClassWindow, kEventWindowActivated},
    {kEventClassWindow, kEventWindowDeactivated},   {kEventClassWindow, kEventWindowDrawContent},
    {kEventClassWindow, kEventWindowBoundsChanged}, {kEventClassWindow, kEventWindowGetIdealSize},
    {kEventClassCommand, kEventCommandProcess},     {kEventClassCommand, kEventCommandUpdateStatus},
};

} // namespace

TWindow::TWindow() = default;

TWindow::TWindow(WindowRef platformWindow)
{
    InitWithPlatformWindow(platformWindow);
}

TWindow::TWindow(CFStringRef nibFileName, CFStringRef windowName, CFBundleRef bundle)
{
    IBNibRef nib = nullptr;
    WindowRef created = nullptr;
    if (CreateNibReferenceWithCFBundle(bundle, nibFileName, &nib) == noErr) {
        CreateWindowFromNib(nib, windowName, &created);
        DisposeNibReference(nib);
    }
    InitWithPlatformWindow(created);
}

TWindow::TWindow(WindowClass windowClass, WindowAttributes attributes, const Rect &bounds)
{
    WindowRef created = nullptr;
    CreateNewWindow(windowClass, attributes, &bounds, &created);
    InitWithPlatformWindow(created);
}

TWindow::~TWindow()
{
    if (handlerRef)
        RemoveEventHandler(handlerRef);
    if (window)
        DisposeWindow(window);
}

void TWindow::InitWithPlatformWindow(WindowRef platformWindow)
{
    // A window that could not be built leaves the wrapper empty; every operation then does
    // nothing.
    window = platformWindow;
    if (!window)
        return;
    port = GetWindowPort(window);
    SetWindowKind(window, kTWindowKind);
    SetWRefCon(window, this);
    ChangeWindowAttributes(window, kWindowStandardHandlerAttribute, 0);
    InstallEventHandler(GetWindowEventTarget(window), GetEventHandlerProc(),
                        UInt32(sizeof kWindowEvents / sizeof kWindowEvents[0]), kWindowEvents, this,
                        &handlerRef);
    if (GetWindowClassOf(window) == kDocumentWindowClass)
        ChangeWindowAttributes(window, kWindowLiveResizeAttribute, 0);
}

void TWindow::Close()
{
    Hide();
    delete this;
}

void TWindow::Show()
{
    if (!window)
        return;
    SelectWindow(window);
    ShowWindow(window);
}

void TWindow::Hide()
{
    if (window)
        HideWindow(window);
}

void TWindow::Draw() {}
void TWindow::Activated() {}
void TWindow::Deactivated() {}
void TWindow::Moved() {}
void TWindow::Resized() {}

Point TWindow::GetIdealSize()
{
    return Point{0, 0};
}

bool TWindow::UpdateCommandStatus(unsigned long command)
{
    if (command != kHICommandClose)
        return false;
    EnableMenuCommand(nullptr, kHICommandClose);
    return true;
}

bool TWindow::HandleCommand(unsigned long command)
{
    if (command != kHICommandClose || !window)
        return false;
    EventRef close = nullptr;
    if (CreateEvent(nullptr, kEventClassWindow, kEventWindowClose, 0, 0, &close) != noErr)
        return false;
    WindowRef target = window;
    SetEventParameter(close, kEventParamDirectObject, typeWindowRef, sizeof target, &target);
    SendEventToEventTarget(close, GetWindowEventTarget(window));
    ReleaseEvent(close);
    return true;
}

OSStatus TWindow::HandleEvent(EventHandlerCallRef callRef, EventRef event)
{
    const UInt32 eventClass = GetEventClass(event);
    const UInt32 kind = GetEventKind(event);
    if (eventClass == kEventClassCommand) {
        HICommand command = {};
        if (GetEventParameter(event, kEventParamDirectObject, typeHICommand, nullptr,
                              sizeof command, nullptr, &command) != noErr)
            return eventNotHandledErr;
        if (kind == kEventCommandProcess)
            return HandleCommand(command.commandID) ? noErr : eventNotHandledErr;
        if (kind == kEventCommandUpdateStatus)
            return UpdateCommandStatus(command.commandID) ? noErr : eventNotHandledErr;
        return eventNotHandledErr;
    }
    if (eventClass != kEventClassWindow)
        return eventNotHandledErr;

    switch (kind) {
    case kEventWindowDrawContent:
        CallNextEventHandler(callRef, event);
        Draw();
        return noErr;
    case kEventWindowActivated:
        CallNextEventHandler(callRef, event);
        Activated();
        return noErr;
    case kEventWindowDeactivated:
        CallNextEventHandler(callRef, event);
        Deactivated();
        return noErr;
    case kEventWindowBoundsChanged: {
        UInt32 attributes = 0;
        GetEventParameter(event, kEventParamAttributes, typeUInt32, nullptr, sizeof attributes,
                          nullptr, &attributes);
        // A change of both size and origin counts as a resize only.
        if (attributes & kWindowBoundsChangeSizeChanged) {
            Resized();
            return noErr;
        }
        if (attributes & kWindowBoundsChangeOriginChanged) {
            Moved();
            return noErr;
        }
        return eventNotHandledErr;
    }
    case kEventWindowClose:
        Close();
        return noErr;
    case kEventWindowGetIdealSize: {
        const Point size = GetIdealSize();
        if (size.h == 0 || size.v == 0)
            return eventNotHandledErr;
        SetEventParameter(event, kEventParamDimensions, typeQDPoint, sizeof size, &size);
        return noErr;
    }
    default:
        return eventNotHandledErr;
    }
}

void TWindow::PlatformWindowDisposed()
{
    window = nullptr;
    port = nullptr;
    handlerRef = nullptr;
}

void TWindow::SetTitle(CFStringRef title)
{
    if (window)
        SetWindowTitleWithCFString(window, title);
}

CFStringRef TWindow::CopyTitle() const
{
    CFStringRef title = nullptr;
    if (window)
        CopyWindowTitleAsCFString(window, &title);
    return title;
}

void TWindow::SetAlternateTitle(CFStringRef title)
{
    if (window)
        SetWindowAlternateTitle(window, title);
}

CFStringRef TWindow::CopyAlternateTitle() const
{
    CFStringRef title = nullptr;
    if (window)
        CopyWindowAlternateTitle(window, &title);
    return title;
}

bool TWindow::IsVisible() const
{
    return window && IsWindowVisible(window);
}

void TWindow::Select()
{
    if (window)
        SelectWindow(window);
}

void TWindow::MoveTopLeftOfContentTo(short h, short v)
{
    if (window)
        MoveWindow(window, h, v, false);
}

void TWindow::SetContentSize(short width, short height)
{
    if (window)
        SizeWindow(window, width, height, true);
}

void TWindow::InvalidateArea(const Rect &area)
{
    if (window)
        InvalWindowRect(window, &area);
}

void TWindow::ValidateArea(const Rect &area)
{
    if (window)
        ValidWindowRect(window, &area);
}

void TWindow::SetDefaultButton(ControlRef button)
{
    if (window)
        SetWindowDefaultButton(window, button);
}

void TWindow::SetCancelButton(ControlRef button)
{
    if (window)
        SetWindowCancelButton(window, button);
}

OSStatus TWindow::RegisterForEvents(UInt32 count, const EventTypeSpec *list)
{
    return handlerRef ? AddEventTypesToHandler(handlerRef, count, list) : errInvalidWindowRef;
}

OSStatus TWindow::UnregisterForEvents(UInt32 count, const EventTypeSpec *list)
{
    return handlerRef ? RemoveEventTypesFromHandler(handlerRef, count, list) : errInvalidWindowRef;
}

void TWindow::UpdateNow()
{
    if (!window || !IsWindowUpdatePending(window))
        return;
    EventRef update = nullptr;
    if (CreateEvent(nullptr, kEventClassWindow, kEventWindowUpdate, 0, 0, &update) != noErr)
        return;
    WindowRef target = window;
    SetEventParameter(update, kEventParamDirectObject, typeWindowRef, sizeof target, &target);
    SendEventToEventTarget(update, GetWindowEventTarget(window));
    ReleaseEvent(update);
}

template <typename Op> OSStatus TWindow::WithControl(const ControlID &id, Op op)
{
    if (!window)
        return errInvalidWindowRef;
    ControlRef control = nullptr;
    const OSStatus status = GetControlByID(window, &id, &control);
    if (status != noErr)
        return status;
    op(control);
    return noErr;
}

OSStatus TWindow::EnableControlByID(ControlID id)
{
    return WithControl(id, [](ControlRef c) { ActivateControl(c); });
}

OSStatus TWindow::DisableControlByID(ControlID id)
{
    return WithControl(id, [](ControlRef c) { DeactivateControl(c); });
}

OSStatus TWindow::ShowControlByID(ControlID id)
{
    return WithControl(id, [](ControlRef c) { ShowControl(c); });
}

OSStatus TWindow::HideControlByID(ControlID id)
{
    return WithControl(id, [](ControlRef c) { HideControl(c); });
}

EventHandlerUPP TWindow::GetEventHandlerProc()
{
    static EventHandlerUPP proc = NewEventHandlerUPP(EventHandlerProc);
    return proc;
}

OSStatus TWindow::EventHandlerProc(EventHandlerCallRef callRef, EventRef event, void *userData)
{
    auto *wrapper = static_cast<TWindow *>(userData);
    return wrapper ? wrapper->HandleEvent(callRef, event) : eventNotHandledErr;
}
