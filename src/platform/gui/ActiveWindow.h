#pragma once

#include <QWindow>

#include <memory>

// Tells which window of the desktop receives the keyboard's input.
class ActiveWindowQuery {
public:
    virtual ~ActiveWindowQuery() = default;
    // The active window's native id; 0 when no window is active or the desktop can't tell.
    virtual WId activeWindow() = 0;
};

// The desktop's answer (X11: the window manager's active window, else the input focus).
std::unique_ptr<ActiveWindowQuery> createSystemActiveWindowQuery();

// Whether Id names one of this program's own windows.
bool isOwnWindow(WId Id);
