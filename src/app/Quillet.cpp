// The program's entry: one instance per user, the main window created hidden, and
// the event loop until a real exit.
#include <QApplication>

#include <exception>
#include <memory>

#include "ApplicationName.h"
#include "MainForm.h"
#include "platform/SingleInstance.h"
#include "platform/XdgFolders.h"
#include "platform/gui/BaseSizeHint.h"
#include "platform/gui/DisplayPlatform.h"
#include "platform/gui/ErrorReport.h"

namespace {

// Shows a failure that reaches the event loop and goes on, as the default error report does.
class QuilletApplication : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& error) {
            showErrorReport(error);
        }
        return false;
    }
};

} // namespace

int main(int argc, char* argv[])
{
    // Before anything asks Qt for the user's folders.
    ignoreRelativeXdgFolders();

    // Checked before anything else: a second start shows nothing, signals nothing and
    // needs no display.
    SingleInstance instance(QStringLiteral("{5C0D2A19-7B43-4E8F-9A61-D2E84F3B7C05}"));
    if (!instance.tryAcquire())
        return 0;

    const QByteArray platform = startPlatform(QProcessEnvironment::systemEnvironment());
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
    QuilletApplication application(argc, argv);
    if (!platform.isEmpty())
        qunsetenv("QT_QPA_PLATFORM"); // the programs that command files start choose their own
    nameApplication();
    keepBaseSizeHintsValid(application);
    // The main window hides instead of closing: only a real exit ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    std::unique_ptr<TfrmQuillet> mainWindow;
    try {
        // The window is not shown here: its settings decide whether it shows or stays in the tray.
        mainWindow = std::make_unique<TfrmQuillet>(QApplication::arguments().mid(1));
        QObject::connect(mainWindow.get(), &TfrmQuillet::Terminated, &application, &QCoreApplication::quit);
        // A termination signal during a message box of the start-up may already have ended it.
        if (!mainWindow->IsTerminated())
            QApplication::exec();
    } catch (const std::exception& error) {
        showErrorReport(error);
    }
    // The lock goes before the window: a new start may begin while this one tidies up.
    instance.release();
    mainWindow.reset();
    return 0;
}
