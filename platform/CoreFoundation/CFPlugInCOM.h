// The IUnknown protocol that plug-in instances speak.
#pragma once

#include "CFUUID.h"

typedef CFUUIDBytes REFIID;

constexpr HRESULT S_OK = 0;
constexpr HRESULT E_NOINTERFACE = HRESULT(0x80000004);

#define IUNKNOWN_C_GUTS                                                                            \
    void *_reserved;                                                                               \
    HRESULT (*QueryInterface)(void *thisPointer, REFIID iid, LPVOID *ppv);                         \
    ULONG (*AddRef)(void *thisPointer);                                                            \
    ULONG (*Release)(void *thisPointer)

struct IUnknownVTbl
{
    IUNKNOWN_C_GUTS;
};

// 00000000-0000-0000-C000-000000000046
CFUUIDRef IUnknownUUID();
