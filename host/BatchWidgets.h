// What the batch drivers share to work a pane's widgets as a user would: finding a control's
// widget, pressing a key on it, and reading their options.
#pragma once

#include "PaneBatch.h"

#include <HIToolbox/HIToolbox.h>
#include <HIToolbox/QtBridge.h>

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include <string>

namespace veltra {

// The widget of control id in window, as a T; null when there is none of that type.
template <typename T> T *Find(WindowRef window, ControlID id)
{
    ControlRef control = nullptr;
    if (GetControlByID(window, &id, &control) != noErr)
        return nullptr;
    return qobject_cast<T *>(VeltraControlWidget(control));
}

// One key press and release on the widget, through the event filters as typing would.
inline void Press(QWidget *widget, int key, const QString &text = QString())
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &release);
}

// Sets *error (when given) and answers false.
inline bool Fail(std::string *error, std::string message)
{
    if (error)
        *error = std::move(message);
    return false;
}

// The option's value, or null when it was not given.
inline const std::string *Value(const PaneBatchValues &values, const char *name)
{
    const auto found = values.find(name);
    return found == values.end() ? nullptr : &found->second;
}

} // namespace veltra
