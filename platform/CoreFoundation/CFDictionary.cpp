// CFDictionary: CF keys and values, compared with CFEqual, kept in insertion order.
#include "CFDictionary.h"

#include "CFInternal.h"

namespace {

__CFDictionary *mutableDictionary(CFMutableDictionaryRef dict)
{
    __CFDictionary *d = CFRuntimeCastMutable<__CFDictionary>(dict);
    return d && d->isMutable ? d : nullptr;
}

} // namespace

const CFDictionaryKeyCallBacks kCFTypeDictionaryKeyCallBacks = {0};
const CFDictionaryValueCallBacks kCFTypeDictionaryValueCallBacks = {0};

bool __CFDictionary::equals(const __CFRuntimeBase &other) const
{
    const __CFDictionary &that = static_cast<const __CFDictionary &>(other);
    if (entries.size() != that.entries.size())
        return false;
    for (const auto &[key, value] : entries) {
        if (!CFEqual(value.get(), that.find(key.get())))
            return false;
    }
    return true;
}

CFHashCode __CFDictionary::hash() const
{
    return CFHashCode(entries.size());
}

qsizetype __CFDictionary::indexOf(CFTypeRef key) const
{
    const auto [first, last] = m_index.equal_range(CFHash(key));
    for (auto it = first; it != last; ++it) {
        if (CFEqual(entries[it->second].first.get(), key))
            return qsizetype(it->second);
    }
    return -1;
}

void __CFDictionary::rebuildIndex()
{
    m_index.clear();
    for (size_t i = 0; i < entries.size(); ++i)
        m_index.emplace(CFHash(entries[i].first.get()), i);
}

CFTypeRef __CFDictionary::find(CFTypeRef key) const
{
    const qsizetype index = indexOf(key);
    return index < 0 ? nullptr : entries[size_t(index)].second.get();
}

void __CFDictionary::set(CFTypeRef key, CFTypeRef value)
{
    const qsizetype index = indexOf(key);
    if (index >= 0) {
        entries[size_t(index)].second = CFRef<CFTypeRef>::retain(value);
        return;
    }
    entries.emplace_back(CFRef<CFTypeRef>::retain(key), CFRef<CFTypeRef>::retain(value));
    m_index.emplace(CFHash(key), entries.size() - 1);
}

void __CFDictionary::remove(CFTypeRef key)
{
    const qsizetype index = indexOf(key);
    if (index < 0)
        return;
    // Keep the entry alive until the dictionary is consistent again.
    auto removed = std::move(entries[size_t(index)]);
    entries.erase(entries.begin() + index);
    rebuildIndex();
}

CFTypeID CFDictionaryGetTypeID()
{
    return kCFRuntimeDictionaryTypeID;
}

CFMutableDictionaryRef CFDictionaryCreateMutable(CFAllocatorRef, CFIndex capacity,
                                                 const CFDictionaryKeyCallBacks *,
                                                 const CFDictionaryValueCallBacks *)
{
    __CFDictionary *dict = CFRuntimeCreate<__CFDictionary>(true);
    if (capacity > 0)
        dict->entries.reserve(size_t(capacity));
    return dict;
}

CFIndex CFDictionaryGetCount(CFDictionaryRef dict)
{
    const __CFDictionary *d = CFRuntimeCast<__CFDictionary>(dict);
    return d ? CFIndex(d->entries.size()) : 0;
}

const void *CFDictionaryGetValue(CFDictionaryRef dict, const void *key)
{
    const __CFDictionary *d = CFRuntimeCast<__CFDictionary>(dict);
    return d && key ? d->find(key) : nullptr;
}

Boolean CFDictionaryContainsKey(CFDictionaryRef dict, const void *key)
{
    return CFDictionaryGetValue(dict, key) != nullptr;
}

void CFDictionaryGetKeysAndValues(CFDictionaryRef dict, const void **keys, const void **values)
{
    const __CFDictionary *d = CFRuntimeCast<__CFDictionary>(dict);
    if (!d)
        return;
    for (size_t i = 0; i < d->entries.size(); ++i) {
        if (keys)
            keys[i] = d->entries[i].first.get();
        if (values)
            values[i] = d->entries[i].second.get();
    }
}

void CFDictionarySetValue(CFMutableDictionaryRef dict, const void *key, const void *value)
{
    __CFDictionary *d = mutableDictionary(dict);
    // Keys and values are CF objects; a null one cannot be stored.
    if (d && key && value)
        d->set(key, value);
}

void CFDictionaryRemoveValue(CFMutableDictionaryRef dict, const void *key)
{
    __CFDictionary *d = mutableDictionary(dict);
    if (d && key)
        d->remove(key);
}
