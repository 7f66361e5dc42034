// The passcode confirmation window: its nib window, its buttons and their answers.
#include "CAboutWindow.h"

#include "CAboutWndCancelButton.h"
#include "CAboutWndOKButton.h"
#include "CStaticTextControl.h"
#include "PrintTypeTables.h"

static ControlID passcodeaboutwndMSTCtrlID = {'pcms', 900};
static ControlID passcodeaboutwndOkCtrlID = {'pcob', 201};
static ControlID passcodeaboutwndCancelCtrlID = {'pccb', 200};
// OK returns these controls to their defaults: the job becomes an ordinary one.
static ControlID *aboutWndOkButtonDefaultArray[] = {&printTypeListCtrlID, nullptr};

CAboutWindow::CAboutWindow(CFStringRef nibFileName, CFStringRef windowName, CFBundleRef bundle)
    : CPopupWindowInPanel(nibFileName, windowName, bundle),
      message(std::make_unique<CStaticTextControl>(&passcodeaboutwndMSTCtrlID, nullptr, nullptr,
                                                   nullptr, nullptr, CFSTR("Message61"))),
      okButton(std::make_unique<CAboutWndOKButton>(
          &passcodeaboutwndOkCtrlID, CFSTR("PT Message OK Btn"), aboutWndOkButtonDefaultArray)),
      cancelButton(std::make_unique<CAboutWndCancelButton>(&passcodeaboutwndCancelCtrlID,
                                                           CFSTR("PT Message CANCEL Btn")))
{
    RunTimeAddNewControl(message.get());
    RunTimeAddNewControl(okButton.get());
    RunTimeAddNewControl(cancelButton.get());
}

CAboutWindow::~CAboutWindow() = default;
