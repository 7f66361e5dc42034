// Keyed collections of CF objects (the Info property list, the session's data).
#pragma once

#include "CFBase.h"

struct CFDictionaryKeyCallBacks
{
    CFIndex version;
};
struct CFDictionaryValueCallBacks
{
    CFIndex version;
};
// Keys and values are always CF objects compared with CFEqual and retained.
extern const CFDictionaryKeyCallBacks kCFTypeDictionaryKeyCallBacks;
extern const CFDictionaryValueCallBacks kCFTypeDictionaryValueCallBacks;

CFTypeID CFDictionaryGetTypeID();
CFMutableDictionaryRef CFDictionaryCreateMutable(CFAllocatorRef, CFIndex capacity,
                                                 const CFDictionaryKeyCallBacks *,
                                                 const CFDictionaryValueCallBacks *);
CFIndex CFDictionaryGetCount(CFDictionaryRef dict);
// Not retained for the caller; null when absent.
const void *CFDictionaryGetValue(CFDictionaryRef dict, const void *key);
Boolean CFDictionaryContainsKey(CFDictionaryRef dict, const void *key);
// keys and values may be null; each has room for CFDictionaryGetCount entries. Keys in insertion
// order.
void CFDictionaryGetKeysAndValues(CFDictionaryRef dict, const void **keys, const void **values);
void CFDictionarySetValue(CFMutableDictionaryRef dict, const void *key, const void *value);
void CFDictionaryRemoveValue(CFMutableDictionaryRef dict, const void *key);
