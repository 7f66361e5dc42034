// Events, targets and handler chains (see CarbonEvents.h).
#include "CarbonEvents.h"

#include "HIControl.h"
#include "HIEvent.h"
#include "HIEventTarget.h"
#include "HIWindow.h"

EventTargetRef GetApplicationEventTarget()
{
    return HIEventTarget::application()->ref();
}

EventTargetRef GetWindowEventTarget(WindowRef window)
{
    HIWindow *object = HIWindow::find(window);
    return object ? object->target().ref() : nullptr;
}

EventTargetRef GetControlEventTarget(ControlRef control)
{
    HIControl *object = HIControl::find(control);
    return object ? object->target().ref() : nullptr;
}

OSStatus InstallEventHandler(EventTargetRef target, EventHandlerUPP handler, UInt32 numTypes,
                             const EventTypeSpec *list, void *userData, EventHandlerRef *outRef)
{
    if (outRef)
        *outRef = nullptr;
    HIEventTarget *object = HIEventTarget::find(target);
    if (!object)
        return paramErr;
    return object->install(handler, numTypes, list, userData, outRef);
}

OSStatus RemoveEventHandler(EventHandlerRef handler)
{
    return HIEventTarget::remove(handler);
}

OSStatus AddEventTypesToHandler(EventHandlerRef handler, UInt32 numTypes, const EventTypeSpec *list)
{
    return HIEventTarget::addTypes(handler, numTypes, list);
}

OSStatus RemoveEventTypesFromHandler(EventHandlerRef handler, UInt32 numTypes,
                                     const EventTypeSpec *list)
{
    return HIEventTarget::removeTypes(handler, numTypes, list);
}

OSStatus CallNextEventHandler(EventHandlerCallRef callRef, EventRef event)
{
    return HIEventTarget::callNext(callRef, event);
}

OSStatus CreateEvent(CFAllocatorRef, UInt32 eventClass, UInt32 kind, EventTime, UInt32,
                     EventRef *outEvent)
{
    if (!outEvent)
        return paramErr;
    *outEvent = HIEvent::create(eventClass, kind);
    return noErr;
}

EventRef RetainEvent(EventRef event)
{
    HIEvent::retain(event);
    return event;
}

void ReleaseEvent(EventRef event)
{
    HIEvent::release(event);
}

UInt32 GetEventClass(EventRef event)
{
    const HIEvent *object = HIEvent::find(event);
    return object ? object->eventClass() : 0;
}

UInt32 GetEventKind(EventRef event)
{
    const HIEvent *object = HIEvent::find(event);
    return object ? object->kind() : 0;
}

OSStatus SetEventParameter(EventRef event, EventParamName name, EventParamType type, UInt32 size,
                           const void *data)
{
    HIEvent *object = HIEvent::find(event);
    return object ? object->setParameter(name, type, size, data) : paramErr;
}

OSStatus GetEventParameter(EventRef event, EventParamName name, EventParamType desiredType,
                           EventParamType *outActualType, UInt32 bufferSize, UInt32 *outActualSize,
                           void *outData)
{
    const HIEvent *object = HIEvent::find(event);
    if (!object)
        return paramErr;
    return object->getParameter(name, desiredType, outActualType, bufferSize, outActualSize,
                                outData);
}

OSStatus SendEventToEventTarget(EventRef event, EventTargetRef target)
{
    HIEventTarget *object = HIEventTarget::find(target);
    if (!object || !HIEvent::find(event))
        return paramErr;
    return object->send(event);
}

OSStatus ProcessHICommandInWindow(WindowRef window, UInt32 commandID)
{
    HIWindow *object = HIWindow::find(window);
    if (!object)
        return errInvalidWindowRef;
    HICommand command{};
    command.commandID = commandID;
    ScopedEvent event(kEventClassCommand, kEventCommandProcess);
    event.set(kEventParamDirectObject, typeHICommand, command);
    return object->target().send(event.get());
}
