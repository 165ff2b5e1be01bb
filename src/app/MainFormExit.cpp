// How the main window ends: a close request only hides it, a real exit (Exit, the
// end of the session, a termination signal) saves, writes the settings and ends the
// program. A real exit always ends it: what can't be saved goes to a recovery file,
// and an exit that the system asked for never waits for the user.
#include "MainForm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QSessionManager>
#include <QSystemTrayIcon>
#include <QTimer>

#include <cstdio>

#include "RecoveryFile.h"
#include "events/Exceptions.h"
#include "events/WaitExecuteThread.h"
#include "platform/FileLock.h"
#include "platform/GetText.h"
#include "platform/gui/ErrorReport.h"

namespace {

// Message boxes and dialogs are closed as if cancelled; the code that opened them
// goes on when the event loop reaches them again.
void closeOpenDialogs()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<QDialog*>(window); dialog && dialog->isVisible())
            dialog->reject();
}

void printToStandardError(const QString& Message)
{
    std::fprintf(stderr, "Quillet: %s\n", Message.toLocal8Bit().constData());
    std::fflush(stderr);
}

} // namespace

bool TfrmQuillet::FormCloseQuery()
{
    if (FEventList && FEventList->Modified)
        SaveEvents();
    if (!FCanClose)
        HideMainWindow();
    return FCanClose;
}

void TfrmQuillet::FormClose()
{
    // Settings never read would be written as the window's defaults over the user's.
    // Settings that can't be written are reported, and the exit goes on: otherwise
    // the program could never be quit.
    if (FSettingsLoaded) {
        try {
            SaveSettings();
        } catch (const std::exception& error) {
            reportExitProblem(exceptionMessage(error));
        }
    }
    CleanTmpFolder();
}

void TfrmQuillet::closeEvent(QCloseEvent* event)
{
    event->ignore();
    if (!FCanClose) {
        // Only hides the window; a failed save is reported and the list stays modified.
        reportingErrors([this] { FormCloseQuery(); });
        return;
    }
    if (!finishRealExit())
        return;
    event->accept();
    FTerminated = true;
    // Saved for the last time: a new start may take the file while this one tidies up.
    FEventFileLock.reset();
    TrayIcon1->hide();
    emit Terminated();
}

bool TfrmQuillet::finishRealExit()
{
    try {
        FormCloseQuery();
    } catch (const std::exception& error) {
        if (!keepUnsavedChanges(exceptionMessage(error)))
            return false;
    }
    FormClose();
    return true;
}

bool TfrmQuillet::keepUnsavedChanges(const QString& Failure)
{
    RecoveryFile recovery;
    QString recoveryFailure;
    try {
        recovery = writeRecoveryFile(*FEventList, FFileName, Now());
    } catch (const std::exception& error) {
        recoveryFailure = exceptionMessage(error);
    }
    const QString paragraph = QStringLiteral("\r\n\r\n");
    if (!recovery.Path.isEmpty()) {
        QString written = _("Your changes have been written to \"%1\".").arg(recovery.Path);
        if (recovery.EmptiedAtLogOut)
            written += QLatin1Char(' ') +
                       _("That folder is emptied when you log out: move the file to a safe place before then.");
        if (FExitFromUser) {
            showErrorReport(Failure + paragraph + written);
        } else {
            printToStandardError(Failure + paragraph + written);
            leaveNoticeForNextStart(
                _("The event file \"%1\" could not be saved when Quillet was last closed.").arg(FFileName) + paragraph +
                written);
        }
        return true;
    }
    if (!FExitFromUser) {
        printToStandardError(Failure + paragraph + recoveryFailure + paragraph + _("Your changes are lost."));
        return true;
    }
    const bool quit = askYesNo(Failure + paragraph + recoveryFailure + paragraph +
                               _("Your changes could not be kept anywhere. Quit and lose them?"));
    // A termination signal during the question ends the program all the same.
    return quit || !FExitFromUser;
}

void TfrmQuillet::reportExitProblem(const QString& Message)
{
    if (FExitFromUser)
        showErrorReport(Message);
    else
        printToStandardError(Message);
}

bool TfrmQuillet::closeForGood(bool FromUser)
{
    if (FTerminated)
        return true;
    FCanClose = true;
    if (!FromUser) {
        // The system doesn't wait for an answer, not even during this exit's own question.
        FExitFromUser = false;
        closeOpenDialogs();
    }
    close();
    if (!FTerminated && !FromUser)
        // Another close was under way (one that only hides, waiting for its message):
        // it ignores this one, so it comes again once that one is over.
        QTimer::singleShot(0, this, [this] { closeForGood(false); });
    return FTerminated;
}

void TfrmQuillet::actExitExecute()
{
    closeForGood(true);
}

bool TfrmQuillet::WMQueryEndSession()
{
    return closeForGood(false);
}

void TfrmQuillet::onCommitDataRequest(QSessionManager& Manager)
{
    if (!WMQueryEndSession() && Manager.allowsInteraction())
        Manager.cancel(); // the program could not end: the session is asked not to end
}

void TfrmQuillet::ApplicationEvents1Message(int)
{
    closeForGood(false);
}
