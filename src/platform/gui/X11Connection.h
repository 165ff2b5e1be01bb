#pragma once

struct xcb_connection_t;

// Qt's own connection to the X server; nullptr when the program does not run on X11
// (offscreen, Wayland), where the offscreen platform may still offer the interface.
xcb_connection_t* qtX11Connection();
