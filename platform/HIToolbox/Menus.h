// The items of a pop-up list.
#pragma once

#include "MacWindows.h"

typedef UInt32 MenuItemAttributes;
typedef UInt16 MenuItemIndex;

// The pop-up list's menu (lives as long as the list); null for a widget that is no list.
MenuRef GetControlPopupMenuHandle(ControlRef control);
UInt16 CountMenuItems(MenuRef menu);
// Removes count items from firstItem (1-based).
OSStatus DeleteMenuItems(MenuRef menu, MenuItemIndex firstItem, CFIndex count);
OSStatus AppendMenuItemTextWithCFString(MenuRef menu, CFStringRef text,
                                        MenuItemAttributes attributes, MenuCommand commandID,
                                        MenuItemIndex *outNewItem);
OSStatus CopyMenuItemTextAsCFString(MenuRef menu, MenuItemIndex item, CFStringRef *outText);
void EnableMenuCommand(MenuRef menu, MenuCommand command);
