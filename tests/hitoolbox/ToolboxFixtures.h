// Windows of the test nib for the toolkit tests, disposed when the test ends.
#pragma once

#include "CoreFoundation/CFQt.h"
#include "CoreFoundation/CFRef.h"
#include "CoreFoundation/CFString.h"
#include "HIToolbox/HIToolbox.h"
#include "HIToolbox/QtBridge.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include <gtest/gtest.h>

inline const char *TestNibPath()
{
    return VELTRA_TEST_DATA_DIR "/TestWidgets.nib";
}

inline CFRef<CFStringRef> MakeCFString(const char *utf8)
{
    return CFRef<CFStringRef>(CFStringCreateWithCString(nullptr, utf8, kCFStringEncodingUTF8));
}

// Lets Qt delete what was disposed while it delivered an event.
inline void FlushDeferredDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

class NibWindow
{
public:
    explicit NibWindow(const char *windowName)
    {
        IBNibRef nib = nullptr;
        m_status = VeltraCreateNibReferenceWithPath(TestNibPath(), &nib);
        if (m_status != noErr)
            return;
        m_status = CreateWindowFromNib(nib, MakeCFString(windowName), &m_window);
        DisposeNibReference(nib);
    }
    ~NibWindow()
    {
        DisposeWindow(m_window);
        FlushDeferredDeletes();
    }
    NibWindow(const NibWindow &) = delete;
    NibWindow &operator=(const NibWindow &) = delete;

    OSStatus status() const { return m_status; }
    WindowRef get() const { return m_window; }
    operator WindowRef() const { return m_window; }
    QWidget *widget() const { return VeltraWindowWidget(m_window); }

    // The control (signature, id); null (and a test failure) when it is missing.
    ControlRef control(OSType signature, SInt32 id) const
    {
        const ControlID controlID{signature, id};
        ControlRef control = nullptr;
        EXPECT_EQ(GetControlByID(m_window, &controlID, &control), noErr);
        return control;
    }
    template <typename W> W *widgetOf(OSType signature, SInt32 id) const
    {
        return qobject_cast<W *>(VeltraControlWidget(control(signature, id)));
    }

private:
    OSStatus m_status = paramErr;
    WindowRef m_window = nullptr;
};

// A handler that records what it saw and answers a fixed status.
struct RecordingHandler
{
    OSStatus answer = eventNotHandledErr;
    bool callNext = false;
    int calls = 0;
    OSStatus nextResult = 0;
    std::vector<UInt32> commands;
    std::vector<ControlRef> controls;
    std::vector<std::pair<UInt32, UInt32>> events;
    std::vector<int> *order = nullptr;
    int name = 0;
    EventHandlerCallRef lastCall = nullptr;

    static OSStatus Proc(EventHandlerCallRef callRef, EventRef event, void *userData)
    {
        auto *self = static_cast<RecordingHandler *>(userData);
        ++self->calls;
        self->lastCall = callRef;
        if (self->order)
            self->order->push_back(self->name);
        self->events.emplace_back(GetEventClass(event), GetEventKind(event));
        HICommand command{};
        if (GetEventParameter(event, kEventParamDirectObject, typeHICommand, nullptr,
                              sizeof(command), nullptr, &command) == noErr)
            self->commands.push_back(command.commandID);
        ControlRef control = nullptr;
        if (GetEventParameter(event, kEventParamDirectObject, typeControlRef, nullptr,
                              sizeof(control), nullptr, &control) == noErr)
            self->controls.push_back(control);
        if (self->callNext)
            self->nextResult = CallNextEventHandler(callRef, event);
        return self->answer;
    }
};
