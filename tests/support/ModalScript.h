// Scripts the modal windows a test opens, the way a user would work them:
//
//   ModalScript script;
//   script.when("UserInput", {ModalScript::type(userIDField, "abc"),
//   ModalScript::click(okButton)});
//   ... code that runs RunAppModalLoopForWindow on the "UserInput" window ...
//
// Each time a modal loop starts, the next step of the queue must name its window (the .ui
// window name, or the widget's objectName for windows not made from a nib); its actions then
// run inside the loop, with real key and mouse events. A window that opens out of turn or with
// nothing left in the queue is a failure and its loop is ended at once; a window still in its
// loop after the timeout is a failure and its loop is ended, so a test cannot hang. Steps whose
// window never opened are failures when the script ends.
#pragma once

#include "HIToolbox/HIToolbox.h"

#include <QPoint>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <vector>

class QTimer;
class QWidget;

class ModalScript
{
public:
    using Action = std::function<void(WindowRef window)>;

    explicit ModalScript(std::chrono::milliseconds timeout = std::chrono::milliseconds(5000));
    // Reports, as test failures, every failure not taken and every step not run.
    ~ModalScript();
    ModalScript(const ModalScript &) = delete;
    ModalScript &operator=(const ModalScript &) = delete;

    // Queues a step: when the next modal window opens, it must be windowName; run actions.
    ModalScript &when(const QString &windowName, std::initializer_list<Action> actions);
    ModalScript &when(const QString &windowName, Action action);

    // Actions. Each fails the script (not the process) when its control is missing.
    // Types text into the field with one key press per character.
    static Action type(ControlID field, const QString &text);
    // One key press (with modifiers) on the control.
    static Action press(ControlID control, Qt::Key key,
                        Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // A left mouse click in the middle of the control.
    static Action click(ControlID control);
    // A left mouse click on the push button whose "command" property is command ('ok  ' for an
    // alert's OK button, which has no identity).
    static Action clickCommand(UInt32 command);
    // Chooses item (1-based) of a pop-up list with the keyboard (Home, then Down).
    static Action choose(ControlID list, int item);
    // The window's close box.
    static Action closeWindow();
    // Reads the alert's message into *text, then presses its OK.
    static Action readAlert(QString *text);

    // The widget of (signature, id) in window, or null.
    static QWidget *widget(WindowRef window, ControlID id);
    // Where a user clicks a control: the middle, or the box of a check box or radio button.
    static QPoint ClickPoint(const QWidget *widget);
    // The name a script knows a window by.
    static QString windowName(WindowRef window);
    // The message an alert shows ("<no message>" without one).
    static QString message(WindowRef alert);

    // Windows whose step ran, in order.
    QStringList windowsSeen() const { return m_seen; }
    // True when every queued step has run.
    bool finished() const { return m_steps.empty(); }
    // The failures so far and the steps not run (as failures); the script forgets them.
    QStringList takeFailures();

private:
    struct Step
    {
        QString windowName;
        std::vector<Action> actions;
    };

    static void loopStarted(WindowRef window, void *script);
    void onLoopStarted(WindowRef window);
    void armTimeout(WindowRef window, const QString &name);
    void fail(const QString &message);
    // The widget an action works on; a missing one fails the running script.
    static QWidget *target(WindowRef window, ControlID id, const char *action);

    std::chrono::milliseconds m_timeout;
    std::vector<Step> m_steps;
    QStringList m_seen;
    QStringList m_failures;
    std::map<WindowRef, std::unique_ptr<QTimer>> m_timers;
};
