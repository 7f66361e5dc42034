#include "ModalScript.h"

#include "HIToolbox/QtBridge.h"

#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// The script whose actions are running, so they can report failures.
ModalScript *&CurrentScript()
{
    static ModalScript *script = nullptr;
    return script;
}

QString FourCharText(OSType code)
{
    QString text;
    for (int shift = 24; shift >= 0; shift -= 8)
        text.append(QChar(char16_t((code >> shift) & 0xFF)));
    return text;
}

QString Describe(ControlID id)
{
    return QStringLiteral("('%1', %2)").arg(FourCharText(id.signature)).arg(id.id);
}

// The key a character is typed with (Qt names keys after upper-case characters).
Qt::Key KeyFor(QChar character)
{
    if (character == QLatin1Char(' '))
        return Qt::Key_Space;
    return Qt::Key(character.toUpper().unicode());
}

} // namespace

QPoint ModalScript::ClickPoint(const QWidget *widget)
{
    // Check boxes and radio buttons take clicks on their box and title only: aim at the box.
    if (qobject_cast<const QAbstractButton *>(widget) && !qobject_cast<const QPushButton *>(widget))
        return QPoint(std::min(widget->width(), widget->height()) / 2, widget->height() / 2);
    return widget->rect().center();
}

ModalScript::ModalScript(std::chrono::milliseconds timeout) : m_timeout(timeout)
{
    if (CurrentScript())
        ADD_FAILURE() << "Only one ModalScript can run at a time";
    CurrentScript() = this;
    VeltraSetModalLoopObserver(&ModalScript::loopStarted, this);
}

ModalScript::~ModalScript()
{
    VeltraSetModalLoopObserver(nullptr, nullptr);
    if (CurrentScript() == this)
        CurrentScript() = nullptr;
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

QStringList ModalScript::takeFailures()
{
    QStringList failures = std::move(m_failures);
    m_failures.clear();
    for (const Step &step : m_steps)
        failures.append(QStringLiteral("The window \"%1\" never opened").arg(step.windowName));
    m_steps.clear();
    return failures;
}

void ModalScript::fail(const QString &message)
{
    m_failures.append(message);
}

QString ModalScript::windowName(WindowRef window)
{
    const QWidget *widget = VeltraWindowWidget(window);
    if (!widget)
        return QString();
    const QVariant name = widget->property("nibWindowName");
    return name.isValid() ? name.toString() : widget->objectName();
}

QWidget *ModalScript::widget(WindowRef window, ControlID id)
{
    ControlRef control = nullptr;
    if (GetControlByID(window, &id, &control) != noErr)
        return nullptr;
    return VeltraControlWidget(control);
}

void ModalScript::loopStarted(WindowRef window, void *script)
{
    static_cast<ModalScript *>(script)->onLoopStarted(window);
}

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
        fail(QStringLiteral("The window \"%1\" was still open after %2 ms; the script ended it")
                 .arg(name)
                 .arg(m_timeout.count()));
        QuitAppModalLoopForWindow(window);
    });
    timer->start(m_timeout);
}

void ModalScript::onLoopStarted(WindowRef window)
{
    const QString name = windowName(window);
    armTimeout(window, name);
    if (m_steps.empty()) {
        fail(QStringLiteral("The window \"%1\" opened, but the script expected no window")
                 .arg(name));
        QuitAppModalLoopForWindow(window);
        return;
    }
    Step step = std::move(m_steps.front());
    m_steps.erase(m_steps.begin());
    if (step.windowName != name) {
        fail(QStringLiteral("The window \"%1\" opened where the script expected \"%2\"")
                 .arg(name, step.windowName));
        QuitAppModalLoopForWindow(window);
        return;
    }
    m_seen.append(name);
    for (const Action &action : step.actions)
        action(window);
}

ModalScript::Action ModalScript::type(ControlID field, const QString &text)
{
    return [field, text](WindowRef window) {
        QWidget *target = widget(window, field);
        if (!target) {
            if (CurrentScript())
                CurrentScript()->fail(QStringLiteral("type: no control %1 in \"%2\"")
                                          .arg(Describe(field), windowName(window)));
            return;
        }
        for (const QChar character : text) {
            const Qt::KeyboardModifiers modifiers =
                character.isUpper() ? Qt::ShiftModifier : Qt::NoModifier;
            QTest::sendKeyEvent(QTest::Click, target, KeyFor(character), QString(character),
                                modifiers);
        }
    };
}

ModalScript::Action ModalScript::press(ControlID control, Qt::Key key,
                                       Qt::KeyboardModifiers modifiers)
{
    return [control, key, modifiers](WindowRef window) {
        QWidget *target = widget(window, control);
        if (!target) {
            if (CurrentScript())
                CurrentScript()->fail(QStringLiteral("press: no control %1 in \"%2\"")
                                          .arg(Describe(control), windowName(window)));
            return;
        }
        QTest::keyClick(target, key, modifiers);
    };
}

ModalScript::Action ModalScript::click(ControlID control)
{
    return [control](WindowRef window) {
        QWidget *target = widget(window, control);
        if (!target) {
            if (CurrentScript())
                CurrentScript()->fail(QStringLiteral("click: no control %1 in \"%2\"")
                                          .arg(Describe(control), windowName(window)));
            return;
        }
        QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, ClickPoint(target));
    };
}

ModalScript::Action ModalScript::clickCommand(UInt32 command)
{
    return [command](WindowRef window) {
        QWidget *top = VeltraWindowWidget(window);
        const auto buttons = top ? top->findChildren<QPushButton *>() : QList<QPushButton *>();
        for (QPushButton *button : buttons) {
            QString code = button->property("command").toString();
            if (code.isEmpty())
                continue;
            code = code.leftJustified(4, QLatin1Char(' '));
            if (code == FourCharText(command)) {
                QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, ClickPoint(button));
                return;
            }
        }
        if (CurrentScript())
            CurrentScript()->fail(
                QStringLiteral("clickCommand: no button with command %1 in \"%2\"")
                    .arg(QStringLiteral("'%1'").arg(FourCharText(command)), windowName(window)));
    };
}

ModalScript::Action ModalScript::choose(ControlID list, int item)
{
    return [list, item](WindowRef window) {
        auto *target = qobject_cast<QComboBox *>(widget(window, list));
        if (!target || item < 1 || item > target->count()) {
            if (CurrentScript())
                CurrentScript()->fail(QStringLiteral("choose: no list %1 or item %2 in \"%3\"")
                                          .arg(Describe(list))
                                          .arg(item)
                                          .arg(windowName(window)));
            return;
        }
        // The keyboard chooses only what changes the list: choosing the item already shown
        // steps away and back.
        if (target->currentIndex() == item - 1) {
            const bool down = item < target->count();
            QTest::keyClick(target, down ? Qt::Key_Down : Qt::Key_Up);
            QTest::keyClick(target, down ? Qt::Key_Up : Qt::Key_Down);
            return;
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
