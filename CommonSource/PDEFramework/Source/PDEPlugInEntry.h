// The plug-in entry shared by both panes: the factory, the reference-counted plug-in instance
// and dialog-extension interface object, and the callbacks that create and drive a pane's
// panel. Each pane instantiates PDEEntry with its PDEPaneDescription (the only differences
// between the panes) in a small entry unit of its own.
#pragma once

#include "AppResources.h"
#include "CBasePrintPanel.h"
#include "SessionAccess.h"

#include <CoreFoundation/CFPreferences.h>
#include <PrintCore/PMPrintingDialogExtensions.h>

#include <new>

// The extension context handed to the print system and back with every callback.
struct PDEExtensionContext
{
    CBasePrintPanel *panel = nullptr;       // owned
    CFMutableArrayRef encodeList = nullptr; // owned: the controls written scrambled
};

struct PDEPaneDescription
{
    const char *factoryUUID;
    const char *kind;     // user option kind
    const char *titleKey; // localisation key of the pane's title
    UInt32 maxH;
    UInt32 maxV;
    bool registersHelpBook;
    const char *settingsAttribute; // PPD attribute naming the pane's resources
    CFStringRef (*fullResourceName)(CFStringRef name, int kind);
    CBasePrintPanel *(*createPanel)();
    // Entries of the encode list known before the printer description is read.
    void (*addFixedEncodeEntries)(CFMutableArrayRef list);
    // Entries that depend on the printer description.
    void (*addPrinterEncodeEntries)(CFMutableArrayRef list, ppd_file_t *ppd);
    // Before a ticket write: non-zero refuses it with that code (nothing is written).
    OSStatus (*refuseTicketWrite)(CBasePrintPanel *panel);
    // After syncState 3 and before the write: false refuses with kPMPDEValidateFailed.
    bool validatesBeforeTicketWrite;
    // After a successful ticket write.
    void (*afterTicketWrite)(CBasePrintPanel *panel, PMTicketRef ticket);
    bool closeCallsPanel;
};

constexpr OSType kPDECreator = 'pde ';

// What QueryInterface answers for the dialog extension interface. The callback table lives in
// the object and goes with it.
struct PDEInterfaceObject
{
    const PlugInIntfVTable *vtable;
    UInt32 refCount;
    PlugInIntfVTable table;
};

// What a factory answers.
struct PDEPlugInInstance
{
    const IUnknownVTbl *interface;
    IUnknownVTbl table;
    CFUUIDRef factoryID;
    UInt32 refCount;
};

template <const PDEPaneDescription &Pane> struct PDEEntry
{
    static PDEExtensionContext *Context(PMPDEContext context)
    {
        return reinterpret_cast<PDEExtensionContext *>(context);
    }

    static void *Factory(CFAllocatorRef, CFUUIDRef typeID)
    {
        CFRef<CFUUIDRef> pdeType(CFUUIDCreateFromString(kCFAllocatorDefault, kPMPDEPlugInType));
        if (!typeID || !CFEqual(typeID, pdeType))
            return nullptr;
        auto *instance = new (std::nothrow) PDEPlugInInstance{};
        if (!instance)
            return nullptr;
        instance->table = IUnknownVTbl{nullptr, QueryInterface, IUnknownAddRef, IUnknownRelease};
        instance->interface = &instance->table;
        CFRef<CFStringRef> factoryText(CFStringCreateWithCString(
            kCFAllocatorDefault, Pane.factoryUUID, kCFStringEncodingUTF8));
        instance->factoryID = CFUUIDCreateFromString(kCFAllocatorDefault, factoryText);
        instance->refCount = 1;
        CFPlugInAddInstanceForFactory(instance->factoryID);
        return instance;
    }

    static HRESULT QueryInterface(void *thisPointer, REFIID iid, LPVOID *ppv)
    {
        if (!ppv)
            return E_NOINTERFACE;
        CFRef<CFUUIDRef> requested(CFUUIDCreateFromUUIDBytes(kCFAllocatorDefault, iid));
        if (CFEqual(requested, IUnknownUUID())) {
            IUnknownAddRef(thisPointer);
            *ppv = thisPointer;
            return S_OK;
        }
        CFRef<CFUUIDRef> pdeInterface(
            CFUUIDCreateFromString(kCFAllocatorDefault, kPMPDEInterfaceID));
        if (CFEqual(requested, pdeInterface)) {
            auto *object = new (std::nothrow) PDEInterfaceObject{};
            if (object) {
                object->table = PlugInIntfVTable{{Retain, Release, GetAPIVersion},
                                                 Prologue,
                                                 Initialize,
                                                 Sync,
                                                 GetSummaryText,
                                                 Open,
                                                 Close,
                                                 Terminate};
                object->vtable = &object->table;
                object->refCount = 1;
            }
            *ppv = object;
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }

    static ULONG IUnknownAddRef(void *thisPointer)
    {
        auto *instance = static_cast<PDEPlugInInstance *>(thisPointer);
        if (!instance)
            return 0;
        return ++instance->refCount;
    }

    static ULONG IUnknownRelease(void *thisPointer)
    {
        auto *instance = static_cast<PDEPlugInInstance *>(thisPointer);
        if (!instance || instance->refCount == 0)
            return 0;
        if (--instance->refCount != 0)
            return instance->refCount;
        CFPlugInRemoveInstanceForFactory(instance->factoryID);
        CFRelease(instance->factoryID);
        delete instance;
        return 0;
    }

    static OSStatus Retain(PMPlugInHeaderInterface *obj)
    {
        if (obj)
            ++reinterpret_cast<PDEInterfaceObject *>(obj)->refCount;
        return noErr;
    }

    static OSStatus Release(PMPlugInHeaderInterface **objPtr)
    {
        if (!objPtr || !*objPtr)
            return noErr;
        auto *object = reinterpret_cast<PDEInterfaceObject *>(*objPtr);
        *objPtr = nullptr;
        if (object->refCount > 0 && --object->refCount == 0)
            delete object;
        return noErr;
    }

    static OSStatus GetAPIVersion(PMPlugInHeaderInterface *, PMPlugInAPIVersion *version)
    {
        if (version)
            *version = PMPlugInAPIVersion{1, 0, 1, 0};
        return noErr;
    }

    static OSStatus Prologue(PMPDEContext *context, OSType *creator, CFStringRef *userOptionKind,
                             CFStringRef *title, UInt32 *maxH, UInt32 *maxV)
    {
        auto *ctx = new (std::nothrow) PDEExtensionContext{};
        if (!ctx)
            return kPMPDEInitializeFailed;
        ctx->panel = Pane.createPanel();
        if (!ctx->panel) {
            delete ctx;
            return kPMPDEInitializeFailed;
        }
        if (context)
            *context = reinterpret_cast<PMPDEContext>(ctx);
        if (maxH)
            *maxH = Pane.maxH;
        if (maxV)
            *maxV = Pane.maxV;
        if (title) {
            CFRef<CFStringRef> key(CFStringCreateWithCString(kCFAllocatorDefault, Pane.titleKey,
                                                             kCFStringEncodingUTF8));
            CFBundleRef bundle = GetAppBundleRef();
            *title = bundle ? CFBundleCopyLocalizedString(bundle, key, key, nullptr)
                            : CFStringCreateCopy(kCFAllocatorDefault, key);
        }
        if (userOptionKind)
            *userOptionKind =
                CFStringCreateWithCString(kCFAllocatorDefault, Pane.kind, kCFStringEncodingUTF8);
        if (creator)
            *creator = kPDECreator;
        OSStatus result = noErr;
        if (Pane.registersHelpBook && RegisterMyHelpBook() != noErr)
            result = kPMPDEInitializeFailed;
        ctx->panel->SetSyncState(kSyncStatePrologue);
        return result;
    }

    static bool PaneResourcesExist(ppd_file_t *ppd)
    {
        ppd_attr_t *settings = ppdFindAttr(ppd, Pane.settingsAttribute, nullptr);
        if (!settings || !settings->value)
            return false;
        CFRef<CFStringRef> nibPart(GetAppResourceName(settings->value, 0));
        CFRef<CFStringRef> helpPart(GetAppResourceName(settings->value, 1));
        CFRef<CFStringRef> nibName(Pane.fullResourceName(nibPart, 0));
        CFRef<CFStringRef> helpName(Pane.fullResourceName(helpPart, 1));
        CFBundleRef bundle = GetAppBundleRef();
        if (!bundle || !nibName || !helpName)
            return false;
        CFRef<CFURLRef> help(
            CFBundleCopyResourceURL(bundle, helpName, CFSTR("htm"), CFSTR("Help")));
        CFRef<CFURLRef> nib(CFBundleCopyResourceURL(bundle, nibName, CFSTR("nib"), nullptr));
        return help && nib;
    }

    static OSStatus Initialize(PMPDEContext context, PMPDEFlags *, PMPDERef,
                               ControlRef parentUserPane, PMPrintSession session)
    {
        PDEExtensionContext *ctx = Context(context);
        if (!ctx || !ctx->panel)
            return kPMPDEInitializeFailed;
        CBasePrintPanel *panel = ctx->panel;
        panel->SetSyncState(kSyncStateInitialize);
        if (!session) {
            panel->SetSyncState(kSyncStateIdle);
            return noErr;
        }
        auto fail = [panel] {
            panel->SetSyncState(kSyncStateIdle);
            return kPMPDEInitializeFailed;
        };

        if (ctx->encodeList)
            CFRelease(ctx->encodeList);
        ctx->encodeList = CreateEncodeArray();
        if (Pane.addFixedEncodeEntries)
            Pane.addFixedEncodeEntries(ctx->encodeList);

        ppd_file_t *ppd = nullptr;
        if (GetPPDRefFromSession(session, &ppd) != noErr || !ppd)
            return fail();
        if (Pane.addPrinterEncodeEntries)
            Pane.addPrinterEncodeEntries(ctx->encodeList, ppd);
        if (!PaneResourcesExist(ppd))
            return fail();
        ppdMarkDefaults(ppd);
        if (panel->InitializeUserPane(reinterpret_cast<unsigned long>(ctx), parentUserPane,
                                      GetAppBundleRef(), ppd) != 0)
            return fail();
        if (Sync(context, session, true) != noErr)
            return fail();
        panel->SetSyncState(kSyncStateIdle);
        return noErr;
    }

    static OSStatus Sync(PMPDEContext context, PMPrintSession session, Boolean direction)
    {
        PDEExtensionContext *ctx = Context(context);
        if (!ctx || !ctx->panel)
            return kPMPDEInitializeFailed;
        CBasePrintPanel *panel = ctx->panel;
        if (!session) {
            panel->SetSyncState(kSyncStateIdle);
            return kPMInvalidPrinter;
        }
        PMTicketRef ticket = nullptr;
        const OSStatus ticketStatus =
            GetTicketFromSession(session, CFSTR("PMPrintSettingsTicket"), &ticket);
        if (ticketStatus != noErr) {
            panel->SetSyncState(kSyncStateIdle);
            return ticketStatus;
        }
        if (!panel->SetCurrentPrinterString(session))
            return kPMInvalidPrinter;

        if (direction == 1) {
            const bool insideInitialize = panel->GetSyncState() == kSyncStateInitialize;
            panel->SetSyncState(kSyncStateLoadUI);
            if (!insideInitialize)
                panel->ResetControlStatus();
            // Initial states first, so the constraint passes see a change from no state.
            panel->SetUIDataToIniData();
            panel->GetValueFromPreference();
            panel->SetCurrentValueToUI();
            panel->SetSyncState(kSyncStateIdle);
            return noErr;
        }
        if (direction == 0) {
            if (Pane.refuseTicketWrite) {
                if (const OSStatus refused = Pane.refuseTicketWrite(panel)) {
                    panel->SetSyncState(kSyncStateIdle);
                    return refused;
                }
            }
            panel->SetSyncState(kSyncStateWriteTicket);
            if (Pane.validatesBeforeTicketWrite && !panel->ValidateUserPane()) {
                panel->SetSyncState(kSyncStateIdle);
                return kPMPDEValidateFailed;
            }
            panel->SetValueFromUIToControl();
            {
                // Every control's value goes into the stores, which are then saved once.
                VeltraPreferencesBatch batch;
                panel->SetValueToPreference();
            }
            const int written = panel->SetValueToTicket(ticket, false, ctx->encodeList);
            panel->SetSyncState(kSyncStateIdle);
            if (written != 0)
                return kPMInvalidPrinter;
            if (Pane.afterTicketWrite)
                Pane.afterTicketWrite(panel, ticket);
            return noErr;
        }
        panel->SetSyncState(kSyncStateIdle);
        return noErr;
    }

    static OSStatus GetSummaryText(PMPDEContext context, CFArrayRef *titles, CFArrayRef *values)
    {
        PDEExtensionContext *ctx = Context(context);
        if (!ctx)
            return noErr;
        if (!ctx->panel)
            return kPMPDEInitializeFailed;
        CBasePrintPanel *panel = ctx->panel;
        panel->SetSyncState(kSyncStateSummary);
        if (titles)
            *titles = nullptr;
        if (values)
            *values = nullptr;
        CFRef<CFMutableArrayRef> titleArray(
            CFArrayCreateMutable(kCFAllocatorDefault, 0, &kCFTypeArrayCallBacks));
        CFRef<CFMutableArrayRef> valueArray(
            CFArrayCreateMutable(kCFAllocatorDefault, 0, &kCFTypeArrayCallBacks));
        if (!titleArray || !valueArray) {
            panel->SetSyncState(kSyncStateIdle);
            return noErr;
        }
        const int pass = panel->GetSummaryText(titleArray, valueArray);
        if (titles)
            *titles = titleArray.release();
        if (values)
            *values = valueArray.release();
        panel->SetSyncState(kSyncStateIdle);
        return pass != 0 ? kPMPDEInitializeFailed : noErr;
    }

    static OSStatus Open(PMPDEContext context)
    {
        PDEExtensionContext *ctx = Context(context);
        if (!ctx || !ctx->panel)
            return kPMPDEInitializeFailed;
        ctx->panel->Open(reinterpret_cast<unsigned long>(ctx));
        return noErr;
    }

    static OSStatus Close(PMPDEContext context)
    {
        PDEExtensionContext *ctx = Context(context);
        if (!ctx || !ctx->panel)
            return kPMPDEInitializeFailed;
        if (Pane.closeCallsPanel)
            ctx->panel->Close(reinterpret_cast<unsigned long>(ctx));
        return noErr;
    }

    static OSStatus Terminate(PMPDEContext context, OSStatus status)
    {
        PDEExtensionContext *ctx = Context(context);
        if (!ctx)
            return kPMPDEInitializeFailed;
        if (ctx->encodeList) {
            CFRelease(ctx->encodeList);
            ctx->encodeList = nullptr;
        }
        if (ctx->panel) {
            const int answer = ctx->panel->Terminate(reinterpret_cast<unsigned long>(ctx), status);
            ctx->panel->SetSyncState(kSyncStateTerminated);
            // A failing panel keeps the context so the print system may call again.
            if (answer != 0)
                return kPMPDEInitializeFailed;
            delete ctx->panel;
            ctx->panel = nullptr;
        }
        delete ctx;
        return noErr;
    }
};
