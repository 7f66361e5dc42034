// Text helpers of the print type pane: localised texts with a number put in place.
#pragma once

#include <CoreFoundation/CoreFoundation.h>

#include <string>

// The bundle's text for key (the key stands for itself without a translation), as UTF-8; empty
// without a bundle or key.
std::string LocalizedUTF8(CFBundleRef bundle, CFStringRef key);
// A new string of UTF-8 text; null for text that is not UTF-8.
CFStringRef CreateStringWithUTF8(const std::string &text);
// The passcode range of a label or summary title: "0 to 12" replaced by "<minimum> to 12".
// False, with text unchanged, when text does not hold "0 to 12".
bool ReplacePasscodeRange(std::string &text, int minimum);
