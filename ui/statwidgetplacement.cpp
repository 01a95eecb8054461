#include "statwidgetplacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace StatWidgetPlacement {

bool isOnScreen(const QPoint &pos, const QRect &availableGeometry)
{
    return availableGeometry.contains(QRect(pos, QSize(Width, Height)));
}

QPoint defaultPosition(const QRect &availableGeometry)
{
    // Measured from the available area, not the whole screen: wherever the taskbar sits, the
    // area's bottom-right corner is clear of it, and on a second screen the area's origin is
    // not (0, 0).
    const int x = qMax(availableGeometry.left(),
                       availableGeometry.left() + availableGeometry.width() - Width - Margin);
    const int y = qMax(availableGeometry.top(),
                       availableGeometry.top() + availableGeometry.height() - Height - Margin);
    return QPoint(x, y);
}

QPoint position(const QPoint &savedPos, const QRect &availableGeometry)
{
    return isOnScreen(savedPos, availableGeometry) ? savedPos : defaultPosition(availableGeometry);
}

QPoint positionNear(const QPoint &savedPos, const QWidget *reference)
{
    QScreen *screen = reference ? reference->screen() : nullptr;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return savedPos;
    return position(savedPos, screen->availableGeometry());
}

} // namespace StatWidgetPlacement
