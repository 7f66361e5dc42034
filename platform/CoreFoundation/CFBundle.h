// Bundles: a directory with an Info property list, a loadable module and resources.
//
//   Name.plugin/Contents/Info.plist            XML property list
//   Name.plugin/Contents/Linux/<executable>    the shared module (CFBundleExecutable)
//   Name.plugin/Contents/Resources/            resources; "nib" resources are directories
//   Name.plugin/Contents/Resources/translations/<table>_<lang>.qm   localized strings
#pragma once

#include "CFBase.h"

CFTypeID CFBundleGetTypeID();

// Host side: opens the bundle at url (reading its Info.plist) and adds it to the loaded
// bundles; answers the already-open bundle for the same directory. Null, with a message on
// stderr, for a missing directory or an unreadable property list.
CFBundleRef CFBundleCreate(CFAllocatorRef, CFURLRef bundleURL);
// Not retained for the caller; null when no open bundle has this CFBundleIdentifier.
CFBundleRef CFBundleGetBundleWithIdentifier(CFStringRef bundleID);
CFStringRef CFBundleGetIdentifier(CFBundleRef bundle);
CFURLRef CFBundleCopyBundleURL(CFBundleRef bundle);
CFDictionaryRef CFBundleGetInfoDictionary(CFBundleRef bundle);
// Not retained for the caller; null when absent.
CFTypeRef CFBundleGetValueForInfoDictionaryKey(CFBundleRef bundle, CFStringRef key);
// Resources/[subDir/]name[.type]; null when it does not exist.
CFURLRef CFBundleCopyResourceURL(CFBundleRef bundle, CFStringRef resourceName,
                                 CFStringRef resourceType, CFStringRef subDirName);
// The translation of key in tableName (null: "Localizable") for the user's language;
// value when there is none (key itself when value is null or empty).
CFStringRef CFBundleCopyLocalizedString(CFBundleRef bundle, CFStringRef key, CFStringRef value,
                                        CFStringRef tableName);

// Loads the bundle's executable (dlopen); false with a message on stderr when it cannot.
Boolean CFBundleLoadExecutable(CFBundleRef bundle);
Boolean CFBundleIsExecutableLoaded(CFBundleRef bundle);
// A symbol exported with C linkage by the loaded executable, or null.
void *CFBundleGetFunctionPointerForName(CFBundleRef bundle, CFStringRef functionName);

// Host side: the language used for localized strings ("en", "ja", ...). Default: the
// system locale's language.
void VeltraBundleSetLanguage(const char *language);
