// Reference counting, type ids, equality and hashing common to every CF object.
#include "CFInternal.h"

#include <limits>

namespace {

constexpr size_t kMaxTypes = 256;

// Names of registered types by id; constant-initialised, so usable during static initialisation.
std::atomic<const char *> registeredNames[kMaxTypes];

const char *builtInName(CFTypeID typeID)
{
    switch (typeID) {
    case kCFRuntimeStringTypeID:
        return "CFString";
    case kCFRuntimeArrayTypeID:
        return "CFArray";
    case kCFRuntimeDictionaryTypeID:
        return "CFDictionary";
    case kCFRuntimeNumberTypeID:
        return "CFNumber";
    case kCFRuntimeBooleanTypeID:
        return "CFBoolean";
    case kCFRuntimeDataTypeID:
        return "CFData";
    case kCFRuntimeUUIDTypeID:
        return "CFUUID";
    case kCFRuntimeURLTypeID:
        return "CFURL";
    default:
        return nullptr;
    }
}

std::atomic<CFTypeID> nextTypeID{kCFRuntimeFirstDynamicTypeID};

} // namespace

const CFAllocatorRef kCFAllocatorDefault = nullptr;

CFTypeID CFRuntimeRegisterType(const char *className)
{
    const CFTypeID id = nextTypeID.fetch_add(1);
    if (id < kMaxTypes)
        registeredNames[id].store(className);
    return id;
}

const char *CFRuntimeTypeName(CFTypeID typeID)
{
    const char *name = builtInName(typeID);
    if (!name && typeID < kMaxTypes)
        name = registeredNames[typeID].load();
    return name ? name : "CFType";
}

void __CFRuntimeBase::retain() const
{
    if (!m_immortal)
        m_retainCount.fetch_add(1, std::memory_order_relaxed);
}

bool __CFRuntimeBase::release() const
{
    if (m_immortal)
        return false;
    return m_retainCount.fetch_sub(1, std::memory_order_acq_rel) == 1;
}

CFIndex __CFRuntimeBase::retainCount() const
{
    return m_immortal ? std::numeric_limits<CFIndex>::max() : m_retainCount.load();
}

CFTypeRef CFRetain(CFTypeRef cf)
{
    if (const __CFRuntimeBase *object = CFRuntimeObject(cf))
        object->retain();
    return cf;
}

void CFRelease(CFTypeRef cf)
{
    const __CFRuntimeBase *object = CFRuntimeObject(cf);
    if (object && object->release())
        delete object;
}

CFIndex CFGetRetainCount(CFTypeRef cf)
{
    const __CFRuntimeBase *object = CFRuntimeObject(cf);
    return object ? object->retainCount() : 0;
}

CFTypeID CFGetTypeID(CFTypeRef cf)
{
    const __CFRuntimeBase *object = CFRuntimeObject(cf);
    return object ? object->typeID() : kCFRuntimeNotATypeID;
}

Boolean CFEqual(CFTypeRef a, CFTypeRef b)
{
    if (a == b)
        return a != nullptr;
    const __CFRuntimeBase *left = CFRuntimeObject(a);
    const __CFRuntimeBase *right = CFRuntimeObject(b);
    if (!left || !right || left->typeID() != right->typeID())
        return false;
    return left->equals(*right);
}

CFHashCode CFHash(CFTypeRef cf)
{
    const __CFRuntimeBase *object = CFRuntimeObject(cf);
    return object ? object->hash() : 0;
}
