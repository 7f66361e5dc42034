// The value of a choice control (list item, check box, radio button): one SInt32 in a 4-byte
// block, written to the ticket and the preferences as decimal text.
#pragma once

#include "ControlRecords.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

constexpr UInt32 kChoiceBlockSize = 4;

inline SInt32 ReadValue(const void *block)
{
    SInt32 value = 0;
    memcpy(&value, block, sizeof value);
    return value;
}

inline void WriteValue(void *block, SInt32 value)
{
    memcpy(block, &value, sizeof value);
}

// "%d" of the block into out (size bytes, NUL-terminated).
inline bool FormatChoiceValue(const void *block, char *out, size_t size)
{
    if (!block || !out)
        return false;
    snprintf(out, size, "%d", int(ReadValue(block)));
    return true;
}

// Leading decimal digits as atoi reads them; text without any gives 0.
inline bool ParseChoiceValue(const char *text, void *block)
{
    if (!text || !block)
        return false;
    WriteValue(block, SInt32(strtol(text, nullptr, 10)));
    return true;
}
