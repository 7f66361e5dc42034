// A panel of text fields and labels loaded from tests/data/TextFields.nib, with the key filters
// the panes would give such fields, for the text control and keystroke tests.
#pragma once

#include "CStaticTextControl.h"
#include "CTextEditControl.h"
#include "PaneFixture.h"
#include "TextInputFilter.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace textfields {

inline ControlID accountFieldID = {'tfld', 1}, nameFieldID = {'tfld', 2},
                 passcodeFieldID = {'tfld', 3}, digitFieldID = {'tfld', 4},
                 plainFieldID = {'tfld', 5}, titleLabelID = {'tlbl', 10},
                 emptyLabelID = {'tlbl', 11}, missingFieldID = {'tfld', 99};

// "PDE Title" is translated by the bundle; the other message keys stand for themselves.
inline const QString kTranslatedKeyEnglish = "Print Type";

inline ControlAccessInfo plainAccess = {'cfst', 'cfst', nullptr, nullptr, nullptr},
                         passwordAccess = {'pwcf', 'pwcf', nullptr, nullptr, nullptr},
                         nameAccess = {'cfst', 'cfst', nullptr,
                                       CFSTR("com.veltra.kzu.printsettings.NameKey"), nullptr};
inline TextEditIniData accountIni = {{}, "", 1, 8}, nameIni = {{}, "", 0, 32},
                       passcodeIni = {{}, "", 0, 12}, plainIni = {{}, "guest", 4, 32};

// What the key filters answered: a blocked arrow or command chord leaves no trace in the field.
struct KeyFilterLog
{
    int calls = 0;
    ControlKeyFilterResult last = -1;
    SInt16 charCode = 0;
};
inline KeyFilterLog keyLog;

// The character sets of the panes' tables (keys, then whole texts), and the wrappers the panes
// write next to their fields (told apart here by the field's id).
ControlKeyFilterResult KeyFilter(ControlRef field, SInt16 *, SInt16 *code, EventModifiers *mods);
inline TextEditFilterData accountFilter = {{2, {{0x20, 0x7E}, {0xA1, 0xDF}}},
                                           {2, {{0x20, 0x7E}, {0xA5, 0xA5}}},
                                           KeyFilter,
                                           CFSTR("Test Account Message")};
inline TextEditFilterData nameFilter = {{2, {{0x20, 0x7E}, {0xA0, 0xFF}}},
                                        {17, {{0x20, 0x7E}, {0xA0, 0xFF}}},
                                        KeyFilter,
                                        CFSTR("PDE Title")};
inline TextEditFilterData passcodeFilter = {
    {1, {{0x30, 0x39}}}, {1, {{0x30, 0x39}}}, KeyFilter, CFSTR("Test Passcode Message")};
inline TextEditFilterData digitFilter = {
    {1, {{0x30, 0x39}}}, {1, {{0x30, 0x39}}}, KeyFilter, nullptr};
inline TextEditFilterData plainFilter = {
    {1, {{0x20, 0x7E}}}, {1, {{0x20, 0x7E}}}, nullptr, CFSTR("Test Plain Message")};
inline ControlKeyFilterResult KeyFilter(ControlRef field, SInt16 *, SInt16 *code,
                                        EventModifiers *mods)
{
    ControlID id = {};
    GetControlID(field, &id);
    ++keyLog.calls;
    keyLog.charCode = *code;
    if (id.id == nameFieldID.id)
        return keyLog.last = charEditBoxCheck(field, code, 32, &nameFilter, mods);
    if (id.id == passcodeFieldID.id)
        return keyLog.last = passwordEditBoxCheck(field, code, 12, mods);
    const bool account = id.id == accountFieldID.id;
    return keyLog.last =
               InputCharsCheck(field, code, mods, 8, account ? &accountFilter : &digitFilter,
                               account ? kControlEditTextTextTag : kControlEditTextPasswordTag);
}

// The panel owns its fields, as the panes' panels do.
struct TextFieldsPanel : TestPanel
{
    CTextEditControl *field(ControlID *id, TextEditIniData *ini, TextEditFilterData *filter,
                            ControlAccessInfo *access = &plainAccess)
    {
        return add(new CTextEditControl(id, ini, nullptr, filter, access));
    }
    CTextEditControl *account = field(&accountFieldID, &accountIni, &accountFilter);
    CTextEditControl *name = field(&nameFieldID, &nameIni, &nameFilter, &nameAccess);
    CTextEditControl *passcode =
        field(&passcodeFieldID, &passcodeIni, &passcodeFilter, &passwordAccess);
    CTextEditControl *digits = field(&digitFieldID, &accountIni, &digitFilter);
    CTextEditControl *plain = field(&plainFieldID, &plainIni, &plainFilter);
    CStaticTextControl *title = add(new CStaticTextControl(&titleLabelID, nullptr, nullptr, nullptr,
                                                           nullptr, CFSTR("PDE Title")));
    CStaticTextControl *emptyLabel =
        add(new CStaticTextControl(&emptyLabelID, nullptr, nullptr, nullptr, nullptr, nullptr));
};

template <typename W = QLineEdit> W *WidgetOf(const CBaseControl *control)
{
    return qobject_cast<W *>(VeltraControlWidget(control->GetControlRef()));
}
inline std::string TextOf(void *block)
{
    return block ? std::string(static_cast<const char *>(block)) : std::string("<null>");
}

// Loads the test window through the toolkit and binds the panel's controls to it, as the panel
// does when its pane is loaded.
class TextFieldsTest : public PaneTest
{
protected:
    void SetUp() override
    {
        PaneTest::SetUp();
        window = LoadFieldsWindow();
        ASSERT_NE(window, nullptr);
        panel->bind(window, GetAppBundleRef(), false);
        ShowWindow(window);
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
    std::unique_ptr<TextFieldsPanel> panel = std::make_unique<TextFieldsPanel>();
};

} // namespace textfields
