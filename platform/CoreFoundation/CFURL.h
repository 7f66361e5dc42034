// File locations of bundle resources.
#pragma once

#include "CFBase.h"

enum CFURLPathStyle : CFIndex
{
    kCFURLPOSIXPathStyle = 0,
};

CFTypeID CFURLGetTypeID();
CFURLRef CFURLCreateWithFileSystemPath(CFAllocatorRef, CFStringRef path, CFURLPathStyle style,
                                       Boolean isDirectory);
CFStringRef CFURLCopyFileSystemPath(CFURLRef url, CFURLPathStyle style);
// Writes the UTF-8 path with a NUL; false when it does not fit.
Boolean CFURLGetFileSystemRepresentation(CFURLRef url, Boolean resolveAgainstBase, UInt8 *buffer,
                                         CFIndex maxBufLen);
