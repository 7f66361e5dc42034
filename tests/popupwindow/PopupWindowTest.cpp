// Modal windows of a panel: rebuilt at each activation with the committed values, the window
// wrapper's event routing, and the one-message alert.
#include "AboutWindow.h"
#include "CTextEditControl.h"
#include "PaneFixture.h"

namespace {

ControlID messageID = {'mste', 600};
ControlAccessInfo messageAccess = {'cfst', 'cfst', nullptr, nullptr, nullptr};
int deletions = 0;

struct RecordingWindow : TWindow
{
    using TWindow::TWindow;
    ~RecordingWindow() override { ++deletions; }
    void Resized() override { ++resized; }
    void Moved() override { ++moved; }
    int resized = 0, moved = 0;
};

using PopupWindowTest = PaneTest;

TEST_F(PopupWindowTest, ActivationsBuildAFreshWindowOfCommittedValuesAndAlertsShowTheirMessage)
{
    CPopupWindowInPanel popup(GetPDENibFileName(), CFSTR("About"), bundle);
    CTextEditControl message(&messageID, nullptr, nullptr, nullptr, &messageAccess);
    popup.RunTimeAddNewControl(&message);
    ASSERT_EQ(popup.InitializeUserPane(0, nullptr, bundle, nullptr), 0);
    ControlRef first = message.GetControlRef();
    ASSERT_NE(first, nullptr);
    for (const char *committed : {"Passcode too short", "Second value"}) {
        strcpy(static_cast<char *>(memset(message.GetControlDataBlk(), 0, 256)), committed);
        EXPECT_EQ(popup.ActivateWindow(), 0);
        ASSERT_TRUE(popup.GetWindow() && popup.GetWindow()->IsVisible());
        EXPECT_EQ(ModalScript::message(popup.GetWindowRef()), committed);
        EXPECT_EQ(popup.DeactivateWindow(), 0);
        EXPECT_TRUE(!popup.GetWindow() && !message.GetControlRef());
    }
    EXPECT_FALSE(IsControlVisible(first)) << "the old widget is gone with its window";
    // Releasing, deactivating or terminating a window that is gone does nothing.
    EXPECT_EQ(popup.ReleaseWindow() | popup.DeactivateWindow() | popup.Terminate(0, 0), 0);
    EXPECT_STREQ(static_cast<const char *>(message.GetControlDataBlk()), "Second value");

    for (const CFStringRef key : {CFStringRef(), CFSTR("A message without translation")}) {
        QString seen;
        ModalScript script;
        script.when("About", ModalScript::readAlert(&seen));
        AboutWindow::Present(bundle, key);
        EXPECT_TRUE(script.finished());
        EXPECT_EQ(seen, key ? "A message without translation" : "The entry is not valid.");
    }
}

TEST_F(PopupWindowTest, WindowEventsReachTheWrapper)
{
    auto *window = new RecordingWindow(GetPDENibFileName(), CFSTR("About"), bundle);
    WindowRef ref = window->GetWindowRef();
    ASSERT_NE(ref, nullptr);
    auto send = [ref](UInt32 kind, UInt32 attributes) {
        EventRef event = nullptr;
        CreateEvent(nullptr, kEventClassWindow, kind, 0, 0, &event);
        SetEventParameter(event, kEventParamDirectObject, typeWindowRef, sizeof ref, &ref);
        SetEventParameter(event, kEventParamAttributes, typeUInt32, sizeof attributes, &attributes);
        const OSStatus status = SendEventToEventTarget(event, GetWindowEventTarget(ref));
        ReleaseEvent(event);
        return status;
    };
    // Both bits count as a resize only; no ideal size of its own (left to the toolkit).
    const std::tuple<UInt32, UInt32, OSStatus, int, int> cases[] = {
        {kEventWindowBoundsChanged,
         kWindowBoundsChangeSizeChanged | kWindowBoundsChangeOriginChanged, noErr, 1, 0},
        {kEventWindowBoundsChanged, kWindowBoundsChangeOriginChanged, noErr, 1, 1},
        {kEventWindowBoundsChanged, kWindowBoundsChangeSizeChanged, noErr, 2, 1},
        {kEventWindowBoundsChanged, 0, eventNotHandledErr, 2, 1},
        {kEventWindowGetIdealSize, 0, eventNotHandledErr, 2, 1}};
    for (const auto &[kind, attributes, result, resized, moved] : cases) {
        EXPECT_EQ(send(kind, attributes), result);
        EXPECT_EQ(std::make_pair(window->resized, window->moved), std::make_pair(resized, moved));
    }
    EXPECT_FALSE(window->HandleCommand('abcd'));
    EXPECT_TRUE(window->UpdateCommandStatus(kHICommandClose));

    // The by-ID conveniences work the widget and answer the lookup error.
    ControlRef label = nullptr;
    ASSERT_EQ(GetControlByID(ref, &messageID, &label), noErr);
    EXPECT_EQ(window->DisableControlByID(messageID), noErr);
    EXPECT_FALSE(IsControlActive(label));
    EXPECT_EQ(window->EnableControlByID(messageID), noErr);
    EXPECT_TRUE(IsControlActive(label));
    EXPECT_EQ(window->HideControlByID(messageID), noErr);
    EXPECT_FALSE(IsControlVisible(label));
    EXPECT_NE(window->ShowControlByID(ControlID{'none', 9}), noErr);

    window->Show();
    EXPECT_EQ(send(kEventWindowClose, 0), noErr);
    EXPECT_EQ(deletions, 1) << "closing deletes the wrapper";
}

} // namespace
