#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QWidget;
class TfrmQuillet;

namespace shell_test {

// Renders widget and writes it to <folder>/<name>.png, the folder being
// $QUILLET_SCREENSHOTS when set, else a folder in the system's temp folder.
QImage screenshot(QWidget& widget, const QString& name);

// Lets the event loop run until condition holds or timeoutMs have passed.
bool waitFor(const std::function<bool()>& condition, int timeoutMs = 3000);

// The main window's world for one test: a program folder without Settings.ini, event
// file or tmp folder, a tray that exists (unless a test says otherwise), and message
// boxes collected instead of shown.
class ShellScope {
public:
    ShellScope();
    ~ShellScope();

    // The program folder of the test process, ending in "/".
    QString folder() const;
    // Starts the main window as the program does with these command-line arguments.
    std::unique_ptr<TfrmQuillet> start(const QStringList& arguments = {});
    void setTrayAvailable(bool available);

    // Every message box shown so far, and those that report failures (the hotkey
    // message that the offscreen platform always causes left out).
    QStringList messages;
    QStringList errors() const;
};

// The message shown when Ctrl+Shift+E cannot be taken.
extern const QString HotKeyMessage;

} // namespace shell_test
