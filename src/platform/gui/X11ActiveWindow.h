#pragma once

#include <cstdint>

#include "ActiveWindow.h"

struct xcb_connection_t;

// The active window as the window manager announces it in _NET_ACTIVE_WINDOW;
// where no manager runs, the window that holds the X input focus.
class X11ActiveWindowQuery : public ActiveWindowQuery {
public:
    X11ActiveWindowQuery();
    WId activeWindow() override;

private:
    bool managerRuns();

    xcb_connection_t* FConnection = nullptr;
    std::uint32_t FRoot = 0;
    std::uint32_t FSupportingCheck = 0; // the atoms, interned once
    std::uint32_t FActiveWindow = 0;
};
