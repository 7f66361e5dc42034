// Strings of UTF-16 code units, as the panes count them.
#pragma once

#include "CFBase.h"

constexpr CFStringEncoding kCFStringEncodingMacRoman = 0;
constexpr CFStringEncoding kCFStringEncodingMacJapanese = 1;
constexpr CFStringEncoding kCFStringEncodingWindowsLatin1 = 0x0500;
constexpr CFStringEncoding kCFStringEncodingISOLatin1 = 0x0201;
constexpr CFStringEncoding kCFStringEncodingASCII = 0x0600;
constexpr CFStringEncoding kCFStringEncodingUnicode = 0x0100;
constexpr CFStringEncoding kCFStringEncodingUTF8 = 0x08000100;
constexpr CFStringEncoding kCFStringEncodingInvalidId = 0xffffffffU;

constexpr CFOptionFlags kCFCompareCaseInsensitive = 1;

CFTypeID CFStringGetTypeID();

// A constant string that lives for the whole process: CFSTR("PDE Title").
CFStringRef __CFStringMakeConstantString(const char *utf8);
#define CFSTR(s) __CFStringMakeConstantString("" s "")

// Creation answers null for text that is not valid in the given encoding.
CFStringRef CFStringCreateWithCString(CFAllocatorRef, const char *text, CFStringEncoding encoding);
CFStringRef CFStringCreateWithBytes(CFAllocatorRef, const UInt8 *bytes, CFIndex length,
                                    CFStringEncoding encoding, Boolean isExternalRepresentation);
CFStringRef CFStringCreateWithCharacters(CFAllocatorRef, const UniChar *chars, CFIndex count);
CFStringRef CFStringCreateCopy(CFAllocatorRef, CFStringRef str);
CFStringRef CFStringCreateWithSubstring(CFAllocatorRef, CFStringRef str, CFRange range);
CFMutableStringRef CFStringCreateMutable(CFAllocatorRef, CFIndex maxLength);
CFMutableStringRef CFStringCreateMutableCopy(CFAllocatorRef, CFIndex maxLength, CFStringRef str);

CFIndex CFStringGetLength(CFStringRef str);
UniChar CFStringGetCharacterAtIndex(CFStringRef str, CFIndex index);
void CFStringGetCharacters(CFStringRef str, CFRange range, UniChar *buffer);
// Converts into buffer with a terminating NUL; false when it does not fit or cannot be encoded.
Boolean CFStringGetCString(CFStringRef str, char *buffer, CFIndex bufferSize,
                           CFStringEncoding encoding);
// Number of bytes the string may need in the encoding, without the NUL.
CFIndex CFStringGetMaximumSizeForEncoding(CFIndex length, CFStringEncoding encoding);
CFIndex CFStringGetBytes(CFStringRef str, CFRange range, CFStringEncoding encoding, UInt8 lossByte,
                         Boolean isExternalRepresentation, UInt8 *buffer, CFIndex maxBufLen,
                         CFIndex *usedBufLen);
CFComparisonResult CFStringCompare(CFStringRef a, CFStringRef b, CFOptionFlags options);
Boolean CFStringHasPrefix(CFStringRef str, CFStringRef prefix);

void CFStringAppend(CFMutableStringRef str, CFStringRef appended);
void CFStringAppendCString(CFMutableStringRef str, const char *text, CFStringEncoding encoding);
void CFStringAppendCharacters(CFMutableStringRef str, const UniChar *chars, CFIndex count);
void CFStringReplaceAll(CFMutableStringRef str, CFStringRef replacement);
void CFStringDelete(CFMutableStringRef str, CFRange range);

// Whether the platform can convert to and from this encoding.
Boolean CFStringIsEncodingAvailable(CFStringEncoding encoding);
