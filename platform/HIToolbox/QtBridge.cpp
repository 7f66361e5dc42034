// The Qt widgets behind toolkit references (see QtBridge.h).
#include "QtBridge.h"

#include "HIControl.h"
#include "HIWindow.h"

QWidget *VeltraControlWidget(ControlRef control)
{
    HIControl *object = HIControl::find(control);
    return object ? object->widget() : nullptr;
}

QWidget *VeltraWindowWidget(WindowRef window)
{
    HIWindow *object = HIWindow::find(window);
    return object ? object->widget() : nullptr;
}

ControlRef VeltraControlForWidget(QWidget *widget)
{
    HIControl *object = HIControl::forWidget(widget);
    return object ? object->ref() : nullptr;
}

WindowRef VeltraWindowForWidget(QWidget *topLevel)
{
    if (!topLevel || !topLevel->isWindow())
        return nullptr;
    const bool modal = topLevel->windowModality() != Qt::NonModal;
    HIWindow *window =
        HIWindow::create(topLevel, modal ? kMovableModalWindowClass : kDocumentWindowClass, false);
    HIControl::registerIdentifiedWidgets(topLevel);
    return window ? window->ref() : nullptr;
}
