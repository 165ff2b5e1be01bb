#pragma once

#include <QProcess>
#include <QRect>
#include <QStringList>
#include <QTemporaryDir>

namespace testing_support {

// Whether a window manager runs on the display: the window that the root's
// _NET_SUPPORTING_WM_CHECK names exists and names itself (a manager that ended
// may leave the root's property behind).
bool windowManagerRuns();

// A window manager on the test's display for one scope, as on a user's desktop
// ("openbox" with "--sm-disable", or "fluxbox" without arguments). It reads its
// settings from a folder of its own, not from the user's; its end takes back what
// it announced on the root window (work area, features), so later windows see a
// bare display again.
class WindowManager {
public:
    // Starts the manager and waits until it has taken the display (see ready()).
    explicit WindowManager(const QString& program = "openbox", const QStringList& arguments = {"--sm-disable"});
    // Ends it and waits until it has left the display.
    ~WindowManager();
    WindowManager(const WindowManager&) = delete;
    WindowManager& operator=(const WindowManager&) = delete;

    // False when the manager could not start or take the display in time.
    bool ready() const { return FReady; }
    // The work area the running manager announces (_NET_WORKAREA); empty when none.
    static QRect workArea();

private:
    QStringList FRootProperties; // the root window's, before the manager started
    QTemporaryDir FHome;
    QProcess FProcess;
    bool FReady = false;
};

// What the X server itself knows of a window, read with xwininfo and xprop.
// The window's place on the root window and its size; empty when it is unknown.
QRect realGeometry(quint64 window);
// The window with the frame its manager draws around it (_NET_FRAME_EXTENTS); just
// the window where no manager has framed it.
QRect realFrame(quint64 window);
// No manager places or lists the window.
bool isOverrideRedirect(quint64 window);
// A property of a window as xprop prints it ("" when unset), for example _NET_WM_STATE.
QString windowProperty(quint64 window, const QString& property);

} // namespace testing_support
