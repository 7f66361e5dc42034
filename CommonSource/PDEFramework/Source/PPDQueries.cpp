// The printer description queries, on libcups' PPD interface.
#include "PPDQueries.h"

#include <HIToolbox/Controls.h>
#include <HIToolbox/Menus.h>

#include <cstdlib>
#include <cstring>

namespace {

// Buffers of the digit rule and the model name: 255 bytes and a terminator.
constexpr size_t kPPDTextBufferSize = 256;

ppd_option_t *FindOption(ppd_file_t *ppd, const char *keyword)
{
    if (!ppd || !keyword)
        return nullptr;
    return ppdFindOption(ppd, keyword);
}

struct LanguageEncodingEntry
{
    const char *name;
    CFStringEncoding encoding;
};

constexpr LanguageEncodingEntry kLanguageEncodings[] = {
    {"ISOLatin1", kCFStringEncodingISOLatin1},
    {"WindowsANSI", kCFStringEncodingWindowsLatin1},
    {"JIS83-RKSJ", kCFStringEncodingMacJapanese},
    {"UTF-8", kCFStringEncodingUTF8},
    {"UTF8", kCFStringEncodingUTF8},
};

} // namespace

bool CheckPPDKeyIsExist(ppd_file_t *ppd, const char *keyword)
{
    return FindOption(ppd, keyword) != nullptr;
}

int getIntFromString(const char *text, unsigned int length)
{
    if (!text)
        return 0;
    char digits[kPPDTextBufferSize] = {};
    size_t kept = 0;
    for (unsigned int i = 0; i < length && text[i] != '\0' && kept < sizeof digits - 1; ++i) {
        if (text[i] >= '0' && text[i] <= '9')
            digits[kept++] = text[i];
    }
    return std::atoi(digits);
}

int GetPWMiniIntValueFromPPD(ppd_file_t *ppd, const char *keyword)
{
    const ppd_option_t *option = FindOption(ppd, keyword);
    if (!option)
        return 0;
    char choice[kPPDTextBufferSize] = {};
    std::strncpy(choice, option->defchoice, sizeof choice - 1);
    return getIntFromString(choice, unsigned(std::strlen(choice)));
}

OSStatus GetUITitleFromPPD(ppd_file_t *ppd, const char *keyword, CFStringRef &title)
{
    title = nullptr;
    if (const ppd_option_t *option = FindOption(ppd, keyword))
        title = CreatePPDTitleString(ppd, option->text);
    return noErr;
}

OSStatus GetUIDefaultFromPPD(ppd_file_t *ppd, const char *keyword, CFStringRef &choice)
{
    choice = nullptr;
    if (const ppd_option_t *option = FindOption(ppd, keyword))
        choice = CFStringCreateWithCString(nullptr, option->defchoice, kCFStringEncodingUTF8);
    return noErr;
}

int GetValueFromPPD(ppd_file_t *ppd, const char *keyword, CFStringRef const *names, int count)
{
    const ppd_option_t *option = FindOption(ppd, keyword);
    if (!option || !names)
        return -1;
    CFRef<CFStringRef> defaultChoice(
        CFStringCreateWithCString(nullptr, option->defchoice, kCFStringEncodingUTF8));
    if (!defaultChoice)
        return -1;
    for (int i = 0; i < count; ++i) {
        if (names[i] && CFStringCompare(names[i], defaultChoice, 0) == kCFCompareEqualTo)
            return i;
    }
    return -1;
}

void GetCFStringEncodingFromPPD(ppd_file_t *ppd, CFStringEncoding *encoding)
{
    if (!encoding)
        return;
    *encoding = kCFStringEncodingMacRoman;
    if (!ppd || !ppd->lang_encoding)
        return;
    for (const auto &entry : kLanguageEncodings) {
        if (std::strcmp(ppd->lang_encoding, entry.name) == 0) {
            *encoding = entry.encoding;
            return;
        }
    }
}

CFStringRef CreatePPDTitleString(ppd_file_t *ppd, const char *text)
{
    if (!text)
        return nullptr;
    if (CFStringRef title = CFStringCreateWithCString(nullptr, text, kCFStringEncodingUTF8))
        return title;
    CFStringEncoding encoding = kCFStringEncodingMacRoman;
    GetCFStringEncodingFromPPD(ppd, &encoding);
    if (encoding != kCFStringEncodingUTF8) {
        if (CFStringRef title = CFStringCreateWithCString(nullptr, text, encoding))
            return title;
    }
    return CFStringCreateWithCString(nullptr, text, kCFStringEncodingMacRoman);
}

bool ISPrintSupported(ControlRef popup, const char *name)
{
    if (!popup || !name)
        return false;
    MenuRef menu = GetControlPopupMenuHandle(popup);
    if (!menu)
        return false;
    CFRef<CFStringRef> wanted(CFStringCreateWithCString(nullptr, name, kCFStringEncodingUTF8));
    if (!wanted)
        wanted.reset(CFStringCreateWithCString(nullptr, name, kCFStringEncodingISOLatin1));
    if (!wanted)
        return false;

    const SInt16 last = GetControlMaximum(popup);
    for (int item = 1; item <= last; ++item) {
        CFRef<CFStringRef> itemText;
        if (CopyMenuItemTextAsCFString(menu, MenuItemIndex(item), &itemText.out()) != noErr ||
            !itemText)
            continue;
        if (CFStringCompare(itemText, wanted, 0) == kCFCompareEqualTo)
            return true;
    }
    return false;
}

OSStatus CheckPPDCompatible(ppd_file_t *ppd, ControlRef popup)
{
    if (!ppd)
        return kPPDModelNotSupported;
    char modelName[kPPDTextBufferSize] = {};
    if (ppd->modelname)
        std::strncpy(modelName, ppd->modelname, sizeof modelName - 1);
    return ISPrintSupported(popup, modelName) ? noErr : kPPDModelNotSupported;
}
