// Shared set-up of the spine tests: a print dialog, sessions on real PPD files, and a text
// field whose value the tests set directly.
#pragma once

#include "CTextEditControl.h"
#include "PaneFixture.h"
#include "UiTestWindow.h"

#include <QLineEdit>

inline ControlAccessInfo textAccess = {'cfst', 'cfst', nullptr, nullptr, nullptr};

// A text field with its blocks from the start, the base control's default pass, and a state
// and reset count the tests set and read.
struct TestTextControl : CTextEditControl
{
    explicit TestTextControl(ControlID *id, ControlAccessInfo *access = &textAccess,
                             ConstrainInfo *constrain = nullptr)
        : CTextEditControl(id, nullptr, constrain, nullptr, access)
    {
        AllocateDataBlocks(kTextEditBlockSize);
    }
    void setValue(std::string text) { ConvertFromPreferenceString(text.data()); }
    std::string value() const { return static_cast<const char *>(controlData); }
    std::string widgetValue() const { return static_cast<const char *>(uiData); }
    bool SetControlValueToDefault() override { return CBaseControl::SetControlValueToDefault(); }
    void ResetStatus() override
    {
        ++resetCount;
        CBaseControl::ResetStatus();
    }
    SInt32 GetCurrentControlArrayNumber() override { return state; }

    int resetCount = 0;
    SInt32 state = 0;
};

class SpineTest : public PaneTest, public TestDialog
{
protected:
    static std::unique_ptr<veltra::PrintSession> sampleSession(const std::string &printer = "Lobby")
    {
        return std::make_unique<veltra::PrintSession>(printer, OpenTestPPD(VELTRA_SAMPLE_PPD));
    }
};
