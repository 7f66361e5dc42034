// Controls: lookup, embedding, bounds, state, values and titles (see Controls.h).
#include "Controls.h"

#include "HIControl.h"
#include "HIWindow.h"

#include "../CoreFoundation/CFQt.h"
#include "../CoreFoundation/CFString.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>

#include <algorithm>
#include <limits>

namespace {

SInt16 ClampTo16(int value)
{
    return SInt16(std::clamp<int>(value, std::numeric_limits<SInt16>::min(),
                                  std::numeric_limits<SInt16>::max()));
}

// The widget's rectangle in the coordinates of its window's content.
QRect WindowLocalGeometry(const QWidget *widget)
{
    if (widget->isWindow())
        return QRect(QPoint(0, 0), widget->size());
    return QRect(widget->mapTo(widget->window(), QPoint(0, 0)), widget->size());
}

bool LayoutHolds(const QLayout *layout, const QWidget *widget)
{
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem *item = layout->itemAt(i);
        if (item->widget() == widget)
            return true;
        if (const QLayout *inner = item->layout(); inner && LayoutHolds(inner, widget))
            return true;
    }
    return false;
}

bool IsManagedByLayout(const QWidget *widget)
{
    const QWidget *parent = widget->parentWidget();
    return parent && parent->layout() && LayoutHolds(parent->layout(), widget);
}

// Button and group titles mark shortcuts with '&'; a toolkit title is plain text.
QString EscapeMnemonics(QString text)
{
    return text.replace(QLatin1Char('&'), QLatin1String("&&"));
}

QString RemoveMnemonics(const QString &text)
{
    QString plain;
    plain.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('&') && i + 1 < text.size())
            ++i;
        plain.append(text.at(i));
    }
    return plain;
}

} // namespace

OSStatus GetControlByID(WindowRef window, const ControlID *id, ControlRef *outControl)
{
    if (outControl)
        *outControl = nullptr;
    HIWindow *object = HIWindow::find(window);
    if (!object)
        return errInvalidWindowRef;
    if (!id || !outControl)
        return paramErr;
    HIControl *control = HIControl::findByID(object->widget(), *id);
    if (!control)
        return errUnknownControl;
    *outControl = control->ref();
    return noErr;
}

OSStatus GetControlID(ControlRef control, ControlID *outID)
{
    HIControl *object = HIControl::find(control);
    if (!object || !outID)
        return paramErr;
    *outID = object->id();
    return noErr;
}

WindowRef GetControlOwner(ControlRef control)
{
    HIControl *object = HIControl::find(control);
    HIWindow *window = object ? object->owner() : nullptr;
    return window ? window->ref() : nullptr;
}

OSStatus EmbedControl(ControlRef control, ControlRef container)
{
    HIControl *object = HIControl::find(control);
    HIControl *into = HIControl::find(container);
    if (!object || !into)
        return paramErr;
    QWidget *widget = object->widget();
    QWidget *parent = into->widget();
    if (widget->isWindow() || widget == parent || widget->isAncestorOf(parent))
        return paramErr;
    if (!into->canEmbed())
        return errControlIsNotEmbedder;
    // The control keeps its window-local rectangle, now in the container's window.
    const QRect bounds = WindowLocalGeometry(widget);
    const bool hidden = widget->isHidden();
    widget->setParent(parent);
    widget->setGeometry(
        QRect(bounds.topLeft() - parent->mapTo(parent->window(), QPoint(0, 0)), bounds.size()));
    widget->setVisible(!hidden);
    return noErr;
}

OSStatus SetControlVisibility(ControlRef control, Boolean visible, Boolean)
{
    HIControl *object = HIControl::find(control);
    if (!object)
        return paramErr;
    object->widget()->setVisible(visible);
    return noErr;
}

Rect *GetControlBounds(ControlRef control, Rect *outBounds)
{
    if (!outBounds)
        return nullptr;
    *outBounds = Rect{0, 0, 0, 0};
    HIControl *object = HIControl::find(control);
    if (!object)
        return outBounds;
    const QRect geometry = WindowLocalGeometry(object->widget());
    *outBounds = Rect{ClampTo16(geometry.top()), ClampTo16(geometry.left()),
                      ClampTo16(geometry.top() + geometry.height()),
                      ClampTo16(geometry.left() + geometry.width())};
    return outBounds;
}

void SetControlBounds(ControlRef control, const Rect *bounds)
{
    HIControl *object = HIControl::find(control);
    if (!object || !bounds)
        return;
    QWidget *widget = object->widget();
    const QSize size(std::max(0, bounds->right - bounds->left),
                     std::max(0, bounds->bottom - bounds->top));
    if (widget->isWindow()) {
        widget->resize(size);
        return;
    }
    const QPoint origin = widget->parentWidget()->mapTo(widget->window(), QPoint(0, 0));
    widget->setGeometry(QRect(QPoint(bounds->left, bounds->top) - origin, size));
    // A layout would put the widget back to its own size; asking for this one keeps it.
    if (IsManagedByLayout(widget))
        widget->setMinimumSize(size);
}

OSStatus ActivateControl(ControlRef control)
{
    HIControl *object = HIControl::find(control);
    if (!object)
        return paramErr;
    object->widget()->setEnabled(true);
    return noErr;
}

OSStatus DeactivateControl(ControlRef control)
{
    HIControl *object = HIControl::find(control);
    if (!object)
        return paramErr;
    object->widget()->setEnabled(false);
    return noErr;
}

Boolean IsControlActive(ControlRef control)
{
    HIControl *object = HIControl::find(control);
    // The control's own state: an inactive container does not make it inactive.
    return object && !object->widget()->testAttribute(Qt::WA_ForceDisabled);
}

OSStatus ShowControl(ControlRef control)
{
    return SetControlVisibility(control, true, true);
}

OSStatus HideControl(ControlRef control)
{
    return SetControlVisibility(control, false, true);
}

Boolean IsControlVisible(ControlRef control)
{
    HIControl *object = HIControl::find(control);
    return object && !object->widget()->isHidden();
}

void Draw1Control(ControlRef control)
{
    if (HIControl *object = HIControl::find(control))
        object->widget()->update();
}

SInt16 GetControlValue(ControlRef control)
{
    HIControl *object = HIControl::find(control);
    return object ? ClampTo16(object->value()) : 0;
}

void SetControlValue(ControlRef control, SInt16 value)
{
    if (HIControl *object = HIControl::find(control))
        object->setValue(value);
}

SInt16 GetControlMinimum(ControlRef control)
{
    HIControl *object = HIControl::find(control);
    return object ? ClampTo16(object->minimum()) : 0;
}

void SetControlMinimum(ControlRef control, SInt16 value)
{
    if (HIControl *object = HIControl::find(control))
        object->setMinimum(value);
}

SInt16 GetControlMaximum(ControlRef control)
{
    HIControl *object = HIControl::find(control);
    return object ? ClampTo16(object->maximum()) : 0;
}

void SetControlMaximum(ControlRef control, SInt16 value)
{
    if (HIControl *object = HIControl::find(control))
        object->setMaximum(value);
}

SInt32 GetControl32BitValue(ControlRef control)
{
    HIControl *object = HIControl::find(control);
    return object ? object->value() : 0;
}

void SetControl32BitValue(ControlRef control, SInt32 value)
{
    if (HIControl *object = HIControl::find(control))
        object->setValue(value);
}

OSStatus SetControlTitleWithCFString(ControlRef control, CFStringRef title)
{
    HIControl *object = HIControl::find(control);
    if (!object || !title || CFGetTypeID(title) != CFStringGetTypeID())
        return paramErr;
    const QString text = QStringFromCF(title);
    QWidget *widget = object->widget();
    switch (object->kind()) {
    case ControlKind::PushButton:
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
        static_cast<QAbstractButton *>(widget)->setText(EscapeMnemonics(text));
        break;
    case ControlKind::GroupBox:
        static_cast<QGroupBox *>(widget)->setTitle(EscapeMnemonics(text));
        break;
    case ControlKind::StaticText: {
        auto *label = static_cast<QLabel *>(widget);
        label->setTextFormat(Qt::PlainText);
        label->setText(text);
        break;
    }
    case ControlKind::Root:
        widget->setWindowTitle(text);
        break;
    default:
        object->storedTitle = text;
        break;
    }
    return noErr;
}

OSStatus CopyControlTitleAsCFString(ControlRef control, CFStringRef *outTitle)
{
    if (outTitle)
        *outTitle = nullptr;
    HIControl *object = HIControl::find(control);
    if (!object || !outTitle)
        return paramErr;
    const QWidget *widget = object->widget();
    QString text;
    switch (object->kind()) {
    case ControlKind::PushButton:
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
        text = RemoveMnemonics(static_cast<const QAbstractButton *>(widget)->text());
        break;
    case ControlKind::GroupBox:
        text = RemoveMnemonics(static_cast<const QGroupBox *>(widget)->title());
        break;
    case ControlKind::StaticText:
        text = static_cast<const QLabel *>(widget)->text();
        break;
    case ControlKind::Root:
        text = widget->windowTitle();
        break;
    default:
        text = object->storedTitle;
        break;
    }
    *outTitle = CFStringCreateWithQString(text);
    return *outTitle ? noErr : memFullErr;
}
