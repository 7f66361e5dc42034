// The toolkit's object for one widget: its identity (signature, id), kind, event target, key
// filter, pop-up menu and the values Qt does not keep. It is a child QObject of the widget, so
// it lives exactly as long as the widget, and moves with it when the widget is re-parented.
#pragma once

#include "Controls.h"
#include "HIEventTarget.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <memory>
#include <vector>

class HIMenu;
class HIWindow;

enum class ControlKind
{
    Root,        // the top-level widget of a window
    UserPane,    // any other plain container
    GroupBox,    // QGroupBox
    PopupList,   // QComboBox
    CheckBox,    // QCheckBox
    RadioButton, // QRadioButton
    PushButton,  // QPushButton and other buttons
    EditText,    // QLineEdit
    StaticText,  // QLabel
};

class HIControl : public QObject
{
public:
    // The widget's object, created on first use; null for a null widget.
    static HIControl *forWidget(QWidget *widget);
    // The widget's object when it has one.
    static HIControl *existing(const QWidget *widget);
    static HIControl *find(ControlRef control);
    // The control with this identity in window (the top-level widget or one of its
    // descendants), or null.
    static HIControl *findByID(QWidget *window, const ControlID &id);
    // Gives every widget of window that carries an identity or a command its object, so lookups
    // by (signature, id) find it wherever it moves and its clicks send its command.
    static void registerIdentifiedWidgets(QWidget *window);

    ~HIControl() override;

    ControlRef ref() const;
    QWidget *widget() const { return m_widget; }
    ControlKind kind() const { return m_kind; }
    ControlID id() const { return m_id; }
    OSType command() const { return m_command; }
    HIEventTarget &target() { return *m_target; }
    // The window that holds the widget, when it is a toolkit window.
    HIWindow *owner() const;
    // The pop-up list's menu, created on first use; null for any other kind.
    HIMenu *menu();

    SInt32 value() const;
    void setValue(SInt32 value);
    SInt32 minimum() const;
    void setMinimum(SInt32 value);
    SInt32 maximum() const;
    void setMaximum(SInt32 value);
    bool canEmbed() const;

    // The title of kinds that show none (lists, fields, panes): kept for CopyControlTitle.
    QString storedTitle;

    ControlKeyFilterUPP keyFilter() const { return m_keyFilter; }
    void setKeyFilter(ControlKeyFilterUPP filter) { m_keyFilter = filter; }

    // The (signature) of a four-character property such as "ok  "; 0 when the text is not one.
    static OSType fourCharCode(const QVariant &property, bool *ok = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit HIControl(QWidget *widget);
    void readIdentity();
    void connectHits();
    // The control-hit event, then the button's command, as a click sends them.
    void sendHit();
    bool filterKey(class QKeyEvent *event);

    QWidget *m_widget;
    uintptr_t m_handle;
    ControlKind m_kind;
    ControlID m_id{0, 0};
    OSType m_command = 0;
    std::unique_ptr<HIEventTarget> m_target;
    std::unique_ptr<HIMenu> m_menu;
    ControlKeyFilterUPP m_keyFilter = nullptr;
    // Values of kinds whose widget keeps none (panes, group boxes, push buttons).
    SInt32 m_value = 0;
    SInt32 m_minimum = 0;
    SInt32 m_maximum = 0;
};
