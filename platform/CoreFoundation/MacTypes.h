// Basic scalar types shared by every platform interface of the panes.
#pragma once

#include <cstddef>
#include <cstdint>

typedef uint8_t UInt8;
typedef int8_t SInt8;
typedef uint16_t UInt16;
typedef int16_t SInt16;
typedef uint32_t UInt32;
typedef int32_t SInt32;
typedef uint64_t UInt64;
typedef int64_t SInt64;
typedef unsigned char Boolean;
typedef int32_t OSStatus;
typedef int16_t OSErr;
typedef uint32_t OSType;
typedef uint32_t FourCharCode;
typedef uint32_t ResType;
typedef long Size;
typedef uint16_t UniChar;
typedef uint16_t EventModifiers;
typedef int32_t HRESULT;
typedef uint32_t ULONG;
typedef void *LPVOID;

constexpr OSStatus noErr = 0;
constexpr OSStatus paramErr = -50;
constexpr OSStatus fnfErr = -43;
constexpr OSStatus memFullErr = -108;

// Builds a four-character code the way the toolkit spells them: 'jaup'.
constexpr OSType FourCC(const char (&s)[5])
{
    return (OSType(UInt8(s[0])) << 24) | (OSType(UInt8(s[1])) << 16) | (OSType(UInt8(s[2])) << 8) |
           OSType(UInt8(s[3]));
}
