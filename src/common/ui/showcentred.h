#pragma once

// Placing windows: every window fits the available area of its screen and is
// never placed partly off it, so a small till or a large scale factor keeps
// every command reachable.

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// The frame of a window whose frame is frameSize, centred on centre and kept
// inside available: shrunk to it, then moved in. The caller shrinks the window
// itself; a frame that still does not fit keeps its top-left corner (title
// bar, menu) on the area.
QRect FittedFrame(const QSize& frameSize, const QPoint& centre, const QRect& available);

// Shrinks window to the available area of its screen (of owner's screen when
// owner is visible) and moves it centred on owner, or on the screen without
// a visible owner, with its whole frame on the screen. Not shown here.
void FitOnScreen(QWidget* window, QWidget* owner);

// Sizes window to what it asks for, fits and places it as FitOnScreen does,
// shows and raises it.
void ShowCentred(QWidget* window, QWidget* owner);
