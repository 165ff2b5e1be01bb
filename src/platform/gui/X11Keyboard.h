#pragma once

#include <cstdint>
#include <functional>

class QObject;

// Asks the X server to send a held key as presses only, with one release when the
// key is let go ("detectable auto-repeat"), or, when not On, each repeat as a release
// and a press, whose press may reach the program late. True when the server does as
// asked; false when it refuses or the program does not run on X11.
bool setDetectableAutoRepeat(bool On);

// Calls Released with the keycode and time of each key the X server says was let
// go, as soon as Qt reads it, for as long as Owner lives; nothing off X11.
void watchX11KeyReleases(QObject* Owner, std::function<void(std::uint32_t, std::uint64_t)> Released);
