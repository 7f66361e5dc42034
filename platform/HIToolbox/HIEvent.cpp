// Events: creation, reference counting and typed parameters.
#include "HIEvent.h"

#include "HandleTable.h"

#include <algorithm>
#include <cstring>

namespace {

// A parameter larger than this is refused rather than copied.
constexpr UInt32 kMaxParameterSize = 1u << 20;
constexpr EventParamType kTypeWildCard = '****';

OwningHandleTable<HIEvent> &events()
{
    // Never destroyed: widgets deleted late at exit may still release events.
    static auto *table = new OwningHandleTable<HIEvent>;
    return *table;
}

} // namespace

EventRef HIEvent::create(UInt32 eventClass, UInt32 kind)
{
    return HandleAsRef<EventRef>(events().add(std::make_unique<HIEvent>(eventClass, kind)));
}

HIEvent *HIEvent::find(EventRef event)
{
    return events().find(event);
}

void HIEvent::retain(EventRef event)
{
    if (HIEvent *object = find(event))
        ++object->m_references;
}

void HIEvent::release(EventRef event)
{
    HIEvent *object = find(event);
    if (object && --object->m_references <= 0)
        events().remove(event);
}

OSStatus HIEvent::setParameter(EventParamName name, EventParamType type, UInt32 size,
                               const void *data)
{
    if ((size > 0 && !data) || size > kMaxParameterSize)
        return paramErr;
    Parameter &parameter = m_parameters[name];
    parameter.type = type;
    parameter.bytes.assign(static_cast<const UInt8 *>(data),
                           static_cast<const UInt8 *>(data) + size);
    return noErr;
}

OSStatus HIEvent::getParameter(EventParamName name, EventParamType desiredType,
                               EventParamType *outActualType, UInt32 bufferSize,
                               UInt32 *outActualSize, void *outData) const
{
    const auto it = m_parameters.find(name);
    if (it == m_parameters.end())
        return eventParameterNotFoundErr;
    const Parameter &parameter = it->second;
    if (desiredType != parameter.type && desiredType != kTypeWildCard)
        return paramErr;
    if (outActualType)
        *outActualType = parameter.type;
    if (outActualSize)
        *outActualSize = UInt32(parameter.bytes.size());
    // A smaller buffer receives the beginning of the value (the command of an HICommand read
    // into a 14-byte buffer, as older callers do).
    if (outData && !parameter.bytes.empty())
        std::memcpy(outData, parameter.bytes.data(),
                    std::min<size_t>(bufferSize, parameter.bytes.size()));
    return noErr;
}
