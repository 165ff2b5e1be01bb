#pragma once

#include <QProcess>
#include <QStringList>

namespace testing_support {

// Whether a window manager runs on the display: the window that the root's
// _NET_SUPPORTING_WM_CHECK names exists and names itself (a manager that ended
// may leave the root's property behind).
bool windowManagerRuns();

// A window manager on the test's display for one scope, as on a user's desktop.
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

private:
    QProcess FProcess;
    bool FReady = false;
};

} // namespace testing_support
