// The Qt widgets behind toolkit references: for the host and tests only, never the panes.
#pragma once

#include "MacWindows.h"

class QWidget;

QWidget *VeltraControlWidget(ControlRef control);
QWidget *VeltraWindowWidget(WindowRef window);
// The control reference of a widget (created on first use); null for a null widget.
ControlRef VeltraControlForWidget(QWidget *widget);
// Adopts a top-level widget the host built as a toolkit window (not owned: DisposeWindow only
// forgets it). Its identified widgets become controls; its radio buttons stop grouping
// themselves (the program groups them).
WindowRef VeltraWindowForWidget(QWidget *topLevel);
