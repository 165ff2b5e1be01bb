#pragma once

#include <Qt>

#include <cstdint>

struct xcb_connection_t;

// Qt's own connection to the X server; nullptr when the program does not run on X11
// (offscreen, Wayland), where the offscreen platform may still offer the interface.
xcb_connection_t* qtX11Connection();

// The atom of Name; XCB_ATOM_NONE (0) when the server gives none.
std::uint32_t internAtom(xcb_connection_t* Connection, const char* Name);

// The keysym of a modifier (Ctrl, Shift, Alt), letter or digit key; 0 for any other key.
std::uint32_t keysymOf(Qt::Key Key);
