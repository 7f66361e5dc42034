// The print type pane's batch driver: chooses the job type and types the user name, passcode
// and document name with key presses, so the pane's key filters, checks and constraints apply
// as they do for a user; answers the short-passcode confirmation.
#include "BatchWidgets.h"

#include <HIToolbox/HIToolbox.h>
#include <HIToolbox/QtBridge.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace veltra {

namespace {

const PaneBatchOption kOptions[] = {
    {"print-type", "none|secure|sample", "the print type pane's job type"},
    {"user-name", "TEXT", "the user name of a secure or sample job"},
    {"passcode", "DIGITS", "the passcode of a secure job"},
    {"document-name", "auto|TEXT", "take the document name automatically, or type TEXT"},
    {"if-passcode-short", "ordinary|cancel",
     "when the passcode is too short at Print: print an ordinary job, or cancel (default)"},
    {nullptr, nullptr, nullptr},
};

constexpr ControlID kPrintTypeList = {'ssls', 202};
constexpr ControlID kUserNameField = {'spui', 204};
constexpr ControlID kDocumentNameList = {'dnls', 310};
constexpr ControlID kDocumentNameField = {'dnui', 210};
constexpr ControlID kPasscodeField = {'sppi', 206};
constexpr ControlID kAlertMessage = {'mste', 600};
constexpr ControlID kConfirmOK = {'pcob', 201};
constexpr ControlID kConfirmCancel = {'pccb', 200};

// The text of the last alert the pane showed, so a refusal can be reported with it.
std::string &LastAlert()
{
    static std::string text;
    return text;
}

// Steps through the list with the arrow keys; false when the pane refuses a step.
bool Choose(QComboBox *list, int index, const char *what, std::string *error)
{
    if (!list)
        return Fail(error, std::string("the pane has no ") + what + " list");
    if (!list->isEnabled() && list->currentIndex() != index)
        return Fail(error, std::string("the ") + what + " cannot be changed on this printer");
    LastAlert().clear();
    while (list->currentIndex() != index) {
        const int before = list->currentIndex();
        Press(list, before < index ? Qt::Key_Down : Qt::Key_Up);
        if (list->currentIndex() == before)
            return Fail(error, LastAlert().empty()
                                   ? std::string("the pane refused the change of ") + what
                                   : LastAlert());
    }
    return true;
}

// Empties the field and types text into it, one key press per character.
bool Type(QLineEdit *field, const std::string &wanted, const char *what, std::string *error)
{
    if (!field)
        return Fail(error, std::string("the pane has no ") + what + " field");
    if (!field->isEnabled())
        return Fail(error, std::string("the ") + what + " is not used by this print type");
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

bool fill(WindowRef dialog, QWidget *, const PaneBatchValues &values, std::string *error)
{
    if (const std::string *type = Value(values, "print-type")) {
        static const char *const kTypes[] = {"none", "secure", "sample"};
        int index = -1;
        for (int i = 0; i < 3; ++i) {
            if (*type == kTypes[i])
                index = i;
        }
        if (index < 0)
            return Fail(error, "--print-type takes none, secure or sample, not \"" + *type + "\"");
        if (!Choose(Find<QComboBox>(dialog, kPrintTypeList), index, "print type", error))
            return false;
    }
    if (const std::string *shortAnswer = Value(values, "if-passcode-short")) {
        if (*shortAnswer != "ordinary" && *shortAnswer != "cancel")
            return Fail(error, "--if-passcode-short takes ordinary or cancel, not \"" +
                                   *shortAnswer + "\"");
    }
    const std::string *documentName = Value(values, "document-name");
    if (documentName) {
        const int index = *documentName == "auto" ? 0 : 1;
        if (!Choose(Find<QComboBox>(dialog, kDocumentNameList), index, "document name type", error))
            return false;
    }
    if (const std::string *name = Value(values, "user-name")) {
        if (!Type(Find<QLineEdit>(dialog, kUserNameField), *name, "user name", error))
            return false;
    }
    if (const std::string *passcode = Value(values, "passcode")) {
        if (!Type(Find<QLineEdit>(dialog, kPasscodeField), *passcode, "passcode", error))
            return false;
    }
    if (documentName && *documentName != "auto") {
        if (!Type(Find<QLineEdit>(dialog, kDocumentNameField), *documentName, "document name",
                  error))
            return false;
    }
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
    if (windowName != QLatin1String("PCAbout"))
        return false;
    const std::string *choice = Value(values, "if-passcode-short");
    const bool ordinary = choice && *choice == "ordinary";
    auto *button = Find<QPushButton>(window, ordinary ? kConfirmOK : kConfirmCancel);
    if (!button)
        return false;
    button->click();
    return true;
}

} // namespace

extern const PaneBatchDriver kPrintTypeBatchDriver = {"com.veltra.kzu.pde.PrintTypeKind", kOptions,
                                                      fill, answer};

} // namespace veltra
