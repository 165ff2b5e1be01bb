#pragma once

#include <QList>
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// The work areas of the screens now attached.
QList<QRect> availableScreenAreas();

// Where a window whose frame would lie at Frame goes: at Frame's own place while
// enough of its title bar shows on one of Screens to take it with the mouse; else
// moved onto the screen nearest to it, as far inside as it fits.
QPoint placeWithTitleBarOnScreen(const QRect& Frame, const QList<QRect>& Screens);

// Where a window of the program's own placing (no place saved) whose frame would lie
// at Frame goes: wholly onto the screen that its title bar shows on, or else the
// nearest one, as far as it fits there.
QPoint placeWhollyOnScreen(const QRect& Frame, const QList<QRect>& Screens);

// The frame of a window at TopLeft with a client area of Size inside a frame of Margins,
// made to fit the screen among Screens that its title bar shows on, or else the nearest
// one: a side longer than that screen's is cut to it and the window moved to that
// screen's edge along it. Values far beyond any screen (a hand-edited 2147483647) are
// first brought into range.
QRect fitFrameToScreen(const QPoint& TopLeft, const QSize& Size, const QList<QRect>& Screens,
                       const QMargins& Margins = {});

// How much of a window must show on a screen: enough of its title bar to take it with
// the mouse (a place the user chose), or all of it as far as it fits (the program's own).
enum class Showing { TitleBar, Whole };

// Gives Window a client area of Size (at least its minimum size) and puts its frame at
// TopLeft, fitted to the screens now attached as fitFrameToScreen says and placed as
// Shown asks. A window manager draws its frame only once the window is shown: the
// first time it has framed Window afterwards, Window is fitted and placed again with
// that frame, so that the frame too stays within the screen.
void placeWindowOnScreen(QWidget& Window, const QPoint& TopLeft, const QSize& Size, Showing Shown);
