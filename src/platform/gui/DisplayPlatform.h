#pragma once

#include <QByteArray>
#include <QProcessEnvironment>

// The Qt platform to start on, for QT_QPA_PLATFORM: in a Wayland session with
// XWayland, X11 (and Wayland should the X server not answer), since the global
// hotkey and the pop-up's place in the corner work only there. Empty, leaving
// Qt's own choice, when the user chose a platform or there is no X server.
QByteArray startPlatform(const QProcessEnvironment& environment);
