// Handler chains, control hits, commands, and closing a window.
#include "ToolboxFixtures.h"

#include "ModalScript.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <cstring>

namespace {

const EventTypeSpec kHit{kEventClassControl, kEventControlHit};
const EventTypeSpec kCommand{kEventClassCommand, kEventCommandProcess};

EventHandlerRef Install(EventTargetRef target, const EventTypeSpec &type, RecordingHandler &handler)
{
    EventHandlerRef ref = nullptr;
    EXPECT_EQ(InstallEventHandler(target, RecordingHandler::Proc, 1, &type, &handler, &ref), noErr);
    return ref;
}

} // namespace

TEST(HandlerChains, MostRecentRunsFirstAndAConsumingHandlerEndsTheChain)
{
    NibWindow window("Window");
    ASSERT_EQ(window.status(), noErr);
    ControlRef button = window.control('tbtn', 1);
    std::vector<int> order;
    RecordingHandler first, second, third;
    first.order = second.order = third.order = &order;
    first.name = 1;
    second.name = 2;
    third.name = 3;

    const struct
    {
        OSStatus answers[3];
        std::vector<int> expectedOrder;
    } cases[] = {
        {{eventNotHandledErr, eventNotHandledErr, eventNotHandledErr}, {3, 2, 1}},
        {{eventNotHandledErr, eventNotHandledErr, noErr}, {3}},
        {{eventNotHandledErr, noErr, eventNotHandledErr}, {3, 2}},
    };
    Install(GetControlEventTarget(button), kHit, first);
    Install(GetControlEventTarget(button), kHit, second);
    Install(GetControlEventTarget(button), kHit, third);
    for (const auto &c : cases) {
        order.clear();
        first.answer = c.answers[0];
        second.answer = c.answers[1];
        third.answer = c.answers[2];
        QTest::mouseClick(VeltraControlWidget(button), Qt::LeftButton);
        EXPECT_EQ(order, c.expectedOrder);
    }
    EXPECT_EQ(third.controls.back(), button) << "the hit names the control";
}

TEST(HandlerChains, CallNextRunsTheRestOnceAndReportsItsResult)
{
    NibWindow window("Window");
    ASSERT_EQ(window.status(), noErr);
    EventTargetRef target = GetWindowEventTarget(window);
    std::vector<int> order;
    RecordingHandler inner, outer;
    inner.order = outer.order = &order;
    inner.name = 1;
    outer.name = 2;
    inner.answer = noErr;
    outer.callNext = true;
    outer.answer = eventNotHandledErr;
    Install(target, kCommand, inner);
    Install(target, kCommand, outer);

    EXPECT_EQ(ProcessHICommandInWindow(window, 'abcd'), eventNotHandledErr)
        << "the outer handler's answer stands";
    EXPECT_EQ(order, (std::vector<int>{2, 1})) << "the inner handler ran once";
    EXPECT_EQ(outer.nextResult, noErr);

    order.clear();
    inner.answer = eventNotHandledErr;
    outer.answer = noErr;
    EXPECT_EQ(ProcessHICommandInWindow(window, 'abcd'), noErr);
    EXPECT_EQ(outer.nextResult, eventNotHandledErr);
    EXPECT_EQ(CallNextEventHandler(nullptr, nullptr), paramErr);
    // A handler's call reference is good only while it runs.
    EventRef event = nullptr;
    ASSERT_EQ(CreateEvent(nullptr, kEventClassCommand, kEventCommandProcess, 0, 0, &event), noErr);
    EXPECT_EQ(CallNextEventHandler(outer.lastCall, event), paramErr);
    ReleaseEvent(event);
    // A handler needs its procedure and its event types.
    EXPECT_EQ(InstallEventHandler(target, nullptr, 1, &kCommand, nullptr, nullptr), paramErr);
    EXPECT_EQ(InstallEventHandler(target, RecordingHandler::Proc, 1, nullptr, &inner, nullptr),
              paramErr);
}

TEST(HandlerChains, OkCommandConsumedByTheWindowStopsBeforeTheApplication)
{
    NibWindow window("Window");
    ASSERT_EQ(window.status(), noErr);
    RecordingHandler dialog, application;
    EventHandlerRef windowRef = Install(GetWindowEventTarget(window), kCommand, dialog);
    EventHandlerRef appRef = Install(GetApplicationEventTarget(), kCommand, application);

    // A handler that vetoes Print answers noErr.
    dialog.answer = noErr;
    EXPECT_EQ(ProcessHICommandInWindow(window, kHICommandOK), noErr);
    EXPECT_EQ(dialog.commands, std::vector<UInt32>{kHICommandOK});
    EXPECT_TRUE(application.commands.empty());

    // Letting it pass takes the command on to the application.
    dialog.answer = eventNotHandledErr;
    EXPECT_EQ(ProcessHICommandInWindow(window, kHICommandOK), eventNotHandledErr);
    EXPECT_EQ(application.commands, std::vector<UInt32>{kHICommandOK});

    EXPECT_EQ(RemoveEventHandler(windowRef), noErr);
    EXPECT_EQ(RemoveEventHandler(appRef), noErr);
    EXPECT_EQ(RemoveEventHandler(appRef), paramErr) << "a removed handler is unknown";
    EXPECT_EQ(ProcessHICommandInWindow(window, kHICommandOK), eventNotHandledErr);
    EXPECT_EQ(dialog.calls, 2);
    EXPECT_EQ(ProcessHICommandInWindow(nullptr, kHICommandOK), errInvalidWindowRef);
}

TEST(HandlerChains, EventTypesCanBeAddedAndRemovedAndGoWithTheirWindow)
{
    RecordingHandler handler;
    handler.answer = noErr;
    EventHandlerRef ref = nullptr;
    {
        NibWindow window("Window");
        ASSERT_EQ(window.status(), noErr);
        ref = Install(GetWindowEventTarget(window), kHit, handler);
        EXPECT_EQ(ProcessHICommandInWindow(window, 'xxxx'), eventNotHandledErr);
        ASSERT_EQ(AddEventTypesToHandler(ref, 1, &kCommand), noErr);
        EXPECT_EQ(ProcessHICommandInWindow(window, 'xxxx'), noErr);
        ASSERT_EQ(RemoveEventTypesFromHandler(ref, 1, &kCommand), noErr);
        EXPECT_EQ(ProcessHICommandInWindow(window, 'xxxx'), eventNotHandledErr);
        EXPECT_EQ(handler.calls, 1);
    }
    // Handlers of a disposed window are gone.
    EXPECT_EQ(RemoveEventHandler(ref), paramErr);
    EXPECT_EQ(AddEventTypesToHandler(ref, 1, &kHit), paramErr);
}

TEST(ControlHits, UserChangesSendHitsAndProgramChangesDoNot)
{
    NibWindow window("Window");
    ASSERT_EQ(window.status(), noErr);
    RecordingHandler list, check, radio;
    Install(GetControlEventTarget(window.control('tpop', 1)), kHit, list);
    Install(GetControlEventTarget(window.control('tchk', 1)), kHit, check);
    Install(GetControlEventTarget(window.control('trad', 1)), kHit, radio);

    SetControlValue(window.control('tpop', 1), 2);
    SetControlValue(window.control('tchk', 1), 1);
    SetControlValue(window.control('trad', 1), 0);
    EXPECT_EQ(list.calls + check.calls + radio.calls, 0);

    auto *combo = window.widgetOf<QComboBox>('tpop', 1);
    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(list.calls, 1);
    EXPECT_EQ(GetControlValue(window.control('tpop', 1)), 3);
    // Choosing the item already chosen is a choice too.
    emit combo->activated(2);
    EXPECT_EQ(list.calls, 2);

    auto *box = window.widgetOf<QCheckBox>('tchk', 1);
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, ModalScript::ClickPoint(box));
    EXPECT_EQ(check.calls, 1);
    EXPECT_EQ(GetControlValue(window.control('tchk', 1)), 0);

    // A click on a radio button that is on keeps it on, and is a hit all the same.
    auto *button = window.widgetOf<QRadioButton>('trad', 1);
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, ModalScript::ClickPoint(button));
    EXPECT_EQ(GetControlValue(window.control('trad', 1)), 1);
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, ModalScript::ClickPoint(button));
    EXPECT_EQ(GetControlValue(window.control('trad', 1)), 1);
    EXPECT_EQ(radio.calls, 2);
}

TEST(ControlHits, ButtonCommandFollowsItsHitToTheWindow)
{
    NibWindow window("Modal");
    ASSERT_EQ(window.status(), noErr);
    ControlRef ok = window.control('mbtn', 1);
    std::vector<int> order;
    RecordingHandler hit, command;
    hit.order = command.order = &order;
    hit.name = 1;
    command.name = 2;
    hit.answer = noErr; // even a consumed hit is followed by the command
    Install(GetControlEventTarget(ok), kHit, hit);
    Install(GetWindowEventTarget(window), kCommand, command);
    QTest::mouseClick(VeltraControlWidget(ok), Qt::LeftButton);
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
    EXPECT_EQ(command.commands, std::vector<UInt32>{kHICommandOK});

    // A button without a command sends only its hit.
    QTest::mouseClick(VeltraControlWidget(window.control('mbtn', 3)), Qt::LeftButton);
    EXPECT_EQ(command.calls, 1);
}

TEST(WindowEvents, CloseIsLeftToQtUnlessAHandlerTakesIt)
{
    NibWindow window("Window");
    ASSERT_EQ(window.status(), noErr);
    ShowWindow(window);
    RecordingHandler handler;
    handler.answer = noErr;
    const EventTypeSpec close{kEventClassWindow, kEventWindowClose};
    EventHandlerRef ref = nullptr;
    InstallEventHandler(GetWindowEventTarget(window), RecordingHandler::Proc, 1, &close, &handler,
                        &ref);
    EXPECT_FALSE(window.widget()->close());
    EXPECT_TRUE(IsWindowVisible(window)) << "the handler took the close";
    EXPECT_EQ(handler.calls, 1);
    RemoveEventHandler(ref);
    EXPECT_TRUE(window.widget()->close());
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_NE(VeltraWindowWidget(window), nullptr) << "closing hides; only DisposeWindow deletes";
}

namespace {

OSStatus DisposeOnClose(EventHandlerCallRef, EventRef event, void *)
{
    WindowRef window = nullptr;
    GetEventParameter(event, kEventParamDirectObject, typeWindowRef, nullptr, sizeof(window),
                      nullptr, &window);
    HideWindow(window);
    DisposeWindow(window);
    return noErr;
}

} // namespace

TEST(WindowEvents, HandlerMayDisposeTheWindowItIsClosing)
{
    WindowRef window = nullptr;
    {
        IBNibRef nib = nullptr;
        ASSERT_EQ(VeltraCreateNibReferenceWithPath(TestNibPath(), &nib), noErr);
        ASSERT_EQ(CreateWindowFromNib(nib, CFSTR("Window"), &window), noErr);
        DisposeNibReference(nib);
    }
    QPointer<QWidget> widget = VeltraWindowWidget(window);
    ShowWindow(window);
    const EventTypeSpec close{kEventClassWindow, kEventWindowClose};
    InstallEventHandler(GetWindowEventTarget(window), DisposeOnClose, 1, &close, nullptr, nullptr);
    widget->close();
    EXPECT_EQ(VeltraWindowWidget(window), nullptr);
    ASSERT_FALSE(widget.isNull()) << "deleted only once Qt is done with the close";
    EXPECT_FALSE(widget->isVisible());
    FlushDeferredDeletes();
    EXPECT_TRUE(widget.isNull());
}
