// Numbers and booleans.
#pragma once

#include "CFBase.h"

enum CFNumberType : CFIndex
{
    kCFNumberSInt8Type = 1,
    kCFNumberSInt16Type = 2,
    kCFNumberSInt32Type = 3,
    kCFNumberSInt64Type = 4,
    kCFNumberFloat64Type = 6,
    kCFNumberIntType = 9,
    kCFNumberLongType = 10,
};

CFTypeID CFNumberGetTypeID();
CFNumberRef CFNumberCreate(CFAllocatorRef, CFNumberType type, const void *valuePtr);
// False when the value does not fit the asked type (the truncated value is stored anyway).
Boolean CFNumberGetValue(CFNumberRef number, CFNumberType type, void *valuePtr);

CFTypeID CFBooleanGetTypeID();
extern const CFBooleanRef kCFBooleanTrue;
extern const CFBooleanRef kCFBooleanFalse;
Boolean CFBooleanGetValue(CFBooleanRef boolean);
