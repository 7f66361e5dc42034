// Events: targets (application, window, control), handler chains and parameters.
//
// A handler answers noErr when it consumed the event and eventNotHandledErr (-9874) to let the
// next handler of the chain (the most recently installed runs first), then the toolkit, go on.
//
// What the toolkit sends:
//   ('cntl', 1) control hit  -> the control's target, after a click changed the widget
//                               (a list's choice, a check box or radio toggle, a button press);
//                               parameter kEventParamDirectObject (typeControlRef).
//   ('cmds', 1) command      -> for a button with a "command" property, after its control hit:
//                               the target of the window that owns the button, then, unhandled,
//                               the application target. Parameter kEventParamDirectObject
//                               (typeHICommand).
//   ('wind', 72) close, ('wind', 5) activated, ('wind', 6) deactivated, ('wind', 2) draw
//   content, ('wind', 27) bounds changed (kEventParamAttributes: 4 size changed, 8 origin
//   changed), ('wind', 80) get ideal size (kEventParamDimensions, typeQDPoint) -> the window.
//   Close comes from the close box outside a modal loop; unhandled, Qt hides the window (only
//   DisposeWindow deletes it). Draw content is sent when the window is shown; get ideal size
//   when it is zoomed (maximised), and a handled answer sizes the window instead.
#pragma once

#include "MacWindows.h"

typedef struct OpaqueEventRef *EventRef;
typedef struct OpaqueEventHandlerCallRef *EventHandlerCallRef;
typedef struct OpaqueEventHandlerRef *EventHandlerRef;
typedef struct OpaqueEventTargetRef *EventTargetRef;
typedef OSType EventParamName;
typedef OSType EventParamType;
typedef double EventTime;

typedef OSStatus (*EventHandlerProcPtr)(EventHandlerCallRef inHandlerCallRef, EventRef inEvent,
                                        void *inUserData);
typedef EventHandlerProcPtr EventHandlerUPP;
inline EventHandlerUPP NewEventHandlerUPP(EventHandlerProcPtr p)
{
    return p;
}
inline void DisposeEventHandlerUPP(EventHandlerUPP) {}

struct EventTypeSpec
{
    UInt32 eventClass;
    UInt32 eventKind;
};

struct HICommand
{
    UInt32 attributes;
    UInt32 commandID;
    struct
    {
        MenuRef menuRef;
        UInt16 menuItemIndex;
    } menu;
};

constexpr UInt32 kEventClassControl = 'cntl';
constexpr UInt32 kEventClassCommand = 'cmds';
constexpr UInt32 kEventClassWindow = 'wind';
constexpr UInt32 kEventControlHit = 1;
constexpr UInt32 kEventCommandProcess = 1;
constexpr UInt32 kEventCommandUpdateStatus = 2;
constexpr UInt32 kEventWindowUpdate = 1;
constexpr UInt32 kEventWindowDrawContent = 2;
constexpr UInt32 kEventWindowActivated = 5;
constexpr UInt32 kEventWindowDeactivated = 6;
constexpr UInt32 kEventWindowBoundsChanged = 27;
constexpr UInt32 kEventWindowClose = 72;
constexpr UInt32 kEventWindowGetIdealSize = 80;

constexpr UInt32 kHICommandOK = 'ok  ';
constexpr UInt32 kHICommandCancel = 'not!';
constexpr UInt32 kHICommandClose = 'clos';

constexpr EventParamName kEventParamDirectObject = '----';
constexpr EventParamName kEventParamAttributes = 'attr';
constexpr EventParamName kEventParamDimensions = 'dims';
constexpr EventParamType typeHICommand = 'hcmd';
constexpr EventParamType typeControlRef = 'ctrl';
constexpr EventParamType typeWindowRef = 'wind';
constexpr EventParamType typeUInt32 = 'magn';
constexpr EventParamType typeQDPoint = 'QDpt';
constexpr UInt32 kWindowBoundsChangeSizeChanged = 4;
constexpr UInt32 kWindowBoundsChangeOriginChanged = 8;

EventTargetRef GetApplicationEventTarget();
EventTargetRef GetWindowEventTarget(WindowRef window);
EventTargetRef GetControlEventTarget(ControlRef control);

OSStatus InstallEventHandler(EventTargetRef target, EventHandlerUPP handler, UInt32 numTypes,
                             const EventTypeSpec *list, void *userData, EventHandlerRef *outRef);
OSStatus RemoveEventHandler(EventHandlerRef handler);
OSStatus AddEventTypesToHandler(EventHandlerRef handler, UInt32 numTypes,
                                const EventTypeSpec *list);
OSStatus RemoveEventTypesFromHandler(EventHandlerRef handler, UInt32 numTypes,
                                     const EventTypeSpec *list);
// Runs the handlers after the current one in the chain; eventNotHandledErr when none handles it.
OSStatus CallNextEventHandler(EventHandlerCallRef callRef, EventRef event);

OSStatus CreateEvent(CFAllocatorRef, UInt32 eventClass, UInt32 kind, EventTime when, UInt32 flags,
                     EventRef *outEvent);
EventRef RetainEvent(EventRef event);
void ReleaseEvent(EventRef event);
UInt32 GetEventClass(EventRef event);
UInt32 GetEventKind(EventRef event);
OSStatus SetEventParameter(EventRef event, EventParamName name, EventParamType type, UInt32 size,
                           const void *data);
OSStatus GetEventParameter(EventRef event, EventParamName name, EventParamType desiredType,
                           EventParamType *outActualType, UInt32 bufferSize, UInt32 *outActualSize,
                           void *outData);
// Runs the target's handler chain; a window's unhandled command goes on to the application.
OSStatus SendEventToEventTarget(EventRef event, EventTargetRef target);

// Sends ('cmds', 1) with this command to the window (then the application); the result of the
// chain. The host's Print button uses it with kHICommandOK.
OSStatus ProcessHICommandInWindow(WindowRef window, UInt32 commandID);
