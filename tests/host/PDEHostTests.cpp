// The print dialog host driving real plug-in panes (the test bundle's module): the callback
// sequence, the dialog's user panes, the Print command and its veto, and the ticket.
#include "fixture/StderrCapture.h"
#include "fixture/TestPDEControl.h"

#include <PDEHost.h>

#include <HIToolbox/HIToolbox.h>
#include <HIToolbox/QtBridge.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using testpde::logged;
using veltra::PDEHost;
using veltra::PrintSession;
using Lines = std::vector<std::string>;

constexpr const char *kFactoryA = "AAAAAAAA-0000-4000-8000-00000000000A";

std::unique_ptr<PrintSession> makeSession()
{
    std::string error;
    auto ppd = veltra::OpenPPD(VELTRA_TEST_DATA_DIR "/Veltra-Test.ppd", &error);
    EXPECT_TRUE(ppd) << error;
    return std::make_unique<PrintSession>("Test_Printer", std::move(ppd));
}

// What the host reports of each call: "<pane kind or factory>:<call>=<answer>".
Lines hostCalls(const PDEHost &host)
{
    Lines calls;
    for (const veltra::PDECallRecord &record : host.calls())
        calls.push_back(record.label + ":" + record.call + "=" + std::to_string(record.result));
    return calls;
}

bool contains(const Lines &lines, const std::string &line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// The calls each pane gets from its factory to its first summary.
Lines started(const char *pane)
{
    Lines lines;
    for (const char *call : {"Factory", "QueryInterface", "GetAPIVersion", "Prologue", "Initialize",
                             "Sync(true)", "GetSummaryText"})
        lines.push_back(std::string(pane) + ":" + call);
    return lines;
}

Lines operator+(Lines a, const Lines &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class PDEHostTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        VeltraBundleSetLanguage("en");
        testpde::reset();
        std::string error;
        ASSERT_TRUE(host.load(testpde::kBundleDir, &error)) << error;
        session = makeSession();
    }
    void TearDown() override
    {
        host.close();
        testpde::reset();
    }

    // Opens the dialog, shown when show is set.
    void open(bool show = false)
    {
        std::string error;
        ASSERT_TRUE(host.openDialog(*session, &error)) << error;
        if (show) {
            host.dialog()->show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(host.dialog()));
        }
    }
    QLineEdit *field(int pane) const
    {
        QWidget *page = host.userPaneWidget(pane);
        return page ? page->findChild<QLineEdit *>() : nullptr;
    }
    const std::string *ticketValue(const char *key) const { return session->ticket().value(key); }
    void clickPrint() { QTest::mouseClick(host.dialog()->printButton(), Qt::LeftButton); }

    PDEHost host;
    std::unique_ptr<PrintSession> session;
};

TEST_F(PDEHostTest, RunsEveryPaneOfThePropertyListThroughTheCallbackSequenceInOrder)
{
    EXPECT_EQ(host.factoryCount(), 2);
    open();
    ASSERT_EQ(host.paneCount(), 2);
    EXPECT_EQ(host.paneKind(1), "com.veltra.test.PaneB");
    EXPECT_EQ(host.paneTitle(0), "Test Pane A");
    EXPECT_EQ(host.paneTitle(2), "") << "there is no third pane";
    EXPECT_EQ(host.paneKind(-1), "");
    host.showPane(1); // only the pane on screen is open
    ASSERT_TRUE(host.pressPrint());
    host.close();
    // The most recently installed handler sees the command first; the factory of another
    // plug-in type is never called.
    const Lines expected =
        started("A") + started("B") + Lines{"A:Open",         "A:Close",        "B:Open",
                                            "B:PrintCommand", "A:PrintCommand", "A:Sync(false)",
                                            "B:Sync(false)",  "A:Terminate(0)", "A:Release",
                                            "A:Destroyed",    "B:Close",        "B:Terminate(0)",
                                            "B:Release",      "B:Destroyed"};
    EXPECT_EQ(testpde::log(), expected);

    // The host reports the same sequence with each answer.
    const Lines reported = hostCalls(host);
    const std::string a = "com.veltra.test.PaneA:", factory = std::string(kFactoryA) + ":";
    const Lines report = {factory + "Factory=0",       factory + "QueryInterface=0",
                          factory + "GetAPIVersion=0", a + "Prologue=0",
                          a + "Initialize=0",          a + "Sync(true)=0",
                          a + "GetSummaryText=0"};
    ASSERT_GE(reported.size(), report.size());
    EXPECT_EQ(Lines(reported.begin(), reported.begin() + 7), report);
    EXPECT_TRUE(contains(reported, a + "Open=0"));
    EXPECT_TRUE(contains(reported, "dialog:Print=" + std::to_string(eventNotHandledErr)));
    EXPECT_EQ(reported.back(), "com.veltra.test.PaneB:IUnknownRelease=0");
}

TEST_F(PDEHostTest, UserPanesSpanTheDialogAndThePopupShowsOnePageAtATime)
{
    open(true);
    QDialog *dialog = host.dialog();
    EXPECT_EQ(VeltraWindowWidget(host.dialogWindow()), dialog);
    for (int i = 0; i < host.paneCount(); ++i) {
        SCOPED_TRACE(i);
        QWidget *page = host.userPaneWidget(i);
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->mapTo(dialog, QPoint(0, 0)).x(), 0);
        EXPECT_EQ(page->width(), dialog->width());
        EXPECT_EQ(GetControlOwner(host.userPane(i)), host.dialogWindow());
        EXPECT_EQ(VeltraControlWidget(host.userPane(i)), page);
        // The pane's widgets from its nib now live in the dialog.
        ASSERT_NE(field(i), nullptr);
        EXPECT_TRUE(page->rect().contains(field(i)->mapTo(page, QPoint(0, 0))));
        Rect bounds{};
        GetControlBounds(host.userPane(i), &bounds);
        EXPECT_EQ(bounds.left, 0);
        EXPECT_EQ(bounds.right, dialog->width());
    }
    QComboBox *popup = host.dialog()->panePopup();
    ASSERT_EQ(popup->count(), 3);
    EXPECT_EQ(popup->itemText(1), "Test Pane B");
    EXPECT_EQ(popup->itemText(2), "Summary");
    EXPECT_TRUE(field(0)->isVisible());
    EXPECT_FALSE(field(1)->isVisible());
    popup->setFocus();
    QTest::keyClick(popup, Qt::Key_Down);
    EXPECT_EQ(popup->currentIndex(), 1);
    EXPECT_FALSE(host.userPaneWidget(0)->isVisible());
    EXPECT_TRUE(host.userPaneWidget(1)->isVisible());

    // The summary: a heading row per pane, then its settings and values.
    QTest::keyClick(popup, Qt::Key_Down);
    QTableWidget *table = host.dialog()->summaryTable();
    ASSERT_TRUE(table->isVisible());
    EXPECT_FALSE(host.userPaneWidget(1)->isVisible());
    QStringList rows;
    for (int row = 0; row < table->rowCount(); ++row)
        rows << table->item(row, 0)->text() + "|" +
                    (table->item(row, 1) ? table->item(row, 1)->text() : QString());
    EXPECT_EQ(rows.join(';'),
              "Test Pane A|;Test Setting|Value A;Test Pane B|;Test Setting|Value B");
}

TEST_F(PDEHostTest, TextTypedInAPaneReachesTheTicketOnceNoPaneHoldsPrintBack)
{
    open(true);
    ASSERT_NE(field(0), nullptr);
    field(0)->setFocus();
    QTest::keyClicks(field(0), "hello world");
    // A pane that holds Print back keeps the dialog open and nothing is written.
    testpde::setVeto(true);
    clickPrint();
    EXPECT_FALSE(host.printed());
    EXPECT_TRUE(host.dialog()->isVisible());
    EXPECT_TRUE(session->ticket().entries().empty());
    EXPECT_TRUE(logged("B:PrintCommand(veto)"));
    EXPECT_FALSE(logged("A:Sync(false)"));
    EXPECT_FALSE(logged("A:Close"));
    EXPECT_EQ(hostCalls(host).back(), "dialog:Print=0");

    testpde::setVeto(false);
    clickPrint();
    EXPECT_TRUE(host.printed());
    EXPECT_FALSE(host.dialog()->isVisible());
    ASSERT_NE(ticketValue("com.veltra.test.A.Text"), nullptr);
    EXPECT_EQ(*ticketValue("com.veltra.test.A.Text"), "hello world");
    EXPECT_NE(ticketValue("com.veltra.test.B.Synced"), nullptr);
    EXPECT_EQ(*ticketValue("com.veltra.test.A.Note"), "it's a \"quoted\" value");
    EXPECT_FALSE(host.pressPrint()) << "printing is over";
}

TEST_F(PDEHostTest, FailedCallbacksLeaveTheirPaneOutEmptyOrUnwritten)
{
    testpde::setFailure("B:Initialize", kPMPDEInitializeFailed);
    testpde::setFailure("A:Sync(false)", kPMPDEValidateFailed);
    open();
    ASSERT_EQ(host.paneCount(), 2);
    EXPECT_EQ(host.paneInitializeResult(0), noErr);
    EXPECT_EQ(host.paneInitializeResult(1), kPMPDEInitializeFailed);
    EXPECT_EQ(field(1), nullptr);
    EXPECT_TRUE(contains(hostCalls(host), "com.veltra.test.PaneB:Initialize=-9530"));
    ASSERT_TRUE(host.pressPrint());
    EXPECT_TRUE(logged("B:Sync(false)"));
    EXPECT_NE(ticketValue("com.veltra.test.B.Synced"), nullptr);
    EXPECT_TRUE(contains(hostCalls(host), "com.veltra.test.PaneA:Sync(false)=-9531"));
    EXPECT_EQ(ticketValue("com.veltra.test.A.Synced"), nullptr);
    host.close();

    // A pane whose prologue fails is left out.
    testpde::reset();
    testpde::setFailure("A:Prologue", kPMPDEInitializeFailed);
    open();
    ASSERT_EQ(host.paneCount(), 1);
    EXPECT_EQ(host.paneKind(0), "com.veltra.test.PaneB");
    EXPECT_EQ(host.dialog()->panePopup()->count(), 2); // pane B and the summary
    EXPECT_TRUE(logged("A:Destroyed"));
    EXPECT_FALSE(logged("A:Initialize"));
}

TEST_F(PDEHostTest, AnotherPrinterEndsThePanesAndStartsThemAnewOnItsSession)
{
    open(true);
    QComboBox *popup = host.dialog()->panePopup();
    popup->setCurrentIndex(2); // the summary: no pane open
    testpde::reset();
    // The second printer's description does not enable pane B.
    testpde::setFailure("B:Initialize", kPMPDEInitializeFailed);
    std::unique_ptr<PrintSession> second = makeSession();
    ASSERT_TRUE(host.changePrinter(*second));
    const Lines ended = {"A:Terminate(-128)", "A:Release", "A:Destroyed",
                         "B:Terminate(-128)", "B:Release", "B:Destroyed"};
    EXPECT_EQ(testpde::log(), ended + started("A") + started("B") + Lines{"A:Open"});
    // Pane B is not offered; the summary stays last.
    ASSERT_EQ(popup->count(), 2);
    EXPECT_EQ(popup->itemText(0), "Test Pane A");
    EXPECT_EQ(popup->itemText(1), "Summary");
    EXPECT_EQ(host.dialog()->currentPane(), 0);
    EXPECT_TRUE(host.userPaneWidget(0)->isVisible());
    QTest::keyClick(popup, Qt::Key_Down);
    EXPECT_EQ(host.dialog()->currentPane(), 2);
    EXPECT_TRUE(logged("A:Close"));
    // Print writes into the new printer's ticket.
    ASSERT_TRUE(host.pressPrint());
    EXPECT_NE(second->ticket().value("com.veltra.test.A.Synced"), nullptr);
    EXPECT_EQ(ticketValue("com.veltra.test.A.Synced"), nullptr);
    host.close();
}

TEST_F(PDEHostTest, ClosingReleasesEveryInstanceCancelIsTerminatedAsSuchAndTheDialogOpensAgain)
{
    open();
    CFRef<CFUUIDRef> factoryA = testpde::uuid(kFactoryA);
    EXPECT_EQ(VeltraPlugInInstanceCount(factoryA), 1);
    EXPECT_GT(testpde::liveObjects(), 0);
    host.close();
    EXPECT_FALSE(host.isOpen());
    EXPECT_EQ(VeltraPlugInInstanceCount(factoryA), 0);
    EXPECT_EQ(testpde::liveObjects(), 0);
    EXPECT_TRUE(logged("A:Terminate(-128)"));
    EXPECT_TRUE(session->ticket().entries().empty());
    testpde::reset();
    open();
    EXPECT_EQ(host.paneCount(), 2);
    EXPECT_TRUE(host.pressPrint());
}

// Bundles the host must refuse, each with a message that says why.
TEST(PDEHostLoading, UnusableBundlesAreRefusedWithAClearError)
{
    QTemporaryDir dir;
    const std::string otherType = testpde::writePlugIn(dir, "OtherType.plugin", R"(<plist><dict>
        <key>CFBundleIdentifier</key><string>com.veltra.test.othertype</string>
        <key>CFBundleExecutable</key><string>TestPDE.so</string>
        <key>CFPlugInFactories</key><dict>
          <key>EEEEEEEE-0000-4000-8000-00000000000E</key><string>VeltraTestOtherFactory</string>
        </dict>
        <key>CFPlugInTypes</key><dict>
          <key>0F0F0F0F-0000-4000-8000-000000000002</key>
          <array><string>EEEEEEEE-0000-4000-8000-00000000000E</string></array>
        </dict></dict></plist>)");
    const std::pair<std::string, const char *> cases[] = {
        {VELTRA_TEST_DATA_DIR "/bundles/NoSuchBundle.plugin", "no such directory"},
        {VELTRA_TEST_DATA_DIR "/bundles/NoFactories.plugin", "names no factories"},
        {VELTRA_TEST_DATA_DIR "/bundles/Malformed.plugin", "missing or damaged"},
        {otherType, "no printing dialog extension factory"},
    };
    for (const auto &[path, message] : cases) {
        StderrCapture capture;
        PDEHost host;
        std::string error;
        EXPECT_FALSE(host.load(path, &error)) << path;
        EXPECT_NE(error.find(message), std::string::npos) << error;
        EXPECT_NE(error.find(path), std::string::npos) << error;
        EXPECT_FALSE(host.openDialog(*makeSession(), &error));
    }

    // A factory the module does not export leaves no pane, and says so.
    const std::string missing = testpde::writePlugIn(dir, "Missing.plugin", R"(<plist><dict>
        <key>CFBundleIdentifier</key><string>com.veltra.test.missingfactory</string>
        <key>CFBundleExecutable</key><string>TestPDE.so</string>
        <key>CFPlugInFactories</key><dict>
          <key>CCCCCCCC-0000-4000-8000-00000000000C</key><string>NoSuchFactory</string>
        </dict>
        <key>CFPlugInTypes</key><dict>
          <key>BDB091F4-E57F-11D3-B5CC-0050E4603277</key>
          <array><string>CCCCCCCC-0000-4000-8000-00000000000C</string></array>
        </dict></dict></plist>)");
    PDEHost host;
    std::string error;
    ASSERT_TRUE(host.load(missing, &error)) << error;
    StderrCapture capture;
    EXPECT_FALSE(host.openDialog(*makeSession(), &error));
    EXPECT_NE(capture.text().find("NoSuchFactory"), std::string::npos);
    EXPECT_NE(error.find("no printing dialog extension could be created"), std::string::npos);
    EXPECT_FALSE(host.isOpen());
    ASSERT_FALSE(host.calls().empty());
    EXPECT_EQ(host.calls().front().call, "Factory");
    EXPECT_NE(host.calls().front().result, noErr);
}

} // namespace
