// The program's entry: one instance per user, the main window created hidden, and
// the event loop until a real exit.
#include <QApplication>

#include <cstdio>
#include <exception>
#include <memory>

#include "ApplicationName.h"
#include "CommandLine.h"
#include "MainForm.h"
#include "platform/SingleInstance.h"
#include "platform/XdgFolders.h"
#include "platform/gui/BaseSizeHint.h"
#include "platform/gui/DisplayPlatform.h"
#include "platform/gui/ErrorReport.h"
#include "platform/gui/HeldKeyFilter.h"

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

void print(std::FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}

// Answers --help and --version, when asked, without a display or the instance lock
// (another instance may be running). False when the program is to start.
bool answeredAtOnce(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLine line = parseCommandLine(arguments);
    if (line.Action == CommandLine::Request::Version) {
        print(stdout, versionText());
        return true;
    }
    if (line.Action == CommandLine::Request::Usage) {
        // The folders in the usage are the ones this copy of the program would use.
        QCoreApplication application(argc, argv);
        nameApplication();
        print(stdout, usageText());
        return true;
    }
    return false;
}

} // namespace

int main(int argc, char* argv[])
{
    // Before anything asks Qt for the user's folders.
    ignoreRelativeXdgFolders();

    if (answeredAtOnce(argc, argv))
        return 0;

    // Checked before the display is opened: a second start shows nothing, signals
    // nothing and needs no display.
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
    // Only now are Qt's own options taken off the line: any other option is a mistake,
    // not the name of an event file to make.
    const CommandLine line = parseCommandLine(QApplication::arguments().mid(1));
    if (line.Action == CommandLine::Request::Refused) {
        print(stderr, QStringLiteral("quillet: unknown option %1\n\n").arg(line.RefusedOption) + usageText());
        return 2;
    }
    keepHeldKeysInTheirWindow();
    keepBaseSizeHintsValid();
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
