// The menu of a pop-up list: a view of the list's items, numbered from 1. The list's control
// object owns it, so the MenuRef ends with the list.
#pragma once

#include "Menus.h"

#include <QPointer>

class QComboBox;

class HIMenu
{
public:
    explicit HIMenu(QComboBox *list);
    ~HIMenu();
    HIMenu(const HIMenu &) = delete;
    HIMenu &operator=(const HIMenu &) = delete;

    static HIMenu *find(MenuRef menu);
    MenuRef ref() const;
    // Null once the list is gone.
    QComboBox *list() const { return m_list; }

private:
    QPointer<QComboBox> m_list;
    uintptr_t m_handle;
};
