#pragma once

#include <cstdint>

// Asks the X server to send a held key as presses only, with one release when the
// key is let go ("detectable auto-repeat"). Without it the server sends each repeat
// as a release and a press, and a press that reaches the program late makes the pair
// look like a key let go and pressed again. False when the server refuses or the
// program does not run on X11.
bool requestDetectableAutoRepeat();

// Whether the keyboard holds the key of this X keycode down now; false off X11.
bool x11KeyIsDown(std::uint32_t Keycode);
