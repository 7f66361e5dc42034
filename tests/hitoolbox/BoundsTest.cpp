// Window-local 16-bit bounds and moving a pane into another window.
#include "ToolboxFixtures.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>

// Found by argument lookup (Rect is a global type), so outside the anonymous namespace.
static bool operator==(const Rect &a, const Rect &b)
{
    return a.top == b.top && a.left == b.left && a.bottom == b.bottom && a.right == b.right;
}

static std::ostream &operator<<(std::ostream &out, const Rect &r)
{
    return out << "(" << r.top << ", " << r.left << ", " << r.bottom << ", " << r.right << ")";
}

namespace {

Rect BoundsOf(ControlRef control)
{
    Rect r{-1, -1, -1, -1};
    GetControlBounds(control, &r);
    return r;
}

} // namespace

TEST(ControlBounds, BoundsAreInTheWindowsCoordinates)
{
    NibWindow window("Window");
    ASSERT_EQ(window.status(), noErr);
    ControlRef root = nullptr;
    ASSERT_EQ(GetRootControl(window, &root), noErr);
    const struct
    {
        ControlRef control;
        Rect expected;
    } cases[] = {
        // The pane lies at (10, 20) in the window; its widgets are placed inside it.
        {window.control('test', 1), Rect{20, 10, 300, 390}},
        {window.control('tpop', 1), Rect{30, 20, 54, 170}},
        {window.control('tedt', 1), Rect{168, 20, 192, 220}},
        {root, Rect{0, 0, 320, 420}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(BoundsOf(c.control), c.expected);
    // A field laid out by its group box has real bounds before the window is ever shown.
    const Rect laidOut = BoundsOf(window.control('tedt', 2));
    EXPECT_GT(laidOut.right - laidOut.left, 20);
    EXPECT_GT(laidOut.top, 60);
    EXPECT_EQ(GetControlBounds(window.control('tedt', 1), nullptr), nullptr);
}

TEST(ControlBounds, SetBoundsRoundTrips)
{
    NibWindow window("Window");
    ASSERT_EQ(window.status(), noErr);
    ControlRef field = window.control('tedt', 1);
    const Rect wanted{100, 50, 130, 250};
    SetControlBounds(field, &wanted);
    EXPECT_EQ(BoundsOf(field), wanted);
    // Relative to its parent the pane's offset is taken off.
    EXPECT_EQ(VeltraControlWidget(field)->geometry(), QRect(40, 80, 200, 30));
}

TEST(ControlBounds, WidgetInALayoutKeepsTheSizeAskedFor)
{
    NibWindow window("Window");
    ASSERT_EQ(window.status(), noErr);
    ControlRef field = window.control('tedt', 2);
    Rect wanted = BoundsOf(field);
    wanted.bottom = SInt16(wanted.top + 60);
    SetControlBounds(field, &wanted);
    auto *edit = window.widgetOf<QLineEdit>('tedt', 2);
    EXPECT_EQ(edit->minimumHeight(), 60);
    ShowWindow(window);
    QCoreApplication::processEvents();
    EXPECT_GE(edit->height(), 60) << "the layout grew the field";
}

TEST(ControlBounds, CoordinatesBeyond16BitsAreClamped)
{
    NibWindow window("Window");
    ASSERT_EQ(window.status(), noErr);
    ControlRef pane = window.control('tinr', 1);
    VeltraControlWidget(pane)->move(40000, -40000);
    const Rect r = BoundsOf(pane);
    EXPECT_EQ(r.left, 32767);
    EXPECT_EQ(r.top, -32768);
}

TEST(EmbedControl, PaneMovesIntoTheDialogKeepingItsWindowLocalBounds)
{
    NibWindow nib("Window");
    ASSERT_EQ(nib.status(), noErr);

    // The host's print dialog: a window with a user pane at (30, 40).
    QWidget dialog;
    dialog.resize(600, 500);
    auto *userPaneWidget = new QWidget(&dialog);
    userPaneWidget->setGeometry(30, 40, 500, 400);
    WindowRef dialogWindow = VeltraWindowForWidget(&dialog);
    ASSERT_NE(dialogWindow, nullptr);
    ControlRef userPane = VeltraControlForWidget(userPaneWidget);

    ControlRef pane = nib.control('test', 1);
    // What a panel does: place the pane inside the user pane's area, then embed it.
    const Rect placed{50, 60, 330, 440};
    SetControlBounds(pane, &placed);
    ASSERT_EQ(EmbedControl(pane, userPane), noErr);
    EXPECT_EQ(VeltraControlWidget(pane)->parentWidget(), userPaneWidget);
    EXPECT_EQ(BoundsOf(pane), placed);
    EXPECT_EQ(VeltraControlWidget(pane)->pos(), QPoint(30, 10));
    EXPECT_EQ(GetControlOwner(pane), dialogWindow);
    EXPECT_TRUE(IsControlVisible(pane));

    // The nib window goes; the pane and its controls live on in the dialog.
    DisposeWindow(nib);
    const ControlID fieldID{'tedt', 1};
    ControlRef field = nullptr;
    ASSERT_EQ(GetControlByID(dialogWindow, &fieldID, &field), noErr);
    EXPECT_EQ(GetControlOwner(field), dialogWindow);
    EXPECT_EQ(BoundsOf(field), (Rect{SInt16(placed.top + 148), SInt16(placed.left + 10),
                                     SInt16(placed.top + 172), SInt16(placed.left + 210)}));
    DisposeWindow(dialogWindow);
    EXPECT_TRUE(dialog.isWindow()) << "an adopted window is only forgotten";
}

TEST(EmbedControl, OnlyContainersTakeControls)
{
    NibWindow window("Window");
    ASSERT_EQ(window.status(), noErr);
    ControlRef field = window.control('tedt', 1);
    ControlRef pane = window.control('test', 1);
    ControlRef root = nullptr;
    GetRootControl(window, &root);
    EXPECT_EQ(EmbedControl(field, window.control('tbtn', 1)), errControlIsNotEmbedder);
    EXPECT_EQ(EmbedControl(pane, window.control('tinr', 1)), paramErr) << "into its own child";
    EXPECT_EQ(EmbedControl(window.control('tinr', 1), pane), noErr);
    EXPECT_EQ(EmbedControl(root, pane), paramErr);
    EXPECT_EQ(EmbedControl(field, window.control('tgrp', 1)), noErr);
    EXPECT_EQ(VeltraControlWidget(field)->parentWidget(),
              VeltraControlWidget(window.control('tgrp', 1)));
    EXPECT_EQ(EmbedControl(nullptr, pane), paramErr);
}
