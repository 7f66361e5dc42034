// Modal windows of a panel: rebuilt at each activation with the committed values, the window
// wrapper's event routing, and the one-message alert.
#include "AboutWindow.h"
#include "CPopupWindowInPanel.h"
#include "CTextEditControl.h"
#include "ModalScript.h"
#include "PaneFixture.h"

#include <QLabel>

#include <cstring>

namespace {

ControlID messageID = {'mste', 600};
ControlAccessInfo messageAccess = {'cfst', 'cfst', nullptr, nullptr, nullptr};

QString LabelText(WindowRef window)
{
    auto *label = qobject_cast<QLabel *>(ModalScript::widget(window, messageID));
    return label ? label->text() : QStringLiteral("<no label>");
}

// Records which of its operations the dispatcher called.
struct RecordingWindow : TWindow
{
    RecordingWindow(CFBundleRef bundle, bool *deleted)
        : TWindow(GetPDENibFileName(), CFSTR("About"), bundle), deleted(deleted)
    {}
    ~RecordingWindow() override { *deleted = true; }
    void Resized() override { ++resized; }
    void Moved() override { ++moved; }
    int resized = 0;
    int moved = 0;
    bool *deleted;
};

OSStatus SendWindowEvent(WindowRef window, UInt32 kind, UInt32 attributes = 0)
{
    EventRef event = nullptr;
    CreateEvent(nullptr, kEventClassWindow, kind, 0, 0, &event);
    SetEventParameter(event, kEventParamDirectObject, typeWindowRef, sizeof window, &window);
    if (kind == kEventWindowBoundsChanged)
        SetEventParameter(event, kEventParamAttributes, typeUInt32, sizeof attributes, &attributes);
    const OSStatus status = SendEventToEventTarget(event, GetWindowEventTarget(window));
    ReleaseEvent(event);
    return status;
}

using PopupWindowTest = PaneTest;

TEST_F(PopupWindowTest, EveryActivationBuildsAFreshWindowShowingCommittedValues)
{
    CPopupWindowInPanel popup(GetPDENibFileName(), CFSTR("About"), bundle);
    CTextEditControl message(&messageID, nullptr, nullptr, nullptr, &messageAccess);
    popup.RunTimeAddNewControl(&message);
    ASSERT_EQ(popup.InitializeUserPane(0, nullptr, bundle, nullptr), 0);
    ControlRef first = message.GetControlRef();
    ASSERT_NE(first, nullptr);

    for (const char *committed : {"Passcode too short", "Second value"}) {
        auto *data = static_cast<char *>(message.GetControlDataBlk());
        memset(data, 0, 256);
        strcpy(data, committed);
        EXPECT_EQ(popup.ActivateWindow(), 0);
        ASSERT_NE(popup.GetWindowRef(), nullptr);
        EXPECT_TRUE(popup.GetWindow()->IsVisible());
        EXPECT_EQ(LabelText(popup.GetWindowRef()), committed);
        EXPECT_EQ(popup.DeactivateWindow(), 0);
        EXPECT_EQ(popup.GetWindow(), nullptr);
        EXPECT_EQ(message.GetControlRef(), nullptr);
    }
    // The old widget is gone with its window; its reference no longer answers.
    EXPECT_FALSE(IsControlVisible(first));
    // Releasing, deactivating or terminating a window that is gone does nothing.
    EXPECT_EQ(popup.ReleaseWindow(), 0);
    EXPECT_EQ(popup.DeactivateWindow(), 0);
    EXPECT_EQ(popup.Terminate(0, 0), 0);
    EXPECT_STREQ(static_cast<const char *>(message.GetControlDataBlk()), "Second value");
}

TEST_F(PopupWindowTest, WindowEventsReachTheWrapper)
{
    bool deleted = false;
    auto *window = new RecordingWindow(bundle, &deleted);
    WindowRef ref = window->GetWindowRef();
    ASSERT_NE(ref, nullptr);
    const struct
    {
        UInt32 attributes;
        OSStatus result;
        int resized, moved;
    } cases[] = {
        // Both bits count as a resize only.
        {kWindowBoundsChangeSizeChanged | kWindowBoundsChangeOriginChanged, noErr, 1, 0},
        {kWindowBoundsChangeOriginChanged, noErr, 1, 1},
        {kWindowBoundsChangeSizeChanged, noErr, 2, 1},
        {0, eventNotHandledErr, 2, 1},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(SendWindowEvent(ref, kEventWindowBoundsChanged, c.attributes), c.result);
        EXPECT_EQ(window->resized, c.resized);
        EXPECT_EQ(window->moved, c.moved);
    }
    // No ideal size of its own: left to the toolkit.
    EXPECT_EQ(SendWindowEvent(ref, kEventWindowGetIdealSize), eventNotHandledErr);
    EXPECT_FALSE(window->HandleCommand('abcd'));
    EXPECT_TRUE(window->UpdateCommandStatus(kHICommandClose));

    // The by-ID conveniences answer the lookup error.
    ControlRef label = nullptr;
    ASSERT_EQ(GetControlByID(ref, &messageID, &label), noErr);
    EXPECT_EQ(window->DisableControlByID(messageID), noErr);
    EXPECT_FALSE(IsControlActive(label));
    EXPECT_EQ(window->EnableControlByID(messageID), noErr);
    EXPECT_TRUE(IsControlActive(label));
    EXPECT_EQ(window->HideControlByID(messageID), noErr);
    EXPECT_FALSE(IsControlVisible(label));
    EXPECT_NE(window->ShowControlByID(ControlID{'none', 9}), noErr);

    // Closing hides the window and deletes the wrapper.
    window->Show();
    EXPECT_EQ(SendWindowEvent(ref, kEventWindowClose), noErr);
    EXPECT_TRUE(deleted);
}

TEST_F(PopupWindowTest, AlertShowsTheMessageOrItsOwnTextUntilOK)
{
    const struct
    {
        CFStringRef key;
        QString shown;
    } cases[] = {
        {nullptr, QStringLiteral("The entry is not valid.")},
        {CFSTR("A message without translation"), QStringLiteral("A message without translation")},
    };
    for (const auto &c : cases) {
        QString seen;
        ModalScript script;
        script.when("About", {[&](WindowRef window) { seen = LabelText(window); },
                              ModalScript::clickCommand(kHICommandOK)});
        AboutWindow::Present(bundle, c.key);
        EXPECT_TRUE(script.finished());
        EXPECT_EQ(seen, c.shown);
    }
}

} // namespace
