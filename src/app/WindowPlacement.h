#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

// The work areas of the screens now attached.
QList<QRect> availableScreenAreas();

// Where a window whose frame would lie at Frame goes: at Frame's own place while
// enough of its title bar shows on one of Screens to take it with the mouse; else
// moved onto the screen nearest to it, as far inside as it fits.
QPoint placeWithTitleBarOnScreen(const QRect& Frame, const QList<QRect>& Screens);

// The frame of a window at TopLeft with Size made to fit the screen among Screens
// that its title bar shows on, or else the nearest one: a side longer than that
// screen's is cut to it and the window moved to that screen's edge along it. Values
// far beyond any screen (a hand-edited 2147483647) are first brought into range.
QRect fitFrameToScreen(const QPoint& TopLeft, const QSize& Size, const QList<QRect>& Screens);
