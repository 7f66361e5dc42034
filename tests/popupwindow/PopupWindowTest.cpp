// Modal windows of a panel: rebuilt at each activation with the committed values, the window
// wrapper's event routing, and the one-message alert.
#include "AboutWindow.h"
#include "AppResources.h"
#include "CPopupWindowInPanel.h"
#include "CTextEditControl.h"
#include "ModalScript.h"

#include <CoreFoundation/CFQt.h>
#include <HIToolbox/QtBridge.h>

#include <QLabel>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstring>

namespace {

ControlID messageID = {'mste', 600};
ControlAccessInfo messageAccess = {'cfst', 'cfst', nullptr, nullptr, nullptr};

class PopupWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        VeltraBundleSetLanguage("en");
        CFRef<CFStringRef> path(CFStringCreateWithQString(QStringLiteral(VELTRA_TEST_BUNDLE_DIR)));
        CFRef<CFURLRef> url(
            CFURLCreateWithFileSystemPath(nullptr, path, kCFURLPOSIXPathStyle, true));
        bundle = CFBundleCreate(nullptr, url);
        ASSERT_NE(bundle, nullptr);
    }

    static QString labelText(WindowRef window)
    {
        ControlRef control = nullptr;
        if (!window || GetControlByID(window, &messageID, &control) != noErr)
            return QStringLiteral("<no label>");
        return static_cast<QLabel *>(VeltraControlWidget(control))->text();
    }

    CFBundleRef bundle = nullptr;
};

// A message window whose text control keeps its committed value across rebuilds.
struct MessageWindow : CPopupWindowInPanel
{
    MessageWindow(CFBundleRef bundle)
        : CPopupWindowInPanel(GetPDENibFileName(), CFSTR("About"), bundle),
          message(&messageID, nullptr, nullptr, nullptr, &messageAccess)
    {
        RunTimeAddNewControl(&message);
    }
    void commit(const char *text)
    {
        auto *data = static_cast<char *>(message.GetControlDataBlk());
        memset(data, 0, 256);
        strncpy(data, text, 255);
    }
    CTextEditControl message;
};

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

} // namespace

TEST_F(PopupWindowTest, EveryActivationBuildsAFreshWindowShowingCommittedValues)
{
    MessageWindow popup(bundle);
    ASSERT_EQ(popup.InitializeUserPane(0, nullptr, bundle, nullptr), 0);
    ControlRef first = popup.message.GetControlRef();
    ASSERT_NE(first, nullptr);

    popup.commit("Passcode too short");
    EXPECT_EQ(popup.ActivateWindow(), 0);
    EXPECT_TRUE(popup.GetWindow()->IsVisible());
    EXPECT_EQ(labelText(popup.GetWindowRef()), "Passcode too short");

    EXPECT_EQ(popup.DeactivateWindow(), 0);
    EXPECT_EQ(popup.GetWindow(), nullptr);
    EXPECT_EQ(popup.message.GetControlRef(), nullptr);
    // The old widget is gone with its window; its reference no longer answers.
    EXPECT_FALSE(IsControlVisible(first));

    popup.commit("Second value");
    EXPECT_EQ(popup.ActivateWindow(), 0);
    ASSERT_NE(popup.GetWindowRef(), nullptr);
    EXPECT_NE(popup.message.GetControlRef(), nullptr);
    EXPECT_EQ(labelText(popup.GetWindowRef()), "Second value");

    // Releasing, deactivating or terminating a window that is gone does nothing.
    EXPECT_EQ(popup.ReleaseWindow(), 0);
    EXPECT_EQ(popup.ReleaseWindow(), 0);
    EXPECT_EQ(popup.DeactivateWindow(), 0);
    EXPECT_EQ(popup.Terminate(0, 0), 0);
    EXPECT_STREQ(static_cast<const char *>(popup.message.GetControlDataBlk()), "Second value");
}

TEST_F(PopupWindowTest, BoundsChangeWithBothBitsCountsAsResizeOnly)
{
    bool deleted = false;
    auto *window = new RecordingWindow(bundle, &deleted);
    WindowRef ref = window->GetWindowRef();
    ASSERT_NE(ref, nullptr);
    struct Case
    {
        UInt32 attributes;
        OSStatus result;
        int resized, moved;
    };
    const Case cases[] = {
        {kWindowBoundsChangeSizeChanged | kWindowBoundsChangeOriginChanged, noErr, 1, 0},
        {kWindowBoundsChangeOriginChanged, noErr, 1, 1},
        {kWindowBoundsChangeSizeChanged, noErr, 2, 1},
        {0, eventNotHandledErr, 2, 1},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(SendWindowEvent(ref, kEventWindowBoundsChanged, c.attributes), c.result);
        EXPECT_EQ(window->resized, c.resized);
        EXPECT_EQ(window->moved, c.moved);
    }
    // No ideal size of its own: left to the toolkit.
    EXPECT_EQ(SendWindowEvent(ref, kEventWindowGetIdealSize), eventNotHandledErr);
    // Other commands than close are not the window's.
    EXPECT_FALSE(window->HandleCommand('abcd'));
    EXPECT_TRUE(window->UpdateCommandStatus(kHICommandClose));

    // Closing hides the window and deletes the wrapper.
    window->Show();
    EXPECT_EQ(SendWindowEvent(ref, kEventWindowClose), noErr);
    EXPECT_TRUE(deleted);
}

TEST_F(PopupWindowTest, ControlByIDConveniencesAnswerTheLookupError)
{
    TWindow window(GetPDENibFileName(), CFSTR("About"), bundle);
    ControlRef label = nullptr;
    ASSERT_EQ(GetControlByID(window.GetWindowRef(), &messageID, &label), noErr);
    EXPECT_EQ(window.DisableControlByID(messageID), noErr);
    EXPECT_FALSE(IsControlActive(label));
    EXPECT_EQ(window.EnableControlByID(messageID), noErr);
    EXPECT_TRUE(IsControlActive(label));
    EXPECT_EQ(window.HideControlByID(messageID), noErr);
    EXPECT_FALSE(IsControlVisible(label));
    EXPECT_NE(window.ShowControlByID(ControlID{'none', 9}), noErr);
}

TEST_F(PopupWindowTest, AlertShowsTheMessageOrItsOwnTextUntilOK)
{
    struct Case
    {
        CFStringRef key;
        QString shown;
    };
    const Case cases[] = {
        {nullptr, QStringLiteral("The entry is not valid.")},
        {CFSTR("A message without translation"), QStringLiteral("A message without translation")},
    };
    for (const Case &c : cases) {
        QString seen;
        ModalScript script;
        script.when("About", {[&](WindowRef window) { seen = labelText(window); },
                              ModalScript::clickCommand(kHICommandOK)});
        AboutWindow::Present(bundle, c.key);
        EXPECT_TRUE(script.finished());
        EXPECT_EQ(seen, c.shown);
    }
}
