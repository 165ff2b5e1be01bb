#pragma once

// The second program of the X11 tests (quillet_test_selected_text, built beside
// them): a window of another process whose focused text field holds selected text.

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QWindow>

namespace testing_support {

class SelectedTextProgram {
public:
    // How its copies reach the clipboard.
    enum class Copies {
        TakeTheClipboard, // each copy takes the clipboard afresh (Qt, GTK)
        KeepTheClipboard, // once it holds the clipboard, copies change only its text (Tk)
    };

    explicit SelectedTextProgram(const QString& Text, bool Selected = true, Copies How = Copies::TakeTheClipboard)
    {
        QStringList arguments{Text};
        if (!Selected)
            arguments.prepend("--no-selection");
        if (How == Copies::KeepTheClipboard)
            arguments.prepend("--keep-clipboard");
        FProcess.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        FProcess.start(QCoreApplication::applicationDirPath() + "/quillet_test_selected_text", arguments);
        FWindow = readLine().toULongLong();
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
    // Replaces its text by Text, all of it selected, as the user selects another
    // line; false when the program did not say it was done.
    bool select(const QString& Text)
    {
        FProcess.write(Text.toUtf8().toPercentEncoding() + "\n");
        return readLine() == "selected";
    }

private:
    // A generous limit: on a loaded machine a program may take seconds to show.
    QByteArray readLine()
    {
        QDeadlineTimer deadline(60000);
        while (!FProcess.canReadLine() && FProcess.waitForReadyRead(deadline.remainingTime())) {
        }
        return FProcess.readLine().trimmed();
    }

    QProcess FProcess;
    WId FWindow = 0;
};

} // namespace testing_support
