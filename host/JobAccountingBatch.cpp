// The job accounting pane's batch driver: chooses the account mode, opens that mode's settings
// window with its button and fills it (login name or a typed user ID, password, input at print
// time) before OK, and answers the print-time input window; all with key presses and clicks,
// so the pane's key filters, checks and administrator restriction apply as they do for a user.
#include "BatchWidgets.h"

#include <HIToolbox/HIToolbox.h>
#include <HIToolbox/QtBridge.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace veltra {

namespace {

const PaneBatchOption kOptions[] = {
    {"account-mode", "shared|personal",
     "the job accounting pane's account mode: the shared (administrator) or personal settings"},
    {"account-user", "login|TEXT", "in that mode's settings: the login name, or the user ID TEXT"},
    {"account-password", "TEXT", "in that mode's settings: the password"},
    {"account-ask-at-print", "yes|no",
     "in that mode's settings: ask for a user ID and password at Print (yes) or not (no)"},
    {"input-user-id", "TEXT", "the user ID typed into the window that Print opens"},
    {"input-password", "TEXT", "the password typed into the window that Print opens"},
    {"input-cancel", nullptr, "cancel the window that Print opens (nothing is printed)"},
    {nullptr, nullptr, nullptr},
};

constexpr ControlID kModeList = {'jals', 101};
constexpr ControlID kSettingsButton = {'jibt', 102};
constexpr ControlID kAlertMessage = {'mste', 600};
constexpr ControlID kInputOK = {'aiob', 601};
constexpr ControlID kInputCancel = {'aicb', 602};
constexpr ControlID kInputUserID = {'uitt', 504};
constexpr ControlID kInputPassword = {'uptt', 506};

// A settings window's controls; the shared settings' ids are 1000 higher.
ControlID SettingsControl(const QString &windowName, OSType signature, SInt32 id)
{
    return {signature, windowName == QLatin1String("AuthenticationAdmin") ? id + 1000 : id};
}

// The text of the last alert the pane showed, and what went wrong in a settings window, so a
// refusal can be reported with it.
std::string &LastAlert()
{
    static std::string text;
    return text;
}
std::string &SettingsError()
{
    static std::string text;
    return text;
}

// Steps through the list with the arrow keys; false when the list refuses or is inactive.
bool Choose(QComboBox *list, int index, const char *what, const char *inactive, std::string *error)
{
    if (!list)
        return Fail(error, std::string("the pane has no ") + what + " list");
    if (list->currentIndex() == index)
        return true;
    if (!list->isEnabled())
        return Fail(error, std::string("the ") + what + inactive);
    while (list->currentIndex() != index) {
        const int before = list->currentIndex();
        Press(list, before < index ? Qt::Key_Down : Qt::Key_Up);
        if (list->currentIndex() == before)
            return Fail(error, std::string("the pane refused the change of ") + what);
    }
    return true;
}

// Empties the field and types text into it, one key press per character.
bool Type(QLineEdit *field, const std::string &wanted, const char *what, std::string *error)
{
    if (!field)
        return Fail(error, std::string("the pane has no ") + what + " field");
    if (!field->isEnabled())
        return Fail(error, std::string("the ") + what + " cannot be changed here");
    const QString text = QString::fromStdString(wanted);
    Press(field, Qt::Key_End);
    for (qsizetype i = field->text().size(); i > 0; --i)
        Press(field, Qt::Key_Backspace);
    for (const QChar character : text) {
        const int key = character.isLetterOrNumber() ? int(character.toUpper().unicode())
                                                     : int(Qt::Key_unknown);
        Press(field, key, QString(character));
    }
    if (field->text() != text)
        return Fail(error, std::string("the ") + what + " field refused some of \"" + wanted +
                               "\" and holds \"" + field->text().toStdString() + "\"");
    return true;
}

bool Click(QAbstractButton *button, const char *what, std::string *error)
{
    if (!button)
        return Fail(error, std::string("the pane has no ") + what);
    if (!button->isEnabled())
        return Fail(error, std::string("the ") + what + " cannot be changed here");
    LastAlert().clear();
    button->click();
    if (!LastAlert().empty())
        return Fail(error, LastAlert());
    return true;
}

bool SettingsRequested(const PaneBatchValues &values)
{
    return Value(values, "account-user") || Value(values, "account-password") ||
           Value(values, "account-ask-at-print");
}

// Fills the open settings window as asked; false with *error when a value is refused.
bool FillSettings(WindowRef window, const QString &name, const PaneBatchValues &values,
                  std::string *error)
{
    if (const std::string *user = Value(values, "account-user")) {
        const bool login = *user == "login";
        if (!Choose(Find<QComboBox>(window, SettingsControl(name, 'uilc', 301)), login ? 0 : 1,
                    "user name choice", " cannot be changed here", error))
            return false;
        if (!login && !Type(Find<QLineEdit>(window, SettingsControl(name, 'uitt', 302)), *user,
                            "user ID", error))
            return false;
    }
    if (const std::string *password = Value(values, "account-password")) {
        if (!Type(Find<QLineEdit>(window, SettingsControl(name, 'uptt', 303)), *password,
                  "password", error))
            return false;
    }
    if (const std::string *ask = Value(values, "account-ask-at-print")) {
        const bool yes = *ask == "yes";
        auto *radio = Find<QRadioButton>(window, yes ? SettingsControl(name, 'jirb', 402)
                                                     : SettingsControl(name, 'jarb', 401));
        if (radio && !radio->isChecked() && !Click(radio, "choice of input at print time", error))
            return false;
    }
    return Click(Find<QPushButton>(window, SettingsControl(name, 'aiob', 211)), "OK button", error);
}

bool fill(WindowRef dialog, QWidget *, const PaneBatchValues &values, std::string *error)
{
    if (const std::string *ask = Value(values, "account-ask-at-print")) {
        if (*ask != "yes" && *ask != "no")
            return Fail(error, "--account-ask-at-print takes yes or no, not \"" + *ask + "\"");
    }
    if (Value(values, "input-cancel") &&
        (Value(values, "input-user-id") || Value(values, "input-password")))
        return Fail(error, "--input-cancel cannot go with --input-user-id or --input-password");
    if (const std::string *mode = Value(values, "account-mode")) {
        if (*mode != "shared" && *mode != "personal")
            return Fail(error, "--account-mode takes shared or personal, not \"" + *mode + "\"");
        if (!Choose(Find<QComboBox>(dialog, kModeList), *mode == "shared" ? 0 : 1, "account mode",
                    " can only be changed by a member of the administrators group", error))
            return false;
    }
    if (!SettingsRequested(values))
        return true;
    auto *button = Find<QPushButton>(dialog, kSettingsButton);
    if (!button)
        return Fail(error, "the pane has no settings button");
    SettingsError().clear();
    button->click();
    if (!SettingsError().empty())
        return Fail(error, SettingsError());
    return true;
}

bool answer(WindowRef window, const QString &windowName, const PaneBatchValues &values)
{
    if (windowName == QLatin1String("About")) {
        // The host reports the alert and presses its OK; the text explains a refusal.
        if (auto *message = Find<QLabel>(window, kAlertMessage))
            LastAlert() = message->text().toStdString();
        return false;
    }
    if (windowName == QLatin1String("Authentication") ||
        windowName == QLatin1String("AuthenticationAdmin")) {
        std::string error;
        if (!FillSettings(window, windowName, values, &error)) {
            SettingsError() = error.empty() ? "the settings window refused a value" : error;
            if (auto *cancel = Find<QPushButton>(window, SettingsControl(windowName, 'aicb', 212)))
                cancel->click();
            else
                QuitAppModalLoopForWindow(window);
        }
        return true;
    }
    if (windowName != QLatin1String("UserInput"))
        return false;
    std::string error;
    bool confirmed = !Value(values, "input-cancel");
    if (confirmed) {
        if (const std::string *user = Value(values, "input-user-id"))
            confirmed = Type(Find<QLineEdit>(window, kInputUserID), *user, "user ID", &error);
        if (const std::string *password = Value(values, "input-password"); confirmed && password)
            confirmed =
                Type(Find<QLineEdit>(window, kInputPassword), *password, "password", &error);
        // A refused OK has shown its message; the window is then cancelled.
        confirmed = confirmed && Click(Find<QPushButton>(window, kInputOK), "OK button", &error);
    }
    if (!confirmed) {
        if (auto *cancel = Find<QPushButton>(window, kInputCancel))
            cancel->click();
        else
            QuitAppModalLoopForWindow(window);
    }
    return true;
}

} // namespace

extern const PaneBatchDriver kJobAccountingBatchDriver = {"com.veltra.kzu.pde.JBAKind", kOptions,
                                                          fill, answer};

} // namespace veltra
