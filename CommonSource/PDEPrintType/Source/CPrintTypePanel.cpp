// The print type pane: its controls, the hard-disk option, the checks at Print.
#include "CPrintTypePanel.h"

#include "AppResources.h"
#include "CAboutWindow.h"
#include "CGroupBoxCtrl.h"
#include "CInstallableControl.h"
#include "CPTListCtrl.h"
#include "CPTPWStaticTextEditControl.h"
#include "CPTRestoreButton.h"
#include "CPTTextEditCtrlExt.h"
#include "CPTTextEditCtrlExt1.h"
#include "CPTUITextEditCtrl.h"
#include "CPTVerStringSText.h"
#include "CPrintTypeWndHelpBtn.h"
#include "PPDQueries.h"
#include "PrintTypeTables.h"

namespace {

template <typename T> T *Added(CBasePrintPanel &panel, const std::unique_ptr<T> &control)
{
    panel.RunTimeAddNewControl(control.get());
    return control.get();
}

} // namespace

CPrintTypePanel::CPrintTypePanel()
{
    nibPaneID = ControlID{'joup', 1};
    nibFileName = GetPDENibFileName();
    nibWindowName = CFSTR("Window");
    panelValue = 270;

    // The order of creation is the order of every pass, of the summary and of validation.
    versionText = std::make_unique<CPTVerStringSText>(&versionstringSTextCtrlID);
    Added(*this, versionText);
    printTypeLabel = std::make_unique<CPTStaticTextEditControl>(
        &printtypeTextCtrlID, nullptr, nullptr, nullptr, nullptr, CFSTR("Print Type List"));
    Added(*this, printTypeLabel);
    documentNameTypeLabel = std::make_unique<CPTStaticTextEditControl>(
        &restoredocunameTextCtrlID, nullptr, nullptr, nullptr, nullptr,
        CFSTR("Retrieve Document Name List"));
    Added(*this, documentNameTypeLabel);
    printTypeList = std::make_unique<CPTListCtrl>(
        &printTypeListCtrlID, &printTypeListIniData, &printTypeConstrainInfoPtr,
        &printTypeListAccessInfo, printTypeValidateArray, CFSTR("PDE Menu Summary"),
        CFSTR("Print Type List"));
    Added(*this, printTypeList);
    userName = std::make_unique<CPTUITextEditCtrl>(
        &printTypeUserNameCtrlID, &printTypeUserNameIniData, nullptr, &printTypeUserNameFilterData,
        &printTypeUserNameAccessInfo, CFSTR("User ID"));
    Added(*this, userName);
    documentNameTypeList = std::make_unique<CPTListCtrl>(
        &documentNameListCtrlID, &documentNameListIniData, &documentNameListConstrainInfoPtr,
        &documentNameListAccessInfo, documentNameListValidateArray, CFSTR("Retrieve Document Name"),
        CFSTR("Retrieve Document Name List"));
    Added(*this, documentNameTypeList);
    documentName = std::make_unique<CPTTextEditCtrlExt1>(
        &documentNameCtrlID, &documentNameIniData, nullptr, &documentNameFilterData,
        &documentNameAccessInfo, CFSTR("Document Name"));
    Added(*this, documentName);
    passcode = std::make_unique<CPTTextEditCtrlExt>(
        &printTypePasswordCtrlID, kPPDMinimunDigitPasscode, &printTypePasswordIniData, nullptr,
        &printTypePasswordFilterData, &printTypePasswordAccessInfo, CFSTR("Password"));
    Added(*this, passcode);
    restoreButton =
        std::make_unique<CPTRestoreButton>(&restoreButtonCtrlID, CFSTR("Restore Button Title"));
    Added(*this, restoreButton);
    groupBox = std::make_unique<CGroupBoxCtrl>(&printTypeGroupBoxID,
                                               CFSTR("Print Type Group Control Title"));
    Added(*this, groupBox);
    userNameLabel = std::make_unique<CPTStaticTextEditControl>(&printTypeUserNameTextCtrlID,
                                                               nullptr, nullptr, nullptr, nullptr,
                                                               CFSTR("Print Type User Name Text"));
    Added(*this, userNameLabel);
    passcodeLabel = std::make_unique<CPTPWStaticTextEditControl>(
        &printTypePasswordTextCtrlID, kPPDMinimunDigitPasscode, nullptr, nullptr, nullptr, nullptr,
        CFSTR("Password Text"));
    Added(*this, passcodeLabel);
    documentNameLabel = std::make_unique<CPTStaticTextEditControl>(
        &documentNameTextCtrlID, nullptr, nullptr, nullptr, nullptr, CFSTR("Document Name Text"));
    Added(*this, documentNameLabel);
    helpButton =
        std::make_unique<CPrintTypeWndHelpBtn>(&helpButtonCtrlID, CFSTR("Help Button Title"));
    Added(*this, helpButton);

    hardDiskOption =
        std::make_unique<CInstallableControl>(kPPDHardDiskKey, &hardDiskOptionConstrainInfoPtr);
    RunTimeAddNewInstallableControl(hardDiskOption.get());
    aboutWindow = std::make_unique<CAboutWindow>(nibFileName, CFSTR("PCAbout"), GetAppBundleRef());
    RunTimeAddNewWindow(aboutWindow.get());
    printCommandState = kPrintCommandNotConfirmed;
}

CPrintTypePanel::~CPrintTypePanel() = default;

CFArrayRef CPrintTypePanel::GetPrinterSupporttedListRef()
{
    return nullptr;
}

int CPrintTypePanel::InitializeUserPane(unsigned long context, ControlRef userPane,
                                        CFBundleRef bundle, ppd_file_t *description)
{
    hasMinDigitOption = CheckPPDKeyIsExist(description, kPPDMinimunDigitPasscode);
    return CBasePrintPanel::InitializeUserPane(context, userPane, bundle, description);
}

bool CPrintTypePanel::SycValueFromUI()
{
    ForEachControl([](CBaseControl *c) {
        if (c->GetControlID())
            c->GetValueFromUI();
    });
    return false;
}

bool CPrintTypePanel::ValidateUserPane()
{
    SycValueFromUI();
    const CFIndex count = GetControlCount();
    for (CFIndex i = 0; i < count; ++i) {
        CBaseControl *control = GetControlAt(i);
        if (control && (!control->PreInvalidateData() || !control->InvalidateData()))
            return false;
    }
    return true;
}

bool CPrintTypePanel::OnClickPrintCommand()
{
    SycValueFromUI();
    const CFIndex count = GetControlCount();
    for (CFIndex i = 0; i < count; ++i) {
        CBaseControl *control = GetControlAt(i);
        if (control && !control->InvalidateDataOnPrintCommand())
            return printCommandState == kPrintCommandConfirmed;
    }
    printCommandState = kPrintCommandConfirmed;
    return true;
}
