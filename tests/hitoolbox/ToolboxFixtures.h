// Windows of the test nib, disposed when the test ends, and a handler that records what it saw.
#pragma once

#include "CoreFoundation/CFQt.h"
#include "CoreFoundation/CoreFoundation.h"
#include "HIToolbox/HIToolbox.h"
#include "HIToolbox/QtBridge.h"

#include <QCoreApplication>
#include <QWidget>

#include <gtest/gtest.h>

constexpr char kTestNib[] = VELTRA_TEST_DATA_DIR "/TestWidgets.nib";

inline CFRef<CFStringRef> MakeCFString(const char *utf8)
{
    return CFRef<CFStringRef>(CFStringCreateWithCString(nullptr, utf8, kCFStringEncodingUTF8));
}

inline void FlushDeferredDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

inline WindowRef LoadNibWindow(const char *name)
{
    IBNibRef nib = nullptr;
    WindowRef window = nullptr;
    EXPECT_EQ(VeltraCreateNibReferenceWithPath(kTestNib, &nib), noErr);
    EXPECT_EQ(CreateWindowFromNib(nib, MakeCFString(name), &window), noErr) << name;
    DisposeNibReference(nib);
    return window;
}

class NibWindow
{
public:
    explicit NibWindow(const char *windowName) : m_window(LoadNibWindow(windowName)) {}
    ~NibWindow()
    {
        DisposeWindow(m_window);
        FlushDeferredDeletes();
    }

    operator WindowRef() const { return m_window; }
    QWidget *widget() const { return VeltraWindowWidget(m_window); }
    ControlRef control(OSType signature, SInt32 id = 1) const
    {
        const ControlID controlID{signature, id};
        ControlRef control = nullptr;
        EXPECT_EQ(GetControlByID(m_window, &controlID, &control), noErr);
        return control;
    }
    template <typename W> W *widgetOf(OSType signature, SInt32 id = 1) const
    {
        return qobject_cast<W *>(VeltraControlWidget(control(signature, id)));
    }

private:
    WindowRef m_window = nullptr;
};

class Toolbox : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_NE(WindowRef(window), nullptr); }
    NibWindow window{"Window"};
};

// Records the commands and controls it saw, answers a fixed status, may call the next handler.
struct RecordingHandler
{
    OSStatus answer = eventNotHandledErr, nextResult = 0;
    bool callNext = false;
    int calls = 0, name = 0;
    std::vector<int> *order = nullptr;
    std::vector<UInt32> commands;
    ControlRef control = nullptr;

    static OSStatus Proc(EventHandlerCallRef callRef, EventRef event, void *userData)
    {
        auto *self = static_cast<RecordingHandler *>(userData);
        ++self->calls;
        if (self->order)
            self->order->push_back(self->name);
        HICommand command{};
        if (GetEventParameter(event, kEventParamDirectObject, typeHICommand, nullptr,
                              sizeof(command), nullptr, &command) == noErr)
            self->commands.push_back(command.commandID);
        GetEventParameter(event, kEventParamDirectObject, typeControlRef, nullptr,
                          sizeof(self->control), nullptr, &self->control);
        if (self->callNext)
            self->nextResult = CallNextEventHandler(callRef, event);
        return self->answer;
    }
    EventHandlerRef install(EventTargetRef target, UInt32 eventClass, UInt32 kind)
    {
        const EventTypeSpec type{eventClass, kind};
        EventHandlerRef ref = nullptr;
        EXPECT_EQ(InstallEventHandler(target, Proc, 1, &type, this, &ref), noErr);
        return ref;
    }
};
