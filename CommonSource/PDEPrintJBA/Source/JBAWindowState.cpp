#include "JBAWindowState.h"

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
