// Window descriptions: a nib is a directory "<name>.nib" of the bundle's resources holding one
// Qt Designer file "<window name>.ui" per window.
#pragma once

#include "MacWindows.h"

// errNibNotFound when the bundle has no such nib directory.
OSStatus CreateNibReferenceWithCFBundle(CFBundleRef bundle, CFStringRef nibName, IBNibRef *outNib);
// Host and tests: the nib directory at this path (no bundle needed); errNibNotFound when it is
// not a directory.
OSStatus VeltraCreateNibReferenceWithPath(const char *nibDirectory, IBNibRef *outNib);
void DisposeNibReference(IBNibRef nib);
// Loads "<windowName>.ui" with QUiLoader into a new hidden window; errNibWindowNotFound when the
// file is missing or cannot be loaded (a message goes to stderr).
// The window's widget carries the window name as its property "nibWindowName". A QDialog is a
// movable modal window (application-modal), any other top-level a document window.
OSStatus CreateWindowFromNib(IBNibRef nib, CFStringRef windowName, WindowRef *outWindow);
