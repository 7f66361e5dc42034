// The print dialog host driving real plug-in panes (the test bundle's module): the callback
// sequence, the dialog's user panes, the Print command and its veto, the ticket, clear failures.
#include "fixture/TestPDEControl.h"

#include <PDEHost.h>
#include <PaneFixture.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

namespace {

using veltra::PDEHost;
using veltra::PrintSession;
using Lines = std::vector<std::string>;

std::unique_ptr<PrintSession> makeSession()
{
    return std::make_unique<PrintSession>("Test_Printer",
                                          OpenTestPPD(VELTRA_TEST_DATA_DIR "/Veltra-Test.ppd"));
}

// What the host reports of each call: "<pane kind or factory>:<call>=<answer>".
Lines hostCalls(const PDEHost &host)
{
    Lines calls;
    for (const veltra::PDECallRecord &record : host.calls())
        calls.push_back(record.label + ":" + record.call + "=" + std::to_string(record.result));
    return calls;
}

const auto logged = [](const std::string &line) {
    const Lines log = testpde::log();
    return std::find(log.begin(), log.end(), line) != log.end();
};

// Calls before, then the calls a pane gets from its factory to its first summary, then more.
Lines started(const char *pane, const Lines &more = {}, Lines lines = {})
{
    for (const char *call : {"Factory", "QueryInterface", "GetAPIVersion", "Prologue", "Initialize",
                             "Sync(true)", "GetSummaryText"})
        lines.push_back(std::string(pane) + ":" + call);
    lines.insert(lines.end(), more.begin(), more.end());
    return lines;
}

class PDEHostTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        VeltraBundleSetLanguage("en");
        testpde::set("reset");
        std::string error;
        ASSERT_TRUE(host.load(testpde::kBundleDir, &error)) << error;
    }
    void TearDown() override { host.close(), testpde::set("reset"); }
    void open()
    {
        std::string error;
        ASSERT_TRUE(host.openDialog(*session, &error)) << error;
        host.dialog()->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(host.dialog()));
    }
    QLineEdit *field(int pane) const { return host.userPaneWidget(pane)->findChild<QLineEdit *>(); }
    std::string ticket(const char *key) { return TicketValue(*session, key); }

    PDEHost host;
    std::unique_ptr<PrintSession> session = makeSession();
};

// Every pane of the property list runs through the callbacks in order; user panes span the
// dialog, and its pop-up shows one page (and opens one pane) at a time, then the summary.
TEST_F(PDEHostTest, PanesRunTheCallbackSequenceInOrderAndThePopupShowsOnePageAtATime)
{
    EXPECT_EQ(host.factoryCount(), 2);
    open();
    ASSERT_EQ(host.paneCount(), 2);
    EXPECT_EQ(host.paneKind(1), "com.veltra.test.PaneB");
    EXPECT_EQ(host.paneTitle(0), "Test Pane A");
    EXPECT_EQ(host.paneTitle(2), "") << "there is no third pane";
    EXPECT_EQ(host.paneKind(-1), "");
    QDialog *dialog = host.dialog();
    for (int i = 0; i < host.paneCount(); ++i) {
        SCOPED_TRACE(i);
        QWidget *page = host.userPaneWidget(i);
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->mapTo(dialog, QPoint(0, 0)).x(), 0);
        EXPECT_EQ(page->width(), dialog->width());
        // The pane's widgets from its nib now live in the dialog.
        ASSERT_NE(field(i), nullptr);
        EXPECT_TRUE(page->rect().contains(field(i)->mapTo(page, QPoint(0, 0))));
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
    QTest::keyClick(popup, Qt::Key_Up); // pane B again
    ASSERT_TRUE(host.pressPrint());
    host.close();
    // The summary is asked anew when shown; the most recently installed handler sees the
    // command first; the factory of another plug-in type is never called.
    EXPECT_EQ(testpde::log(),
              started("A", started("B", {"A:Open", "A:Close", "B:Open", "A:GetSummaryText",
                                         "B:GetSummaryText", "B:Close", "B:Open", "B:PrintCommand",
                                         "A:PrintCommand", "A:Sync(false)", "B:Sync(false)",
                                         "A:Terminate(0)", "A:Release", "A:Destroyed", "B:Close",
                                         "B:Terminate(0)", "B:Release", "B:Destroyed"})));
    // The host reports the calls with each answer, by factory until the pane's kind is known.
    const Lines reported = hostCalls(host);
    EXPECT_EQ(reported.at(0), std::string(testpde::kFactoryA) + ":Factory=0");
    EXPECT_EQ(reported.back(), "com.veltra.test.PaneB:IUnknownRelease=0");
}

TEST_F(PDEHostTest, AHeldBackPrintWritesNothingAndAnotherPrinterStartsThePanesAnewOnItsSession)
{
    open();
    // A pane that holds Print back keeps the dialog open and nothing is written.
    testpde::set("veto=1");
    QTest::mouseClick(host.dialog()->printButton(), Qt::LeftButton);
    EXPECT_FALSE(host.printed());
    EXPECT_TRUE(host.dialog()->isVisible());
    EXPECT_TRUE(logged("B:PrintCommand(veto)"));
    EXPECT_FALSE(logged("A:Sync(false)") || logged("A:Close"));
    EXPECT_EQ(hostCalls(host).back(), "dialog:Print=0");
    EXPECT_TRUE(session->ticket().entries().empty());

    QComboBox *popup = host.dialog()->panePopup();
    popup->setCurrentIndex(2); // the summary: no pane open
    testpde::set("reset");
    testpde::set("B:Initialize=-9530"); // the second printer's description does not enable B
    std::unique_ptr<PrintSession> second = makeSession();
    ASSERT_TRUE(host.changePrinter(*second));
    EXPECT_EQ(testpde::log(), started("A", started("B", {"A:Open"}),
                                      {"A:Terminate(-128)", "A:Release", "A:Destroyed",
                                       "B:Terminate(-128)", "B:Release", "B:Destroyed"}));
    // Pane B is not offered; the summary stays last.
    ASSERT_EQ(popup->count(), 2);
    EXPECT_EQ(popup->itemText(0), "Test Pane A");
    EXPECT_EQ(popup->itemText(1), "Summary");
    EXPECT_EQ(host.dialog()->currentPane(), 0);
    EXPECT_TRUE(host.userPaneWidget(0)->isVisible());
    QTest::keyClick(popup, Qt::Key_Down);
    EXPECT_EQ(host.dialog()->currentPane(), 2);
    EXPECT_TRUE(logged("A:Close"));
    // Print writes into the new printer's ticket, once, and ends the dialog.
    QTest::mouseClick(host.dialog()->printButton(), Qt::LeftButton);
    EXPECT_TRUE(host.printed());
    EXPECT_FALSE(host.dialog()->isVisible());
    EXPECT_EQ(TicketValue(*second, "com.veltra.test.A.Synced"), "yes");
    EXPECT_EQ(ticket("com.veltra.test.A.Synced"), "<none>");
    EXPECT_FALSE(host.pressPrint()) << "printing is over";
    // Closing releases every instance; closing without printing cancels.
    CFRef<CFUUIDRef> factoryA(
        CFUUIDCreateFromString(nullptr, CFSTR("AAAAAAAA-0000-4000-8000-00000000000A")));
    EXPECT_EQ(VeltraPlugInInstanceCount(factoryA), 1);
    host.close();
    EXPECT_EQ(VeltraPlugInInstanceCount(factoryA), 0);
    testpde::set("reset");
    open();
    host.close();
    EXPECT_TRUE(logged("A:Terminate(-128)"));
}

} // namespace
