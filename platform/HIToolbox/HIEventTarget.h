// An event target (the application, a window or a control) with its chain of handlers.
//
// Handlers run most recently installed first; the first that answers anything but
// eventNotHandledErr ends the chain. Command events go on from a control to its window and
// from a window to the application; every other event stays with its target.
#pragma once

#include "CarbonEvents.h"

#include <functional>
#include <memory>
#include <vector>

class HIEventTarget
{
public:
    // commandParent: where command events go when this target leaves them unhandled.
    explicit HIEventTarget(std::function<HIEventTarget *()> commandParent = {});
    // Removes every handler still installed here; their references become unknown.
    ~HIEventTarget();
    HIEventTarget(const HIEventTarget &) = delete;
    HIEventTarget &operator=(const HIEventTarget &) = delete;

    static HIEventTarget *application();
    static HIEventTarget *find(EventTargetRef target);
    EventTargetRef ref() const;

    OSStatus install(EventHandlerUPP handler, UInt32 numTypes, const EventTypeSpec *list,
                     void *userData, EventHandlerRef *outRef);
    static OSStatus remove(EventHandlerRef handler);
    static OSStatus addTypes(EventHandlerRef handler, UInt32 numTypes, const EventTypeSpec *list);
    static OSStatus removeTypes(EventHandlerRef handler, UInt32 numTypes,
                                const EventTypeSpec *list);

    // Runs the chain for event (and the parents' chains for a command).
    OSStatus send(EventRef event);
    static OSStatus callNext(EventHandlerCallRef callRef, EventRef event);

    // One installed handler (defined with the dispatch code).
    struct Handler;

private:
    uintptr_t m_handle;
    std::function<HIEventTarget *()> m_commandParent;
    // Handles of the installed handlers, most recent first.
    std::vector<uintptr_t> m_handlers;
};
