#pragma once

#include <QList>
#include <QPoint>
#include <QRect>

// The work areas of the screens now attached.
QList<QRect> availableScreenAreas();

// Where a window whose frame would lie at Frame goes: at Frame's own place while
// enough of its title bar shows on one of Screens to take it with the mouse; else
// moved onto the screen nearest to it, as far inside as it fits.
QPoint placeWithTitleBarOnScreen(const QRect& Frame, const QList<QRect>& Screens);
