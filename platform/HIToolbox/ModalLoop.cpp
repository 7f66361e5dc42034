// Application-modal loops (see MacWindowsFunctions.h).
#include "MacWindowsFunctions.h"

#include "HIWindow.h"

#include <QEventLoop>
#include <QTimer>

namespace {

struct ModalLoopObserver
{
    VeltraModalLoopObserver observer = nullptr;
    void *userData = nullptr;
};

ModalLoopObserver &Observer()
{
    static ModalLoopObserver observer;
    return observer;
}

} // namespace

OSStatus RunAppModalLoopForWindow(WindowRef window)
{
    HIWindow *object = HIWindow::find(window);
    if (!object)
        return errInvalidWindowRef;
    QWidget *widget = object->widget();
    if (widget->windowModality() != Qt::ApplicationModal) {
        // Modality takes effect when a window is shown.
        if (widget->isVisible())
            widget->hide();
        widget->setWindowModality(Qt::ApplicationModal);
    }
    widget->show();
    widget->raise();
    widget->activateWindow();

    QEventLoop loop;
    object->pushLoop(&loop);
    QTimer::singleShot(0, &loop, [window] {
        const ModalLoopObserver observer = Observer();
        if (observer.observer && HIWindow::find(window))
            observer.observer(window, observer.userData);
    });
    loop.exec();

    // The window may have been disposed while the loop ran (which ended the loop).
    HIWindow *after = HIWindow::find(window);
    if (!after)
        return errInvalidWindowRef;
    after->popLoop(&loop);
    return noErr;
}

OSStatus QuitAppModalLoopForWindow(WindowRef window)
{
    HIWindow *object = HIWindow::find(window);
    if (!object)
        return errInvalidWindowRef;
    return object->quitLoop() ? noErr : paramErr;
}

void VeltraSetModalLoopObserver(VeltraModalLoopObserver observer, void *userData)
{
    Observer() = ModalLoopObserver{observer, userData};
}

Boolean VeltraIsInModalLoop(WindowRef window)
{
    HIWindow *object = HIWindow::find(window);
    return object && object->inModalLoop();
}
