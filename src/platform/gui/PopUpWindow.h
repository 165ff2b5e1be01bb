#pragma once

#include <QRect>

class QWidget;

// What a pop-up window needs from the window system beyond Qt's window flags.

// Asks task bars and pagers to leave the window out, and to keep it above others
// (_NET_WM_STATE on X11). Call before each showing: a manager may drop the state
// of a window it withdrew. Does nothing on other platforms.
void keepOffTaskBar(QWidget* Window);

// Where the window's own area really is on the screen, as the window system has
// placed it (a manager may have refused a move); on other platforms Qt's own idea.
QRect realGeometry(const QWidget* Window);
