// The plug-in entry: factories, reference counting and the callback sequence the print system
// drives, on the real panes and on test panes built with the same entry code.
#include "SpineFixture.h"

#include "PDEPlugInEntry.h"

extern "C" void *OrvPDEPluginFactoryJBA(CFAllocatorRef, CFUUIDRef);
extern "C" void *OrvPDEPluginFactoryPrintType(CFAllocatorRef, CFUUIDRef);
extern const PDEPaneDescription kPrintTypePane;

namespace {

using Factory = void *(*)(CFAllocatorRef, CFUUIDRef);
ControlID passcodeID = {'sppi', 206}, recordID = {'tsrc', 1};
ControlAccessInfo passcodeAccess = {'pwcf', 'pwcf', nullptr,
                                    CFSTR("com.veltra.kzu.printsettings.PasswordTicketKey"),
                                    CFSTR("com.veltra.kzu.printsettings.PasswordReference")};

// A print type pane whose panel holds a passcode field and a control that records resets, and
// whose validation, summary and terminate passes fail while told to.
struct RecordingPanel : TestPanel
{
    RecordingPanel()
    {
        passcodeAccess.preferenceUser = kCFPreferencesCurrentUser;
        useNib(GetPDENibFileName(), CFSTR("Window"), ControlID{'joup', 1});
    }
    bool ValidateUserPane() override { return valid; }
    int GetSummaryText(CFMutableArrayRef titles, CFMutableArrayRef values) override
    {
        CFArrayAppendValue(titles, CFSTR("Failing Title"));
        CFArrayAppendValue(values, CFSTR("Failing Value"));
        return failPasses ? 1 : TestPanel::GetSummaryText(titles, values);
    }
    int Terminate(unsigned long context, long status) override
    {
        return failPasses ? 1 : TestPanel::Terminate(context, status);
    }
    TestTextControl *passcode = add(new TestTextControl(&passcodeID, &passcodeAccess));
    TestTextControl *recorder = add(new TestTextControl(&recordID));
    bool valid = true, failPasses = false;
};

RecordingPanel *lastRecordingPanel = nullptr;
CBasePrintPanel *CreateRecordingPanel()
{
    return lastRecordingPanel = new RecordingPanel;
}

// The print type pane on the recording panel.
const PDEPaneDescription kRecordingPane = [] {
    PDEPaneDescription d = kPrintTypePane;
    d.createPanel = CreateRecordingPanel;
    return d;
}();
using RecordingEntry = PDEEntry<kRecordingPane>;

// Drives one pane the way the print system does, through the interface the factory hands out.
struct LoadedPane
{
    explicit LoadedPane(Factory factory)
    {
        CFRef<CFUUIDRef> type(CFUUIDCreateFromString(nullptr, kPMPDEPlugInType));
        CFRef<CFUUIDRef> iid(CFUUIDCreateFromString(nullptr, kPMPDEInterfaceID));
        if ((instance = factory(nullptr, type)))
            (*static_cast<IUnknownVTbl **>(instance))
                ->QueryInterface(instance, CFUUIDGetUUIDBytes(iid),
                                 reinterpret_cast<LPVOID *>(&pde));
    }
    ~LoadedPane()
    {
        if (pde)
            pde->vtable->plugInHeader.Release(&pde);
        if (instance)
            (*static_cast<IUnknownVTbl **>(instance))->Release(instance);
    }
    const PlugInIntfVTable &calls() const { return *pde->vtable; }
    CBasePrintPanel *panel() const
    {
        return reinterpret_cast<PDEExtensionContext *>(context)->panel;
    }
    OSStatus prologue() { return calls().Prologue(&context, 0, 0, 0, 0, 0); }

    void *instance = nullptr;
    PMPlugInHeaderInterface *pde = nullptr;
    PMPDEContext context = nullptr;
};

} // namespace

using PlugInEntryTest = SpineTest;

TEST_F(PlugInEntryTest, FactoriesAndReferenceCounts)
{
    CFRef<CFUUIDRef> other(
        CFUUIDCreateFromString(nullptr, CFSTR("00000000-1111-2222-3333-444444444444")));
    EXPECT_EQ(OrvPDEPluginFactoryJBA(nullptr, other), nullptr);

    CFRef<CFUUIDRef> type(CFUUIDCreateFromString(nullptr, kPMPDEPlugInType));
    CFRef<CFUUIDRef> factory(
        CFUUIDCreateFromString(nullptr, CFSTR("3059AF28-E83F-4AC5-BBEC-78C8971D0702")));
    const CFIndex before = VeltraPlugInInstanceCount(factory);
    void *instance = OrvPDEPluginFactoryJBA(nullptr, type);
    ASSERT_NE(instance, nullptr);
    EXPECT_EQ(VeltraPlugInInstanceCount(factory), before + 1);
    auto *unknown = *static_cast<IUnknownVTbl **>(instance);
    LPVOID same = nullptr, none = &same;
    EXPECT_EQ(unknown->QueryInterface(instance, CFUUIDGetUUIDBytes(IUnknownUUID()), &same), S_OK);
    EXPECT_EQ(same, instance);
    EXPECT_EQ(unknown->QueryInterface(instance, CFUUIDGetUUIDBytes(other), &none), E_NOINTERFACE);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(unknown->AddRef(instance), 3u);
    for (ULONG left : {2u, 1u, 0u})
        EXPECT_EQ(unknown->Release(instance), left);
    EXPECT_EQ(VeltraPlugInInstanceCount(factory), before);

    LoadedPane pane(OrvPDEPluginFactoryPrintType);
    ASSERT_NE(pane.pde, nullptr);
    PMPlugInAPIVersion version = {};
    EXPECT_EQ(pane.calls().plugInHeader.GetAPIVersion(pane.pde, &version), noErr);
    EXPECT_EQ(std::vector<UInt32>({version.buildVersionMajor, version.buildVersionMinor,
                                   version.baseVersionMajor, version.baseVersionMinor}),
              std::vector<UInt32>({1, 0, 1, 0}));
    PMPlugInHeaderInterface *copy = pane.pde; // a release clears the holder's pointer
    EXPECT_EQ(pane.calls().plugInHeader.Retain(pane.pde), noErr);
    EXPECT_EQ(pane.calls().plugInHeader.Release(&copy), noErr);
    EXPECT_EQ(copy, nullptr);
}

// Prologue answers kind, creator, sizes and title; the whole sequence runs on the sample printer
// and shows the nib panes of both.
TEST_F(PlugInEntryTest, PrologueAndWholeSequenceOnTheSamplePrinter)
{
    // The kind is com.veltra.kzu.pde.<kind>; every pane is at most 60 high; the nib pane is
    // (signature, 1).
    const std::tuple<Factory, const char *, UInt32, const char *, OSType> rows[] = {
        {OrvPDEPluginFactoryJBA, "JBAKind", 150, "Job Accounting", 'jaup'},
        {OrvPDEPluginFactoryPrintType, "PrintTypeKind", 80, "Print Type", 'joup'}};
    auto session = sampleSession();
    for (const auto &[factory, kind, maxH, title, paneSignature] : rows) {
        SCOPED_TRACE(kind);
        LoadedPane pane(factory);
        OSType creator = 0;
        CFStringRef kindText = nullptr, titleText = nullptr;
        UInt32 h = 0, v = 0;
        ASSERT_EQ(pane.calls().Prologue(&pane.context, &creator, &kindText, &titleText, &h, &v),
                  noErr);
        CFRef<CFStringRef> kindHolder(kindText), titleHolder(titleText);
        EXPECT_EQ(creator, OSType('pde '));
        EXPECT_EQ(QStringFromCF(kindText), QString("com.veltra.kzu.pde.") + kind);
        EXPECT_EQ(QStringFromCF(titleText), title);
        EXPECT_EQ(std::make_pair(h, v), std::make_pair(maxH, UInt32(60)));
        EXPECT_EQ(pane.panel()->GetSyncState(), kSyncStatePrologue);
        PMPDEFlags flags = 0;
        ASSERT_EQ(pane.calls().Initialize(pane.context, &flags, nullptr, userPane, session->ref()),
                  noErr);
        EXPECT_EQ(pane.panel()->GetSyncState(), kSyncStateIdle);
        EXPECT_TRUE(pane.panel()->IsPrintCommandIntercepted());
        CFArrayRef titles = nullptr, values = nullptr;
        const auto &c = pane.calls();
        for (OSStatus answer : {c.Sync(pane.context, session->ref(), true),
                                c.GetSummaryText(pane.context, &titles, &values),
                                c.Open(pane.context), c.Sync(pane.context, session->ref(), false),
                                c.Close(pane.context), c.Terminate(pane.context, noErr)})
            EXPECT_EQ(answer, noErr);
        CFRef<CFArrayRef> titleList(titles), valueList(values);
        EXPECT_TRUE(titles && values);
        ControlRef found = nullptr;
        const ControlID paneID = {paneSignature, 1};
        EXPECT_EQ(GetControlByID(window, &paneID, &found), noErr);
    }
}

TEST_F(PlugInEntryTest, PrinterWithoutThePanesResourcesLeavesThePaneEmpty)
{
    // The attribute absent, a name without nib, a name without help.
    const std::tuple<Factory, const char *, const char *> rows[] = {
        {OrvPDEPluginFactoryJBA, "VZXAccountingSettings", ""},
        {OrvPDEPluginFactoryJBA, "VZXAccountingSettings", "Printer07-Printer01"},
        {OrvPDEPluginFactoryPrintType, "VZXPrintTypeSettings", "Printer09-Printer00"}};
    for (const auto &[factory, attribute, value] : rows) {
        SCOPED_TRACE(std::string(attribute) + " " + value);
        veltra::PrintSession session("Plain", ppdWith(VELTRA_SAMPLE_PPD, attribute, value));
        LoadedPane pane(factory);
        ASSERT_EQ(pane.prologue(), noErr);
        EXPECT_EQ(pane.calls().Initialize(pane.context, nullptr, nullptr, userPane, session.ref()),
                  kPMPDEInitializeFailed);
        EXPECT_EQ(pane.panel()->GetSyncState(), kSyncStateIdle);
        EXPECT_FALSE(pane.panel()->IsPrintCommandIntercepted());
        EXPECT_TRUE(paneWidget->findChildren<QWidget *>().isEmpty());
        // Later syncs still run against the panel.
        EXPECT_EQ(pane.calls().Sync(pane.context, session.ref(), true), noErr);
        EXPECT_EQ(pane.calls().Sync(pane.context, session.ref(), false), noErr);
        EXPECT_EQ(pane.calls().Terminate(pane.context, noErr), noErr);
    }
}

TEST_F(PlugInEntryTest, SyncResultCodesAndCallsWithoutSessionOrContext)
{
    auto session = sampleSession();
    LoadedPane pane(OrvPDEPluginFactoryPrintType);
    ASSERT_EQ(pane.prologue(), noErr);
    ASSERT_EQ(pane.calls().Initialize(pane.context, nullptr, nullptr, userPane, session->ref()),
              noErr);
    EXPECT_EQ(pane.calls().Sync(pane.context, nullptr, false), kPMInvalidPrinter);
    EXPECT_EQ(pane.panel()->GetSyncState(), kSyncStateIdle);
    session->setTicketAvailable(false);
    EXPECT_EQ(pane.calls().Sync(pane.context, session->ref(), false), kPMInvalidTicket);
    session->setTicketAvailable(true);
    // A printer without identifier: refused, nothing written, syncState left as it was.
    veltra::PrintSession anonymous("", OpenTestPPD(VELTRA_SAMPLE_PPD));
    pane.panel()->SetSyncState(5);
    EXPECT_EQ(pane.calls().Sync(pane.context, anonymous.ref(), false), kPMInvalidPrinter);
    EXPECT_EQ(pane.panel()->GetSyncState(), 5);
    EXPECT_TRUE(anonymous.ticket().entries().empty());
    // Any other direction does nothing.
    EXPECT_EQ(pane.calls().Sync(pane.context, session->ref(), 7), noErr);
    EXPECT_EQ(pane.panel()->GetSyncState(), kSyncStateIdle);
    EXPECT_EQ(pane.calls().Terminate(pane.context, noErr), noErr);
    // Without a context every call but the summary answers that Initialize failed.
    for (OSStatus answer :
         {pane.calls().Open(nullptr), pane.calls().Close(nullptr),
          pane.calls().Terminate(nullptr, 0), pane.calls().Sync(nullptr, nullptr, true),
          pane.calls().Initialize(nullptr, nullptr, nullptr, userPane, nullptr)})
        EXPECT_EQ(answer, kPMPDEInitializeFailed);
    CFArrayRef titles = nullptr, values = nullptr;
    EXPECT_EQ(pane.calls().GetSummaryText(nullptr, &titles, &values), noErr);
    // Without a session the pane stays empty.
    TestDialog fresh;
    LoadedPane alone(OrvPDEPluginFactoryJBA);
    ASSERT_EQ(alone.prologue(), noErr);
    EXPECT_EQ(alone.calls().Initialize(alone.context, 0, 0, fresh.userPane, nullptr), noErr);
    EXPECT_EQ(alone.panel()->GetSyncState(), kSyncStateIdle);
    EXPECT_TRUE(fresh.paneWidget->findChildren<QWidget *>().isEmpty());
    EXPECT_EQ(alone.calls().Terminate(alone.context, noErr), noErr);
}

class RecordingPaneTest : public SpineTest
{
protected:
    template <typename Entry> RecordingPanel *start(veltra::PrintSession &session)
    {
        EXPECT_EQ(Entry::Prologue(&context, nullptr, nullptr, nullptr, nullptr, nullptr), noErr);
        EXPECT_EQ(Entry::Initialize(context, nullptr, nullptr, userPane, session.ref()), noErr);
        return lastRecordingPanel;
    }
    PMPDEContext context = nullptr;
    std::unique_ptr<veltra::PrintSession> session = sampleSession();
};

// A sync inside Initialize keeps the control status; later syncs reset it. A failed validation
// writes nothing; failing summary and terminate passes answer that Initialize failed.
TEST_F(RecordingPaneTest, SyncResetsStatusAndFailingPassesWriteNothing)
{
    RecordingPanel *panel = start<RecordingEntry>(*session);
    EXPECT_EQ(panel->recorder->resetCount, 0);
    EXPECT_EQ(RecordingEntry::Sync(context, session->ref(), true), noErr);
    EXPECT_EQ(panel->recorder->resetCount, 1);
    panel->valid = false;
    EXPECT_EQ(RecordingEntry::Sync(context, session->ref(), false), kPMPDEValidateFailed);
    EXPECT_TRUE(session->ticket().entries().empty());
    EXPECT_EQ(StoredPreference("Lobbycom.veltra.kzu.printsettings.PasswordReference"), "<none>");
    panel->valid = true;
    EXPECT_EQ(RecordingEntry::Sync(context, session->ref(), false), noErr);
    EXPECT_FALSE(session->ticket().entries().empty());

    panel->failPasses = true;
    // The summary arrays are handed out even when the pass fails.
    CFArrayRef titles = nullptr, values = nullptr;
    EXPECT_EQ(RecordingEntry::GetSummaryText(context, &titles, &values), kPMPDEInitializeFailed);
    CFRef<CFArrayRef> titleList(titles), valueList(values);
    ASSERT_TRUE(titles && values);
    EXPECT_EQ(CFArrayGetCount(values), 1);
    ASSERT_EQ(CFArrayGetCount(titles), 1);
    EXPECT_EQ(QStringFromCF(static_cast<CFStringRef>(CFArrayGetValueAtIndex(titles, 0))),
              "Failing Title");
    EXPECT_EQ(panel->GetSyncState(), kSyncStateIdle);
    // A failed terminate keeps the context and its panel, so the print system may call again.
    EXPECT_EQ(RecordingEntry::Terminate(context, noErr), kPMPDEInitializeFailed);
    EXPECT_EQ(reinterpret_cast<PDEExtensionContext *>(context)->panel, panel);
    EXPECT_EQ(panel->GetSyncState(), kSyncStateTerminated);
    panel->failPasses = false;
    EXPECT_EQ(RecordingEntry::Terminate(context, noErr), noErr);
}

TEST_F(RecordingPaneTest, PasscodeIsScrambledUnlessThePrinterTurnsItOff)
{
    // Empty: the attribute is absent.
    const std::pair<const char *, bool> rows[] = {
        {"", true}, {"True", true}, {"False", false}, {"true", false}};
    for (const auto &[attribute, scrambled] : rows) {
        SCOPED_TRACE(attribute);
        veltra::PrintSession printer(
            "Lobby", ppdWith(VELTRA_SAMPLE_PPD, "VZXPrintTypePasswordEncrypted", attribute));
        RecordingPanel *panel = start<RecordingEntry>(printer);
        panel->passcode->setValue("1234");
        panel->passcode->SetControlValueToUI(); // the pane's nib has a passcode field
        panel->passcode->GetValueFromUI();
        ASSERT_EQ(RecordingEntry::Sync(context, printer.ref(), false), noErr);
        EXPECT_EQ(TicketValue(printer, "com.veltra.kzu.printsettings.PasswordTicketKey"),
                  scrambled ? Scrambled("1234") : "1234");
        EXPECT_EQ(RecordingEntry::Terminate(context, noErr), noErr);
    }
}
