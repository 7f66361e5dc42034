// What a settings window's controls ask about their window.
#include "JBAWindowState.h"

#include "AppResources.h"
#include "CJBAInfoWindow.h"
#include "CJobAuthenticationPanel.h"

namespace {

CJBAInfoWindow *ActiveInfoWindow(CBasePrintPanel *owner)
{
    auto *window = dynamic_cast<CJBAInfoWindow *>(owner);
    auto *parent =
        window ? dynamic_cast<CJobAuthenticationPanel *>(window->GetParentPane()) : nullptr;
    if (!parent)
        return nullptr;
    const SInt32 mode = parent->getAccountMode();
    return mode == kJBAAccountModeAdmin || mode == kJBAAccountModeUser ? window : nullptr;
}

} // namespace

bool JBAOwnerHasParent(CBasePrintPanel *owner)
{
    return owner && owner->GetParentPane();
}

bool JBAOwnerEntersUserDetails(CBasePrintPanel *owner)
{
    CJBAInfoWindow *window = ActiveInfoWindow(owner);
    return window && window->getbEnterUserDetails();
}

bool JBAOwnerUsesLoginName(CBasePrintPanel *owner)
{
    CJBAInfoWindow *window = ActiveInfoWindow(owner);
    return window && window->getbUseLoginNameSelect();
}

bool JBAValidateListedFields(CBasePrintPanel *owner, ControlIDList list)
{
    if (!list || !owner)
        return true;
    for (ControlIDList id = list; *id; ++id) {
        CBaseControl *field = owner->GetPanelControl(*id);
        if (field && !field->InvalidateData())
            return false;
    }
    return true;
}

void JBAAppendLocalizedLine(CFMutableArrayRef titles, CFMutableArrayRef values,
                            CFStringRef titleKey, CFStringRef valueKey)
{
    CFBundleRef bundle = GetAppBundleRef();
    if (!titles || !values || !titleKey || !valueKey || !bundle)
        return;
    CFRef<CFStringRef> title(CFBundleCopyLocalizedString(bundle, titleKey, titleKey, nullptr));
    CFRef<CFStringRef> value(CFBundleCopyLocalizedString(bundle, valueKey, valueKey, nullptr));
    if (!title || !value)
        return;
    CFArrayAppendValue(titles, title);
    CFArrayAppendValue(values, value);
}
