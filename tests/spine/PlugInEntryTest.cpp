// The plug-in entry: factories, reference counting and the callback sequence the print system
// drives, on the real panes and on a test pane built with the same entry code.
#include "SpineFixture.h"

#include "PDEPlugInEntry.h"

#include <QTest>

extern "C" void *OrvPDEPluginFactoryJBA(CFAllocatorRef, CFUUIDRef);
extern "C" void *OrvPDEPluginFactoryPrintType(CFAllocatorRef, CFUUIDRef);
extern const PDEPaneDescription kPrintTypePane;

namespace {

ControlID passcodeID = {'sppi', 206};
ControlID recordID = {'tsrc', 1};
ControlAccessInfo passcodeAccess = {'pwcf', 'pwcf', nullptr,
                                    CFSTR("com.veltra.kzu.printsettings.PasswordTicketKey"),
                                    CFSTR("com.veltra.kzu.printsettings.PasswordReference")};

const char kNoSettingsPPD[] = R"PPD(*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "PLAIN.PPD"
*Manufacturer: "Other"
*Product: "(Plain)"
*ModelName: "Plain Printer"
*ShortNickName: "Plain"
*NickName: "Plain Printer"
*PSVersion: "(3010.000) 0"
*OpenUI *PageSize/Page Size: PickOne
*DefaultPageSize: A4
*PageSize A4/A4: ""
*CloseUI: *PageSize
)PPD";

// A print type pane whose panel holds a passcode field and a control that records resets.
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
    TestTextControl *passcode;
    TestTextControl *recorder;
    bool valid = true;
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
    OSStatus prologue(CFRef<CFStringRef> *titleOut = nullptr)
    {
        OSType creator = 0;
        CFStringRef kind = nullptr, title = nullptr;
        UInt32 maxH = 0, maxV = 0;
        const OSStatus status = calls().Prologue(&context, &creator, &kind, &title, &maxH, &maxV);
        CFRef<CFStringRef> kindHolder(kind), titleHolder(title);
        if (titleOut)
            *titleOut = titleHolder;
        return status;
    }
};

} // namespace

class PlugInEntryTest : public SpineTest
{
};

TEST_F(PlugInEntryTest, FactoriesAnswerOnlyForTheDialogExtensionType)
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

    // IUnknown answers the instance itself with one more reference.
    LPVOID same = nullptr;
    EXPECT_EQ(unknown->QueryInterface(instance, CFUUIDGetUUIDBytes(IUnknownUUID()), &same), S_OK);
    EXPECT_EQ(same, instance);
    EXPECT_EQ(unknown->Release(instance), 1u);

    LPVOID none = &same;
    EXPECT_EQ(unknown->QueryInterface(instance, CFUUIDGetUUIDBytes(other), &none), E_NOINTERFACE);
    EXPECT_EQ(none, nullptr);

    EXPECT_EQ(unknown->AddRef(instance), 2u);
    EXPECT_EQ(unknown->Release(instance), 1u);
    EXPECT_EQ(unknown->Release(instance), 0u);
    EXPECT_EQ(VeltraPlugInInstanceCount(factory), before);
}

TEST_F(PlugInEntryTest, InterfaceCountsItsOwnReferences)
{
    LoadedPane pane(OrvPDEPluginFactoryPrintType);
    ASSERT_NE(pane.pde, nullptr);
    PMPlugInAPIVersion version = {};
    EXPECT_EQ(pane.calls().plugInHeader.GetAPIVersion(pane.pde, &version), noErr);
    EXPECT_EQ(version.buildVersionMajor, 1u);
    EXPECT_EQ(version.buildVersionMinor, 0u);
    EXPECT_EQ(version.baseVersionMajor, 1u);
    EXPECT_EQ(version.baseVersionMinor, 0u);
    EXPECT_EQ(pane.calls().plugInHeader.Retain(pane.pde), noErr);
    PMPlugInHeaderInterface *copy = pane.pde;
    EXPECT_EQ(pane.calls().plugInHeader.Release(&copy), noErr);
    EXPECT_EQ(copy, nullptr);
}

TEST_F(PlugInEntryTest, WholeSequenceOnTheSamplePrinter)
{
    auto session = sampleSession();
    for (auto factory : {OrvPDEPluginFactoryJBA, OrvPDEPluginFactoryPrintType}) {
        LoadedPane pane(factory);
        CFRef<CFStringRef> title;
        ASSERT_EQ(pane.prologue(&title), noErr);
        EXPECT_FALSE(QStringFromCF(title).isEmpty());
        EXPECT_EQ(pane.panel()->GetSyncState(), kSyncStatePrologue);
        PMPDEFlags flags = 0;
        EXPECT_EQ(pane.calls().Initialize(pane.context, &flags, nullptr, userPane, session->ref()),
                  noErr);
        EXPECT_EQ(pane.panel()->GetSyncState(), kSyncStateIdle);
        EXPECT_TRUE(pane.panel()->IsPrintCommandIntercepted());
        EXPECT_EQ(pane.calls().Sync(pane.context, session->ref(), true), noErr);
        CFArrayRef titles = nullptr, values = nullptr;
        EXPECT_EQ(pane.calls().GetSummaryText(pane.context, &titles, &values), noErr);
        ASSERT_NE(titles, nullptr);
        ASSERT_NE(values, nullptr);
        CFRelease(titles);
        CFRelease(values);
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

TEST_F(PlugInEntryTest, PrinterWithoutSettingsAttributeLeavesThePaneEmpty)
{
    veltra::PrintSession session("Plain", ppdFromText("plain.ppd", kNoSettingsPPD));
    for (auto factory : {OrvPDEPluginFactoryJBA, OrvPDEPluginFactoryPrintType}) {
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

TEST_F(PlugInEntryTest, InitializeWithoutSessionBuildsNothing)
{
    LoadedPane pane(OrvPDEPluginFactoryJBA);
    ASSERT_EQ(pane.prologue(), noErr);
    EXPECT_EQ(pane.calls().Initialize(pane.context, nullptr, nullptr, userPane, nullptr), noErr);
    EXPECT_EQ(pane.panel()->GetSyncState(), kSyncStateIdle);
    EXPECT_TRUE(paneWidget->findChildren<QWidget *>().isEmpty());
    EXPECT_EQ(pane.calls().Terminate(pane.context, noErr), noErr);
}

TEST_F(PlugInEntryTest, CallbacksWithoutContextAnswerInitializeFailed)
{
    LoadedPane pane(OrvPDEPluginFactoryPrintType);
    EXPECT_EQ(pane.calls().Open(nullptr), kPMPDEInitializeFailed);
    EXPECT_EQ(pane.calls().Close(nullptr), kPMPDEInitializeFailed);
    EXPECT_EQ(pane.calls().Terminate(nullptr, noErr), kPMPDEInitializeFailed);
    EXPECT_EQ(pane.calls().Sync(nullptr, nullptr, true), kPMPDEInitializeFailed);
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

TEST_F(PlugInEntryTest, SyncInsideInitializeKeepsControlStatusLaterSyncsReset)
{
    auto session = sampleSession();
    PMPDEContext context = nullptr;
    ASSERT_EQ(RecordingEntry::Prologue(&context, nullptr, nullptr, nullptr, nullptr, nullptr),
              noErr);
    RecordingPanel *panel = lastRecordingPanel;
    ASSERT_EQ(RecordingEntry::Initialize(context, nullptr, nullptr, userPane, session->ref()),
              noErr);
    EXPECT_EQ(panel->recorder->resetCount, 0);
    EXPECT_EQ(RecordingEntry::Sync(context, session->ref(), true), noErr);
    EXPECT_EQ(panel->recorder->resetCount, 1);
    EXPECT_EQ(RecordingEntry::Terminate(context, noErr), noErr);
}

TEST_F(PlugInEntryTest, PasscodeIsScrambledUnlessThePrinterTurnsItOff)
{
    struct Case
    {
        const char *attribute; // null: the attribute is absent
        bool scrambled;
    };
    const Case cases[] = {{nullptr, true}, {"True", true}, {"False", false}, {"true", false}};
    QFile sample(VELTRA_SAMPLE_PPD);
    ASSERT_TRUE(sample.open(QIODevice::ReadOnly));
    const std::string samplePPD = sample.readAll().toStdString();

    for (const Case &c : cases) {
        std::string text = samplePPD;
        const std::string line = "*VZXPrintTypePasswordEncrypted: \"True\"\n";
        text.replace(text.find(line), line.size(),
                     c.attribute
                         ? "*VZXPrintTypePasswordEncrypted: \"" + std::string(c.attribute) + "\"\n"
                         : std::string());
        veltra::PrintSession session("Lobby", ppdFromText("passcode.ppd", text));
        PMPDEContext context = nullptr;
        ASSERT_EQ(RecordingEntry::Prologue(&context, nullptr, nullptr, nullptr, nullptr, nullptr),
                  noErr);
        RecordingPanel *panel = lastRecordingPanel;
        ASSERT_EQ(RecordingEntry::Initialize(context, nullptr, nullptr, userPane, session.ref()),
                  noErr);
        panel->passcode->setValue("1234");
        panel->passcode->SetControlValueToUI(); // the pane's nib has a passcode field
        panel->passcode->GetValueFromUI();
        ASSERT_EQ(RecordingEntry::Sync(context, session.ref(), false), noErr);
        const std::string *written =
            session.ticket().value("com.veltra.kzu.printsettings.PasswordTicketKey");
        ASSERT_NE(written, nullptr);
        // "1234" xor "qbtn", Base64-coded.
        EXPECT_EQ(*written, c.scrambled ? "QFBHWg==" : "1234")
            << (c.attribute ? c.attribute : "absent");
        EXPECT_EQ(RecordingEntry::Terminate(context, noErr), noErr);
    }
}

TEST_F(PlugInEntryTest, FailedValidationWritesNothing)
{
    auto session = sampleSession();
    PMPDEContext context = nullptr;
    ASSERT_EQ(RecordingEntry::Prologue(&context, nullptr, nullptr, nullptr, nullptr, nullptr),
              noErr);
    RecordingPanel *panel = lastRecordingPanel;
    ASSERT_EQ(RecordingEntry::Initialize(context, nullptr, nullptr, userPane, session->ref()),
              noErr);
    panel->valid = false;
    EXPECT_EQ(RecordingEntry::Sync(context, session->ref(), false), kPMPDEValidateFailed);
    EXPECT_TRUE(session->ticket().entries().empty());
    EXPECT_EQ(preference("Lobbycom.veltra.kzu.printsettings.PasswordReference"), "<none>");
    panel->valid = true;
    EXPECT_EQ(RecordingEntry::Sync(context, session->ref(), false), noErr);
    EXPECT_FALSE(session->ticket().entries().empty());
    EXPECT_EQ(RecordingEntry::Terminate(context, noErr), noErr);
}
