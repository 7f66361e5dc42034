// Handler chains, control hits, commands, closing a window, application-modal loops.
#include "ToolboxFixtures.h"

#include "ModalScript.h"

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QTest>

namespace {

constexpr UInt32 kControlClass = kEventClassControl, kCommandClass = kEventClassCommand;
const ControlID kModalField{'medt', 1}, kModalMore{'mbtn', 3};

// What a modal window's program does: OK and Cancel end the loop.
struct QuitOnCommand : RecordingHandler
{
    WindowRef window;
    explicit QuitOnCommand(WindowRef w) : window(w)
    {
        const EventTypeSpec type{kCommandClass, kEventCommandProcess};
        InstallEventHandler(GetWindowEventTarget(w), Quit, 1, &type, this, nullptr);
    }
    static OSStatus Quit(EventHandlerCallRef call, EventRef event, void *data)
    {
        auto *self = static_cast<QuitOnCommand *>(data);
        Proc(call, event, self);
        if (self->commands.back() != kHICommandOK && self->commands.back() != kHICommandCancel)
            return eventNotHandledErr;
        QuitAppModalLoopForWindow(self->window);
        return noErr;
    }
};

} // namespace

TEST_F(Toolbox, MostRecentHandlerRunsFirstAndAConsumingOneOrCallNextEndsTheChain)
{
    ControlRef button = window.control('tbtn');
    std::vector<int> order;
    RecordingHandler handlers[3];
    for (int i = 0; i < 3; ++i) {
        handlers[i].order = &order;
        handlers[i].name = i + 1;
        handlers[i].install(GetControlEventTarget(button), kControlClass, kEventControlHit);
    }
    const std::pair<std::array<OSStatus, 3>, std::vector<int>> cases[] = {
        {{eventNotHandledErr, eventNotHandledErr, eventNotHandledErr}, {3, 2, 1}},
        {{eventNotHandledErr, eventNotHandledErr, noErr}, {3}},
        {{eventNotHandledErr, noErr, eventNotHandledErr}, {3, 2}}};
    for (const auto &[answers, expected] : cases) {
        order.clear();
        for (int i = 0; i < 3; ++i)
            handlers[i].answer = answers[i];
        QTest::mouseClick(VeltraControlWidget(button), Qt::LeftButton);
        EXPECT_EQ(order, expected);
    }
    EXPECT_EQ(handlers[2].control, button) << "the hit names the control";
    // CallNextEventHandler runs the rest once and reports its result; the outer answer stands.
    RecordingHandler &inner = handlers[0], &outer = handlers[1];
    inner.install(GetWindowEventTarget(window), kCommandClass, kEventCommandProcess);
    outer.install(GetWindowEventTarget(window), kCommandClass, kEventCommandProcess);
    outer.callNext = true;
    for (const OSStatus innerAnswer : {noErr, eventNotHandledErr}) {
        order.clear();
        inner.answer = innerAnswer;
        outer.answer = innerAnswer == noErr ? eventNotHandledErr : noErr;
        EXPECT_EQ(ProcessHICommandInWindow(window, 'abcd'), outer.answer);
        EXPECT_EQ(order, (std::vector<int>{2, 1}));
        EXPECT_EQ(outer.nextResult, innerAnswer);
    }
}

TEST_F(Toolbox, OkConsumedByTheWindowStopsBeforeTheApplicationAndHandlersGoWithTheirWindow)
{
    RecordingHandler dialog, app, handler;
    auto windowRef =
        dialog.install(GetWindowEventTarget(window), kCommandClass, kEventCommandProcess);
    auto appRef = app.install(GetApplicationEventTarget(), kCommandClass, kEventCommandProcess);
    // A handler that vetoes Print answers noErr; letting it pass takes it to the application.
    dialog.answer = noErr;
    EXPECT_EQ(ProcessHICommandInWindow(window, kHICommandOK), noErr);
    EXPECT_TRUE(dialog.commands == std::vector<UInt32>{kHICommandOK} && app.commands.empty());
    dialog.answer = eventNotHandledErr;
    EXPECT_EQ(ProcessHICommandInWindow(window, kHICommandOK), eventNotHandledErr);
    EXPECT_EQ(app.commands, std::vector<UInt32>{kHICommandOK});
    EXPECT_EQ(RemoveEventHandler(windowRef), noErr);
    EXPECT_EQ(RemoveEventHandler(appRef), noErr);
    EXPECT_EQ(ProcessHICommandInWindow(window, kHICommandOK), eventNotHandledErr);
    EXPECT_EQ(RemoveEventHandler(appRef), paramErr);
    EventHandlerRef ref = nullptr;
    {
        NibWindow other("Window");
        ref = handler.install(GetWindowEventTarget(other), kCommandClass, kEventCommandProcess);
    }
    EXPECT_EQ(RemoveEventHandler(ref), paramErr);
}

TEST_F(Toolbox, UserChangesSendHitsAndProgramChangesDoNotAndAButtonsCommandFollowsItsHit)
{
    RecordingHandler list, check, radio;
    list.install(GetControlEventTarget(window.control('tpop')), kControlClass, kEventControlHit);
    check.install(GetControlEventTarget(window.control('tchk')), kControlClass, kEventControlHit);
    radio.install(GetControlEventTarget(window.control('trad')), kControlClass, kEventControlHit);
    SetControlValue(window.control('tpop'), 2);
    SetControlValue(window.control('tchk'), 1);
    SetControlValue(window.control('trad'), 0);
    EXPECT_EQ(list.calls + check.calls + radio.calls, 0);
    auto *combo = window.widgetOf<QComboBox>('tpop');
    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(list.calls * 10 + GetControlValue(window.control('tpop')), 13);
    auto *box = window.widgetOf<QCheckBox>('tchk');
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, ModalScript::ClickPoint(box));
    EXPECT_EQ(check.calls * 10 + GetControlValue(window.control('tchk')), 10);
    auto *button = window.widgetOf<QRadioButton>('trad');
    SetControlValue(window.control('trad'), 1);
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, ModalScript::ClickPoint(button));
    EXPECT_EQ(radio.calls * 10 + GetControlValue(window.control('trad')), 11);
    // The command follows even a consumed hit; a button without a command sends only its hit.
    NibWindow modal("Modal");
    RecordingHandler hit, command;
    hit.answer = noErr;
    hit.install(GetControlEventTarget(modal.control('mbtn', 1)), kControlClass, kEventControlHit);
    command.install(GetWindowEventTarget(modal), kCommandClass, kEventCommandProcess);
    QTest::mouseClick(VeltraControlWidget(modal.control('mbtn', 1)), Qt::LeftButton);
    QTest::mouseClick(VeltraControlWidget(modal.control('mbtn', 3)), Qt::LeftButton);
    EXPECT_TRUE(hit.calls == 1 && command.commands == std::vector<UInt32>{kHICommandOK});
}

static OSStatus DisposeOnClose(EventHandlerCallRef, EventRef event, void *)
{
    WindowRef window = nullptr;
    GetEventParameter(event, kEventParamDirectObject, typeWindowRef, nullptr, sizeof(window),
                      nullptr, &window);
    HideWindow(window);
    DisposeWindow(window);
    return noErr;
}

TEST_F(Toolbox, AHandlerMayTakeTheCloseOrDisposeTheWindowItIsClosing)
{
    ShowWindow(window);
    RecordingHandler handler;
    handler.answer = noErr;
    EventHandlerRef ref =
        handler.install(GetWindowEventTarget(window), kEventClassWindow, kEventWindowClose);
    EXPECT_FALSE(window.widget()->close());
    EXPECT_TRUE(IsWindowVisible(window) && handler.calls == 1) << "the handler took the close";
    RemoveEventHandler(ref);
    WindowRef closing = LoadNibWindow("Window");
    QPointer<QWidget> widget = VeltraWindowWidget(closing);
    ShowWindow(closing);
    const EventTypeSpec close{kEventClassWindow, kEventWindowClose};
    InstallEventHandler(GetWindowEventTarget(closing), DisposeOnClose, 1, &close, nullptr, nullptr);
    widget->close();
    EXPECT_EQ(VeltraWindowWidget(closing), nullptr);
    ASSERT_FALSE(widget.isNull()) << "deleted only once Qt is done with the close";
    FlushDeferredDeletes();
    EXPECT_TRUE(widget.isNull());
}

TEST(ModalLoop, LoopsNestAndDisposingTheWindowEndsItsLoop)
{
    NibWindow outer("Modal"), inner("Inner");
    QuitOnCommand outerProgram(outer), innerProgram(inner);
    static bool outerWasRunning = false;
    static OSStatus innerResult = paramErr;
    NibWindow *windows[] = {&outer, &inner};
    const EventTypeSpec hit{kControlClass, kEventControlHit};
    InstallEventHandler(
        GetControlEventTarget(outer.control('mbtn', 3)),
        [](EventHandlerCallRef, EventRef, void *data) -> OSStatus {
            auto *windows = static_cast<NibWindow **>(data);
            outerWasRunning = VeltraIsInModalLoop(*windows[0]);
            innerResult = RunAppModalLoopForWindow(*windows[1]);
            HideWindow(*windows[1]);
            return noErr;
        },
        1, &hit, windows, nullptr);
    // The outer window shows application-modal while its loop runs; Return gives OK.
    bool shownModal = false;
    ModalScript script;
    script
        .when("Modal", {[&](WindowRef w) {
                            shownModal =
                                IsWindowVisible(w) && VeltraIsInModalLoop(w) &&
                                VeltraWindowWidget(w)->windowModality() == Qt::ApplicationModal;
                        },
                        ModalScript::click(kModalMore), ModalScript::type(kModalField, "Abc 1"),
                        ModalScript::press(kModalField, Qt::Key_Return)})
        .when("Inner", ModalScript::clickCommand(kHICommandOK));
    EXPECT_EQ(RunAppModalLoopForWindow(outer), noErr);
    EXPECT_TRUE(shownModal && outerWasRunning && !VeltraIsInModalLoop(outer));
    EXPECT_EQ(innerResult, noErr);
    EXPECT_EQ(innerProgram.commands, std::vector<UInt32>{kHICommandOK});
    EXPECT_EQ(outerProgram.commands, std::vector<UInt32>{kHICommandOK});
    NibWindow window("Modal");
    EXPECT_EQ(QuitAppModalLoopForWindow(window), paramErr) << "no loop runs";
    script.when("Modal", [](WindowRef w) { DisposeWindow(w); });
    EXPECT_EQ(RunAppModalLoopForWindow(window), errInvalidWindowRef);
    EXPECT_TRUE(script.takeFailures().isEmpty());
}
