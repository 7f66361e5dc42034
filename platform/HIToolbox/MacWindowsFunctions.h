// Windows and application-modal loops.
#pragma once

#include "MacWindows.h"

constexpr WindowAttributes kWindowStandardHandlerAttribute = 1u << 25;
constexpr WindowAttributes kWindowLiveResizeAttribute = 1u << 27;
constexpr UInt32 kWindowAlertPositionOnParentWindowScreen = 9;

OSStatus CreateNewWindow(WindowClass windowClass, WindowAttributes attributes, const Rect *bounds,
                         WindowRef *outWindow);
void DisposeWindow(WindowRef window);
GrafPtr GetWindowPort(WindowRef window);
WindowClass GetWindowClassOf(WindowRef window);
OSStatus ChangeWindowAttributes(WindowRef window, WindowAttributes setThese,
                                WindowAttributes clearThese);
WindowAttributes GetWindowAttributesOf(WindowRef window);
void SetWindowKind(WindowRef window, SInt16 kind);
SInt16 GetWindowKind(WindowRef window);
void SetWRefCon(WindowRef window, void *data);
void *GetWRefCon(WindowRef window);

void ShowWindow(WindowRef window);
void HideWindow(WindowRef window);
void SelectWindow(WindowRef window);
Boolean IsWindowVisible(WindowRef window);
OSStatus SetWindowTitleWithCFString(WindowRef window, CFStringRef title);
OSStatus CopyWindowTitleAsCFString(WindowRef window, CFStringRef *outTitle);
OSStatus SetWindowAlternateTitle(WindowRef window, CFStringRef title);
OSStatus CopyWindowAlternateTitle(WindowRef window, CFStringRef *outTitle);
void MoveWindow(WindowRef window, SInt16 h, SInt16 v, Boolean front);
void SizeWindow(WindowRef window, SInt16 width, SInt16 height, Boolean update);
OSStatus RepositionWindow(WindowRef window, WindowRef parent, UInt32 method);
OSStatus InvalWindowRect(WindowRef window, const Rect *bounds);
OSStatus ValidWindowRect(WindowRef window, const Rect *bounds);
Boolean IsWindowUpdatePending(WindowRef window);
// Return presses the default button (else the nib's push button marked default), Escape the
// cancel button.
OSStatus SetWindowDefaultButton(WindowRef window, ControlRef button);
OSStatus SetWindowCancelButton(WindowRef window, ControlRef button);
// The window's content view: the root control that holds every widget of the window.
OSStatus GetRootControl(WindowRef window, ControlRef *outControl);

// Shows the window application-modal and runs a nested event loop until
// QuitAppModalLoopForWindow; loops nest. While it runs, the close box and Escape mean Cancel:
// they press the window's cancel button (SetWindowCancelButton, else the push button whose
// command is 'not!') or send the window the Cancel command; the window itself stays. Disposing
// the window ends its loop (the loop then answers errInvalidWindowRef).
OSStatus RunAppModalLoopForWindow(WindowRef window);
OSStatus QuitAppModalLoopForWindow(WindowRef window);
// Host and tests: called (once the loop runs) each time a modal loop starts.
typedef void (*VeltraModalLoopObserver)(WindowRef window, void *userData);
void VeltraSetModalLoopObserver(VeltraModalLoopObserver observer, void *userData);
// Host and tests: whether a modal loop runs on the window (started and not yet returned).
Boolean VeltraIsInModalLoop(WindowRef window);
