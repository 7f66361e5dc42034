// CFArray: an ordered list of pointers, retained and released through its callbacks.
#include "CFArray.h"

#include "CFInternal.h"

namespace {

const void *retainCFType(CFAllocatorRef, const void *value)
{
    return CFRetain(value);
}

void releaseCFType(CFAllocatorRef, const void *value)
{
    CFRelease(value);
}

Boolean equalCFTypes(const void *a, const void *b)
{
    return CFEqual(a, b);
}

__CFArray *mutableArray(CFMutableArrayRef array)
{
    __CFArray *a = CFRuntimeCastMutable<__CFArray>(array);
    return a && a->isMutable ? a : nullptr;
}

} // namespace

const CFArrayCallBacks kCFTypeArrayCallBacks = {0, retainCFType, releaseCFType, nullptr,
                                                equalCFTypes};

__CFArray::__CFArray(const CFArrayCallBacks *callBacks, bool isMutable)
    : __CFRuntimeBase(staticTypeID()), isMutable(isMutable)
{
    if (callBacks) {
        this->callBacks = *callBacks;
        hasCallBacks = true;
    }
}

__CFArray::~__CFArray()
{
    clear();
}

bool __CFArray::equals(const __CFRuntimeBase &other) const
{
    const __CFArray &that = static_cast<const __CFArray &>(other);
    if (values.size() != that.values.size())
        return false;
    for (size_t i = 0; i < values.size(); ++i) {
        const bool same = hasCallBacks && callBacks.equal
                              ? callBacks.equal(values[i], that.values[i])
                              : values[i] == that.values[i];
        if (!same)
            return false;
    }
    return true;
}

CFHashCode __CFArray::hash() const
{
    return CFHashCode(values.size());
}

void __CFArray::append(const void *value)
{
    if (hasCallBacks && callBacks.retain)
        value = callBacks.retain(nullptr, value);
    values.push_back(value);
}

void __CFArray::removeAt(CFIndex index)
{
    const void *value = values[size_t(index)];
    values.erase(values.begin() + index);
    if (hasCallBacks && callBacks.release)
        callBacks.release(nullptr, value);
}

void __CFArray::clear()
{
    // Release after emptying, so that a release callback never sees a half-cleared array.
    std::vector<const void *> removed;
    removed.swap(values);
    if (hasCallBacks && callBacks.release) {
        for (const void *value : removed)
            callBacks.release(nullptr, value);
    }
}

CFTypeID CFArrayGetTypeID()
{
    return kCFRuntimeArrayTypeID;
}

CFArrayRef CFArrayCreate(CFAllocatorRef, const void **values, CFIndex count,
                         const CFArrayCallBacks *callBacks)
{
    if (count < 0 || (!values && count > 0))
        return nullptr;
    __CFArray *array = CFRuntimeCreate<__CFArray>(callBacks, false);
    array->values.reserve(size_t(count));
    for (CFIndex i = 0; i < count; ++i)
        array->append(values[i]);
    return array;
}

CFMutableArrayRef CFArrayCreateMutable(CFAllocatorRef, CFIndex capacity,
                                       const CFArrayCallBacks *callBacks)
{
    __CFArray *array = CFRuntimeCreate<__CFArray>(callBacks, true);
    if (capacity > 0)
        array->values.reserve(size_t(capacity));
    return array;
}

CFIndex CFArrayGetCount(CFArrayRef array)
{
    const __CFArray *a = CFRuntimeCast<__CFArray>(array);
    return a ? CFIndex(a->values.size()) : 0;
}

const void *CFArrayGetValueAtIndex(CFArrayRef array, CFIndex index)
{
    const __CFArray *a = CFRuntimeCast<__CFArray>(array);
    if (!a || index < 0 || size_t(index) >= a->values.size())
        return nullptr;
    return a->values[size_t(index)];
}

void CFArrayAppendValue(CFMutableArrayRef array, const void *value)
{
    if (__CFArray *a = mutableArray(array))
        a->append(value);
}

void CFArrayRemoveValueAtIndex(CFMutableArrayRef array, CFIndex index)
{
    __CFArray *a = mutableArray(array);
    if (a && index >= 0 && size_t(index) < a->values.size())
        a->removeAt(index);
}

void CFArrayRemoveAllValues(CFMutableArrayRef array)
{
    if (__CFArray *a = mutableArray(array))
        a->clear();
}
