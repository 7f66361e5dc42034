// UUIDs naming plug-in types, factories and interfaces.
#pragma once

#include "CFBase.h"

struct CFUUIDBytes
{
    UInt8 byte0, byte1, byte2, byte3, byte4, byte5, byte6, byte7;
    UInt8 byte8, byte9, byte10, byte11, byte12, byte13, byte14, byte15;
};

CFTypeID CFUUIDGetTypeID();
// "BDB091F4-E57F-11D3-B5CC-0050E4603277" (case-insensitive); null for a malformed text.
CFUUIDRef CFUUIDCreateFromString(CFAllocatorRef, CFStringRef uuidText);
CFUUIDRef CFUUIDCreateFromUUIDBytes(CFAllocatorRef, CFUUIDBytes bytes);
// The same object for the same bytes, never freed.
CFUUIDRef CFUUIDGetConstantUUIDWithBytes(CFAllocatorRef, UInt8 b0, UInt8 b1, UInt8 b2, UInt8 b3,
                                         UInt8 b4, UInt8 b5, UInt8 b6, UInt8 b7, UInt8 b8, UInt8 b9,
                                         UInt8 b10, UInt8 b11, UInt8 b12, UInt8 b13, UInt8 b14,
                                         UInt8 b15);
CFUUIDBytes CFUUIDGetUUIDBytes(CFUUIDRef uuid);
// Upper-case text with hyphens.
CFStringRef CFUUIDCreateString(CFAllocatorRef, CFUUIDRef uuid);
