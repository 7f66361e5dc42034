// Pop-up list menus: items numbered from 1 over the list's combo box.
#include "HIMenu.h"

#include "HandleTable.h"

#include <QComboBox>

static HandleTable<HIMenu> &menus()
{
    static auto *table = new HandleTable<HIMenu>;
    return *table;
}

HIMenu::HIMenu(QComboBox *list) : m_list(list), m_handle(menus().add(this)) {}

HIMenu::~HIMenu()
{
    menus().remove(m_handle);
}

HIMenu *HIMenu::find(MenuRef menu)
{
    return menus().find(menu);
}

MenuRef HIMenu::ref() const
{
    return HandleAsRef<MenuRef>(m_handle);
}
