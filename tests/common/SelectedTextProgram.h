#pragma once

// The second program of the X11 tests (quillet_test_selected_text, built beside
// them): a window of another process whose focused text field holds selected text.

#include <QCoreApplication>
#include <QProcess>
#include <QWindow>

namespace testing_support {

class SelectedTextProgram {
public:
    explicit SelectedTextProgram(const QString& Text, bool Selected = true)
    {
        QStringList arguments{Text};
        if (!Selected)
            arguments.prepend("--no-selection");
        FProcess.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        FProcess.start(QCoreApplication::applicationDirPath() + "/quillet_test_selected_text", arguments);
        while (!FProcess.canReadLine() && FProcess.waitForReadyRead(10000)) {
        }
        FWindow = FProcess.readLine().trimmed().toULongLong();
    }
    ~SelectedTextProgram()
    {
        FProcess.kill();
        FProcess.waitForFinished(5000);
    }
    SelectedTextProgram(const SelectedTextProgram&) = delete;
    SelectedTextProgram& operator=(const SelectedTextProgram&) = delete;

    // Its window's X11 id; 0 when it did not come up.
    WId window() const { return FWindow; }
    // Makes its window the active one through the window manager; false when that failed.
    bool activate() const
    {
        return QProcess::execute("xdotool", {"windowactivate", "--sync", QString::number(FWindow)}) == 0;
    }

private:
    QProcess FProcess;
    WId FWindow = 0;
};

} // namespace testing_support
