// Byte buffers.
#pragma once

#include "CFBase.h"

CFTypeID CFDataGetTypeID();
CFDataRef CFDataCreate(CFAllocatorRef, const UInt8 *bytes, CFIndex length);
CFIndex CFDataGetLength(CFDataRef data);
const UInt8 *CFDataGetBytePtr(CFDataRef data);
void CFDataGetBytes(CFDataRef data, CFRange range, UInt8 *buffer);
