// Text fields: the text, its checks and messages, plain or scrambled ticket values.
#include "CTextEditControl.h"

#include "AboutWindow.h"
#include "AppResources.h"
#include "TextInputFilter.h"

#include <CoreFoundation/UTF8Text.h>

#include <cstring>

namespace {

// The last byte of a block always stays NUL.
constexpr size_t kMaxTextBytes = kTextEditBlockSize - 1;
// The preference text goes into a 255-byte buffer with its NUL.
constexpr size_t kMaxPreferenceBytes = 254;

// The legacy byte tags cannot carry every character back (a unit at or above U+0100 becomes two
// ambiguous bytes), so text moves through their CFString siblings.
ResType StringTagFor(ResType tag)
{
    switch (tag) {
    case kControlEditTextTextTag:
        return kControlEditTextCFStringTag;
    case kControlEditTextPasswordTag:
        return kControlEditTextPasswordCFStringTag;
    default:
        return tag;
    }
}

char *TextOf(void *block)
{
    return static_cast<char *>(block);
}

// The UTF-8 text as a string: the whole of it when valid, else its valid leading part.
// Answers whether the whole text was valid.
bool CreateStringFromUTF8(const char *text, size_t length, CFRef<CFStringRef> &out)
{
    const size_t validLength = veltra::FindInvalidUTF8(text, length);
    out.reset(CFStringCreateWithBytes(kCFAllocatorDefault, reinterpret_cast<const UInt8 *>(text),
                                      CFIndex(validLength), kCFStringEncodingUTF8, false));
    return validLength == length;
}

} // namespace

CTextEditControl::CTextEditControl(ControlID *id, TextEditIniData *ini, ConstrainInfo *constrain,
                                   TextEditFilterData *filter, ControlAccessInfo *access)
    : iniData(ini), filterData(filter)
{
    controlID = id;
    constrainInfo = constrain;
    accessInfo = access;
}

CTextEditControl::~CTextEditControl() = default;

void CTextEditControl::InstallKeyFilter()
{
    if (!controlRef || !filterData || !filterData->keyFilter)
        return;
    ControlKeyFilterUPP filter = NewControlKeyFilterUPP(filterData->keyFilter);
    ::SetControlData(controlRef, kControlNoPart, kControlEditTextKeyFilterTag, sizeof filter,
                     &filter);
}

OSStatus CTextEditControl::SetWidgetText(CFStringRef text)
{
    if (!controlRef || !accessInfo || !text)
        return errDataNotSupported;
    return ::SetControlData(controlRef, kControlEditTextPart, StringTagFor(accessInfo->setDataTag),
                            sizeof text, &text);
}

bool CTextEditControl::InitializeCtrl(WindowRef window, ControlRef, CFBundleRef, ppd_file_t *)
{
    if (!CBaseControl::InitializeCtrl(window))
        return false;
    InstallKeyFilter();
    return AllocateDataBlocks(kTextEditBlockSize);
}

bool CTextEditControl::ReInitializeCtrl(WindowRef window)
{
    if (!CBaseControl::InitializeCtrl(window))
        return false;
    InstallKeyFilter();
    // Blocks made at the first initialisation are kept; a field first initialised without its
    // widget gets them now.
    return AllocateDataBlocks(kTextEditBlockSize);
}

bool CTextEditControl::SetControlValueToUI()
{
    if (controlData) {
        TextOf(controlData)[kMaxTextBytes] = 0;
        dataSize = UInt32(GetControlLength(TextOf(controlData)));
    } else {
        dataSize = 0;
    }
    if (!controlRef || !controlData || !accessInfo)
        return false;

    // A damaged value (from the ticket or a cut preference) shows its readable part and is
    // reported as not shown.
    CFRef<CFStringRef> text;
    const bool whole = CreateStringFromUTF8(TextOf(controlData),
                                            strnlen(TextOf(controlData), kMaxTextBytes), text);
    const OSStatus status = SetWidgetText(text);
    return whole && status != errDataNotSupported;
}

bool CTextEditControl::SetExternalValueToUI(void *text, int /*size: the text is NUL-ended*/)
{
    if (!controlRef)
        return false;
    bool shown = false;
    if (text && accessInfo) {
        CFRef<CFStringRef> value;
        const bool whole =
            CreateStringFromUTF8(static_cast<const char *>(text),
                                 strnlen(static_cast<const char *>(text), kMaxTextBytes), value);
        shown = SetWidgetText(value) != errDataNotSupported && whole;
    }
    Draw1Control(controlRef);
    return shown;
}

bool CTextEditControl::SetControlValueToDefault()
{
    if (!controlData)
        return true;
    memset(controlData, 0, kTextEditBlockSize);
    dataSize = 0;
    if (iniData) {
        const size_t length = strnlen(iniData->defaultText, kMaxTextBytes);
        memcpy(controlData, iniData->defaultText, length);
        dataSize = UInt32(length);
    }
    return true;
}

void *CTextEditControl::GetDefaultDataBlk()
{
    return iniData ? iniData->defaultText : nullptr;
}

UInt32 CTextEditControl::GetDefaultDataSize()
{
    return iniData ? UInt32(strnlen(iniData->defaultText, kMaxTextBytes)) : 0;
}

bool CTextEditControl::ConvertToTickectData(unsigned char *out)
{
    if (!out || !controlData)
        return false;
    memcpy(out, controlData, kMaxTextBytes);
    out[kMaxTextBytes] = 0;
    return true;
}

bool CTextEditControl::ConvertToPreferenceString(char *out)
{
    if (!out || !controlData)
        return false;
    memset(out, 0, kMaxPreferenceBytes + 1);
    TextOf(controlData)[kMaxTextBytes] = 0;
    dataSize = UInt32(GetControlLength(TextOf(controlData)));
    memcpy(out, controlData, strnlen(TextOf(controlData), kMaxPreferenceBytes));
    return true;
}

bool CTextEditControl::ConvertFromPreferenceString(char *text)
{
    if (!text || !controlData)
        return false;
    memset(controlData, 0, kTextEditBlockSize);
    // The length is that of the whole stored text, so a value longer than the block still
    // fails the field's length check.
    dataSize = UInt32(GetControlLength(text));
    memcpy(controlData, text, strnlen(text, kMaxTextBytes));
    return true;
}

void *CTextEditControl::GetValueFromUI()
{
    if (!controlRef || !controlData || !accessInfo || !uiData)
        return uiData;

    // The widget length: the legacy byte size, one per unit below U+0100, two per other unit.
    Size size = 0;
    if (GetControlDataSize(controlRef, kControlEditTextPart, kControlEditTextTextTag, &size) !=
            noErr ||
        size < 0)
        return uiData;
    if (size == 0) {
        memset(uiData, 0, kTextEditBlockSize);
        dataSize = 0;
        return uiData;
    }

    CFRef<CFStringRef> text;
    if (::GetControlData(controlRef, kControlEditTextPart, StringTagFor(accessInfo->getDataTag),
                         sizeof(CFStringRef), &text.out(), nullptr) != noErr ||
        !text)
        return uiData;
    CFRef<CFStringRef> cut(CFStringCreateWithCopyCut(text, kTextEditReadUnits));
    if (!cut)
        return uiData;

    // At most 4 bytes per unit; a surrogate half left alone by the cut ends the conversion.
    UInt8 scratch[kTextEditReadUnits * 4 + 1] = {};
    CFIndex used = 0;
    CFStringGetBytes(cut, CFRangeMake(0, CFStringGetLength(cut)), kCFStringEncodingUTF8, 0, false,
                     scratch, sizeof scratch - 1, &used);
    memset(uiData, 0, kTextEditBlockSize);
    memcpy(uiData, scratch, size_t(used) < kMaxTextBytes ? size_t(used) : kMaxTextBytes);
    dataSize = UInt32(size);
    return uiData;
}

void CTextEditControl::SetValueFromUIToControl()
{
    if (!controlData || !uiData)
        return;
    memset(controlData, 0, kTextEditBlockSize);
    if (dataSize != 0)
        memcpy(controlData, uiData, strnlen(TextOf(uiData), kMaxTextBytes));
}

bool CTextEditControl::InvalidateData()
{
    if (!iniData)
        return true;
    GetValueFromUI();
    if (dataSize == 0)
        return true;
    if (dataSize > UInt32(iniData->maxLength) || dataSize < UInt32(iniData->minLength)) {
        ShowErrMsg();
        return false;
    }
    if (filterData && uiData) {
        // One unit per byte and the terminator is all the conversion can need.
        unsigned short units[kTextEditBlockSize + 1] = {};
        TextOf(uiData)[kMaxTextBytes] = 0;
        // Text that is not UTF-8 cannot be checked, so it is refused like a bad character.
        if (!ConvertUTF8ToUnicode(TextOf(uiData), units) || !validateInput(units, filterData)) {
            ShowErrMsg();
            return false;
        }
    }
    return true;
}

bool CTextEditControl::CorrectCtrlUI()
{
    if (controlRef) {
        SetWidgetText(CFSTR(""));
        Draw1Control(controlRef);
    }
    if (uiData)
        memset(uiData, 0, kTextEditBlockSize);
    dataSize = 0;
    return true;
}

void CTextEditControl::ShowErrMsg()
{
    if (!filterData || !filterData->errorMessageKey)
        return;
    AboutWindow::Present(GetAppBundleRef(), filterData->errorMessageKey);
    if (!controlRef)
        return;
    if (WindowRef window = GetControlOwner(controlRef))
        SetKeyboardFocus(window, controlRef, kControlEditTextPart);
}
