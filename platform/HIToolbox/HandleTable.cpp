// The table of opaque references handed out by the toolkit, checked on each use.
#include "HandleTable.h"

uintptr_t NewToolboxHandle()
{
    // Spaced out and far from zero, so a handle never looks like a small number or a null.
    static uintptr_t next = 0x10000;
    next += 0x10;
    return next;
}
