// Help books: a bundle registers its help pages; pages are opened by book name and path.
#pragma once

#include "../CoreFoundation/CoreFoundation.h"

typedef struct FSRef
{
    char path[1024]; // the bundle directory, UTF-8
} FSRef;

// Bundle URL -> file reference; false when the path does not exist or does not fit.
Boolean CFURLGetFSRef(CFURLRef url, FSRef *ref);

// Registers the bundle's help book: its name is the bundle's localized
// "CFBundleHelpBookName" (or its identifier) and its pages live under Resources/Help.
OSStatus AHRegisterHelpBook(const FSRef *appBundleRef);
// Opens path (relative to the book's Help folder) of the named book; fnfErr for an
// unknown book or a missing page.
OSStatus AHGotoPage(CFStringRef bookName, CFStringRef path, CFStringRef anchor);

// Host side: what happens when a page is opened (default: recorded only). The viewer gets the
// page's absolute path and the anchor (may be null).
typedef void (*VeltraHelpViewer)(const char *pagePath, const char *anchor, void *userData);
void VeltraSetHelpViewer(VeltraHelpViewer viewer, void *userData);
// Tests: the last page opened (absolute path), empty when none.
const char *VeltraLastHelpPage();
// Tests: the registered books' names, separated by newlines.
const char *VeltraRegisteredHelpBooks();
