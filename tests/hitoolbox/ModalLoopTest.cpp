// Application-modal loops driven by real clicks and keys, and the script that drives them.
#include "ToolboxFixtures.h"

#include "ModalScript.h"

#include <QLineEdit>

namespace {

const ControlID kModalField{'medt', 1};
const ControlID kModalOK{'mbtn', 1};
const ControlID kModalCancel{'mbtn', 2};
const ControlID kModalMore{'mbtn', 3};

// What a modal window's program does: OK and Cancel end the loop.
struct QuitOnCommand
{
    std::vector<UInt32> commands;
    static OSStatus Proc(EventHandlerCallRef, EventRef event, void *userData)
    {
        HICommand command{};
        GetEventParameter(event, kEventParamDirectObject, typeHICommand, nullptr, sizeof(command),
                          nullptr, &command);
        auto *self = static_cast<QuitOnCommand *>(userData);
        self->commands.push_back(command.commandID);
        if (command.commandID != kHICommandOK && command.commandID != kHICommandCancel)
            return eventNotHandledErr;
        QuitAppModalLoopForWindow(self->window);
        return noErr;
    }
    void attach(WindowRef w)
    {
        window = w;
        const EventTypeSpec spec{kEventClassCommand, kEventCommandProcess};
        InstallEventHandler(GetWindowEventTarget(w), Proc, 1, &spec, this, nullptr);
    }
    WindowRef window = nullptr;
};

// The More button of the outer window runs the inner window's loop from its click handler.
struct OpenInner
{
    NibWindow *inner = nullptr;
    WindowRef outer = nullptr;
    bool outerWasRunning = false;
    OSStatus innerResult = paramErr;
    static OSStatus Proc(EventHandlerCallRef, EventRef, void *userData)
    {
        auto *self = static_cast<OpenInner *>(userData);
        self->outerWasRunning = VeltraIsInModalLoop(self->outer);
        self->innerResult = RunAppModalLoopForWindow(*self->inner);
        HideWindow(*self->inner);
        return noErr;
    }
};

} // namespace

TEST(ModalLoop, OkAndCancelEndTheLoopHoweverTheUserGivesThem)
{
    const struct
    {
        const char *how;
        std::vector<ModalScript::Action> actions;
        UInt32 command;
    } cases[] = {
        {"OK button", {ModalScript::click(kModalOK)}, kHICommandOK},
        {"Return",
         {ModalScript::type(kModalField, "x"), ModalScript::press(kModalField, Qt::Key_Return)},
         kHICommandOK},
        {"close box", {ModalScript::closeWindow()}, kHICommandCancel},
        {"Escape", {ModalScript::press(kModalField, Qt::Key_Escape)}, kHICommandCancel},
        {"Cancel button", {ModalScript::click(kModalCancel)}, kHICommandCancel},
    };
    for (const auto &c : cases) {
        NibWindow window("Modal");
        ASSERT_EQ(window.status(), noErr);
        QuitOnCommand program;
        program.attach(window);
        bool shownModal = false;
        ModalScript script;
        script.when("Modal", [&](WindowRef w) {
            shownModal = IsWindowVisible(w) &&
                         VeltraWindowWidget(w)->windowModality() == Qt::ApplicationModal &&
                         VeltraIsInModalLoop(w);
            for (const auto &action : c.actions)
                action(w);
        });
        EXPECT_EQ(RunAppModalLoopForWindow(window), noErr) << c.how;
        EXPECT_TRUE(shownModal) << c.how;
        EXPECT_FALSE(VeltraIsInModalLoop(window));
        EXPECT_EQ(program.commands, std::vector<UInt32>{c.command}) << c.how;
        EXPECT_NE(VeltraWindowWidget(window), nullptr)
            << c.how << ": the window stays the program's";
        EXPECT_TRUE(script.takeFailures().isEmpty()) << c.how;
    }
}

TEST(ModalLoop, LoopsNest)
{
    NibWindow outer("Modal");
    NibWindow inner("Inner");
    ASSERT_EQ(outer.status(), noErr);
    ASSERT_EQ(inner.status(), noErr);
    QuitOnCommand outerProgram, innerProgram;
    outerProgram.attach(outer);
    innerProgram.attach(inner);
    OpenInner opener{&inner, outer.get()};
    const EventTypeSpec hit{kEventClassControl, kEventControlHit};
    InstallEventHandler(GetControlEventTarget(outer.control('mbtn', 3)), OpenInner::Proc, 1, &hit,
                        &opener, nullptr);

    ModalScript script;
    script
        .when("Modal", {ModalScript::click(kModalMore), ModalScript::type(kModalField, "Abc 1"),
                        ModalScript::click(kModalOK)})
        .when("Inner", ModalScript::clickCommand(kHICommandOK));
    EXPECT_EQ(RunAppModalLoopForWindow(outer), noErr);

    EXPECT_TRUE(opener.outerWasRunning);
    EXPECT_EQ(opener.innerResult, noErr);
    // "ok" in the nib is the OK command, padded to four characters; the button needs no identity.
    EXPECT_EQ(innerProgram.commands, std::vector<UInt32>{kHICommandOK});
    EXPECT_EQ(outerProgram.commands, std::vector<UInt32>{kHICommandOK});
    EXPECT_EQ(outer.widgetOf<QLineEdit>('medt', 1)->text(), QStringLiteral("Abc 1"));
    EXPECT_EQ(script.windowsSeen(),
              (QStringList{QStringLiteral("Modal"), QStringLiteral("Inner")}));
    EXPECT_TRUE(script.takeFailures().isEmpty());
}

TEST(ModalLoop, DisposingTheWindowEndsItsLoopAndBadCallsAreRefused)
{
    NibWindow window("Modal");
    ASSERT_EQ(window.status(), noErr);
    EXPECT_EQ(QuitAppModalLoopForWindow(window), paramErr) << "no loop runs";
    EXPECT_EQ(RunAppModalLoopForWindow(nullptr), errInvalidWindowRef);
    EXPECT_EQ(QuitAppModalLoopForWindow(nullptr), errInvalidWindowRef);
    ModalScript script;
    script.when("Modal", [](WindowRef w) { DisposeWindow(w); });
    EXPECT_EQ(RunAppModalLoopForWindow(window), errInvalidWindowRef);
    EXPECT_TRUE(script.takeFailures().isEmpty());
}
