// CFData: an immutable byte buffer.
#include "CFData.h"

#include "CFInternal.h"

#include <QHashFunctions>

#include <cstring>

bool __CFData::equals(const __CFRuntimeBase &other) const
{
    return bytes == static_cast<const __CFData &>(other).bytes;
}

CFHashCode __CFData::hash() const
{
    return CFHashCode(qHash(bytes));
}

CFTypeID CFDataGetTypeID()
{
    return kCFRuntimeDataTypeID;
}

CFDataRef CFDataCreate(CFAllocatorRef, const UInt8 *bytes, CFIndex length)
{
    if (length < 0 || (!bytes && length > 0))
        return nullptr;
    return CFRuntimeCreate<__CFData>(QByteArray(reinterpret_cast<const char *>(bytes), length));
}

CFIndex CFDataGetLength(CFDataRef data)
{
    const __CFData *d = CFRuntimeCast<__CFData>(data);
    return d ? CFIndex(d->bytes.size()) : 0;
}

const UInt8 *CFDataGetBytePtr(CFDataRef data)
{
    const __CFData *d = CFRuntimeCast<__CFData>(data);
    return d ? reinterpret_cast<const UInt8 *>(d->bytes.constData()) : nullptr;
}

void CFDataGetBytes(CFDataRef data, CFRange range, UInt8 *buffer)
{
    const __CFData *d = CFRuntimeCast<__CFData>(data);
    if (!d || !buffer || range.location < 0 || range.length < 0 ||
        range.location > d->bytes.size() || range.length > d->bytes.size() - range.location)
        return;
    std::memcpy(buffer, d->bytes.constData() + range.location, size_t(range.length));
}
