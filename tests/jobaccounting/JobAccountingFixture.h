// The job accounting pane as the print system drives it: the real bundle, a print dialog
// window with the pane's user pane, a session on a sample printer, preferences in a temporary
// directory, and the callbacks of the pane's plug-in entry called in the print system's order.
#pragma once

#include "AdminCheck.h"
#include "CJobAuthenticationPanel.h"
#include "PDEPlugInEntry.h"
#include "PaneFixture.h"

#include <CoreFoundation/CFQt.h>
#include <HIToolbox/HIToolbox.h>
#include <HIToolbox/QtBridge.h>
#include <PrintCore/PrintHost.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

extern const PDEPaneDescription kJBAPane;

namespace jobaccounting {

using Entry = PDEEntry<kJBAPane>;

constexpr const char *kPrefix = "com.veltra.kzu.printsettings.";

// The panel's widgets.
constexpr ControlID kModeList = {'jals', 101};
constexpr ControlID kSettingsButton = {'jibt', 102};
constexpr ControlID kHelpButton = {'help', 103};

// A settings window's widgets; the administrator window's ids are 1000 higher.
struct SettingsIDs
{
    explicit SettingsIDs(bool admin) : offset(admin ? 1000 : 0) {}
    ControlID at(OSType signature, SInt32 id) const { return {signature, id + offset}; }
    ControlID ok() const { return at('aiob', 211); }
    ControlID cancel() const { return at('aicb', 212); }
    ControlID restore() const { return at('airb', 213); }
    ControlID help() const { return at('aihb', 214); }
    ControlID jobInfo() const { return at('jarb', 401); }
    ControlID nameList() const { return at('uilc', 301); }
    ControlID userID() const { return at('uitt', 302); }
    ControlID login() const { return at('lntt', 307); }
    ControlID password() const { return at('uptt', 303); }
    ControlID jobInput() const { return at('jirb', 402); }
    SInt32 offset;
};

// The print-time input window's widgets.
constexpr ControlID kInputOK = {'aiob', 601};
constexpr ControlID kInputCancel = {'aicb', 602};
constexpr ControlID kInputUserID = {'uitt', 504};
constexpr ControlID kInputPassword = {'uptt', 506};

inline std::string DialogUser()
{
    char name[256] = {};
    return GetDialogUserName(name, sizeof name) ? name : "UnknownUser";
}

// Widget helpers usable inside a modal window's step as well as on the dialog.
template <typename T> T *Get(WindowRef window, ControlID id)
{
    return qobject_cast<T *>(ModalScript::widget(window, id));
}
inline std::string Text(WindowRef window, ControlID id)
{
    auto *field = Get<QLineEdit>(window, id);
    return field ? field->text().toStdString() : "<no field>";
}
inline ModalScript::Action Clear(ControlID id)
{
    return [id](WindowRef window) {
        if (auto *field = Get<QLineEdit>(window, id))
            field->clear();
    };
}
// What an alert said; its OK is pressed.
inline ModalScript::Action ReadAlert(std::string *text)
{
    return [text](WindowRef window) {
        *text = ModalScript::message(window).toStdString();
        ModalScript::clickCommand(kHICommandOK)(window);
    };
}
// Runs check inside the window.
inline ModalScript::Action Inspect(std::function<void(WindowRef)> check)
{
    return check;
}

class JobAccountingTest : public PaneTest
{
protected:
    void TearDown() override
    {
        close();
        PaneTest::TearDown();
    }

    // Opens the dialog on the sample printer: Prologue, Initialize (with its first Sync).
    void open(const std::string &printer = "Office")
    {
        close();
        dialog = std::make_unique<TestDialog>();
        dialogWindow = dialog->window;
        session = std::make_unique<veltra::PrintSession>(printer, OpenTestPPD(VELTRA_SAMPLE_PPD));
        ASSERT_EQ(Entry::Prologue(&context, nullptr, nullptr, nullptr, nullptr, nullptr), noErr);
        PMPDEFlags flags = 0;
        ASSERT_EQ(Entry::Initialize(context, &flags, nullptr, dialog->userPane, session->ref()),
                  noErr);
        dialog->dialog->show();
        QApplication::setActiveWindow(dialog->dialog.get());
    }
    void close()
    {
        if (context)
            Entry::Terminate(context, noErr);
        context = nullptr;
        dialog.reset();
        session.reset();
    }

    CJobAuthenticationPanel *panel() const
    {
        return static_cast<CJobAuthenticationPanel *>(
            reinterpret_cast<PDEExtensionContext *>(context)->panel);
    }
    template <typename T> T *get(ControlID id) const { return Get<T>(dialogWindow, id); }
    void click(ControlID id) { ModalScript::click(id)(dialogWindow); }
    void choose(ControlID id, int item) { ModalScript::choose(id, item)(dialogWindow); }

    // The Print button: false when the pane held the job back; otherwise the pane writes the
    // ticket, as the print system asks it to.
    bool pressPrint()
    {
        if (ProcessHICommandInWindow(dialogWindow, kHICommandOK) == noErr)
            return false;
        return sync() == noErr;
    }
    OSStatus sync() { return Entry::Sync(context, session->ref(), false); }

    std::vector<std::string> summary()
    {
        CFArrayRef titles = nullptr, values = nullptr;
        EXPECT_EQ(Entry::GetSummaryText(context, &titles, &values), noErr);
        CFRef<CFArrayRef> t(titles), v(values);
        std::vector<std::string> lines;
        for (CFIndex i = 0; t && v && i < CFArrayGetCount(t); ++i)
            lines.push_back(QStringFromCF(static_cast<CFStringRef>(CFArrayGetValueAtIndex(t, i)))
                                .toStdString() +
                            ": " +
                            QStringFromCF(static_cast<CFStringRef>(CFArrayGetValueAtIndex(v, i)))
                                .toStdString());
        return lines;
    }

    std::string ticket(const std::string &name) const
    {
        return TicketValue(*session, kPrefix + name);
    }
    static std::string preference(const std::string &name, CFStringRef user)
    {
        return StoredPreference("Office" + std::string(kPrefix) + name, user);
    }
    static void storeSharedAccountMode(const char *item)
    {
        StorePreference("Officecom.veltra.kzu.printsettings.JBAManageTypeListReference", item,
                        kCFPreferencesAnyUser);
    }

    std::unique_ptr<TestDialog> dialog;
    WindowRef dialogWindow = nullptr;
    std::unique_ptr<veltra::PrintSession> session;
    PMPDEContext context = nullptr;
};

} // namespace jobaccounting
