// A platform window and the routing of its command and window events to virtual operations.
#pragma once

#include "ControlRecords.h"

constexpr SInt16 kTWindowKind = 2001;

class TWindow
{
public:
    TWindow();
    explicit TWindow(WindowRef window);
    TWindow(CFStringRef nibFileName, CFStringRef windowName, CFBundleRef bundle);
    TWindow(WindowClass windowClass, WindowAttributes attributes, const Rect &bounds);
    virtual ~TWindow();
    TWindow(const TWindow &) = delete;
    TWindow &operator=(const TWindow &) = delete;

    // Hides the window and deletes this object.
    virtual void Close();
    virtual void Show();
    virtual void Hide();
    virtual void Draw();
    virtual void Activated();
    virtual void Deactivated();
    virtual void Moved();
    virtual void Resized();
    virtual Point GetIdealSize();
    virtual bool UpdateCommandStatus(unsigned long command);
    virtual bool HandleCommand(unsigned long command);
    virtual OSStatus HandleEvent(EventHandlerCallRef callRef, EventRef event);

    WindowRef GetWindowRef() const { return window; }
    GrafPtr GetPort() const { return port; }
    // Forgets the window without disposing it.
    void PlatformWindowDisposed();
    void SetTitle(CFStringRef title);
    CFStringRef CopyTitle() const;
    void SetAlternateTitle(CFStringRef title);
    CFStringRef CopyAlternateTitle() const;
    bool IsVisible() const;
    void Select();
    void MoveTopLeftOfContentTo(short h, short v);
    void SetContentSize(short width, short height);
    void InvalidateArea(const Rect &area);
    void ValidateArea(const Rect &area);
    void SetDefaultButton(ControlRef button);
    void SetCancelButton(ControlRef button);
    OSStatus RegisterForEvents(UInt32 count, const EventTypeSpec *list);
    OSStatus UnregisterForEvents(UInt32 count, const EventTypeSpec *list);
    void UpdateNow();
    OSStatus EnableControlByID(ControlID id);
    OSStatus DisableControlByID(ControlID id);
    OSStatus ShowControlByID(ControlID id);
    OSStatus HideControlByID(ControlID id);

    static EventHandlerUPP GetEventHandlerProc();

protected:
    void InitWithPlatformWindow(WindowRef platformWindow);

private:
    static OSStatus EventHandlerProc(EventHandlerCallRef callRef, EventRef event, void *userData);
    template <typename Op> OSStatus WithControl(const ControlID &id, Op op);

    WindowRef window = nullptr;
    GrafPtr port = nullptr;
    EventHandlerRef handlerRef = nullptr;
};
