// Widgets addressed by (signature, id).
//
// In a .ui file a widget carries its identity as two dynamic properties:
//   <property name="controlSignature" stdset="0"><string>jaup</string></property>
//   <property name="controlID" stdset="0"><number>1</number></property>
// and a push button its command as <property name="command" stdset="0"><string>ok  </string>.
//
// Kinds: pop-up list = QComboBox (value = item index + 1, minimum 1, maximum = item count),
// check box = QCheckBox and radio button = QRadioButton (value 0 or 1; radios are never
// grouped by Qt, the program groups them), push button = QPushButton, edit text = QLineEdit
// (a password field when its echo mode is Password), static text = QLabel, group box =
// QGroupBox, user pane = any other QWidget.
#pragma once

#include "MacWindows.h"

constexpr ResType kControlEditTextTextTag = 'text';             // legacy bytes (see below)
constexpr ResType kControlEditTextCFStringTag = 'cfst';         // CFStringRef
constexpr ResType kControlEditTextPasswordCFStringTag = 'pwcf'; // CFStringRef of a password field
constexpr ResType kControlEditTextPasswordTag = 'pass';         // legacy bytes of a password field
constexpr ResType kControlEditTextKeyFilterTag = 'fltr';        // ControlKeyFilterUPP
constexpr ResType kControlStaticTextCFStringTag = 'cfst';
constexpr ResType kControlStaticTextTextTag = 'text';

constexpr ControlPartCode kControlNoPart = 0;
constexpr ControlPartCode kControlEditTextPart = 5;
constexpr ControlPartCode kControlEntireControl = 0;

// Legacy bytes: each UTF-16 unit below U+0100 is one byte (its Latin-1 value); any other unit
// is two bytes (the unit, high byte first). The byte size of a text is therefore its display
// length: one per unit below U+0100, two per other unit. Bytes set through a legacy tag are
// read as Latin-1 (up to a NUL): set other texts through 'cfst'.

OSStatus GetControlByID(WindowRef window, const ControlID *id, ControlRef *outControl);
OSStatus GetControlID(ControlRef control, ControlID *outID);
WindowRef GetControlOwner(ControlRef control);

OSStatus EmbedControl(ControlRef control, ControlRef container);
OSStatus SetControlVisibility(ControlRef control, Boolean visible, Boolean draw);
Rect *GetControlBounds(ControlRef control, Rect *outBounds);
void SetControlBounds(ControlRef control, const Rect *bounds);

OSStatus ActivateControl(ControlRef control);
OSStatus DeactivateControl(ControlRef control);
// The control's own state: a deactivated container does not make its controls inactive.
Boolean IsControlActive(ControlRef control);
OSStatus ShowControl(ControlRef control);
OSStatus HideControl(ControlRef control);
Boolean IsControlVisible(ControlRef control);
void Draw1Control(ControlRef control);

SInt16 GetControlValue(ControlRef control);
void SetControlValue(ControlRef control, SInt16 value);
SInt16 GetControlMinimum(ControlRef control);
void SetControlMinimum(ControlRef control, SInt16 value);
SInt16 GetControlMaximum(ControlRef control);
void SetControlMaximum(ControlRef control, SInt16 value);
SInt32 GetControl32BitValue(ControlRef control);
void SetControl32BitValue(ControlRef control, SInt32 value);
OSStatus SetControlTitleWithCFString(ControlRef control, CFStringRef title);
OSStatus CopyControlTitleAsCFString(ControlRef control, CFStringRef *outTitle);

// Tags apply to edit texts ('text', 'cfst', 'pwcf', 'pass', 'fltr') and static texts ('text',
// 'cfst'); any other combination answers errDataNotSupported. 'cfst'/'pwcf' data is a
// CFStringRef: Get hands out a new reference, Set copies the text.
OSStatus GetControlData(ControlRef control, ControlPartCode part, ResType tag, Size bufferSize,
                        void *buffer, Size *actualSize);
OSStatus SetControlData(ControlRef control, ControlPartCode part, ResType tag, Size size,
                        const void *data);
OSStatus GetControlDataSize(ControlRef control, ControlPartCode part, ResType tag, Size *outSize);

// Keyboard focus on the field's edit-text part (part 5; part 0 takes the focus away). The window
// keeps it while hidden or inactive.
OSStatus SetKeyboardFocus(WindowRef window, ControlRef control, ControlPartCode part);
OSStatus ClearKeyboardFocus(WindowRef window);
OSStatus GetKeyboardFocus(WindowRef window, ControlRef *outControl);

// The key filter: called with legacy character codes before a keystroke reaches the field.
//   left/right/up/down arrows 28/29/30/31, backspace 8, forward delete 127,
//   return/enter 13, escape 27; a character below U+0100 is its own code (Latin-1);
//   half-width katakana U+FF61..U+FF9F are 0xA1..0xDF; any other character is 0x80, which no
//   key set admits. Modifiers: Ctrl = cmdKey (0x0100), Shift = shiftKey (0x0200),
//   Alt = optionKey (0x0800), Meta = controlKey (0x1000).
//   With Ctrl held the character is the key's own (Ctrl+V is 'v' with cmdKey), not the
//   control character the platform may report. A key that types several characters calls the
//   filter once per character; any block drops the whole keystroke.
// The key code is the platform's native virtual key truncated to 16 bits. Changes the filter
// makes to the codes are ignored.
// Tab and Shift+Tab move the keyboard focus and never reach the filter.
// Keys that type nothing and edit nothing (F1, Home, Shift alone) reach the field unfiltered,
// and so does text that arrives through an input method (it is checked when committed).
// Return/Enter in a window with a default button, and Escape in a window with a cancel button
// or in a modal loop, press those buttons without the filter.
typedef SInt16 ControlKeyFilterResult;
constexpr ControlKeyFilterResult kControlKeyFilterBlockKey = 0;
constexpr ControlKeyFilterResult kControlKeyFilterPassKey = 1;
constexpr EventModifiers cmdKey = 0x0100;
constexpr EventModifiers shiftKey = 0x0200;
constexpr EventModifiers alphaLock = 0x0400;
constexpr EventModifiers optionKey = 0x0800;
constexpr EventModifiers controlKey = 0x1000;
typedef ControlKeyFilterResult (*ControlKeyFilterProcPtr)(ControlRef control, SInt16 *keyCode,
                                                          SInt16 *charCode,
                                                          EventModifiers *modifiers);
typedef ControlKeyFilterProcPtr ControlKeyFilterUPP;
inline ControlKeyFilterUPP NewControlKeyFilterUPP(ControlKeyFilterProcPtr p)
{
    return p;
}

// An audible refusal. Counted, so tests can see it.
void SysBeep(short duration);
UInt32 VeltraBeepCount();
