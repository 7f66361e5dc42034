// The panel: loading the pane into the dialog, intercepting Print, reaching other controls.
#include "SpineFixture.h"

#include "AppResources.h"
#include "SessionAccess.h"

#include <Help/AppleHelp.h>

#include <QTest>

namespace {

ControlID nameID = {'tsnm', 10};
ControlID popupFieldID = {'mste', 600};

Rect boundsOf(ControlRef control)
{
    Rect r;
    GetControlBounds(control, &r);
    return r;
}

} // namespace

class PrintPanelTest : public SpineTest
{
};

TEST_F(PrintPanelTest, VetoedPrintIsConsumedAndCommitsNothing)
{
    TestPanel panel;
    FieldWindow w = fieldWindow({nameID});
    auto *name = panel.add(new TestTextControl(&nameID));
    ASSERT_TRUE(name->InitializeCtrl(w.window));
    name->setValue("committed");

    // The panel's Print handler sits on the dialog window, as InitializeUserPane installs it.
    EventHandlerRef handler = nullptr;
    const EventTypeSpec command = {kEventClassCommand, kEventCommandProcess};
    ASSERT_EQ(InstallEventHandler(GetWindowEventTarget(dialogWindow),
                                  CBasePrintPanel::Control_DefaultPrintBtnHandler, 1, &command,
                                  &panel, &handler),
              noErr);

    QTest::keyClicks(w.field(0), "typed");
    panel.allowPrint = false;
    EXPECT_EQ(ProcessHICommandInWindow(dialogWindow, kHICommandOK), noErr);
    EXPECT_EQ(panel.printCommands, 1);
    EXPECT_EQ(name->value(), "committed");

    // Other commands pass by without asking the panel.
    EXPECT_EQ(ProcessHICommandInWindow(dialogWindow, 'abcd'), eventNotHandledErr);
    EXPECT_EQ(panel.printCommands, 1);

    panel.allowPrint = true;
    EXPECT_EQ(ProcessHICommandInWindow(dialogWindow, kHICommandOK), eventNotHandledErr);
    EXPECT_EQ(panel.printCommands, 2);
    EXPECT_EQ(name->value(), "typed");
    RemoveEventHandler(handler);
}

TEST_F(PrintPanelTest, PanelReachesTheControlsOfItsPopupWindows)
{
    TestPanel panel;
    auto *name = panel.add(new TestTextControl(&nameID));
    auto *popup = new CPopupWindowInPanel(GetPDENibFileName(), CFSTR("About"), bundle);
    panel.addWindow(popup);
    auto *message = new TestTextControl(&popupFieldID);
    popup->RunTimeAddNewControl(message);

    EXPECT_EQ(panel.GetPanelControl(&nameID), name);
    EXPECT_EQ(panel.GetPanelControl(&popupFieldID), message);
    ControlID unknown = {'none', 1};
    EXPECT_EQ(panel.GetPanelControl(&unknown), nullptr);
    // A window's control reaches only its own window.
    EXPECT_EQ(popup->GetPanelControl(&nameID), nullptr);
    EXPECT_EQ(popup->GetParentPane(), &panel);
    delete message;
}

TEST_F(PrintPanelTest, ControlClickRunsConstraintsBeforeRecordingTheValue)
{
    TestPanel panel;
    FieldWindow w = fieldWindow({nameID});
    struct Recording : TestTextControl
    {
        using TestTextControl::TestTextControl;
        std::string seenByConstraints;
        bool UIEventHandler() override
        {
            seenByConstraints = widgetValue();
            return TestTextControl::UIEventHandler();
        }
    };
    auto *name = panel.add(new Recording(&nameID));
    ASSERT_TRUE(name->InitializeCtrl(w.window));
    panel.SetControlEventHandler();
    w.field(0)->setText("first");
    name->GetValueFromUI();
    w.field(0)->setText("second");

    EventRef hit = nullptr;
    ASSERT_EQ(CreateEvent(nullptr, kEventClassControl, kEventControlHit, 0, 0, &hit), noErr);
    ControlRef target = name->GetControlRef();
    SetEventParameter(hit, kEventParamDirectObject, typeControlRef, sizeof target, &target);
    EXPECT_EQ(SendEventToEventTarget(hit, GetControlEventTarget(target)), eventNotHandledErr);
    // A hit without its control is passed on untouched.
    EXPECT_EQ(CBasePrintPanel::Control_DefaultCommandHandler(nullptr, hit, nullptr),
              eventNotHandledErr);
    ReleaseEvent(hit);
    EXPECT_EQ(name->seenByConstraints, "first");
    EXPECT_EQ(name->widgetValue(), "second");

    // A command of the same kind number is no click: nothing runs, nothing is recorded.
    EventRef command = nullptr;
    ASSERT_EQ(CreateEvent(nullptr, kEventClassCommand, kEventCommandProcess, 0, 0, &command),
              noErr);
    name->seenByConstraints.clear();
    w.field(0)->setText("third");
    EXPECT_EQ(CBasePrintPanel::Control_DefaultCommandHandler(nullptr, command, name),
              eventNotHandledErr);
    ReleaseEvent(command);
    EXPECT_EQ(name->seenByConstraints, "");
    EXPECT_EQ(name->widgetValue(), "second");
}

// The nib pane is centred in the dialog's pane, which grows to hold it.
class NibPaneLayoutTest : public PrintPanelTest, public ::testing::WithParamInterface<QSize>
{
};

TEST_P(NibPaneLayoutTest, NibPaneIsCentredInTheDialogPaneWhichGrowsToHoldIt)
{
    TestPanel panel;
    panel.useNib(GetPDENibFileName(), CFSTR("Window"), ControlID{'joup', 1});
    paneWidget->setMinimumSize(0, 0);
    dialog->resize(GetParam());
    dialog->show();
    ASSERT_EQ(panel.InitializeUserPane(0, userPane, bundle, nullptr), 0);
    EXPECT_TRUE(panel.IsPrintCommandIntercepted());
    const Rect frame = boundsOf(userPane);
    EXPECT_GE(frame.right - frame.left, 480);
    EXPECT_GE(frame.bottom - frame.top, 300);
    // The nib pane now lives in the dialog's pane.
    ControlRef nibPane = nullptr;
    const ControlID paneID = {'joup', 1};
    ASSERT_EQ(GetControlByID(dialogWindow, &paneID, &nibPane), noErr);
    const Rect pane = boundsOf(nibPane);
    EXPECT_EQ(pane.right - pane.left, 480);
    EXPECT_EQ(pane.left - frame.left, ((frame.right - frame.left) - 480) / 2);
    EXPECT_EQ(pane.top, frame.top);
}

INSTANTIATE_TEST_SUITE_P(DialogSizes, NibPaneLayoutTest,
                         ::testing::Values(QSize(100, 50), QSize(800, 500)));

TEST_F(PrintPanelTest, MissingNibLeavesThePaneEmptyAndPrintUnintercepted)
{
    TestPanel panel;
    panel.useNib(CFSTR("NoSuchNib"), CFSTR("Window"), ControlID{'joup', 1});
    FieldWindow unused = fieldWindow({nameID});
    auto *name = panel.add(new TestTextControl(&nameID));
    EXPECT_EQ(panel.InitializeUserPane(0, userPane, bundle, nullptr), 0);
    EXPECT_EQ(name->GetControlRef(), nullptr);
    EXPECT_FALSE(panel.IsPrintCommandIntercepted());
}

TEST_F(PrintPanelTest, AdjustControlBoundsCenterMovesDownAndCentres)
{
    FieldWindow w = fieldWindow({nameID});
    ControlRef field = nullptr;
    ASSERT_EQ(GetControlByID(w.window, &nameID, &field), noErr);
    w.field(0)->setGeometry(10, 5, 100, 20);

    struct Case
    {
        Rect frame;
        SInt16 left, top;
    };
    // d = (frame width - 100) / 2, rounded toward zero; frame.left itself is not added.
    const Case cases[] = {
        {{30, 50, 200, 250}, 10 + 50, 5 + 30},
        {{0, 0, 40, 61}, 10 - 19, 5},
        {{7, 100, 40, 199}, 10 - 0, 5 + 7},
    };
    for (Case c : cases) {
        w.field(0)->setGeometry(10, 5, 100, 20);
        AdjustControlBoundsCenter(field, &c.frame);
        const Rect moved = boundsOf(field);
        EXPECT_EQ(moved.left, c.left);
        EXPECT_EQ(moved.top, c.top);
        EXPECT_EQ(moved.right - moved.left, 100);
        EXPECT_EQ(moved.bottom - moved.top, 20);
    }
}

TEST_F(PrintPanelTest, ResourceNamesFollowTheSettingsAttribute)
{
    char value[] = "Printer01-Printer07";
    CFRef<CFStringRef> nibPart(GetAppResourceName(value, 0));
    CFRef<CFStringRef> helpPart(GetAppResourceName(value, 1));
    CFRef<CFStringRef> nib(GetAppFullResourceNameJBA(nibPart, 0));
    CFRef<CFStringRef> help(GetAppFullResourceNameJBA(helpPart, 1));
    CFRef<CFStringRef> helpType(GetAppFullResourceNamePrintType(helpPart, 1));
    CFRef<CFStringRef> plain(GetAppFullResourceNamePrintType(helpPart, 5));
    EXPECT_EQ(QStringFromCF(nib), "OrvPrintJBA_Printer01");
    EXPECT_EQ(QStringFromCF(help), "JBA_Printer07");
    EXPECT_EQ(QStringFromCF(helpType), "SelectJobType_Printer07");
    EXPECT_EQ(QStringFromCF(plain), "Printer07");

    char noHyphen[] = "Printer01";
    CFRef<CFStringRef> whole(GetAppResourceName(noHyphen, 0));
    CFRef<CFStringRef> empty(GetAppResourceName(noHyphen, 1));
    EXPECT_EQ(QStringFromCF(whole), "Printer01");
    EXPECT_EQ(QStringFromCF(empty), "");

    // A name that does not fit the name buffer gives no name rather than a cut one.
    CFRef<CFStringRef> huge(CFStringCreateWithQString(QString(300, QLatin1Char('x'))));
    EXPECT_EQ(GetAppFullResourceNameJBA(huge, 0), nullptr);
}

TEST_F(PrintPanelTest, HelpPageOpensInTheBooksHelpFolder)
{
    ASSERT_EQ(RegisterMyHelpBook(), noErr);
    EXPECT_EQ(
        GotoHelpPage(CFSTR("JBA.htm"), nullptr, CFSTR("Help Viewer Title for Job Accounting")),
        noErr);
    EXPECT_TRUE(QString::fromUtf8(VeltraLastHelpPage()).endsWith("/Help/JBA.htm"));
    EXPECT_NE(
        GotoHelpPage(CFSTR("Missing.htm"), nullptr, CFSTR("Help Viewer Title for Job Accounting")),
        noErr);
    // A key without translation names a book of that name, which is not registered.
    EXPECT_NE(GotoHelpPage(CFSTR("JBA.htm"), nullptr, CFSTR("Some Other Book")), noErr);
}
