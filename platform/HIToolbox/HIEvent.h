// One toolkit event: its class and kind, a reference count and its typed parameters.
#pragma once

#include "CarbonEvents.h"

#include <map>
#include <vector>

class HIEvent
{
public:
    HIEvent(UInt32 eventClass, UInt32 kind) : m_class(eventClass), m_kind(kind) {}

    // A new event with one reference for the caller; null for a null out-parameter.
    static EventRef create(UInt32 eventClass, UInt32 kind);
    static HIEvent *find(EventRef event);
    static void retain(EventRef event);
    static void release(EventRef event);

    UInt32 eventClass() const { return m_class; }
    UInt32 kind() const { return m_kind; }

    OSStatus setParameter(EventParamName name, EventParamType type, UInt32 size, const void *data);
    OSStatus getParameter(EventParamName name, EventParamType desiredType,
                          EventParamType *outActualType, UInt32 bufferSize, UInt32 *outActualSize,
                          void *outData) const;

private:
    struct Parameter
    {
        EventParamType type = 0;
        std::vector<UInt8> bytes;
    };

    UInt32 m_class;
    UInt32 m_kind;
    int m_references = 1;
    std::map<EventParamName, Parameter> m_parameters;
};

// Holds the one reference of an event the toolkit creates to send.
class ScopedEvent
{
public:
    ScopedEvent(UInt32 eventClass, UInt32 kind) : m_event(HIEvent::create(eventClass, kind)) {}
    ~ScopedEvent() { HIEvent::release(m_event); }
    ScopedEvent(const ScopedEvent &) = delete;
    ScopedEvent &operator=(const ScopedEvent &) = delete;

    EventRef get() const { return m_event; }
    template <typename T> void set(EventParamName name, EventParamType type, const T &value)
    {
        if (HIEvent *event = HIEvent::find(m_event))
            event->setParameter(name, type, sizeof(T), &value);
    }

private:
    EventRef m_event;
};
