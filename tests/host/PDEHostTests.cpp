// The print dialog host driving real plug-in panes (the test bundle's module): the callback
// sequence, the dialog's user panes, the Print command and its veto, and the ticket.
#include "fixture/StderrCapture.h"
#include "fixture/TestPDEControl.h"

#include <PDEHost.h>

#include <HIToolbox/HIToolbox.h>
#include <HIToolbox/QtBridge.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

#include <gtest/gtest.h>

namespace {

using veltra::PDECallRecord;
using veltra::PDEHost;
using veltra::PrintSession;

const std::string kTestPPD = VELTRA_TEST_DATA_DIR "/Veltra-Test.ppd";
constexpr const char *kFactoryA = "AAAAAAAA-0000-4000-8000-00000000000A";

std::unique_ptr<PrintSession> makeSession()
{
    std::string error;
    auto ppd = veltra::OpenPPD(kTestPPD, &error);
    EXPECT_TRUE(ppd) << error;
    return std::make_unique<PrintSession>("Test_Printer", std::move(ppd));
}

std::vector<std::string> hostCalls(const PDEHost &host)
{
    std::vector<std::string> calls;
    for (const PDECallRecord &record : host.calls())
        calls.push_back(record.label + ":" + record.call + "=" + std::to_string(record.result));
    return calls;
}

bool contains(const std::vector<std::string> &lines, const std::string &line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

CFRef<CFUUIDRef> uuid(const char *text)
{
    CFRef<CFStringRef> string(CFStringCreateWithCString(nullptr, text, kCFStringEncodingUTF8));
    return CFRef<CFUUIDRef>(CFUUIDCreateFromString(nullptr, string));
}

class PDEHostTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        VeltraBundleSetLanguage("en");
        testpde::reset();
        std::string error;
        ASSERT_TRUE(m_host.load(testpde::kBundleDir, &error)) << error;
        m_session = makeSession();
    }
    void TearDown() override
    {
        m_host.close();
        testpde::reset();
    }

    void open()
    {
        std::string error;
        ASSERT_TRUE(m_host.openDialog(*m_session, &error)) << error;
    }
    QLineEdit *field(int pane) const
    {
        QWidget *page = m_host.userPaneWidget(pane);
        return page ? page->findChild<QLineEdit *>() : nullptr;
    }
    const std::string *ticketValue(const char *key) const { return m_session->ticket().value(key); }

    PDEHost m_host;
    std::unique_ptr<PrintSession> m_session;
};

TEST_F(PDEHostTest, FindsTheDialogExtensionFactoriesOfThePropertyList)
{
    EXPECT_EQ(m_host.factoryCount(), 2);
    open();
    EXPECT_EQ(m_host.paneCount(), 2);
    EXPECT_EQ(m_host.paneKind(0), "com.veltra.test.PaneA");
    EXPECT_EQ(m_host.paneKind(1), "com.veltra.test.PaneB");
    EXPECT_EQ(m_host.paneTitle(0), "Test Pane A");
    EXPECT_EQ(m_host.paneTitle(2), "") << "there is no third pane";
    EXPECT_EQ(m_host.paneKind(-1), "");
    // The factory of another plug-in type is never called.
    EXPECT_FALSE(contains(testpde::log(), "D:Factory"));
}

TEST_F(PDEHostTest, RunsEveryPaneThroughTheCallbackSequenceInOrder)
{
    open();
    // Only the pane on screen is open.
    m_host.showPane(1);
    ASSERT_TRUE(m_host.pressPrint());
    m_host.close();

    const std::vector<std::string> expected = {
        "A:Factory",
        "A:QueryInterface",
        "A:GetAPIVersion",
        "A:Prologue",
        "A:Initialize",
        "A:Sync(true)",
        "A:GetSummaryText",
        "B:Factory",
        "B:QueryInterface",
        "B:GetAPIVersion",
        "B:Prologue",
        "B:Initialize",
        "B:Sync(true)",
        "B:GetSummaryText",
        "A:Open",
        "A:Close",
        "B:Open",
        // The most recently installed handler sees the command first.
        "B:PrintCommand",
        "A:PrintCommand",
        "A:Sync(false)",
        "B:Sync(false)",
        "A:Terminate(0)",
        "A:Release",
        "A:Destroyed",
        "B:Close",
        "B:Terminate(0)",
        "B:Release",
        "B:Destroyed",
    };
    EXPECT_EQ(testpde::log(), expected);

    // The host reports the same sequence with each answer.
    const std::vector<std::string> reported = hostCalls(m_host);
    const std::vector<std::string> expectedReport = {
        std::string(kFactoryA) + ":Factory=0",       std::string(kFactoryA) + ":QueryInterface=0",
        std::string(kFactoryA) + ":GetAPIVersion=0", "com.veltra.test.PaneA:Prologue=0",
        "com.veltra.test.PaneA:Initialize=0",        "com.veltra.test.PaneA:Sync(true)=0",
        "com.veltra.test.PaneA:GetSummaryText=0",
    };
    ASSERT_GE(reported.size(), expectedReport.size());
    EXPECT_EQ(std::vector<std::string>(reported.begin(), reported.begin() + 7), expectedReport);
    EXPECT_TRUE(contains(reported, "com.veltra.test.PaneA:Open=0"));
    EXPECT_TRUE(contains(reported, "dialog:Print=" + std::to_string(eventNotHandledErr)));
    EXPECT_EQ(reported.back(), "com.veltra.test.PaneB:IUnknownRelease=0");
}

TEST_F(PDEHostTest, UserPanesSpanTheDialogFromItsLeftEdge)
{
    open();
    QDialog *dialog = m_host.dialog();
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
    for (int i = 0; i < m_host.paneCount(); ++i) {
        QWidget *page = m_host.userPaneWidget(i);
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->mapTo(dialog, QPoint(0, 0)).x(), 0) << "pane " << i;
        EXPECT_EQ(page->width(), dialog->width()) << "pane " << i;
        EXPECT_EQ(GetControlOwner(m_host.userPane(i)), m_host.dialogWindow());
        EXPECT_EQ(VeltraControlWidget(m_host.userPane(i)), page);
        // The pane's widgets from its nib now live in the dialog.
        ASSERT_NE(field(i), nullptr) << "pane " << i;
        EXPECT_TRUE(page->rect().contains(field(i)->mapTo(page, QPoint(0, 0)))) << "pane " << i;
        Rect bounds{};
        GetControlBounds(m_host.userPane(i), &bounds);
        EXPECT_EQ(bounds.left, 0);
        EXPECT_EQ(bounds.right, dialog->width());
    }
    EXPECT_EQ(VeltraWindowWidget(m_host.dialogWindow()), dialog);
    EXPECT_TRUE(field(0)->isVisible());
    EXPECT_FALSE(field(1)->isVisible());
}

TEST_F(PDEHostTest, PanePopupShowsOnePageAtATime)
{
    open();
    m_host.dialog()->show();
    QComboBox *popup = m_host.dialog()->panePopup();
    ASSERT_EQ(popup->count(), 3);
    EXPECT_EQ(popup->itemText(1), "Test Pane B");
    EXPECT_EQ(popup->itemText(2), "Summary");
    EXPECT_TRUE(m_host.userPaneWidget(0)->isVisible());
    EXPECT_FALSE(m_host.userPaneWidget(1)->isVisible());
    popup->setFocus();
    QTest::keyClick(popup, Qt::Key_Down);
    EXPECT_EQ(popup->currentIndex(), 1);
    EXPECT_FALSE(m_host.userPaneWidget(0)->isVisible());
    EXPECT_TRUE(m_host.userPaneWidget(1)->isVisible());

    // The summary: a heading row per pane, then its settings and values.
    QTest::keyClick(popup, Qt::Key_Down);
    QTableWidget *table = m_host.dialog()->summaryTable();
    ASSERT_TRUE(table->isVisible());
    EXPECT_FALSE(m_host.userPaneWidget(1)->isVisible());
    QStringList rows;
    for (int row = 0; row < table->rowCount(); ++row)
        rows << table->item(row, 0)->text() + "|" +
                    (table->item(row, 1) ? table->item(row, 1)->text() : QString());
    EXPECT_EQ(rows.join(';'), "Test Pane A|;Test Setting|Value A;Test Pane B|;Test Setting|Value B")
        << rows.join(';').toStdString();
}

TEST_F(PDEHostTest, TextTypedInAPaneReachesTheTicketWhenPrintIsClicked)
{
    open();
    QDialog *dialog = m_host.dialog();
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
    ASSERT_NE(field(0), nullptr);
    field(0)->setFocus();
    QTest::keyClicks(field(0), "hello world");
    QTest::mouseClick(m_host.dialog()->printButton(), Qt::LeftButton);

    EXPECT_TRUE(m_host.printed());
    EXPECT_FALSE(dialog->isVisible());
    ASSERT_NE(ticketValue("com.veltra.test.A.Text"), nullptr);
    EXPECT_EQ(*ticketValue("com.veltra.test.A.Text"), "hello world");
    ASSERT_NE(ticketValue("com.veltra.test.B.Synced"), nullptr);
    EXPECT_EQ(*ticketValue("com.veltra.test.A.Note"), "it's a \"quoted\" value");
    // Printing is over: a second Print does nothing.
    EXPECT_FALSE(m_host.pressPrint());
}

TEST_F(PDEHostTest, VetoedPrintKeepsTheDialogOpenAndWritesNoTicket)
{
    open();
    QDialog *dialog = m_host.dialog();
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
    testpde::setVeto(true);
    QTest::mouseClick(m_host.dialog()->printButton(), Qt::LeftButton);

    EXPECT_FALSE(m_host.printed());
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(m_session->ticket().entries().empty());
    const std::vector<std::string> log = testpde::log();
    EXPECT_TRUE(contains(log, "B:PrintCommand(veto)"));
    EXPECT_FALSE(contains(log, "A:Sync(false)"));
    EXPECT_FALSE(contains(log, "A:Close"));
    EXPECT_EQ(hostCalls(m_host).back(), "dialog:Print=0");

    // Once the pane lets it go, the same dialog prints.
    testpde::setVeto(false);
    QTest::mouseClick(m_host.dialog()->printButton(), Qt::LeftButton);
    EXPECT_TRUE(m_host.printed());
    EXPECT_NE(ticketValue("com.veltra.test.A.Synced"), nullptr);
}

TEST_F(PDEHostTest, FailedInitializeLeavesThePaneEmptyAndAFailedSyncWritesNothing)
{
    testpde::setFailure("B:Initialize", kPMPDEInitializeFailed);
    testpde::setFailure("A:Sync(false)", kPMPDEValidateFailed);
    open();
    ASSERT_EQ(m_host.paneCount(), 2);
    EXPECT_EQ(m_host.paneInitializeResult(0), noErr);
    EXPECT_EQ(m_host.paneInitializeResult(1), kPMPDEInitializeFailed);
    EXPECT_EQ(field(1), nullptr);
    EXPECT_TRUE(contains(hostCalls(m_host), "com.veltra.test.PaneB:Initialize=-9530"));

    ASSERT_TRUE(m_host.pressPrint());
    EXPECT_TRUE(contains(testpde::log(), "B:Sync(false)"));
    EXPECT_NE(ticketValue("com.veltra.test.B.Synced"), nullptr);
    EXPECT_TRUE(contains(hostCalls(m_host), "com.veltra.test.PaneA:Sync(false)=-9531"));
    EXPECT_EQ(ticketValue("com.veltra.test.A.Synced"), nullptr);
}

TEST_F(PDEHostTest, AnotherPrinterEndsThePanesAndStartsThemAnewOnItsSession)
{
    open();
    m_host.dialog()->show();
    QComboBox *popup = m_host.dialog()->panePopup();
    popup->setCurrentIndex(2); // the summary: no pane open
    testpde::reset();
    // The second printer's description does not enable pane B.
    testpde::setFailure("B:Initialize", kPMPDEInitializeFailed);
    std::unique_ptr<PrintSession> second = makeSession();
    ASSERT_TRUE(m_host.changePrinter(*second));
    const std::vector<std::string> expected = {
        "A:Terminate(-128)", "A:Release",        "A:Destroyed",
        "B:Terminate(-128)", "B:Release",        "B:Destroyed",
        "A:Factory",         "A:QueryInterface", "A:GetAPIVersion",
        "A:Prologue",        "A:Initialize",     "A:Sync(true)",
        "A:GetSummaryText",  "B:Factory",        "B:QueryInterface",
        "B:GetAPIVersion",   "B:Prologue",       "B:Initialize",
        "B:Sync(true)",      "B:GetSummaryText", "A:Open",
    };
    EXPECT_EQ(testpde::log(), expected);
    // Pane B is not offered; the summary stays last.
    ASSERT_EQ(popup->count(), 2);
    EXPECT_EQ(popup->itemText(0), "Test Pane A");
    EXPECT_EQ(popup->itemText(1), "Summary");
    EXPECT_EQ(m_host.dialog()->currentPane(), 0);
    EXPECT_TRUE(m_host.userPaneWidget(0)->isVisible());
    QTest::keyClick(popup, Qt::Key_Down);
    EXPECT_EQ(m_host.dialog()->currentPane(), 2);
    EXPECT_TRUE(contains(testpde::log(), "A:Close"));

    // Print writes into the new printer's ticket.
    ASSERT_TRUE(m_host.pressPrint());
    EXPECT_NE(second->ticket().value("com.veltra.test.A.Synced"), nullptr);
    EXPECT_EQ(ticketValue("com.veltra.test.A.Synced"), nullptr);
    m_host.close();
}

TEST_F(PDEHostTest, PaneWhosePrologueFailsIsLeftOut)
{
    testpde::setFailure("A:Prologue", kPMPDEInitializeFailed);
    open();
    ASSERT_EQ(m_host.paneCount(), 1);
    EXPECT_EQ(m_host.paneKind(0), "com.veltra.test.PaneB");
    EXPECT_EQ(m_host.dialog()->panePopup()->count(), 2); // pane B and the summary
    const std::vector<std::string> log = testpde::log();
    EXPECT_TRUE(contains(log, "A:Destroyed"));
    EXPECT_FALSE(contains(log, "A:Initialize"));
}

TEST_F(PDEHostTest, ClosingReleasesEveryInstanceCancelIsTerminatedAsSuchAndTheDialogOpensAgain)
{
    open();
    CFRef<CFUUIDRef> factoryA = uuid(kFactoryA);
    EXPECT_EQ(VeltraPlugInInstanceCount(factoryA), 1);
    EXPECT_GT(testpde::liveObjects(), 0);
    m_host.close();
    EXPECT_FALSE(m_host.isOpen());
    EXPECT_EQ(VeltraPlugInInstanceCount(factoryA), 0);
    EXPECT_EQ(testpde::liveObjects(), 0);
    EXPECT_TRUE(contains(testpde::log(), "A:Terminate(-128)"));
    EXPECT_TRUE(m_session->ticket().entries().empty());

    // The dialog opens again after closing.
    testpde::reset();
    open();
    EXPECT_EQ(m_host.paneCount(), 2);
    EXPECT_TRUE(m_host.pressPrint());
}

// Bundles the host must refuse, each with a message that says why.
TEST(PDEHostLoading, UnusableBundlesAreRefusedWithAClearError)
{
    QTemporaryDir dir;
    // A bundle whose only factory is of another plug-in type.
    const QString otherType = dir.filePath("OtherType.plugin/Contents");
    QDir().mkpath(otherType);
    QFile plist(otherType + "/Info.plist");
    plist.open(QIODevice::WriteOnly);
    plist.write(R"(<plist><dict>
        <key>CFBundleIdentifier</key><string>com.veltra.test.othertype</string>
        <key>CFBundleExecutable</key><string>TestPDE.so</string>
        <key>CFPlugInFactories</key><dict>
          <key>EEEEEEEE-0000-4000-8000-00000000000E</key><string>VeltraTestOtherFactory</string>
        </dict>
        <key>CFPlugInTypes</key><dict>
          <key>0F0F0F0F-0000-4000-8000-000000000002</key>
          <array><string>EEEEEEEE-0000-4000-8000-00000000000E</string></array>
        </dict></dict></plist>)");
    plist.close();

    struct Case
    {
        std::string path;
        const char *message;
    };
    const Case cases[] = {
        {VELTRA_TEST_DATA_DIR "/bundles/NoSuchBundle.plugin", "no such directory"},
        {VELTRA_TEST_DATA_DIR "/bundles/NoFactories.plugin", "names no factories"},
        {VELTRA_TEST_DATA_DIR "/bundles/Malformed.plugin", "missing or damaged"},
        {dir.filePath("OtherType.plugin").toStdString(), "no printing dialog extension factory"},
    };
    for (const Case &c : cases) {
        StderrCapture capture;
        PDEHost host;
        std::string error;
        EXPECT_FALSE(host.load(c.path, &error)) << c.path;
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
        EXPECT_NE(error.find(c.path), std::string::npos) << error;
        auto session = makeSession();
        EXPECT_FALSE(host.openDialog(*session, &error));
    }
}

TEST(PDEHostLoading, FactoryThatIsNotExportedLeavesNoPane)
{
    QTemporaryDir dir;
    const QString contents = dir.filePath("Missing.plugin/Contents");
    QDir().mkpath(contents + "/Linux");
    QFile::link(QString::fromStdString(testpde::kBundleDir) + "/Contents/Linux/TestPDE.so",
                contents + "/Linux/TestPDE.so");
    QFile plist(contents + "/Info.plist");
    plist.open(QIODevice::WriteOnly);
    plist.write(R"(<plist><dict>
        <key>CFBundleIdentifier</key><string>com.veltra.test.missingfactory</string>
        <key>CFBundleExecutable</key><string>TestPDE.so</string>
        <key>CFPlugInFactories</key><dict>
          <key>CCCCCCCC-0000-4000-8000-00000000000C</key><string>NoSuchFactory</string>
        </dict>
        <key>CFPlugInTypes</key><dict>
          <key>BDB091F4-E57F-11D3-B5CC-0050E4603277</key>
          <array><string>CCCCCCCC-0000-4000-8000-00000000000C</string></array>
        </dict></dict></plist>)");
    plist.close();

    PDEHost host;
    std::string error;
    ASSERT_TRUE(host.load(dir.filePath("Missing.plugin").toStdString(), &error)) << error;
    auto session = makeSession();
    StderrCapture capture;
    EXPECT_FALSE(host.openDialog(*session, &error));
    const std::string said = capture.text();
    EXPECT_NE(said.find("NoSuchFactory"), std::string::npos) << said;
    EXPECT_NE(error.find("no printing dialog extension could be created"), std::string::npos);
    EXPECT_FALSE(host.isOpen());
    ASSERT_FALSE(host.calls().empty());
    EXPECT_EQ(host.calls().front().call, "Factory");
    EXPECT_NE(host.calls().front().result, noErr);
}

} // namespace
