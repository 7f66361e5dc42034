// Loading the plug-in bundle and driving each pane through its callbacks.
#include "PDEHost.h"

#include <CoreFoundation/CFQt.h>
#include <HIToolbox/HIToolbox.h>
#include <HIToolbox/QtBridge.h>
#include <PrintCore/PMPrintingDialogExtensions.h>

#include <QFileInfo>
#include <QWidget>

namespace veltra {

namespace {

// The Terminate status of a dialog the user cancelled.
constexpr OSStatus kDialogCancelled = -128;

std::string text(CFStringRef str)
{
    return QStringFromCF(str).toStdString();
}

std::string uuidText(CFUUIDRef uuid)
{
    CFRef<CFStringRef> string(CFUUIDCreateString(nullptr, uuid));
    return text(string);
}

// Factory identifiers listed for the dialog extension type in the bundle's own property list.
std::vector<CFRef<CFUUIDRef>> listedFactories(CFBundleRef bundle, CFUUIDRef type)
{
    std::vector<CFRef<CFUUIDRef>> result;
    const CFTypeRef types = CFBundleGetValueForInfoDictionaryKey(bundle, CFSTR("CFPlugInTypes"));
    if (!types || CFGetTypeID(types) != CFDictionaryGetTypeID())
        return result;
    CFRef<CFStringRef> typeText(CFUUIDCreateString(nullptr, type));
    // Keys are UUID texts in any letter case.
    const CFIndex count = CFDictionaryGetCount(static_cast<CFDictionaryRef>(types));
    std::vector<const void *> keys(static_cast<size_t>(count)), values(static_cast<size_t>(count));
    CFDictionaryGetKeysAndValues(static_cast<CFDictionaryRef>(types), keys.data(), values.data());
    for (CFIndex i = 0; i < count; ++i) {
        if (CFGetTypeID(keys[i]) != CFStringGetTypeID() ||
            CFStringCompare(static_cast<CFStringRef>(keys[i]), typeText,
                            kCFCompareCaseInsensitive) != kCFCompareEqualTo ||
            CFGetTypeID(values[i]) != CFArrayGetTypeID())
            continue;
        const auto list = static_cast<CFArrayRef>(values[i]);
        for (CFIndex k = 0; k < CFArrayGetCount(list); ++k) {
            const CFTypeRef entry = CFArrayGetValueAtIndex(list, k);
            if (CFGetTypeID(entry) != CFStringGetTypeID())
                continue;
            CFRef<CFUUIDRef> factory(
                CFUUIDCreateFromString(nullptr, static_cast<CFStringRef>(entry)));
            if (factory)
                result.push_back(std::move(factory));
        }
    }
    return result;
}

bool containsUUID(CFArrayRef list, CFUUIDRef uuid)
{
    for (CFIndex i = 0; i < CFArrayGetCount(list); ++i) {
        if (CFEqual(CFArrayGetValueAtIndex(list, i), uuid))
            return true;
    }
    return false;
}

std::string stringAt(CFArrayRef array, CFIndex index)
{
    const CFTypeRef value = CFArrayGetValueAtIndex(array, index);
    if (!value || CFGetTypeID(value) != CFStringGetTypeID())
        return {};
    return text(static_cast<CFStringRef>(value));
}

} // namespace

struct PDEHost::Pane
{
    CFRef<CFUUIDRef> factory;
    std::string label;
    IUnknownVTbl **instance = nullptr;
    PMPlugInHeaderInterface *interface = nullptr;
    PMPDEContext context = nullptr;
    CFRef<CFStringRef> kind;
    CFRef<CFStringRef> title;
    OSType creator = 0;
    UInt32 maxH = 0;
    UInt32 maxV = 0;
    QWidget *page = nullptr;
    ControlRef userPane = nullptr;
    OSStatus initializeResult = noErr;
    bool opened = false;

    const PlugInIntfVTable *vtable() const { return interface ? interface->vtable : nullptr; }
};

PDEHost::PDEHost() = default;

PDEHost::~PDEHost()
{
    close();
}

void PDEHost::record(int pane, const std::string &label, const char *call, OSStatus result,
                     std::string detail)
{
    m_calls.push_back(PDECallRecord{pane, label, call, result, std::move(detail)});
    if (m_observer)
        m_observer(m_calls.back());
}

bool PDEHost::load(const std::string &bundleDir, std::string *error)
{
    auto fail = [error](std::string message) {
        if (error)
            *error = std::move(message);
        return false;
    };
    if (m_bundle)
        return fail("a plug-in bundle is already loaded");
    const QFileInfo location(QString::fromStdString(bundleDir));
    if (!location.isDir())
        return fail("no plug-in bundle at " + bundleDir + " (no such directory)");

    CFRef<CFStringRef> path(CFStringCreateWithQString(location.absoluteFilePath()));
    CFRef<CFURLRef> url(CFURLCreateWithFileSystemPath(nullptr, path, kCFURLPOSIXPathStyle, true));
    if (!CFBundleCreate(nullptr, url))
        return fail("cannot open the plug-in bundle " + bundleDir +
                    ": its Contents/Info.plist is missing or damaged");
    CFPlugInRef plugIn = CFPlugInCreate(nullptr, url);
    if (!plugIn)
        return fail("the bundle " + bundleDir +
                    " is not a plug-in: its Info.plist names no factories");

    CFRef<CFUUIDRef> type(CFUUIDCreateFromString(nullptr, kPMPDEPlugInType));
    CFRef<CFArrayRef> registered(CFPlugInFindFactoriesForPlugInType(type));
    for (CFRef<CFUUIDRef> &factory : listedFactories(plugIn, type)) {
        if (containsUUID(registered, factory))
            m_factories.push_back(std::move(factory));
    }
    if (m_factories.empty())
        return fail("the bundle " + bundleDir +
                    " names no printing dialog extension factory (plug-in type " +
                    text(kPMPDEPlugInType) + ")");
    m_bundle = plugIn;
    return true;
}

std::unique_ptr<PDEHost::Pane> PDEHost::createPane(CFUUIDRef factory)
{
    auto pane = std::make_unique<Pane>();
    pane->factory = CFRef<CFUUIDRef>::retain(factory);
    pane->label = uuidText(factory);

    CFRef<CFUUIDRef> type(CFUUIDCreateFromString(nullptr, kPMPDEPlugInType));
    pane->instance = static_cast<IUnknownVTbl **>(CFPlugInInstanceCreate(nullptr, factory, type));
    if (!pane->instance || !*pane->instance) {
        record(-1, pane->label, "Factory", kPMPDEInitializeFailed, "the factory gave no instance");
        return nullptr;
    }
    record(-1, pane->label, "Factory", noErr);

    CFRef<CFUUIDRef> interfaceID(CFUUIDCreateFromString(nullptr, kPMPDEInterfaceID));
    LPVOID out = nullptr;
    const HRESULT answer =
        (*pane->instance)->QueryInterface
            ? (*pane->instance)
                  ->QueryInterface(pane->instance, CFUUIDGetUUIDBytes(interfaceID), &out)
            : E_NOINTERFACE;
    pane->interface = static_cast<PMPlugInHeaderInterface *>(out);
    const bool usable = answer == S_OK && pane->interface && pane->interface->vtable;
    record(-1, pane->label, "QueryInterface", answer,
           usable ? std::string() : "no printing dialog extension interface");
    if (!usable) {
        if ((*pane->instance)->Release)
            record(-1, pane->label, "IUnknownRelease",
                   OSStatus((*pane->instance)->Release(pane->instance)));
        return nullptr;
    }
    return pane;
}

bool PDEHost::openDialog(PrintSession &session, std::string *error)
{
    if (!m_bundle || m_dialog) {
        if (error)
            *error = m_dialog ? "the print dialog is already open" : "no plug-in bundle loaded";
        return false;
    }
    m_session = &session;
    m_printed = false;
    m_dialog = std::make_unique<PrintDialog>(QString::fromStdString(session.printerID()));
    // The dialog is a toolkit window: the panes install their Print handler on its target.
    m_window = VeltraWindowForWidget(m_dialog.get());

    startPanes();
    if (m_panes.empty()) {
        if (error)
            *error = "no printing dialog extension could be created (see the messages above)";
        DisposeWindow(m_window);
        m_window = nullptr;
        m_dialog.reset();
        return false;
    }
    m_dialog->setPrintHandler([this] { return pressPrint(); });
    m_dialog->addSummaryPage([this] {
        std::vector<PrintDialog::SummaryLine> lines;
        for (const PDESummaryLine &line : summary())
            lines.push_back({QString::fromStdString(line.pane), QString::fromStdString(line.title),
                             QString::fromStdString(line.value)});
        return lines;
    });
    m_dialog->setPaneShownHandler([this](int index) { paneShown(index); });
    showFirstPane();
    return true;
}

void PDEHost::startPanes()
{
    for (const CFRef<CFUUIDRef> &factory : m_factories) {
        std::unique_ptr<Pane> pane = createPane(factory);
        if (!pane)
            continue;
        const PlugInIntfVTable *v = pane->vtable();
        const int index = int(m_panes.size());

        PMPlugInAPIVersion version{};
        if (v->plugInHeader.GetAPIVersion)
            record(-1, pane->label, "GetAPIVersion",
                   v->plugInHeader.GetAPIVersion(pane->interface, &version));

        CFStringRef kind = nullptr;
        CFStringRef title = nullptr;
        const OSStatus prologue = v->Prologue ? v->Prologue(&pane->context, &pane->creator, &kind,
                                                            &title, &pane->maxH, &pane->maxV)
                                              : kPMPDEInitializeFailed;
        // Both strings are handed over to the print system, which releases them.
        pane->title.reset(title);
        pane->kind.reset(kind);
        if (pane->kind)
            pane->label = text(pane->kind);
        record(prologue == noErr ? index : -1, pane->label, "Prologue", prologue,
               prologue == noErr ? std::string() : "the pane is left out of the dialog");
        if (prologue != noErr) {
            // A context made before the failure is still the pane's to free.
            if (pane->context && v->Terminate)
                record(-1, pane->label, "Terminate", v->Terminate(pane->context, prologue));
            releasePane(*pane, -1);
            continue;
        }
        m_panes.push_back(std::move(pane));
        startPane(*m_panes.back(), index);
    }
}

void PDEHost::showFirstPane()
{
    for (int i = 0; i < paneCount(); ++i) {
        if (m_dialog->isPaneOffered(i)) {
            m_dialog->showPane(i);
            return;
        }
    }
    m_dialog->showPane(paneCount());
}

void PDEHost::paneShown(int index)
{
    // Only the pane on screen is open.
    for (size_t i = 0; i < m_panes.size(); ++i) {
        Pane &pane = *m_panes[i];
        const PlugInIntfVTable *v = pane.vtable();
        if (pane.opened && int(i) != index) {
            if (v && v->Close)
                record(int(i), pane.label, "Close", v->Close(pane.context));
            pane.opened = false;
        }
    }
    if (index < 0 || index >= paneCount())
        return;
    Pane &pane = *m_panes[size_t(index)];
    const PlugInIntfVTable *v = pane.vtable();
    if (!pane.opened && v && v->Open) {
        record(index, pane.label, "Open", v->Open(pane.context));
        pane.opened = true;
    }
}

bool PDEHost::changePrinter(PrintSession &session, std::string *error)
{
    if (!m_dialog) {
        if (error)
            *error = "the print dialog is not open";
        return false;
    }
    // The panes of the printer before end as in a cancelled dialog, and start anew for this
    // one, so that each printer shows the values saved for it.
    endPanes(kDialogCancelled);
    m_dialog->clearPanes();
    m_session = &session;
    m_printed = false;
    startPanes();
    showFirstPane();
    if (m_panes.empty()) {
        if (error)
            *error = "no printing dialog extension could be created for the printer " +
                     session.printerID() + " (see the messages above)";
        return false;
    }
    return true;
}

void PDEHost::endPanes(OSStatus status)
{
    for (size_t i = 0; i < m_panes.size(); ++i) {
        Pane &pane = *m_panes[i];
        const PlugInIntfVTable *v = pane.vtable();
        if (v && pane.opened && v->Close)
            record(int(i), pane.label, "Close", v->Close(pane.context));
        pane.opened = false;
        if (v && v->Terminate)
            record(int(i), pane.label, "Terminate", v->Terminate(pane.context, status));
        releasePane(pane, int(i));
    }
    m_panes.clear();
}

void PDEHost::startPane(Pane &pane, int index)
{
    const PlugInIntfVTable *v = pane.vtable();
    const QString title =
        pane.title ? QStringFromCF(pane.title) : QString::fromStdString(pane.label);
    pane.page = m_dialog->addPane(title);
    pane.userPane = VeltraControlForWidget(pane.page);

    PMPDEFlags flags = 0;
    pane.initializeResult =
        v->Initialize ? v->Initialize(pane.context, &flags, reinterpret_cast<PMPDERef>(&pane),
                                      pane.userPane, m_session->ref())
                      : kPMPDEInitializeFailed;
    record(index, pane.label, "Initialize", pane.initializeResult,
           pane.initializeResult == noErr ? std::string()
                                          : "the pane is not offered for this printer");
    // A pane offers nothing for a printer whose description does not enable it.
    if (pane.initializeResult != noErr)
        m_dialog->withdrawPane(index);
    m_dialog->fitPanes();

    if (v->Sync)
        record(index, pane.label, "Sync(true)", v->Sync(pane.context, m_session->ref(), true));

    if (v->GetSummaryText) {
        CFArrayRef titles = nullptr;
        CFArrayRef values = nullptr;
        const OSStatus answer = v->GetSummaryText(pane.context, &titles, &values);
        CFRef<CFArrayRef> ownedTitles(titles);
        CFRef<CFArrayRef> ownedValues(values);
        record(index, pane.label, "GetSummaryText", answer);
    }
}

void PDEHost::releasePane(Pane &pane, int index)
{
    if (pane.interface) {
        const PlugInIntfVTable *v = pane.vtable();
        PMPlugInHeaderInterface *interface = pane.interface;
        if (v && v->plugInHeader.Release)
            record(index, pane.label, "Release", v->plugInHeader.Release(&interface));
        pane.interface = nullptr;
    }
    if (pane.instance) {
        if ((*pane.instance)->Release)
            record(index, pane.label, "IUnknownRelease",
                   OSStatus((*pane.instance)->Release(pane.instance)));
        pane.instance = nullptr;
    }
}

ControlRef PDEHost::userPane(int index) const
{
    return index >= 0 && index < paneCount() ? m_panes[size_t(index)]->userPane : nullptr;
}

QWidget *PDEHost::userPaneWidget(int index) const
{
    return index >= 0 && index < paneCount() ? m_panes[size_t(index)]->page : nullptr;
}

std::string PDEHost::paneKind(int index) const
{
    return index >= 0 && index < paneCount() ? text(m_panes[size_t(index)]->kind) : std::string();
}

std::string PDEHost::paneTitle(int index) const
{
    return index >= 0 && index < paneCount() ? text(m_panes[size_t(index)]->title) : std::string();
}

OSStatus PDEHost::paneInitializeResult(int index) const
{
    return index >= 0 && index < paneCount() ? m_panes[size_t(index)]->initializeResult
                                             : kPMPDEInitializeFailed;
}

void PDEHost::showPane(int index)
{
    if (m_dialog)
        m_dialog->showPane(index);
}

bool PDEHost::pressPrint()
{
    if (!m_dialog || m_printed)
        return false;
    const OSStatus command = ProcessHICommandInWindow(m_window, kHICommandOK);
    const bool vetoed = command == noErr;
    record(-1, "dialog", "Print", command,
           vetoed ? "a pane held the job back; the dialog stays open" : std::string());
    if (vetoed)
        return false;
    for (size_t i = 0; i < m_panes.size(); ++i) {
        Pane &pane = *m_panes[i];
        if (const PlugInIntfVTable *v = pane.vtable(); v && v->Sync)
            record(int(i), pane.label, "Sync(false)",
                   v->Sync(pane.context, m_session->ref(), false));
    }
    m_printed = true;
    return true;
}

std::vector<PDESummaryLine> PDEHost::summary()
{
    std::vector<PDESummaryLine> lines;
    for (size_t i = 0; i < m_panes.size(); ++i) {
        Pane &pane = *m_panes[i];
        const PlugInIntfVTable *v = pane.vtable();
        if (!v || !v->GetSummaryText)
            continue;
        CFArrayRef titles = nullptr;
        CFArrayRef values = nullptr;
        const OSStatus answer = v->GetSummaryText(pane.context, &titles, &values);
        CFRef<CFArrayRef> ownedTitles(titles);
        CFRef<CFArrayRef> ownedValues(values);
        record(int(i), pane.label, "GetSummaryText", answer);
        if (!titles || !values)
            continue;
        const CFIndex count = std::min(CFArrayGetCount(titles), CFArrayGetCount(values));
        for (CFIndex k = 0; k < count; ++k)
            lines.push_back(
                PDESummaryLine{text(pane.title), stringAt(titles, k), stringAt(values, k)});
    }
    return lines;
}

void PDEHost::close()
{
    if (!m_dialog)
        return;
    m_dialog->hide();
    m_dialog->setPaneShownHandler(nullptr);
    endPanes(m_printed ? noErr : kDialogCancelled);
    // The panes are gone before their widgets and the window they handled events of.
    DisposeWindow(m_window);
    m_window = nullptr;
    m_dialog.reset();
    m_session = nullptr;
}

std::string DescribeCall(const PDECallRecord &record)
{
    std::string line = record.pane >= 0
                           ? "pane " + std::to_string(record.pane + 1) + " (" + record.label + ")"
                           : record.label;
    line += ": " + record.call + " -> " + std::to_string(record.result);
    if (!record.detail.empty())
        line += " (" + record.detail + ")";
    return line;
}

} // namespace veltra
