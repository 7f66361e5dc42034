// Keyboard focus of a window (see Controls.h). The window remembers its focus even while it is
// hidden or inactive; Qt gives the widget the focus when the window becomes active.
#include "Controls.h"

#include "HIControl.h"
#include "HIWindow.h"

#include <QLineEdit>

OSStatus SetKeyboardFocus(WindowRef window, ControlRef control, ControlPartCode part)
{
    HIWindow *object = HIWindow::find(window);
    if (!object)
        return errInvalidWindowRef;
    HIControl *focus = HIControl::find(control);
    if (!focus || focus->widget()->window() != object->widget())
        return paramErr;
    QWidget *widget = focus->widget();
    if (part == kControlNoPart) {
        if (object->focus == widget) {
            widget->clearFocus();
            object->focus = nullptr;
        }
        return noErr;
    }
    widget->setFocus(Qt::OtherFocusReason);
    // The field comes back ready to be typed over.
    if (auto *field = qobject_cast<QLineEdit *>(widget))
        field->selectAll();
    object->focus = widget;
    return noErr;
}

OSStatus ClearKeyboardFocus(WindowRef window)
{
    HIWindow *object = HIWindow::find(window);
    if (!object)
        return errInvalidWindowRef;
    if (QWidget *focus = object->widget()->focusWidget())
        focus->clearFocus();
    if (object->focus)
        object->focus->clearFocus();
    object->focus = nullptr;
    return noErr;
}

OSStatus GetKeyboardFocus(WindowRef window, ControlRef *outControl)
{
    if (outControl)
        *outControl = nullptr;
    HIWindow *object = HIWindow::find(window);
    if (!object)
        return errInvalidWindowRef;
    if (!outControl)
        return paramErr;
    // Qt's focus follows the user (Tab, clicks); the remembered one covers the time before the
    // window was first shown.
    QWidget *focus = object->widget()->focusWidget();
    if (!focus && object->focus && object->focus->window() == object->widget())
        focus = object->focus;
    if (focus)
        *outControl = HIControl::forWidget(focus)->ref();
    return noErr;
}
