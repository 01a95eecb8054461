#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// Where the statistics window opens. The window is placed as if it were 250 x 200 pixels,
// whatever its form's size, so that a position saved by one build stays valid in the next.
namespace StatWidgetPlacement {

constexpr int Width = 250;
constexpr int Height = 200;
// Distance from the screen edges and from the taskbar.
constexpr int Margin = 30;

// True when the whole window at pos lies inside the available area of its screen (the screen
// without the taskbar). A position saved on a screen that has since shrunk or gone fails.
bool isOnScreen(const QPoint &pos, const QRect &availableGeometry);

// The bottom-right corner of the available area, Margin pixels from its edges: above a
// taskbar at the bottom, left of one at the right, and for a taskbar at the top or the left
// in the corner opposite it. Never above or left of the available area, even on a screen too
// small for the margins.
QPoint defaultPosition(const QRect &availableGeometry);

// The saved position when it is on screen, otherwise the default position.
QPoint position(const QPoint &savedPos, const QRect &availableGeometry);

// position() for the screen that shows reference (the main window); the primary screen when
// reference is null or not yet on a screen.
QPoint positionNear(const QPoint &savedPos, const QWidget *reference);

} // namespace StatWidgetPlacement
