// A small panel of text fields and labels loaded from tests/data/TextFields.nib, with the key
// filters the panes would give such fields, for the text control and keystroke tests.
#pragma once

#include "AppResources.h"
#include "CBasePrintPanel.h"
#include "CStaticTextControl.h"
#include "CTextEditControl.h"
#include "PaneFixture.h"
#include "TextInputFilter.h"

#include <CoreFoundation/CFQt.h>
#include <HIToolbox/QtBridge.h>

#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace textfields {

inline ControlID accountFieldID = {'tfld', 1};
inline ControlID nameFieldID = {'tfld', 2};
inline ControlID passcodeFieldID = {'tfld', 3};
inline ControlID digitFieldID = {'tfld', 4};
inline ControlID plainFieldID = {'tfld', 5};
inline ControlID titleLabelID = {'tlbl', 10};
inline ControlID emptyLabelID = {'tlbl', 11};
inline ControlID missingFieldID = {'tfld', 99};

// The character sets of the panes' tables.
inline const InputFilterData kPrintableKeys = {2, {{0x20, 0x7E}, {0x00, 0x00}}};
inline const InputFilterData kPrintableText = {2, {{0x20, 0x7E}}};
inline const InputFilterData kDigitKeys = {1, {{0x30, 0x39}}};
inline const InputFilterData kDigitText = {1, {{0x30, 0x39}}};
inline const InputFilterData kKanaKeys = {2, {{0x20, 0x7E}, {0xA1, 0xDF}}};
inline const InputFilterData kLatin1Keys = {2, {{0x20, 0x7E}, {0xA0, 0xFF}}};
inline const InputFilterData kLatin1Text = {17, {{0x20, 0x7E}, {0xA0, 0xFF}}};
inline const InputFilterData kAccountText = {2, {{0x20, 0x7E}, {0xA5, 0xA5}}};

// Message keys: one the bundle translates, others that stand for themselves.
inline constexpr const char *kTranslatedKey = "PDE Title";
inline constexpr const char *kTranslatedKeyEnglish = "Print Type";
inline constexpr const char *kAccountMessageKey = "Test Account Message";

inline ControlAccessInfo plainAccess = {'cfst', 'cfst', nullptr, nullptr, nullptr};
inline ControlAccessInfo nameAccess = {'cfst', 'cfst', nullptr,
                                       CFSTR("com.veltra.kzu.printsettings.NameKey"), nullptr};
inline ControlAccessInfo passwordAccess = {'pwcf', 'pwcf', nullptr, nullptr, nullptr};

inline TextEditIniData accountIni = {{}, "", 1, 8};
inline TextEditIniData nameIni = {{}, "", 0, 32};
inline TextEditIniData passcodeIni = {{}, "", 0, 12};
inline TextEditIniData digitIni = {{}, "", 0, 8};
inline TextEditIniData plainIni = {{}, "guest", 4, 32};

// What the fields' key filters answered, so a test can tell a passed key from a blocked one
// where the widget cannot show it (arrows, command chords).
struct KeyFilterLog
{
    int calls = 0;
    ControlKeyFilterResult last = -1;
    SInt16 charCode = 0;
    EventModifiers modifiers = 0;

    ControlKeyFilterResult record(ControlKeyFilterResult result, SInt16 *code, EventModifiers *mods)
    {
        ++calls;
        last = result;
        charCode = code ? *code : 0;
        modifiers = mods ? *mods : 0;
        return result;
    }
};
inline KeyFilterLog keyLog;

ControlKeyFilterResult AccountKeyFilter(ControlRef, SInt16 *, SInt16 *, EventModifiers *);
ControlKeyFilterResult NameKeyFilter(ControlRef, SInt16 *, SInt16 *, EventModifiers *);
ControlKeyFilterResult PasscodeKeyFilter(ControlRef, SInt16 *, SInt16 *, EventModifiers *);
ControlKeyFilterResult DigitKeyFilter(ControlRef, SInt16 *, SInt16 *, EventModifiers *);

inline TextEditFilterData accountFilter = {kKanaKeys, kAccountText, AccountKeyFilter,
                                           CFSTR("Test Account Message")};
inline TextEditFilterData nameFilter = {kLatin1Keys, kLatin1Text, NameKeyFilter,
                                        CFSTR("PDE Title")};
inline TextEditFilterData passcodeFilter = {kDigitKeys, kDigitText, PasscodeKeyFilter,
                                            CFSTR("Test Passcode Message")};
inline TextEditFilterData digitFilter = {kDigitKeys, kDigitText, DigitKeyFilter,
                                         CFSTR("Test Digit Message")};
inline TextEditFilterData plainFilter = {kPrintableKeys, kPrintableText, nullptr,
                                         CFSTR("Test Plain Message")};

// The one-line wrappers the panes write next to their fields.
inline ControlKeyFilterResult AccountKeyFilter(ControlRef field, SInt16 *, SInt16 *charCode,
                                               EventModifiers *modifiers)
{
    return keyLog.record(InputCharsCheck(field, charCode, modifiers, accountIni.maxLength,
                                         &accountFilter, kControlEditTextTextTag),
                         charCode, modifiers);
}
inline ControlKeyFilterResult NameKeyFilter(ControlRef field, SInt16 *, SInt16 *charCode,
                                            EventModifiers *modifiers)
{
    return keyLog.record(
        charEditBoxCheck(field, charCode, nameIni.maxLength, &nameFilter, modifiers), charCode,
        modifiers);
}
inline ControlKeyFilterResult PasscodeKeyFilter(ControlRef field, SInt16 *, SInt16 *charCode,
                                                EventModifiers *modifiers)
{
    return keyLog.record(passwordEditBoxCheck(field, charCode, passcodeIni.maxLength, modifiers),
                         charCode, modifiers);
}
inline ControlKeyFilterResult DigitKeyFilter(ControlRef field, SInt16 *, SInt16 *charCode,
                                             EventModifiers *modifiers)
{
    return keyLog.record(InputCharsCheck(field, charCode, modifiers, digitIni.maxLength,
                                         &digitFilter, kControlEditTextPasswordTag),
                         charCode, modifiers);
}

// The panel owns its fields, as the panes' panels do.
class TextFieldsPanel : public TestPanel
{
public:
    TextFieldsPanel()
    {
        account = add(new CTextEditControl(&accountFieldID, &accountIni, nullptr, &accountFilter,
                                           &plainAccess));
        name = add(new CTextEditControl(&nameFieldID, &nameIni, nullptr, &nameFilter, &nameAccess));
        passcode = add(new CTextEditControl(&passcodeFieldID, &passcodeIni, nullptr,
                                            &passcodeFilter, &passwordAccess));
        digits = add(
            new CTextEditControl(&digitFieldID, &digitIni, nullptr, &digitFilter, &plainAccess));
        plain = add(
            new CTextEditControl(&plainFieldID, &plainIni, nullptr, &plainFilter, &plainAccess));
        title = add(new CStaticTextControl(&titleLabelID, nullptr, nullptr, nullptr, nullptr,
                                           CFSTR("PDE Title")));
        emptyLabel =
            add(new CStaticTextControl(&emptyLabelID, nullptr, nullptr, nullptr, nullptr, nullptr));
    }

    // Every control finds its widget in window, as the panel does when its pane is loaded.
    void Load(WindowRef window) { bind(window, GetAppBundleRef(), false); }

    CTextEditControl *account = nullptr;
    CTextEditControl *name = nullptr;
    CTextEditControl *passcode = nullptr;
    CTextEditControl *digits = nullptr;
    CTextEditControl *plain = nullptr;
    CStaticTextControl *title = nullptr;
    CStaticTextControl *emptyLabel = nullptr;
};

inline QLineEdit *LineEditOf(const CBaseControl *control)
{
    return qobject_cast<QLineEdit *>(VeltraControlWidget(control->GetControlRef()));
}

inline QLabel *LabelOf(const CBaseControl *control)
{
    return qobject_cast<QLabel *>(VeltraControlWidget(control->GetControlRef()));
}

inline std::string TextOf(void *block)
{
    return block ? std::string(static_cast<const char *>(block)) : std::string("<null>");
}

// Loads the test window through the toolkit and binds the panel's controls to it.
class TextFieldsTest : public PaneTest
{
protected:
    void SetUp() override
    {
        PaneTest::SetUp();
        window = LoadFieldsWindow();
        ASSERT_NE(window, nullptr);
        panel = std::make_unique<TextFieldsPanel>();
        panel->Load(window);
        ShowWindow(window);
        keyLog = KeyFilterLog();
    }
    void TearDown() override
    {
        panel.reset();
        if (window)
            DisposeWindow(window);
        PaneTest::TearDown();
    }

    static WindowRef LoadFieldsWindow()
    {
        IBNibRef nib = nullptr;
        WindowRef loaded = nullptr;
        if (VeltraCreateNibReferenceWithPath(VELTRA_TEST_DATA_DIR "/TextFields.nib", &nib) != noErr)
            return nullptr;
        CreateWindowFromNib(nib, CFSTR("Fields"), &loaded);
        DisposeNibReference(nib);
        return loaded;
    }

    WindowRef window = nullptr;
    std::unique_ptr<TextFieldsPanel> panel;
};

} // namespace textfields
