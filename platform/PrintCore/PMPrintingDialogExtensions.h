// The printing dialog extension interface: the callback table a pane hands the print system.
#pragma once

#include "../HIToolbox/MacWindows.h"
#include "PMCore.h"

typedef struct OpaquePMPDEContext *PMPDEContext;
typedef struct OpaquePMPDERef *PMPDERef;
typedef UInt32 PMPDEFlags;

struct PMPlugInAPIVersion
{
    UInt32 buildVersionMajor;
    UInt32 buildVersionMinor;
    UInt32 baseVersionMajor;
    UInt32 baseVersionMinor;
};

struct PMPlugInHeaderInterface;

struct PMPlugInHeader
{
    OSStatus (*Retain)(PMPlugInHeaderInterface *obj);
    OSStatus (*Release)(PMPlugInHeaderInterface **obj);
    OSStatus (*GetAPIVersion)(PMPlugInHeaderInterface *obj, PMPlugInAPIVersion *versionPtr);
};

struct PlugInIntfVTable
{
    PMPlugInHeader plugInHeader;
    OSStatus (*Prologue)(PMPDEContext *context, OSType *creator, CFStringRef *userOptionKind,
                         CFStringRef *title, UInt32 *maxH, UInt32 *maxV);
    OSStatus (*Initialize)(PMPDEContext context, PMPDEFlags *flags, PMPDERef ref,
                           ControlRef parentUserPane, PMPrintSession printSession);
    OSStatus (*Sync)(PMPDEContext context, PMPrintSession printSession, Boolean reinitializePlugIn);
    OSStatus (*GetSummaryText)(PMPDEContext context, CFArrayRef *titleArray,
                               CFArrayRef *summaryArray);
    OSStatus (*Open)(PMPDEContext context);
    OSStatus (*Close)(PMPDEContext context);
    OSStatus (*Terminate)(PMPDEContext context, OSStatus status);
};

// What QueryInterface hands out: its first field points at the callback table.
struct PMPlugInHeaderInterface
{
    const PlugInIntfVTable *vtable;
};

// "BDB091F4-E57F-11D3-B5CC-0050E4603277": the plug-in type of printing dialog extensions.
#define kPMPDEPlugInType CFSTR("BDB091F4-E57F-11D3-B5CC-0050E4603277")
// "A996FD7E-B738-11D3-8519-0050E4603277": the dialog extension interface.
#define kPMPDEInterfaceID CFSTR("A996FD7E-B738-11D3-8519-0050E4603277")

constexpr OSStatus kPMPDEInitializeFailed = -9530; // the pane could not be built
constexpr OSStatus kPMPDEValidateFailed = -9531;   // the pane refused its values at Print
