#pragma once

#include <cstdint>

// Asks the X server to send a held key as presses only, with one release when the
// key is let go ("detectable auto-repeat"), or, when not On, each repeat as a release
// and a press, whose press may reach the program late. True when the server does as
// asked; false when it refuses or the program does not run on X11.
bool setDetectableAutoRepeat(bool On);
