// The toolkit's object for one window: a top-level widget it owns (created from a nib or by
// CreateNewWindow, deleted by DisposeWindow) or adopts (built by the host; DisposeWindow only
// forgets it). It is a child QObject of the widget and watches the widget's events to send the
// window events, and to route Return, Escape and the close box to the window's buttons.
#pragma once

#include "HIEventTarget.h"
#include "MacWindowsFunctions.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <memory>
#include <vector>

class QAbstractButton;
class QEventLoop;

class HIWindow : public QObject
{
public:
    // Makes topLevel a toolkit window (owned: DisposeWindow deletes the widget).
    static HIWindow *create(QWidget *topLevel, WindowClass windowClass, bool owned);
    static HIWindow *find(WindowRef window);
    // The window object of a top-level widget, or null.
    static HIWindow *forWidget(const QWidget *topLevel);

    ~HIWindow() override;

    WindowRef ref() const;
    QWidget *widget() const { return m_widget; }
    HIEventTarget &target() { return *m_target; }
    // Forgets the window (its reference, target and handlers end at once) and deletes the
    // widget when owned; deferred to the event loop while Qt is delivering an event.
    void dispose();

    WindowClass windowClass() const { return m_class; }
    WindowAttributes attributes = 0;
    SInt16 kind = 0;
    void *refCon = nullptr;
    QString alternateTitle;
    bool updatePending = false;
    QPointer<QWidget> focus;
    QPointer<QAbstractButton> defaultButton;
    QPointer<QAbstractButton> cancelButton;

    // The buttons Return and Escape press: the ones set by the program, else the nib's
    // default push button and the push button whose command is Cancel.
    QAbstractButton *effectiveDefaultButton() const;
    QAbstractButton *effectiveCancelButton() const;

    // Application-modal loops running on this window, innermost last.
    void pushLoop(QEventLoop *loop);
    void popLoop(QEventLoop *loop);
    bool inModalLoop() const { return !m_loops.empty(); }
    // Ends the innermost loop not yet ending; false when there is none.
    bool quitLoop();

    // Widgets need a QApplication; without one the toolkit refuses to make windows.
    static bool haveWidgetApplication();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    HIWindow(QWidget *topLevel, WindowClass windowClass, bool owned);
    void unregister();
    void quitAllLoops();
    OSStatus sendWindowEvent(UInt32 kind, UInt32 attributes = 0, bool withAttributes = false);
    // The user asked to leave a modal window (close box, Escape): press its Cancel button, or
    // send it the Cancel command. The window stays; its program ends the loop.
    void requestCancel();
    bool handleClose(class QCloseEvent *event);
    bool handleKey(class QKeyEvent *event);
    void handleStateChange();

    struct Loop
    {
        QEventLoop *loop;
        bool quitting;
    };

    QWidget *m_widget;
    uintptr_t m_handle = 0;
    WindowClass m_class;
    bool m_owned;
    std::unique_ptr<HIEventTarget> m_target;
    std::vector<Loop> m_loops;
};
