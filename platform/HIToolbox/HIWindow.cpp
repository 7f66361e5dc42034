// Windows: the top-level widget, its title, its command handlers and disposal.
#include "HIWindow.h"

#include "CallbackScope.h"
#include "HIControl.h"
#include "HIEvent.h"
#include "HandleTable.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QPushButton>
#include <QThread>

#include <algorithm>
#include <unordered_map>

namespace {

// Never destroyed: widgets may be deleted after static destruction at exit.
HandleTable<HIWindow> &windows()
{
    static auto *table = new HandleTable<HIWindow>;
    return *table;
}

std::unordered_map<const QWidget *, HIWindow *> &windowsByWidget()
{
    static auto *map = new std::unordered_map<const QWidget *, HIWindow *>;
    return *map;
}

// Whether Qt may be delivering an event to a widget further up the stack: then deleting a
// widget now could pull it from under Qt.
bool InsideEventDelivery()
{
    return CallbackScope::active() || QThread::currentThread()->loopLevel() > 0;
}

} // namespace

HIWindow::HIWindow(QWidget *topLevel, WindowClass windowClass, bool owned)
    : QObject(topLevel), m_widget(topLevel), m_handle(windows().add(this)), m_class(windowClass),
      m_owned(owned)
{
    windowsByWidget()[topLevel] = this;
    // A command the window's handlers leave alone goes on to the application.
    m_target = std::make_unique<HIEventTarget>([] { return HIEventTarget::application(); });
    topLevel->installEventFilter(this);
}

HIWindow::~HIWindow()
{
    unregister();
}

HIWindow *HIWindow::create(QWidget *topLevel, WindowClass windowClass, bool owned)
{
    if (!topLevel || !topLevel->isWindow())
        return nullptr;
    if (HIWindow *existing = forWidget(topLevel))
        return existing;
    // Owned by the widget (its QObject parent).
    return new HIWindow(topLevel, windowClass, owned);
}

HIWindow *HIWindow::find(WindowRef window)
{
    return windows().find(window);
}

HIWindow *HIWindow::forWidget(const QWidget *topLevel)
{
    const auto &map = windowsByWidget();
    const auto it = map.find(topLevel);
    return it == map.end() ? nullptr : it->second;
}

WindowRef HIWindow::ref() const
{
    return HandleAsRef<WindowRef>(m_handle);
}

void HIWindow::unregister()
{
    if (!m_handle)
        return;
    // A loop on a window that is gone could never be ended by its buttons.
    quitAllLoops();
    windows().remove(m_handle);
    m_handle = 0;
    windowsByWidget().erase(m_widget);
    m_target.reset();
}

void HIWindow::quitAllLoops()
{
    for (Loop &loop : m_loops) {
        if (!loop.quitting) {
            loop.loop->exit(0);
            loop.quitting = true;
        }
    }
}

void HIWindow::dispose()
{
    QWidget *widget = m_widget;
    const bool owned = m_owned;
    unregister();
    if (owned) {
        widget->hide();
        // Deletes this object too (a child of the widget).
        if (InsideEventDelivery())
            widget->deleteLater();
        else
            delete widget;
    } else {
        widget->removeEventFilter(this);
        if (InsideEventDelivery())
            deleteLater();
        else
            delete this;
    }
}

QAbstractButton *HIWindow::effectiveDefaultButton() const
{
    if (defaultButton && defaultButton->window() == m_widget)
        return defaultButton;
    const auto buttons = m_widget->findChildren<QPushButton *>();
    const auto it = std::find_if(buttons.begin(), buttons.end(), [this](QPushButton *button) {
        return button->isDefault() && button->window() == m_widget;
    });
    return it == buttons.end() ? nullptr : *it;
}

QAbstractButton *HIWindow::effectiveCancelButton() const
{
    if (cancelButton && cancelButton->window() == m_widget)
        return cancelButton;
    const auto buttons = m_widget->findChildren<QPushButton *>();
    const auto it = std::find_if(buttons.begin(), buttons.end(), [this](QPushButton *button) {
        return button->window() == m_widget &&
               HIControl::fourCharCode(button->property("command")) == kHICommandCancel;
    });
    return it == buttons.end() ? nullptr : *it;
}

void HIWindow::pushLoop(QEventLoop *loop)
{
    m_loops.push_back(Loop{loop, false});
}

void HIWindow::popLoop(QEventLoop *loop)
{
    std::erase_if(m_loops, [loop](const Loop &entry) { return entry.loop == loop; });
}

bool HIWindow::quitLoop()
{
    for (auto it = m_loops.rbegin(); it != m_loops.rend(); ++it) {
        if (!it->quitting) {
            it->loop->exit(0);
            it->quitting = true;
            return true;
        }
    }
    return false;
}

OSStatus HIWindow::sendWindowEvent(UInt32 kind, UInt32 attributes, bool withAttributes)
{
    if (!m_target)
        return eventNotHandledErr;
    CallbackScope scope;
    ScopedEvent event(kEventClassWindow, kind);
    event.set(kEventParamDirectObject, typeWindowRef, ref());
    if (withAttributes)
        event.set(kEventParamAttributes, typeUInt32, attributes);
    return m_target->send(event.get());
}

void HIWindow::requestCancel()
{
    if (QAbstractButton *button = effectiveCancelButton(); button && button->isEnabled()) {
        button->click();
        return;
    }
    if (!m_target)
        return;
    CallbackScope scope;
    HICommand command{};
    command.commandID = kHICommandCancel;
    ScopedEvent event(kEventClassCommand, kEventCommandProcess);
    event.set(kEventParamDirectObject, typeHICommand, command);
    m_target->send(event.get());
}

bool HIWindow::handleClose(QCloseEvent *event)
{
    // Closing a modal window means Cancel to the user; closing it under the program's feet
    // would leave its loop and its owner waiting for a button.
    if (inModalLoop()) {
        requestCancel();
        event->ignore();
        return true;
    }
    if (sendWindowEvent(kEventWindowClose) == eventNotHandledErr)
        return false; // Qt closes (hides) the window
    event->ignore();
    return true;
}

bool HIWindow::handleKey(QKeyEvent *event)
{
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && modifiers == Qt::NoModifier) {
        QAbstractButton *button = effectiveDefaultButton();
        if (!button || !button->isEnabled() || button->isHidden())
            return false;
        event->accept();
        button->click();
        return true;
    }
    if (key == Qt::Key_Escape && modifiers == Qt::NoModifier &&
        (effectiveCancelButton() || inModalLoop())) {
        event->accept();
        requestCancel();
        return true;
    }
    return false;
}

void HIWindow::handleStateChange()
{
    if (!(m_widget->windowState() & Qt::WindowMaximized) || !m_target)
        return;
    // Zooming asks the program for the window's ideal size first.
    CallbackScope scope;
    ScopedEvent event(kEventClassWindow, kEventWindowGetIdealSize);
    event.set(kEventParamDirectObject, typeWindowRef, ref());
    if (m_target->send(event.get()) != noErr)
        return;
    Point ideal{0, 0};
    const HIEvent *object = HIEvent::find(event.get());
    if (!object || object->getParameter(kEventParamDimensions, typeQDPoint, nullptr, sizeof(ideal),
                                        nullptr, &ideal) != noErr)
        return;
    if (ideal.h <= 0 || ideal.v <= 0)
        return;
    m_widget->setWindowState(m_widget->windowState() & ~Qt::WindowMaximized);
    m_widget->resize(ideal.h, ideal.v);
}

bool HIWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_widget || !m_handle)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Close:
        return handleClose(static_cast<QCloseEvent *>(event));
    case QEvent::KeyPress:
        return handleKey(static_cast<QKeyEvent *>(event));
    case QEvent::Show:
        sendWindowEvent(kEventWindowDrawContent);
        break;
    case QEvent::WindowActivate:
        sendWindowEvent(kEventWindowActivated);
        break;
    case QEvent::WindowDeactivate:
        sendWindowEvent(kEventWindowDeactivated);
        break;
    case QEvent::Move:
        sendWindowEvent(kEventWindowBoundsChanged, kWindowBoundsChangeOriginChanged, true);
        break;
    case QEvent::Resize:
        sendWindowEvent(kEventWindowBoundsChanged, kWindowBoundsChangeSizeChanged, true);
        break;
    case QEvent::WindowStateChange:
        handleStateChange();
        break;
    case QEvent::Paint:
        updatePending = false;
        break;
    default:
        break;
    }
    return false;
}

bool HIWindow::haveWidgetApplication()
{
    return qobject_cast<QApplication *>(QCoreApplication::instance()) != nullptr;
}
