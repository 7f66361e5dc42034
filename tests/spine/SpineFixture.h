// Shared set-up of the spine tests: a print dialog window with a user pane, sessions on real PPD
// files, and a text control whose value the tests set directly.
#pragma once

#include "CBasePrintPanel.h"
#include "PaneFixture.h"

#include <PrintCore/PrintHost.h>

#include <QDialog>
#include <QLineEdit>
#include <QVBoxLayout>

#include <cstring>
#include <memory>
#include <string>

// A text-valued control: its value is set by the test or read from a QLineEdit.
class TestTextControl : public CBaseControl
{
public:
    explicit TestTextControl(ControlID *id, ControlAccessInfo *access = nullptr,
                             ConstrainInfo *constrain = nullptr)
    {
        controlID = id;
        accessInfo = access;
        constrainInfo = constrain;
        AllocateDataBlocks(256);
    }
    using CBaseControl::InitializeCtrl;
    using CBaseControl::SetValueToTicket;

    void setValue(const std::string &text)
    {
        memset(controlData, 0, 256);
        strncpy(static_cast<char *>(controlData), text.c_str(), 255);
        dataSize = UInt32(strlen(static_cast<char *>(controlData)));
    }
    // The value as if the user had entered it: committed and widget-side alike.
    void enter(const std::string &text)
    {
        setValue(text);
        memcpy(uiData, controlData, 256);
    }
    std::string value() const { return static_cast<const char *>(controlData); }
    std::string widgetValue() const { return static_cast<const char *>(uiData); }

    bool ConvertToTickectData(unsigned char *out) override
    {
        memcpy(out, controlData, 255);
        return true;
    }
    bool ConvertToPreferenceString(char *out) override
    {
        strncpy(out, static_cast<const char *>(controlData), 254);
        return true;
    }
    bool ConvertFromPreferenceString(char *text) override
    {
        setValue(text);
        return true;
    }
    void *GetValueFromUI() override
    {
        CFStringRef text = nullptr;
        if (!controlRef ||
            GetControlData(controlRef, kControlEditTextPart, kControlEditTextCFStringTag,
                           sizeof text, &text, nullptr) != noErr)
            return nullptr;
        CFRef<CFStringRef> holder(text);
        memset(uiData, 0, 256);
        CFStringGetCString(text, static_cast<char *>(uiData), 256, kCFStringEncodingUTF8);
        // The committed copy takes the terminating NUL along.
        dataSize = UInt32(strlen(static_cast<char *>(uiData)) + 1);
        return uiData;
    }
    bool SetControlValueToUI() override
    {
        if (!controlRef)
            return false;
        CFRef<CFStringRef> text(CFStringCreateWithCString(
            nullptr, static_cast<const char *>(controlData), kCFStringEncodingUTF8));
        CFStringRef value = text.get();
        return ::SetControlData(controlRef, kControlEditTextPart, kControlEditTextCFStringTag,
                                sizeof value, &value) == noErr;
    }
    void ResetStatus() override
    {
        ++resetCount;
        CBaseControl::ResetStatus();
    }
    SInt32 GetCurrentControlArrayNumber() override { return state; }

    int resetCount = 0;
    SInt32 state = 0;
};

class SpineTest : public PaneTest
{
protected:
    void SetUp() override
    {
        PaneTest::SetUp();
        dialog = std::make_unique<QDialog>();
        dialog->resize(600, 400);
        auto *layout = new QVBoxLayout(dialog.get());
        layout->setContentsMargins(0, 0, 0, 0);
        paneWidget = new QWidget(dialog.get());
        layout->addWidget(paneWidget);
        dialogWindow = VeltraWindowForWidget(dialog.get());
        userPane = VeltraControlForWidget(paneWidget);
    }
    void TearDown() override
    {
        dialog.reset();
        PaneTest::TearDown();
    }

    static veltra::PPDFile openPPD(const std::string &path) { return OpenTestPPD(path); }
    static std::unique_ptr<veltra::PrintSession> sampleSession(const std::string &printer = "Lobby")
    {
        return std::make_unique<veltra::PrintSession>(printer, openPPD(VELTRA_SAMPLE_PPD));
    }
    // The sample printer's description with the line of keyword replaced (empty: removed).
    veltra::PPDFile sampleWith(const std::string &keyword, const std::string &replacement)
    {
        return ppdWith(VELTRA_SAMPLE_PPD, keyword, replacement);
    }

    // A window with one line edit per (signature, id), adopted as a toolkit window.
    struct FieldWindow
    {
        std::unique_ptr<QWidget> widget;
        WindowRef window = nullptr;
        QLineEdit *field(int index) const { return widget->findChildren<QLineEdit *>().at(index); }
    };
    static FieldWindow fieldWindow(std::initializer_list<ControlID> ids)
    {
        FieldWindow w;
        w.widget = std::make_unique<QWidget>();
        auto *layout = new QVBoxLayout(w.widget.get());
        for (const ControlID &id : ids) {
            auto *edit = new QLineEdit(w.widget.get());
            const char sig[5] = {char(id.signature >> 24), char(id.signature >> 16),
                                 char(id.signature >> 8), char(id.signature), 0};
            edit->setProperty("controlSignature", QString::fromLatin1(sig));
            edit->setProperty("controlID", int(id.id));
            layout->addWidget(edit);
        }
        w.window = VeltraWindowForWidget(w.widget.get());
        return w;
    }

    std::unique_ptr<QDialog> dialog;
    QWidget *paneWidget = nullptr;
    WindowRef dialogWindow = nullptr;
    ControlRef userPane = nullptr;
};
