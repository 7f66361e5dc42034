// The plug-in entry: factories, reference counting and the callback sequence the print system
// drives, on the real panes and on test panes built with the same entry code.
#include "SpineFixture.h"

#include "PDEPlugInEntry.h"
#include "WmbCodec.h"

extern "C" void *OrvPDEPluginFactoryJBA(CFAllocatorRef, CFUUIDRef);
extern "C" void *OrvPDEPluginFactoryPrintType(CFAllocatorRef, CFUUIDRef);
extern const PDEPaneDescription kJBAPane;
extern const PDEPaneDescription kPrintTypePane;

namespace {

ControlID passcodeID = {'sppi', 206};
ControlID recordID = {'tsrc', 1};
ControlAccessInfo passcodeAccess = {'pwcf', 'pwcf', nullptr,
                                    CFSTR("com.veltra.kzu.printsettings.PasswordTicketKey"),
                                    CFSTR("com.veltra.kzu.printsettings.PasswordReference")};

// A print type pane whose panel holds a passcode field and a control that records resets, and
// whose summary and terminate passes fail while told to.
struct RecordingPanel : TestPanel
{
    RecordingPanel()
    {
        passcodeAccess.preferenceUser = kCFPreferencesCurrentUser;
        useNib(GetPDENibFileName(), CFSTR("Window"), ControlID{'joup', 1});
        passcode = add(new TestTextControl(&passcodeID, &passcodeAccess));
        recorder = add(new TestTextControl(&recordID));
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
    TestTextControl *passcode;
    TestTextControl *recorder;
    bool valid = true;
    bool failPasses = false;
};

RecordingPanel *lastRecordingPanel = nullptr;
CBasePrintPanel *CreateRecordingPanel()
{
    lastRecordingPanel = new RecordingPanel;
    return lastRecordingPanel;
}

const PDEPaneDescription kRecordingPane = [] {
    PDEPaneDescription d = kPrintTypePane;
    d.createPanel = CreateRecordingPanel;
    return d;
}();
using RecordingEntry = PDEEntry<kRecordingPane>;

// The job accounting pane's description on the recording panel, without its own ticket rules.
const PDEPaneDescription kRecordingJBAPane = [] {
    PDEPaneDescription d = kJBAPane;
    d.createPanel = CreateRecordingPanel;
    d.refuseTicketWrite = nullptr;
    d.afterTicketWrite = nullptr;
    return d;
}();
using RecordingJBAEntry = PDEEntry<kRecordingJBAPane>;

// Drives one pane the way the print system does, through the interface the factory hands out.
struct LoadedPane
{
    void *instance = nullptr;
    PMPlugInHeaderInterface *pde = nullptr;
    PMPDEContext context = nullptr;

    explicit LoadedPane(void *(*factory)(CFAllocatorRef, CFUUIDRef))
    {
        CFRef<CFUUIDRef> type(CFUUIDCreateFromString(nullptr, kPMPDEPlugInType));
        instance = factory(nullptr, type);
        if (!instance)
            return;
        auto *unknown = *static_cast<IUnknownVTbl **>(instance);
        CFRef<CFUUIDRef> iid(CFUUIDCreateFromString(nullptr, kPMPDEInterfaceID));
        unknown->QueryInterface(instance, CFUUIDGetUUIDBytes(iid),
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
    OSStatus prologue()
    {
        return calls().Prologue(&context, nullptr, nullptr, nullptr, nullptr, nullptr);
    }
};

} // namespace

class PlugInEntryTest : public SpineTest
{
};

TEST_F(PlugInEntryTest, FactoriesAndReferenceCounts)
{
    CFRef<CFUUIDRef> other(
        CFUUIDCreateFromString(nullptr, CFSTR("00000000-1111-2222-3333-444444444444")));
    EXPECT_EQ(OrvPDEPluginFactoryJBA(nullptr, other), nullptr);
    EXPECT_EQ(OrvPDEPluginFactoryPrintType(nullptr, nullptr), nullptr);

    CFRef<CFUUIDRef> type(CFUUIDCreateFromString(nullptr, kPMPDEPlugInType));
    CFRef<CFUUIDRef> factory(
        CFUUIDCreateFromString(nullptr, CFSTR("3059AF28-E83F-4AC5-BBEC-78C8971D0702")));
    const CFIndex before = VeltraPlugInInstanceCount(factory);
    void *instance = OrvPDEPluginFactoryJBA(nullptr, type);
    ASSERT_NE(instance, nullptr);
    EXPECT_EQ(VeltraPlugInInstanceCount(factory), before + 1);
    auto *unknown = *static_cast<IUnknownVTbl **>(instance);
    LPVOID same = nullptr;
    EXPECT_EQ(unknown->QueryInterface(instance, CFUUIDGetUUIDBytes(IUnknownUUID()), &same), S_OK);
    EXPECT_EQ(same, instance);
    LPVOID none = &same;
    EXPECT_EQ(unknown->QueryInterface(instance, CFUUIDGetUUIDBytes(other), &none), E_NOINTERFACE);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(unknown->AddRef(instance), 3u);
    EXPECT_EQ(unknown->Release(instance), 2u);
    EXPECT_EQ(unknown->Release(instance), 1u);
    EXPECT_EQ(unknown->Release(instance), 0u);
    EXPECT_EQ(VeltraPlugInInstanceCount(factory), before);

    LoadedPane pane(OrvPDEPluginFactoryPrintType);
    ASSERT_NE(pane.pde, nullptr);
    PMPlugInAPIVersion version = {};
    EXPECT_EQ(pane.calls().plugInHeader.GetAPIVersion(pane.pde, &version), noErr);
    EXPECT_EQ(std::vector<UInt32>({version.buildVersionMajor, version.buildVersionMinor,
                                   version.baseVersionMajor, version.baseVersionMinor}),
              std::vector<UInt32>({1, 0, 1, 0}));
    EXPECT_EQ(pane.calls().plugInHeader.Retain(pane.pde), noErr);
    PMPlugInHeaderInterface *copy = pane.pde;
    EXPECT_EQ(pane.calls().plugInHeader.Release(&copy), noErr);
    EXPECT_EQ(copy, nullptr);
}

TEST_F(PlugInEntryTest, PrologueAnswersKindCreatorSizesAndTitle)
{
    const struct
    {
        void *(*factory)(CFAllocatorRef, CFUUIDRef);
        const char *kind;
        UInt32 maxH, maxV;
        const char *title;
    } cases[] = {
        {OrvPDEPluginFactoryJBA, "com.veltra.kzu.pde.JBAKind", 150, 60, "Job Accounting"},
        {OrvPDEPluginFactoryPrintType, "com.veltra.kzu.pde.PrintTypeKind", 80, 60, "Print Type"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.kind);
        LoadedPane pane(c.factory);
        OSType creator = 0;
        CFStringRef kind = nullptr, title = nullptr;
        UInt32 maxH = 0, maxV = 0;
        ASSERT_EQ(pane.calls().Prologue(&pane.context, &creator, &kind, &title, &maxH, &maxV),
                  noErr);
        CFRef<CFStringRef> kindHolder(kind), titleHolder(title);
        EXPECT_EQ(creator, OSType('pde '));
        EXPECT_EQ(QStringFromCF(kind), c.kind);
        EXPECT_EQ(QStringFromCF(title), c.title);
        EXPECT_EQ(maxH, c.maxH);
        EXPECT_EQ(maxV, c.maxV);
        EXPECT_EQ(pane.panel()->GetSyncState(), kSyncStatePrologue);
        EXPECT_EQ(pane.calls().Terminate(pane.context, noErr), noErr);
    }
}

TEST_F(PlugInEntryTest, WholeSequenceOnTheSamplePrinter)
{
    auto session = sampleSession();
    for (auto factory : {OrvPDEPluginFactoryJBA, OrvPDEPluginFactoryPrintType}) {
        LoadedPane pane(factory);
        ASSERT_EQ(pane.prologue(), noErr);
        PMPDEFlags flags = 0;
        EXPECT_EQ(pane.calls().Initialize(pane.context, &flags, nullptr, userPane, session->ref()),
                  noErr);
        EXPECT_EQ(pane.panel()->GetSyncState(), kSyncStateIdle);
        EXPECT_TRUE(pane.panel()->IsPrintCommandIntercepted());
        EXPECT_EQ(pane.calls().Sync(pane.context, session->ref(), true), noErr);
        CFArrayRef titles = nullptr, values = nullptr;
        EXPECT_EQ(pane.calls().GetSummaryText(pane.context, &titles, &values), noErr);
        CFRef<CFArrayRef> titleHolder(titles), valueHolder(values);
        ASSERT_TRUE(titles && values);
        EXPECT_EQ(pane.calls().Open(pane.context), noErr);
        EXPECT_EQ(ProcessHICommandInWindow(dialogWindow, kHICommandOK), eventNotHandledErr);
        EXPECT_EQ(pane.calls().Sync(pane.context, session->ref(), false), noErr);
        EXPECT_EQ(pane.calls().Close(pane.context), noErr);
        EXPECT_EQ(pane.calls().Terminate(pane.context, noErr), noErr);
    }
    // The shown panes are the nib panes of both.
    const ControlID jbaPane = {'jaup', 1}, typePane = {'joup', 1};
    ControlRef found = nullptr;
    EXPECT_EQ(GetControlByID(dialogWindow, &jbaPane, &found), noErr);
    EXPECT_EQ(GetControlByID(dialogWindow, &typePane, &found), noErr);
}

TEST_F(PlugInEntryTest, PrinterWithoutThePanesResourcesLeavesThePaneEmpty)
{
    const struct
    {
        void *(*factory)(CFAllocatorRef, CFUUIDRef);
        const char *attribute;
        const char *value; // empty: the attribute is absent
    } cases[] = {
        {OrvPDEPluginFactoryJBA, "VZXAccountingSettings", ""},
        {OrvPDEPluginFactoryJBA, "VZXAccountingSettings", "Printer07-Printer01"}, // no nib
        {OrvPDEPluginFactoryJBA, "VZXAccountingSettings", "Printer01-Printer07"}, // no help
        {OrvPDEPluginFactoryPrintType, "VZXPrintTypeSettings", ""},
        {OrvPDEPluginFactoryPrintType, "VZXPrintTypeSettings", "Printer09-Printer00"},
        {OrvPDEPluginFactoryPrintType, "VZXPrintTypeSettings", "Printer00-Printer09"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.attribute) + " " + c.value);
        veltra::PrintSession session("Plain", sampleWith(c.attribute, c.value));
        LoadedPane pane(c.factory);
        ASSERT_EQ(pane.prologue(), noErr);
        EXPECT_EQ(pane.calls().Initialize(pane.context, nullptr, nullptr, userPane, session.ref()),
                  kPMPDEInitializeFailed);
        EXPECT_EQ(kPMPDEInitializeFailed, -9530);
        EXPECT_EQ(pane.panel()->GetSyncState(), kSyncStateIdle);
        EXPECT_FALSE(pane.panel()->IsPrintCommandIntercepted());
        EXPECT_TRUE(paneWidget->findChildren<QWidget *>().isEmpty());
        // Later syncs still run against the panel.
        EXPECT_EQ(pane.calls().Sync(pane.context, session.ref(), true), noErr);
        EXPECT_EQ(pane.calls().Sync(pane.context, session.ref(), false), noErr);
        EXPECT_EQ(pane.calls().Terminate(pane.context, noErr), noErr);
    }
}

TEST_F(PlugInEntryTest, CallsWithoutSessionOrContext)
{
    LoadedPane pane(OrvPDEPluginFactoryJBA);
    ASSERT_EQ(pane.prologue(), noErr);
    EXPECT_EQ(pane.calls().Initialize(pane.context, nullptr, nullptr, userPane, nullptr), noErr);
    EXPECT_EQ(pane.panel()->GetSyncState(), kSyncStateIdle);
    EXPECT_TRUE(paneWidget->findChildren<QWidget *>().isEmpty());
    EXPECT_EQ(pane.calls().Terminate(pane.context, noErr), noErr);

    EXPECT_EQ(pane.calls().Open(nullptr), kPMPDEInitializeFailed);
    EXPECT_EQ(pane.calls().Close(nullptr), kPMPDEInitializeFailed);
    EXPECT_EQ(pane.calls().Terminate(nullptr, noErr), kPMPDEInitializeFailed);
    EXPECT_EQ(pane.calls().Sync(nullptr, nullptr, true), kPMPDEInitializeFailed);
    EXPECT_EQ(pane.calls().Initialize(nullptr, nullptr, nullptr, userPane, nullptr),
              kPMPDEInitializeFailed);
    CFArrayRef titles = nullptr, values = nullptr;
    EXPECT_EQ(pane.calls().GetSummaryText(nullptr, &titles, &values), noErr);
}

TEST_F(PlugInEntryTest, SyncResultCodes)
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
    veltra::PrintSession anonymous("", openPPD(VELTRA_SAMPLE_PPD));
    pane.panel()->SetSyncState(5);
    EXPECT_EQ(pane.calls().Sync(pane.context, anonymous.ref(), false), kPMInvalidPrinter);
    EXPECT_EQ(pane.panel()->GetSyncState(), 5);
    EXPECT_TRUE(anonymous.ticket().entries().empty());

    // Any other direction does nothing.
    EXPECT_EQ(pane.calls().Sync(pane.context, session->ref(), 7), noErr);
    EXPECT_EQ(pane.panel()->GetSyncState(), kSyncStateIdle);
    EXPECT_EQ(pane.calls().Terminate(pane.context, noErr), noErr);
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
};

TEST_F(RecordingPaneTest, SyncInsideInitializeKeepsControlStatusLaterSyncsReset)
{
    auto session = sampleSession();
    RecordingPanel *panel = start<RecordingEntry>(*session);
    EXPECT_EQ(panel->recorder->resetCount, 0);
    EXPECT_EQ(RecordingEntry::Sync(context, session->ref(), true), noErr);
    EXPECT_EQ(panel->recorder->resetCount, 1);
    EXPECT_EQ(RecordingEntry::Terminate(context, noErr), noErr);
}

TEST_F(RecordingPaneTest, PasscodeIsScrambledUnlessThePrinterTurnsItOff)
{
    const struct
    {
        const char *attribute; // empty: the attribute is absent
        bool scrambled;
    } cases[] = {{"", true}, {"True", true}, {"False", false}, {"true", false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.attribute);
        veltra::PrintSession session("Lobby",
                                     sampleWith("VZXPrintTypePasswordEncrypted", c.attribute));
        RecordingPanel *panel = start<RecordingEntry>(session);
        panel->passcode->setValue("1234");
        panel->passcode->SetControlValueToUI(); // the pane's nib has a passcode field
        panel->passcode->GetValueFromUI();
        ASSERT_EQ(RecordingEntry::Sync(context, session.ref(), false), noErr);
        const std::string *written =
            session.ticket().value("com.veltra.kzu.printsettings.PasswordTicketKey");
        ASSERT_NE(written, nullptr);
        // "1234" xor "qbtn", Base64-coded.
        EXPECT_EQ(*written, c.scrambled ? "QFBHWg==" : "1234");
        EXPECT_EQ(RecordingEntry::Terminate(context, noErr), noErr);
    }
}

TEST_F(RecordingPaneTest, JobAccountingScramblesTheThreeUserPasswordFields)
{
    static ControlID ids[] = {{'uptt', 303}, {'uptt', 1303}, {'uptt', 506}, {'uptt', 304}};
    static ControlAccessInfo access[] = {
        {'cfst', 'cfst', nullptr, CFSTR("com.veltra.kzu.printsettings.U303"), nullptr},
        {'cfst', 'cfst', nullptr, CFSTR("com.veltra.kzu.printsettings.U1303"), nullptr},
        {'cfst', 'cfst', nullptr, CFSTR("com.veltra.kzu.printsettings.U506"), nullptr},
        {'cfst', 'cfst', nullptr, CFSTR("com.veltra.kzu.printsettings.U304"), nullptr},
    };
    auto session = sampleSession();
    RecordingPanel *panel = start<RecordingJBAEntry>(*session);
    for (int i = 0; i < 4; ++i)
        panel->add(new TestTextControl(&ids[i], &access[i]))->enter("1234");
    ASSERT_EQ(RecordingJBAEntry::Sync(context, session->ref(), false), noErr);
    for (int i = 0; i < 4; ++i) {
        const std::string key = QStringFromCF(access[i].ticketKey).toStdString();
        const std::string *written = session->ticket().value(key);
        ASSERT_NE(written, nullptr) << key;
        // Only the user-ID password fields are written scrambled.
        EXPECT_EQ(*written, i < 3 ? "QFBHWg==" : "1234") << key;
        if (i < 3) {
            EXPECT_EQ(Unscramble(*written), "1234");
        }
    }
    EXPECT_EQ(RecordingJBAEntry::Terminate(context, noErr), noErr);
}

TEST_F(RecordingPaneTest, FailedValidationWritesNothing)
{
    auto session = sampleSession();
    RecordingPanel *panel = start<RecordingEntry>(*session);
    panel->valid = false;
    EXPECT_EQ(RecordingEntry::Sync(context, session->ref(), false), kPMPDEValidateFailed);
    EXPECT_TRUE(session->ticket().entries().empty());
    EXPECT_EQ(StoredPreference(std::string("Lobbycom.veltra.kzu.printsettings.PasswordReference")),
              "<none>");
    panel->valid = true;
    EXPECT_EQ(RecordingEntry::Sync(context, session->ref(), false), noErr);
    EXPECT_FALSE(session->ticket().entries().empty());
    EXPECT_EQ(RecordingEntry::Terminate(context, noErr), noErr);
}

TEST_F(RecordingPaneTest, FailingPanelPassesAnswerInitializeFailed)
{
    auto session = sampleSession();
    RecordingPanel *panel = start<RecordingEntry>(*session);
    panel->failPasses = true;

    // The summary arrays are handed out even when the pass fails.
    CFArrayRef titles = nullptr, values = nullptr;
    EXPECT_EQ(RecordingEntry::GetSummaryText(context, &titles, &values), kPMPDEInitializeFailed);
    CFRef<CFArrayRef> titleHolder(titles), valueHolder(values);
    ASSERT_TRUE(titles && values);
    EXPECT_EQ(CFArrayGetCount(titles), CFArrayGetCount(values));
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
