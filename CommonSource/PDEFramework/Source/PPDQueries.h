// Queries on the printer description (PPD) that libcups parsed for the current printer, and the
// PPD keywords the panes read. The description belongs to the print system: nothing here opens,
// frees or keeps it. A null description or keyword reads as a PPD without that option.
#pragma once

#include <CoreFoundation/CoreFoundation.h>
#include <HIToolbox/MacWindows.h>

#include <cups/ppd.h>

// Attributes: their presence enables a pane, their value names its resources.
inline constexpr char kOrvProductTypeJBA[] = "VZXAccountingSettings";
inline constexpr char kOrvProductTypePrintType[] = "VZXPrintTypeSettings";
// Attribute: absent or exactly "True" means the print type passcode is scrambled.
inline constexpr char kOrvPrintTypeIsEncryptPassword[] = "VZXPrintTypePasswordEncrypted";
inline constexpr char kOrvPasswordEncryptedTrue[] = "True";
// Option: the digits of its default choice are the minimum passcode length.
inline constexpr char kPPDMinimunDigitPasscode[] = "VZMinDigitPasscode";
// Option: its marked choice tells whether the printer has a hard disk.
inline constexpr char kPPDHardDiskKey[] = "VZHardDisk";

// The printer's model is not one of those a pop-up lists.
inline constexpr OSStatus kPPDModelNotSupported = -30888;

// Whether the description has the option keyword.
bool CheckPPDKeyIsExist(ppd_file_t *ppd, const char *keyword);

// The minimum passcode length: getIntFromString of the option's default choice name (at most
// 255 bytes of it); 0 when the option does not exist or its default has no digits.
int GetPWMiniIntValueFromPPD(ppd_file_t *ppd, const char *keyword);

// atoi of the decimal digits among the first length bytes of text (up to its NUL), all other
// bytes dropped: "4Digits" gives 4, "Min10" 10, "1a2" 12; 0 without digits or text.
int getIntFromString(const char *text, unsigned int length);

// title = null, then, when the option exists, a new string of its human-readable text (see
// CreatePPDTitleString). Answers 0. The caller releases title.
OSStatus GetUITitleFromPPD(ppd_file_t *ppd, const char *keyword, CFStringRef &title);

// choice = null, then, when the option exists, a new string of its default choice name (UTF-8).
// Answers 0. The caller releases choice.
OSStatus GetUIDefaultFromPPD(ppd_file_t *ppd, const char *keyword, CFStringRef &choice);

// The index of the first of count names equal (exactly, case-sensitive) to the option's default
// choice name; -1 when none is, or the option does not exist.
int GetValueFromPPD(ppd_file_t *ppd, const char *keyword, CFStringRef const *names, int count);

// The encoding the description's lang_encoding names, compared exactly: "ISOLatin1",
// "WindowsANSI", "JIS83-RKSJ", "UTF-8" or "UTF8"; anything else, none, or a null description
// gives MacRoman.
void GetCFStringEncodingFromPPD(ppd_file_t *ppd, CFStringEncoding *encoding);

// A new string of a title (option or choice text) of the description; null for a null text.
// libcups converts the titles of every PPD file it reads to UTF-8 (and then reports "UTF-8" as
// the language encoding, or nothing when the file named none), so valid UTF-8 is taken as such;
// other bytes are read in the encoding GetCFStringEncodingFromPPD gives, and failing that as
// MacRoman.
CFStringRef CreatePPDTitleString(ppd_file_t *ppd, const char *text);

// Whether name is exactly the text of one of the pop-up's menu items 1 to its maximum. name is
// read as UTF-8, or as ISO Latin-1 when it is not valid UTF-8 (libcups leaves ModelName as the
// file wrote it). False without pop-up, menu or name.
bool ISPrintSupported(ControlRef popup, const char *name);

// 0 when the description's ModelName (at most 255 bytes of it) is one of the pop-up's items;
// kPPDModelNotSupported when not, or for a null description.
OSStatus CheckPPDCompatible(ppd_file_t *ppd, ControlRef popup);
