// The bundle's identity and resource names shared by both panes.
#pragma once

#include "ControlRecords.h"

// "com.veltra.kzu.pde.Account2"; null when the bundle is not loaded.
CFBundleRef GetAppBundleRef();
// "com.veltra.kzu.AccountKind": the client identifier of every ticket call.
CFStringRef GetAppClientID();
// The bundle's text for key, the key itself where the bundle has no translation; a new string,
// or null without a key.
CFStringRef CopyLocalizedText(CFBundleRef bundle, CFStringRef key);
// The panes' own interface files.
CFStringRef GetPDENibFileNameJBA();
CFStringRef GetPDENibFileName();

// Part 0 (before the first "-") or part 1 (after it) of a settings attribute value, as a new
// string. A value without "-" is all part 0 and has an empty part 1.
CFStringRef GetAppResourceName(char *value, int part);
// kind 0: nib prefix + name, kind 1: help prefix + name, other kinds: name alone. A new
// string, or null when the name does not fit the 255-byte name buffer.
CFStringRef GetAppFullResourceNameJBA(CFStringRef name, int kind);
CFStringRef GetAppFullResourceNamePrintType(CFStringRef name, int kind);

// Appends a new ControlID {signature, id} to list (an encode list made by
// CreateEncodeArray, which frees its entries). The first argument is not used.
void AddControlToEncodeArray(ControlID *unused, unsigned long signature, long id,
                             CFMutableArrayRef list);
CFMutableArrayRef CreateEncodeArray();

// The encoding of the panes' own strings (UTF-8).
CFStringEncoding GetCurrentPDEEncoding();
CFStringEncoding GetCurrentPDEEncodingJBA();
