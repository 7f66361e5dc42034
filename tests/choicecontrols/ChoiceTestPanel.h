// A small panel over the test window ChoiceControls.nib/<name>.ui: controls are added to it,
// bound to the window's widgets and given the panel's click handler, as a pane does after
// loading its interface file. Clicks reach UIEventHandler and then GetValueFromUI.
#pragma once

#include "CBasePrintPanel.h"
#include "PaneFixture.h"
#include "UiTestWindow.h"

#include <HIToolbox/QtBridge.h>
#include <PrintCore/PrintHost.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

// The widgets of ChoiceWindow.ui.
inline ControlID jobListID = {'clst', 1};
inline ControlID emptyListID = {'clst', 2};
inline ControlID shortTableListID = {'clst', 3};
inline ControlID firstCheckID = {'cchk', 1};
inline ControlID secondCheckID = {'cchk', 2};
inline ControlID radioAID = {'crad', 1};
inline ControlID radioBID = {'crad', 2};
inline ControlID target1ID = {'ctgt', 1};
inline ControlID target2ID = {'ctgt', 2};
inline ControlID target3ID = {'ctgt', 3};
inline ControlID target4ID = {'ctgt', 4};
inline ControlID *target1List[] = {&target1ID, nullptr};
inline ControlID *target2List[] = {&target2ID, nullptr};
inline ControlID *target3List[] = {&target3ID, nullptr};

using TestWindow = UiTestWindow;

// What happened to a control, in order: "target1 disable", "target2 enable", "radioA update".
using EventLog = std::vector<std::string>;

// A plain control over a widget of the window that records the requests it receives.
class CRecordingControl : public CBaseControl
{
public:
    CRecordingControl(ControlID *id, std::string name, EventLog *log)
        : name(std::move(name)), log(log)
    {
        controlID = id;
    }
    void Enable() override
    {
        Record("enable");
        CBaseControl::Enable();
    }
    void Disable() override
    {
        Record("disable");
        CBaseControl::Disable();
    }
    void Show() override
    {
        Record("show");
        CBaseControl::Show();
    }
    void Hide() override
    {
        Record("hide");
        CBaseControl::Hide();
    }
    int Update() override
    {
        Record("update");
        return 0;
    }

private:
    void Record(const char *what) { log->push_back(name + " " + what); }

    std::string name;
    EventLog *log;
};

using ChoiceTestPanel = TestPanel;

// A session whose current printer the preference keys start with, the test window, a panel
// bound to it and three recording targets (target1..3) added first to the panel.
struct ChoiceScene
{
    ChoiceScene() { EXPECT_TRUE(panel.SetCurrentPrinterString(session.ref())); }

    // Binds the panel's controls to the window and runs a load sync; the log starts empty.
    void BindAndLoad()
    {
        panel.bind(window.window);
        panel.load();
        log.clear();
    }
    QWidget *Widget(const char *name) const { return window.Find<QWidget>(name); }

    veltra::PrintSession session{"Veltra_Test_Printer", veltra::PPDFile()};
    EventLog log;
    ChoiceTestPanel panel;
    CRecordingControl *target1 = panel.add(new CRecordingControl(&target1ID, "target1", &log));
    CRecordingControl *target2 = panel.add(new CRecordingControl(&target2ID, "target2", &log));
    CRecordingControl *target3 = panel.add(new CRecordingControl(&target3ID, "target3", &log));
    // Declared after the panel: the widgets go before the controls their handlers name.
    TestWindow window{"ChoiceWindow"};
};

// Clicks a check box or radio button with the mouse on its box and title (a click beside the
// title, in the empty rest of a wide button, does nothing).
inline void ClickButton(QAbstractButton *button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const bool radio = qobject_cast<QRadioButton *>(button) != nullptr;
    const QRect area = button->style()->subElementRect(
        radio ? QStyle::SE_RadioButtonClickRect : QStyle::SE_CheckBoxClickRect, &option, button);
    QTest::mouseClick(button, Qt::LeftButton, {}, area.center());
}

// Chooses item value (1-based) of a pop-up list the way a user does with the keyboard.
inline void ChooseListItem(QComboBox *combo, int value)
{
    while (combo->currentIndex() + 1 < value)
        QTest::keyClick(combo, Qt::Key_Down);
    while (combo->currentIndex() + 1 > value)
        QTest::keyClick(combo, Qt::Key_Up);
}

// Opens the list's pop-up and clicks item value (1-based) with the mouse.
inline void ClickListItem(QComboBox *combo, int value)
{
    combo->showPopup();
    QAbstractItemView *view = combo->view();
    (void)QTest::qWaitForWindowExposed(view->window());
    const QModelIndex index = view->model()->index(value - 1, combo->modelColumn());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
    QApplication::processEvents();
}
