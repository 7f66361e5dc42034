// Event targets: installing handlers and sending an event along the chain.
#include "HIEventTarget.h"

#include "HIEvent.h"
#include "HandleTable.h"

#include <algorithm>

struct HIEventTarget::Handler
{
    HIEventTarget *target = nullptr;
    EventHandlerUPP proc = nullptr;
    void *userData = nullptr;
    std::vector<EventTypeSpec> types;

    bool handles(UInt32 eventClass, UInt32 kind) const
    {
        return std::any_of(types.begin(), types.end(), [&](const EventTypeSpec &spec) {
            return spec.eventClass == eventClass && spec.eventKind == kind;
        });
    }
};

namespace {

// Never destroyed: widgets deleted late at exit still remove their targets' handlers.
HandleTable<HIEventTarget> &targets()
{
    static auto *table = new HandleTable<HIEventTarget>;
    return *table;
}

// One running handler: the chain it belongs to and its place in it. Its address is the
// EventHandlerCallRef the handler receives.
struct CallFrame
{
    const std::vector<uintptr_t> *chain = nullptr;
    size_t index = 0;
    bool nextCalled = false;
};

std::vector<CallFrame *> &activeFrames()
{
    static auto *frames = new std::vector<CallFrame *>;
    return *frames;
}

} // namespace

// The handler records, owned here; a target keeps only their handles. Never destroyed, like
// the targets.
static OwningHandleTable<HIEventTarget::Handler> &handlers()
{
    static auto *table = new OwningHandleTable<HIEventTarget::Handler>;
    return *table;
}

HIEventTarget::HIEventTarget(std::function<HIEventTarget *()> commandParent)
    : m_handle(targets().add(this)), m_commandParent(std::move(commandParent))
{}

HIEventTarget::~HIEventTarget()
{
    for (uintptr_t handle : m_handlers)
        handlers().remove(handle);
    targets().remove(m_handle);
}

HIEventTarget *HIEventTarget::application()
{
    static auto *target = new HIEventTarget;
    return target;
}

HIEventTarget *HIEventTarget::find(EventTargetRef target)
{
    return targets().find(target);
}

EventTargetRef HIEventTarget::ref() const
{
    return HandleAsRef<EventTargetRef>(m_handle);
}

OSStatus HIEventTarget::install(EventHandlerUPP proc, UInt32 numTypes, const EventTypeSpec *list,
                                void *userData, EventHandlerRef *outRef)
{
    if (!proc || (numTypes > 0 && !list))
        return paramErr;
    auto handler = std::make_unique<Handler>();
    handler->target = this;
    handler->proc = proc;
    handler->userData = userData;
    handler->types.assign(list, list + numTypes);
    const uintptr_t handle = handlers().add(std::move(handler));
    m_handlers.insert(m_handlers.begin(), handle);
    if (outRef)
        *outRef = HandleAsRef<EventHandlerRef>(handle);
    return noErr;
}

OSStatus HIEventTarget::remove(EventHandlerRef ref)
{
    Handler *handler = handlers().find(ref);
    if (!handler)
        return paramErr;
    std::vector<uintptr_t> &chain = handler->target->m_handlers;
    chain.erase(std::remove(chain.begin(), chain.end(), reinterpret_cast<uintptr_t>(ref)),
                chain.end());
    handlers().remove(ref);
    return noErr;
}

OSStatus HIEventTarget::addTypes(EventHandlerRef ref, UInt32 numTypes, const EventTypeSpec *list)
{
    Handler *handler = handlers().find(ref);
    if (!handler || (numTypes > 0 && !list))
        return paramErr;
    handler->types.insert(handler->types.end(), list, list + numTypes);
    return noErr;
}

OSStatus HIEventTarget::removeTypes(EventHandlerRef ref, UInt32 numTypes, const EventTypeSpec *list)
{
    Handler *handler = handlers().find(ref);
    if (!handler || (numTypes > 0 && !list))
        return paramErr;
    for (UInt32 i = 0; i < numTypes; ++i) {
        auto &types = handler->types;
        types.erase(std::remove_if(types.begin(), types.end(),
                                   [&](const EventTypeSpec &spec) {
                                       return spec.eventClass == list[i].eventClass &&
                                              spec.eventKind == list[i].eventKind;
                                   }),
                    types.end());
    }
    return noErr;
}

// Calls the handlers of chain from position first on. Handlers installed meanwhile are not
// called for this event; handlers removed meanwhile (or whose target went away) are skipped.
static OSStatus RunChain(const std::vector<uintptr_t> &chain, size_t first, EventRef event)
{
    const HIEvent *object = HIEvent::find(event);
    if (!object)
        return paramErr;
    const UInt32 eventClass = object->eventClass();
    const UInt32 kind = object->kind();
    for (size_t i = first; i < chain.size(); ++i) {
        const HIEventTarget::Handler *handler = handlers().find(chain[i]);
        if (!handler || !handler->handles(eventClass, kind))
            continue;
        CallFrame frame{&chain, i, false};
        activeFrames().push_back(&frame);
        const OSStatus status =
            handler->proc(reinterpret_cast<EventHandlerCallRef>(&frame), event, handler->userData);
        activeFrames().pop_back();
        if (status != eventNotHandledErr)
            return status;
        // The handler already let the rest of the chain run through CallNextEventHandler.
        if (frame.nextCalled)
            return eventNotHandledErr;
    }
    return eventNotHandledErr;
}

OSStatus HIEventTarget::send(EventRef event)
{
    const HIEvent *object = HIEvent::find(event);
    if (!object)
        return paramErr;
    std::vector<uintptr_t> chain = m_handlers;
    if (object->eventClass() == kEventClassCommand) {
        std::vector<const HIEventTarget *> seen{this};
        for (HIEventTarget *parent = m_commandParent ? m_commandParent() : nullptr; parent;
             parent = parent->m_commandParent ? parent->m_commandParent() : nullptr) {
            if (std::find(seen.begin(), seen.end(), parent) != seen.end())
                break;
            seen.push_back(parent);
            chain.insert(chain.end(), parent->m_handlers.begin(), parent->m_handlers.end());
        }
    }
    // This target may be destroyed by one of its handlers; the chain is a copy.
    return RunChain(chain, 0, event);
}

OSStatus HIEventTarget::callNext(EventHandlerCallRef callRef, EventRef event)
{
    auto &frames = activeFrames();
    const auto it = std::find(frames.begin(), frames.end(), reinterpret_cast<CallFrame *>(callRef));
    if (!callRef || it == frames.end())
        return paramErr;
    CallFrame *frame = *it;
    frame->nextCalled = true;
    return RunChain(*frame->chain, frame->index + 1, event);
}
