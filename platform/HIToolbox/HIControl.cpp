// Controls: a widget's identity, kind, target and key filter, and their lookup.
#include "HIControl.h"

#include "CallbackScope.h"
#include "HIEvent.h"
#include "HIMenu.h"
#include "HIWindow.h"
#include "HandleTable.h"
#include "KeyFilter.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <algorithm>
#include <unordered_map>

namespace {

// Dynamic properties a .ui file gives a widget.
constexpr char kSignatureProperty[] = "controlSignature";
constexpr char kIDProperty[] = "controlID";
constexpr char kCommandProperty[] = "command";

// The registries are never destroyed: widgets may be deleted after static destruction at exit.
HandleTable<HIControl> &controls()
{
    static auto *table = new HandleTable<HIControl>;
    return *table;
}

std::unordered_map<const QWidget *, HIControl *> &controlsByWidget()
{
    static auto *map = new std::unordered_map<const QWidget *, HIControl *>;
    return *map;
}

// Identified controls by (signature, id), in the order they were made.
std::unordered_map<UInt64, std::vector<HIControl *>> &controlsByID()
{
    static auto *map = new std::unordered_map<UInt64, std::vector<HIControl *>>;
    return *map;
}

UInt64 IdentityKey(const ControlID &id)
{
    return (UInt64(id.signature) << 32) | UInt32(id.id);
}

ControlKind KindOf(const QWidget *widget)
{
    if (widget->isWindow())
        return ControlKind::Root;
    if (qobject_cast<const QComboBox *>(widget))
        return ControlKind::PopupList;
    if (qobject_cast<const QCheckBox *>(widget))
        return ControlKind::CheckBox;
    if (qobject_cast<const QRadioButton *>(widget))
        return ControlKind::RadioButton;
    if (qobject_cast<const QAbstractButton *>(widget))
        return ControlKind::PushButton;
    if (qobject_cast<const QLineEdit *>(widget))
        return ControlKind::EditText;
    if (qobject_cast<const QLabel *>(widget))
        return ControlKind::StaticText;
    if (qobject_cast<const QGroupBox *>(widget))
        return ControlKind::GroupBox;
    return ControlKind::UserPane;
}

SInt32 Clamp(SInt32 value, SInt32 minimum, SInt32 maximum)
{
    return std::max(minimum, std::min(value, std::max(minimum, maximum)));
}

} // namespace

HIControl::HIControl(QWidget *widget)
    : QObject(widget), m_widget(widget), m_handle(controls().add(this)), m_kind(KindOf(widget))
{
    controlsByWidget()[widget] = this;
    // A command a control's handlers leave alone goes on to its window, then the application.
    m_target = std::make_unique<HIEventTarget>([this]() -> HIEventTarget * {
        HIWindow *window = owner();
        return window ? &window->target() : HIEventTarget::application();
    });
    switch (m_kind) {
    case ControlKind::PopupList:
        m_minimum = 1;
        break;
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
        m_maximum = 1;
        break;
    default:
        break;
    }
    readIdentity();
    connectHits();
    if (m_kind == ControlKind::EditText)
        widget->installEventFilter(this);
}

HIControl::~HIControl()
{
    if (m_id.signature != 0) {
        auto &byID = controlsByID();
        const auto it = byID.find(IdentityKey(m_id));
        if (it != byID.end()) {
            std::erase(it->second, this);
            if (it->second.empty())
                byID.erase(it);
        }
    }
    controlsByWidget().erase(m_widget);
    controls().remove(m_handle);
}

HIControl *HIControl::forWidget(QWidget *widget)
{
    if (!widget)
        return nullptr;
    if (HIControl *control = existing(widget))
        return control;
    // Owned by the widget (its QObject parent).
    return new HIControl(widget);
}

HIControl *HIControl::existing(const QWidget *widget)
{
    const auto &map = controlsByWidget();
    const auto it = map.find(widget);
    return it == map.end() ? nullptr : it->second;
}

HIControl *HIControl::find(ControlRef control)
{
    return controls().find(control);
}

ControlRef HIControl::ref() const
{
    return HandleAsRef<ControlRef>(m_handle);
}

HIWindow *HIControl::owner() const
{
    return HIWindow::forWidget(m_widget->window());
}

OSType HIControl::fourCharCode(const QVariant &property, bool *ok)
{
    if (ok)
        *ok = false;
    const QString text = property.toString();
    if (text.isEmpty() || text.size() > 4)
        return 0;
    OSType code = 0;
    for (int i = 0; i < 4; ++i) {
        // Designer tools trim trailing spaces ("ok  " saved as "ok"): pad them back.
        const char16_t unit = i < text.size() ? text.at(i).unicode() : u' ';
        if (unit > 0xFF)
            return 0;
        code = (code << 8) | unit;
    }
    if (ok)
        *ok = true;
    return code;
}

void HIControl::readIdentity()
{
    const QVariant signature = m_widget->property(kSignatureProperty);
    if (signature.isValid()) {
        bool ok = false;
        const OSType code = fourCharCode(signature, &ok);
        bool idOK = true;
        const QVariant id = m_widget->property(kIDProperty);
        const SInt32 number = id.isValid() ? id.toInt(&idOK) : 0;
        if (ok && idOK) {
            m_id = ControlID{code, number};
            controlsByID()[IdentityKey(m_id)].push_back(this);
        } else {
            qWarning("Widget \"%s\": controlSignature \"%s\" / controlID \"%s\" is no control "
                     "identity (four characters and a number); the widget cannot be looked up",
                     qUtf8Printable(m_widget->objectName()), qUtf8Printable(signature.toString()),
                     qUtf8Printable(id.toString()));
        }
    }
    const QVariant command = m_widget->property(kCommandProperty);
    if (command.isValid()) {
        bool ok = false;
        m_command = fourCharCode(command, &ok);
        if (!ok)
            qWarning("Widget \"%s\": command \"%s\" is not a four-character code; ignored",
                     qUtf8Printable(m_widget->objectName()), qUtf8Printable(command.toString()));
    }
}

void HIControl::registerIdentifiedWidgets(QWidget *window)
{
    if (!window)
        return;
    const auto widgets = window->findChildren<QWidget *>();
    for (QWidget *widget : widgets) {
        // A button with a command needs no identity to send it.
        if (widget->property(kSignatureProperty).isValid() ||
            widget->property(kCommandProperty).isValid())
            forWidget(widget);
    }
}

HIControl *HIControl::findByID(QWidget *window, const ControlID &id)
{
    if (!window)
        return nullptr;
    const auto isInWindow = [window](const QWidget *widget) {
        return widget == window || window->isAncestorOf(widget);
    };
    const auto &byID = controlsByID();
    if (const auto it = byID.find(IdentityKey(id)); it != byID.end()) {
        for (HIControl *control : it->second) {
            if (isInWindow(control->widget()))
                return control;
        }
    }
    // Widgets given an identity after their window was set up.
    const auto widgets = window->findChildren<QWidget *>();
    for (QWidget *widget : widgets) {
        if (existing(widget) || !widget->property(kSignatureProperty).isValid())
            continue;
        HIControl *control = forWidget(widget);
        if (control->id().signature == id.signature && control->id().id == id.id)
            return control;
    }
    return nullptr;
}

HIMenu *HIControl::menu()
{
    if (m_kind != ControlKind::PopupList)
        return nullptr;
    if (!m_menu)
        m_menu = std::make_unique<HIMenu>(static_cast<QComboBox *>(m_widget));
    return m_menu.get();
}

SInt32 HIControl::value() const
{
    switch (m_kind) {
    case ControlKind::PopupList:
        return static_cast<QComboBox *>(m_widget)->currentIndex() + 1;
    case ControlKind::CheckBox:
        switch (static_cast<QCheckBox *>(m_widget)->checkState()) {
        case Qt::Checked:
            return 1;
        case Qt::PartiallyChecked:
            return 2;
        default:
            return 0;
        }
    case ControlKind::RadioButton:
        return static_cast<QRadioButton *>(m_widget)->isChecked() ? 1 : 0;
    case ControlKind::EditText:
    case ControlKind::StaticText:
        return 0;
    default:
        return m_value;
    }
}

void HIControl::setValue(SInt32 value)
{
    switch (m_kind) {
    case ControlKind::PopupList: {
        auto *list = static_cast<QComboBox *>(m_widget);
        const SInt32 item = Clamp(value, m_minimum, list->count());
        list->setCurrentIndex(item >= 1 && item <= list->count() ? item - 1 : -1);
        break;
    }
    case ControlKind::CheckBox: {
        auto *box = static_cast<QCheckBox *>(m_widget);
        const SInt32 state = Clamp(value, m_minimum, m_maximum);
        if (state >= 2)
            box->setTristate(true);
        box->setCheckState(state == 0 ? Qt::Unchecked
                                      : (state == 1 ? Qt::Checked : Qt::PartiallyChecked));
        break;
    }
    case ControlKind::RadioButton:
        static_cast<QRadioButton *>(m_widget)->setChecked(Clamp(value, m_minimum, m_maximum) != 0);
        break;
    case ControlKind::EditText:
    case ControlKind::StaticText:
        break;
    default:
        m_value = Clamp(value, m_minimum, m_maximum);
        break;
    }
}

SInt32 HIControl::minimum() const
{
    if (m_kind == ControlKind::EditText || m_kind == ControlKind::StaticText)
        return 0;
    return m_minimum;
}

void HIControl::setMinimum(SInt32 value)
{
    if (m_kind == ControlKind::EditText || m_kind == ControlKind::StaticText)
        return;
    m_minimum = value;
}

SInt32 HIControl::maximum() const
{
    switch (m_kind) {
    case ControlKind::PopupList:
        return static_cast<QComboBox *>(m_widget)->count();
    case ControlKind::EditText:
    case ControlKind::StaticText:
        return 0;
    default:
        return m_maximum;
    }
}

void HIControl::setMaximum(SInt32 value)
{
    // A list's maximum is its item count; texts have no value.
    if (m_kind == ControlKind::PopupList || m_kind == ControlKind::EditText ||
        m_kind == ControlKind::StaticText)
        return;
    m_maximum = value;
}

bool HIControl::canEmbed() const
{
    return m_kind == ControlKind::Root || m_kind == ControlKind::UserPane ||
           m_kind == ControlKind::GroupBox;
}

void HIControl::connectHits()
{
    switch (m_kind) {
    case ControlKind::PopupList:
        // Also when the user chooses the item already chosen.
        connect(static_cast<QComboBox *>(m_widget), &QComboBox::activated, this,
                [this](int) { sendHit(); });
        break;
    case ControlKind::RadioButton: {
        auto *radio = static_cast<QRadioButton *>(m_widget);
        // Radio buttons the toolkit manages are grouped by the program, never by Qt.
        radio->setAutoExclusive(false);
        connect(radio, &QAbstractButton::clicked, this, [this, radio](bool checked) {
            // A click on a radio button that is on leaves it on.
            if (!checked)
                radio->setChecked(true);
            sendHit();
        });
        break;
    }
    case ControlKind::CheckBox:
    case ControlKind::PushButton:
        connect(static_cast<QAbstractButton *>(m_widget), &QAbstractButton::clicked, this,
                [this](bool) { sendHit(); });
        break;
    default:
        break;
    }
}

void HIControl::sendHit()
{
    CallbackScope scope;
    const ControlRef self = ref();
    {
        ScopedEvent hit(kEventClassControl, kEventControlHit);
        hit.set(kEventParamDirectObject, typeControlRef, self);
        m_target->send(hit.get());
    }
    if (!find(self) || m_command == 0)
        return;
    HICommand command{};
    command.commandID = m_command;
    ScopedEvent event(kEventClassCommand, kEventCommandProcess);
    event.set(kEventParamDirectObject, typeHICommand, command);
    HIWindow *window = owner();
    (window ? window->target() : *HIEventTarget::application()).send(event.get());
}

bool HIControl::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_widget && event->type() == QEvent::KeyPress)
        return filterKey(static_cast<QKeyEvent *>(event));
    return QObject::eventFilter(watched, event);
}

bool HIControl::filterKey(QKeyEvent *event)
{
    if (!m_keyFilter)
        return false;
    // Tab and Shift+Tab move the keyboard focus, as in every dialog: no field filters them.
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab)
        return false;
    // Return and Escape press the window's default and cancel buttons, not the field.
    if (HIWindow *window = owner()) {
        const int key = event->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && window->effectiveDefaultButton())
            return false;
        if (key == Qt::Key_Escape && (window->effectiveCancelButton() || window->inModalLoop()))
            return false;
    }
    LegacyKeystroke keystroke;
    if (!LegacyKeystrokeFromEvent(*event, &keystroke))
        return false;
    CallbackScope scope;
    const ControlKeyFilterUPP filter = m_keyFilter;
    const ControlRef self = ref();
    for (const SInt16 code : keystroke.charCodes) {
        SInt16 keyCode = keystroke.keyCode;
        SInt16 charCode = code;
        EventModifiers modifiers = keystroke.modifiers;
        if (filter(self, &keyCode, &charCode, &modifiers) == kControlKeyFilterBlockKey) {
            event->accept();
            return true;
        }
    }
    return false;
}
