// CFNumber (a signed 64-bit integer or a double) and the two CFBoolean constants.
#include "CFNumber.h"

#include "CFInternal.h"

#include <QHashFunctions>

#include <cmath>
#include <limits>
#include <optional>

namespace {

__CFBoolean trueObject(true);
__CFBoolean falseObject(false);

// The integer a double stands for exactly, if any.
std::optional<SInt64> exactInteger(double value)
{
    // 2^63 is the first double beyond SInt64.
    constexpr double kLimit = 9223372036854775808.0;
    if (!std::isfinite(value) || std::trunc(value) != value || value < -kLimit || value >= kLimit)
        return std::nullopt;
    return SInt64(value);
}

// Stores value as T; false when T cannot hold it (the value is truncated then).
template <typename T> bool storeInteger(const __CFNumber &number, void *valuePtr)
{
    using Limits = std::numeric_limits<T>;
    T result;
    bool exact;
    if (number.isFloat) {
        const double value = number.real;
        if (std::isnan(value))
            result = 0;
        else if (value <= double(Limits::min()))
            result = Limits::min();
        else if (value >= double(Limits::max()))
            result = Limits::max();
        else
            result = T(value);
        const std::optional<SInt64> integer = exactInteger(value);
        exact = integer && *integer >= SInt64(Limits::min()) && *integer <= SInt64(Limits::max());
    } else {
        result = T(number.integer);
        exact = number.integer >= SInt64(Limits::min()) && number.integer <= SInt64(Limits::max());
    }
    *static_cast<T *>(valuePtr) = result;
    return exact;
}

} // namespace

const CFBooleanRef kCFBooleanTrue = &trueObject;
const CFBooleanRef kCFBooleanFalse = &falseObject;

bool __CFNumber::equals(const __CFRuntimeBase &other) const
{
    const __CFNumber &that = static_cast<const __CFNumber &>(other);
    if (!isFloat && !that.isFloat)
        return integer == that.integer;
    if (isFloat && that.isFloat)
        return real == that.real;
    const __CFNumber &floating = isFloat ? *this : that;
    const __CFNumber &integral = isFloat ? that : *this;
    const std::optional<SInt64> value = exactInteger(floating.real);
    return value && *value == integral.integer;
}

CFHashCode __CFNumber::hash() const
{
    if (!isFloat)
        return CFHashCode(qHash(integer));
    if (const std::optional<SInt64> value = exactInteger(real))
        return CFHashCode(qHash(*value));
    return CFHashCode(qHash(real));
}

bool __CFBoolean::equals(const __CFRuntimeBase &other) const
{
    return value == static_cast<const __CFBoolean &>(other).value;
}

CFTypeID CFNumberGetTypeID()
{
    return kCFRuntimeNumberTypeID;
}

CFNumberRef CFNumberCreate(CFAllocatorRef, CFNumberType type, const void *valuePtr)
{
    if (!valuePtr)
        return nullptr;
    switch (type) {
    case kCFNumberSInt8Type:
        return CFRuntimeCreate<__CFNumber>(SInt64(*static_cast<const SInt8 *>(valuePtr)));
    case kCFNumberSInt16Type:
        return CFRuntimeCreate<__CFNumber>(SInt64(*static_cast<const SInt16 *>(valuePtr)));
    case kCFNumberSInt32Type:
        return CFRuntimeCreate<__CFNumber>(SInt64(*static_cast<const SInt32 *>(valuePtr)));
    case kCFNumberSInt64Type:
        return CFRuntimeCreate<__CFNumber>(SInt64(*static_cast<const SInt64 *>(valuePtr)));
    case kCFNumberIntType:
        return CFRuntimeCreate<__CFNumber>(SInt64(*static_cast<const int *>(valuePtr)));
    case kCFNumberLongType:
        return CFRuntimeCreate<__CFNumber>(SInt64(*static_cast<const long *>(valuePtr)));
    case kCFNumberFloat64Type:
        return CFRuntimeCreate<__CFNumber>(*static_cast<const double *>(valuePtr));
    }
    return nullptr;
}

Boolean CFNumberGetValue(CFNumberRef number, CFNumberType type, void *valuePtr)
{
    const __CFNumber *n = CFRuntimeCast<__CFNumber>(number);
    if (!n || !valuePtr)
        return false;
    switch (type) {
    case kCFNumberSInt8Type:
        return storeInteger<SInt8>(*n, valuePtr);
    case kCFNumberSInt16Type:
        return storeInteger<SInt16>(*n, valuePtr);
    case kCFNumberSInt32Type:
        return storeInteger<SInt32>(*n, valuePtr);
    case kCFNumberSInt64Type:
        return storeInteger<SInt64>(*n, valuePtr);
    case kCFNumberIntType:
        return storeInteger<int>(*n, valuePtr);
    case kCFNumberLongType:
        return storeInteger<long>(*n, valuePtr);
    case kCFNumberFloat64Type: {
        const double value = n->isFloat ? n->real : double(n->integer);
        *static_cast<double *>(valuePtr) = value;
        return n->isFloat || exactInteger(value) == n->integer;
    }
    }
    return false;
}

CFTypeID CFBooleanGetTypeID()
{
    return kCFRuntimeBooleanTypeID;
}

Boolean CFBooleanGetValue(CFBooleanRef boolean)
{
    const __CFBoolean *b = CFRuntimeCast<__CFBoolean>(boolean);
    return b && b->value;
}
