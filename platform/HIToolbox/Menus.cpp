// The items of pop-up lists (see Menus.h). An item's command is kept as its user data.
#include "Menus.h"

#include "HIControl.h"
#include "HIMenu.h"

#include "../CoreFoundation/CFQt.h"
#include "../CoreFoundation/CFString.h"

#include <QComboBox>
#include <QStandardItemModel>

#include <limits>

namespace {

QComboBox *ListOf(MenuRef menu)
{
    HIMenu *object = HIMenu::find(menu);
    return object ? object->list() : nullptr;
}

} // namespace

MenuRef GetControlPopupMenuHandle(ControlRef control)
{
    HIControl *object = HIControl::find(control);
    HIMenu *menu = object ? object->menu() : nullptr;
    return menu ? menu->ref() : nullptr;
}

UInt16 CountMenuItems(MenuRef menu)
{
    QComboBox *list = ListOf(menu);
    return list ? UInt16(std::min<int>(list->count(), std::numeric_limits<UInt16>::max())) : 0;
}

OSStatus DeleteMenuItems(MenuRef menu, MenuItemIndex firstItem, CFIndex count)
{
    QComboBox *list = ListOf(menu);
    if (!list)
        return errUnknownMenu;
    if (firstItem < 1 || count < 0)
        return paramErr;
    // Items past the end are not there to delete.
    const CFIndex last = std::min<CFIndex>(CFIndex(firstItem) - 1 + count, list->count());
    for (CFIndex index = last - 1; index >= CFIndex(firstItem) - 1; --index)
        list->removeItem(int(index));
    return noErr;
}

OSStatus AppendMenuItemTextWithCFString(MenuRef menu, CFStringRef text, MenuItemAttributes,
                                        MenuCommand commandID, MenuItemIndex *outNewItem)
{
    if (outNewItem)
        *outNewItem = 0;
    QComboBox *list = ListOf(menu);
    if (!list)
        return errUnknownMenu;
    if (!text || CFGetTypeID(text) != CFStringGetTypeID())
        return paramErr;
    if (list->count() >= std::numeric_limits<MenuItemIndex>::max())
        return paramErr;
    list->addItem(QStringFromCF(text), QVariant::fromValue<quint32>(commandID));
    if (outNewItem)
        *outNewItem = MenuItemIndex(list->count());
    return noErr;
}

OSStatus CopyMenuItemTextAsCFString(MenuRef menu, MenuItemIndex item, CFStringRef *outText)
{
    if (outText)
        *outText = nullptr;
    QComboBox *list = ListOf(menu);
    if (!list)
        return errUnknownMenu;
    if (!outText || item < 1 || item > list->count())
        return paramErr;
    *outText = CFStringCreateWithQString(list->itemText(item - 1));
    return *outText ? noErr : memFullErr;
}

void EnableMenuCommand(MenuRef menu, MenuCommand command)
{
    // A null menu means the application's menus; the panes' windows have none to enable.
    QComboBox *list = ListOf(menu);
    auto *model = list ? qobject_cast<QStandardItemModel *>(list->model()) : nullptr;
    if (!model)
        return;
    for (int row = 0; row < list->count(); ++row) {
        if (list->itemData(row).toUInt() == command) {
            if (QStandardItem *item = model->item(row))
                item->setEnabled(true);
        }
    }
}
