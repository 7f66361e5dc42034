#include "ModalScript.h"

#include "HIToolbox/QtBridge.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// The script whose actions are running, so they can report failures.
ModalScript *currentScript = nullptr;

QString FourCharText(OSType c)
{
    const char text[4] = {char(c >> 24), char(c >> 16), char(c >> 8), char(c)};
    return QString::fromLatin1(text, 4);
}

// text with each %n replaced by the next argument.
template <typename... Args> QString Format(const char *text, const Args &...args)
{
    QString result = QString::fromUtf8(text);
    ((result = result.arg(args)), ...);
    return result;
}

} // namespace

QWidget *ModalScript::target(WindowRef window, ControlID id, const char *action)
{
    QWidget *found = widget(window, id);
    if (!found && currentScript)
        currentScript->fail(Format("%1: no control ('%2', %3) in \"%4\"", QString(action),
                                   FourCharText(id.signature), id.id, windowName(window)));
    return found;
}

QPoint ModalScript::ClickPoint(const QWidget *widget)
{
    // Check boxes and radio buttons take clicks on their box and title only: aim at the box.
    if (qobject_cast<const QAbstractButton *>(widget) && !qobject_cast<const QPushButton *>(widget))
        return QPoint(std::min(widget->width(), widget->height()) / 2, widget->height() / 2);
    return widget->rect().center();
}

ModalScript::ModalScript(std::chrono::milliseconds timeout) : m_timeout(timeout)
{
    if (currentScript)
        ADD_FAILURE() << "Only one ModalScript can run at a time";
    currentScript = this;
    VeltraSetModalLoopObserver(&ModalScript::loopStarted, this);
}

ModalScript::~ModalScript()
{
    VeltraSetModalLoopObserver(nullptr, nullptr);
    if (currentScript == this)
        currentScript = nullptr;
    for (const QString &failure : takeFailures())
        ADD_FAILURE() << failure.toStdString();
}

ModalScript &ModalScript::when(const QString &windowName, std::initializer_list<Action> actions)
{
    m_steps.push_back(Step{windowName, std::vector<Action>(actions)});
    return *this;
}

ModalScript &ModalScript::when(const QString &windowName, Action action)
{
    return when(windowName, {std::move(action)});
}

void ModalScript::fail(const QString &message)
{
    m_failures.append(message);
}

QStringList ModalScript::takeFailures()
{
    QStringList failures = std::move(m_failures);
    m_failures.clear();
    for (const Step &step : m_steps)
        failures.append(Format("The window \"%1\" never opened", step.windowName));
    m_steps.clear();
    return failures;
}

QString ModalScript::windowName(WindowRef window)
{
    const QWidget *widget = VeltraWindowWidget(window);
    const QVariant name = widget ? widget->property("nibWindowName") : QVariant();
    return name.isValid() ? name.toString() : widget ? widget->objectName() : QString();
}

QString ModalScript::message(WindowRef alert)
{
    auto *label = qobject_cast<QLabel *>(widget(alert, ControlID{'mste', 600}));
    return label ? label->text() : QStringLiteral("<no message>");
}

QWidget *ModalScript::widget(WindowRef window, ControlID id)
{
    ControlRef control = nullptr;
    return GetControlByID(window, &id, &control) == noErr ? VeltraControlWidget(control) : nullptr;
}

void ModalScript::loopStarted(WindowRef window, void *script)
{
    static_cast<ModalScript *>(script)->onLoopStarted(window);
}

// A window that opens again gets a new deadline; the one of its earlier loop lapses.
void ModalScript::armTimeout(WindowRef window, const QString &name)
{
    auto &timer = m_timers[window];
    if (!timer) {
        timer = std::make_unique<QTimer>();
        timer->setSingleShot(true);
    }
    timer->disconnect();
    QObject::connect(timer.get(), &QTimer::timeout, [this, window, name] {
        if (!VeltraIsInModalLoop(window))
            return;
        fail(Format("The window \"%1\" was still open after %2 ms; the script ended it", name,
                    qint64(m_timeout.count())));
        QuitAppModalLoopForWindow(window);
    });
    timer->start(m_timeout);
}

void ModalScript::onLoopStarted(WindowRef window)
{
    const QString name = windowName(window);
    armTimeout(window, name);
    if (m_steps.empty() || m_steps.front().windowName != name) {
        fail(m_steps.empty()
                 ? Format("The window \"%1\" opened, but the script expected no window", name)
                 : Format("The window \"%1\" opened where the script expected \"%2\"", name,
                          m_steps.front().windowName));
        if (!m_steps.empty())
            m_steps.erase(m_steps.begin());
        QuitAppModalLoopForWindow(window);
        return;
    }
    Step step = std::move(m_steps.front());
    m_steps.erase(m_steps.begin());
    m_seen.append(name);
    for (const Action &action : step.actions)
        action(window);
}

ModalScript::Action ModalScript::type(ControlID field, const QString &text)
{
    return [field, text](WindowRef window) {
        QWidget *target = ModalScript::target(window, field, "type");
        for (const QChar c : target ? text : QString()) {
            // Qt names keys after upper-case characters.
            const Qt::Key key = c == u' ' ? Qt::Key_Space : Qt::Key(c.toUpper().unicode());
            QTest::sendKeyEvent(QTest::Click, target, key, QString(c),
                                c.isUpper() ? Qt::ShiftModifier : Qt::NoModifier);
        }
    };
}

ModalScript::Action ModalScript::press(ControlID control, Qt::Key key,
                                       Qt::KeyboardModifiers modifiers)
{
    return [control, key, modifiers](WindowRef window) {
        if (QWidget *target = ModalScript::target(window, control, "press"))
            QTest::keyClick(target, key, modifiers);
    };
}

ModalScript::Action ModalScript::click(ControlID control)
{
    return [control](WindowRef window) {
        if (QWidget *target = ModalScript::target(window, control, "click"))
            QTest::mouseClick(target, Qt::LeftButton, {}, ClickPoint(target));
    };
}

ModalScript::Action ModalScript::clickCommand(UInt32 command)
{
    return [command](WindowRef window) {
        QWidget *top = VeltraWindowWidget(window);
        for (QPushButton *button :
             top ? top->findChildren<QPushButton *>() : QList<QPushButton *>()) {
            const QString code = button->property("command").toString();
            if (!code.isEmpty() && code.leftJustified(4, u' ') == FourCharText(command))
                return QTest::mouseClick(button, Qt::LeftButton, {}, ClickPoint(button));
        }
        if (currentScript)
            currentScript->fail(Format("clickCommand: no button with command '%1' in \"%2\"",
                                       FourCharText(command), windowName(window)));
    };
}

ModalScript::Action ModalScript::choose(ControlID list, int item)
{
    return [list, item](WindowRef window) {
        auto *target = qobject_cast<QComboBox *>(ModalScript::target(window, list, "choose"));
        if (!target || item < 1 || item > target->count()) {
            if (currentScript)
                currentScript->fail(
                    Format("choose: no item %1 in \"%2\"", item, windowName(window)));
            return;
        }
        // The keyboard chooses only what changes the list: the item shown steps away and back.
        if (target->currentIndex() == item - 1) {
            const bool down = item < target->count();
            QTest::keyClick(target, down ? Qt::Key_Down : Qt::Key_Up);
            return QTest::keyClick(target, down ? Qt::Key_Up : Qt::Key_Down);
        }
        QTest::keyClick(target, Qt::Key_Home);
        for (int i = 1; i < item; ++i)
            QTest::keyClick(target, Qt::Key_Down);
    };
}

ModalScript::Action ModalScript::closeWindow()
{
    return [](WindowRef window) {
        if (QWidget *target = VeltraWindowWidget(window))
            target->close();
    };
}

ModalScript::Action ModalScript::readAlert(QString *text)
{
    return [text](WindowRef window) {
        *text = message(window);
        clickCommand(kHICommandOK)(window);
    };
}
