// Windows (see MacWindowsFunctions.h).
#include "MacWindowsFunctions.h"

#include "HIControl.h"
#include "HIWindow.h"

#include "../CoreFoundation/CFQt.h"
#include "../CoreFoundation/CFString.h"

#include <QAbstractButton>
#include <QDialog>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace {

QRect ContentRect(const Rect &bounds)
{
    return QRect(bounds.left, bounds.top, std::max(0, bounds.right - bounds.left),
                 std::max(0, bounds.bottom - bounds.top));
}

// Moves the window so that its content's top-left lies at (h, v) on the screen.
void MoveContentTo(QWidget *widget, int h, int v)
{
    widget->setGeometry(QRect(QPoint(h, v), widget->size()));
}

} // namespace

OSStatus CreateNewWindow(WindowClass windowClass, WindowAttributes attributes, const Rect *bounds,
                         WindowRef *outWindow)
{
    if (!outWindow)
        return paramErr;
    *outWindow = nullptr;
    if (!HIWindow::haveWidgetApplication()) {
        qWarning("CreateNewWindow: windows need a QApplication");
        return paramErr;
    }
    // The window object owns the widget and deletes it in DisposeWindow.
    QWidget *widget = windowClass == kMovableModalWindowClass ? new QDialog : new QWidget;
    if (windowClass == kMovableModalWindowClass)
        widget->setWindowModality(Qt::ApplicationModal);
    if (bounds)
        widget->setGeometry(ContentRect(*bounds));
    HIWindow *window = HIWindow::create(widget, windowClass, true);
    window->attributes = attributes;
    *outWindow = window->ref();
    return noErr;
}

void DisposeWindow(WindowRef window)
{
    if (HIWindow *object = HIWindow::find(window))
        object->dispose();
}

GrafPtr GetWindowPort(WindowRef window)
{
    // The port stands for the window's drawing surface; nothing draws through it.
    return HIWindow::find(window) ? reinterpret_cast<GrafPtr>(window) : nullptr;
}

WindowClass GetWindowClassOf(WindowRef window)
{
    HIWindow *object = HIWindow::find(window);
    return object ? object->windowClass() : 0;
}

OSStatus ChangeWindowAttributes(WindowRef window, WindowAttributes setThese,
                                WindowAttributes clearThese)
{
    HIWindow *object = HIWindow::find(window);
    if (!object)
        return errInvalidWindowRef;
    object->attributes = (object->attributes | setThese) & ~clearThese;
    return noErr;
}

WindowAttributes GetWindowAttributesOf(WindowRef window)
{
    HIWindow *object = HIWindow::find(window);
    return object ? object->attributes : 0;
}

void SetWindowKind(WindowRef window, SInt16 kind)
{
    if (HIWindow *object = HIWindow::find(window))
        object->kind = kind;
}

SInt16 GetWindowKind(WindowRef window)
{
    HIWindow *object = HIWindow::find(window);
    return object ? object->kind : 0;
}

void SetWRefCon(WindowRef window, void *data)
{
    if (HIWindow *object = HIWindow::find(window))
        object->refCon = data;
}

void *GetWRefCon(WindowRef window)
{
    HIWindow *object = HIWindow::find(window);
    return object ? object->refCon : nullptr;
}

void ShowWindow(WindowRef window)
{
    if (HIWindow *object = HIWindow::find(window))
        object->widget()->show();
}

void HideWindow(WindowRef window)
{
    if (HIWindow *object = HIWindow::find(window))
        object->widget()->hide();
}

void SelectWindow(WindowRef window)
{
    if (HIWindow *object = HIWindow::find(window)) {
        object->widget()->raise();
        object->widget()->activateWindow();
    }
}

Boolean IsWindowVisible(WindowRef window)
{
    HIWindow *object = HIWindow::find(window);
    return object && object->widget()->isVisible();
}

OSStatus SetWindowTitleWithCFString(WindowRef window, CFStringRef title)
{
    HIWindow *object = HIWindow::find(window);
    if (!object)
        return errInvalidWindowRef;
    if (!title || CFGetTypeID(title) != CFStringGetTypeID())
        return paramErr;
    object->widget()->setWindowTitle(QStringFromCF(title));
    return noErr;
}

OSStatus CopyWindowTitleAsCFString(WindowRef window, CFStringRef *outTitle)
{
    if (outTitle)
        *outTitle = nullptr;
    HIWindow *object = HIWindow::find(window);
    if (!object)
        return errInvalidWindowRef;
    if (!outTitle)
        return paramErr;
    *outTitle = CFStringCreateWithQString(object->widget()->windowTitle());
    return *outTitle ? noErr : memFullErr;
}

OSStatus SetWindowAlternateTitle(WindowRef window, CFStringRef title)
{
    HIWindow *object = HIWindow::find(window);
    if (!object)
        return errInvalidWindowRef;
    if (title && CFGetTypeID(title) != CFStringGetTypeID())
        return paramErr;
    object->alternateTitle = title ? QStringFromCF(title) : QString();
    return noErr;
}

OSStatus CopyWindowAlternateTitle(WindowRef window, CFStringRef *outTitle)
{
    if (outTitle)
        *outTitle = nullptr;
    HIWindow *object = HIWindow::find(window);
    if (!object)
        return errInvalidWindowRef;
    if (!outTitle)
        return paramErr;
    *outTitle = CFStringCreateWithQString(object->alternateTitle);
    return *outTitle ? noErr : memFullErr;
}

void MoveWindow(WindowRef window, SInt16 h, SInt16 v, Boolean front)
{
    HIWindow *object = HIWindow::find(window);
    if (!object)
        return;
    MoveContentTo(object->widget(), h, v);
    if (front)
        object->widget()->raise();
}

void SizeWindow(WindowRef window, SInt16 width, SInt16 height, Boolean)
{
    if (HIWindow *object = HIWindow::find(window))
        object->widget()->resize(std::max<int>(0, width), std::max<int>(0, height));
}

OSStatus RepositionWindow(WindowRef window, WindowRef parent, UInt32 method)
{
    HIWindow *object = HIWindow::find(window);
    if (!object)
        return errInvalidWindowRef;
    HIWindow *parentObject = parent ? HIWindow::find(parent) : nullptr;
    if (parent && !parentObject)
        return errInvalidWindowRef;
    if (method != kWindowAlertPositionOnParentWindowScreen)
        return paramErr;
    const QWidget *reference = parentObject ? parentObject->widget() : object->widget();
    QScreen *screen = reference->screen() ? reference->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return noErr;
    // The alert position: centred across, a third of the free height above the window.
    const QRect available = screen->availableGeometry();
    const QSize size = object->widget()->size();
    const int h = available.left() + std::max(0, available.width() - size.width()) / 2;
    const int v = available.top() + std::max(0, available.height() - size.height()) / 3;
    MoveContentTo(object->widget(), h, v);
    return noErr;
}

OSStatus InvalWindowRect(WindowRef window, const Rect *bounds)
{
    HIWindow *object = HIWindow::find(window);
    if (!object)
        return errInvalidWindowRef;
    object->updatePending = true;
    if (bounds)
        object->widget()->update(ContentRect(*bounds));
    else
        object->widget()->update();
    return noErr;
}

OSStatus ValidWindowRect(WindowRef window, const Rect *)
{
    HIWindow *object = HIWindow::find(window);
    if (!object)
        return errInvalidWindowRef;
    object->updatePending = false;
    return noErr;
}

Boolean IsWindowUpdatePending(WindowRef window)
{
    HIWindow *object = HIWindow::find(window);
    return object && object->updatePending;
}

OSStatus SetWindowDefaultButton(WindowRef window, ControlRef button)
{
    HIWindow *object = HIWindow::find(window);
    if (!object)
        return errInvalidWindowRef;
    HIControl *control = button ? HIControl::find(button) : nullptr;
    if (button && (!control || control->kind() != ControlKind::PushButton ||
                   control->widget()->window() != object->widget()))
        return paramErr;
    if (auto *previous = qobject_cast<QPushButton *>(object->defaultButton.data()))
        previous->setDefault(false);
    object->defaultButton = control ? static_cast<QAbstractButton *>(control->widget()) : nullptr;
    if (auto *current = qobject_cast<QPushButton *>(object->defaultButton.data()))
        current->setDefault(true);
    return noErr;
}

OSStatus SetWindowCancelButton(WindowRef window, ControlRef button)
{
    HIWindow *object = HIWindow::find(window);
    if (!object)
        return errInvalidWindowRef;
    HIControl *control = button ? HIControl::find(button) : nullptr;
    if (button && (!control || control->kind() != ControlKind::PushButton ||
                   control->widget()->window() != object->widget()))
        return paramErr;
    object->cancelButton = control ? static_cast<QAbstractButton *>(control->widget()) : nullptr;
    return noErr;
}

OSStatus GetRootControl(WindowRef window, ControlRef *outControl)
{
    if (outControl)
        *outControl = nullptr;
    HIWindow *object = HIWindow::find(window);
    if (!object)
        return errInvalidWindowRef;
    if (!outControl)
        return paramErr;
    *outControl = HIControl::forWidget(object->widget())->ref();
    return noErr;
}
