// The main window's time-driven work: the reminder check, the timed save with its
// backups, and the reminder pop-up's callbacks.
#include "MainForm.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTimer>

#include <algorithm>

#include "UserFolder.h"
#include "dialogs/EventNotify.h"
#include "events/Exceptions.h"
#include "platform/FileLock.h"
#include "platform/ProgramFolder.h"
#include "platform/gui/ErrorReport.h"

namespace {

// Failures whose texts differ only in their numbers (a backup's time stamp) are one situation.
QString situationOf(const QString& failure)
{
    static const QRegularExpression digits(QStringLiteral("[0-9]+"));
    return QString(failure).replace(digits, QStringLiteral("#"));
}

// Reports Failure unless the same situation was reported last; an empty Failure ends
// the situation. Timers keep firing under a message box, which must not stack up.
void reportOnce(QString& Reported, const QString& Failure)
{
    const QString situation = situationOf(Failure);
    if (situation == Reported)
        return;
    Reported = situation;
    if (!Failure.isEmpty())
        showErrorReport(Failure);
}

// The data folder of the default event file is made at start, unless it can't be (a
// read-only home): a save there names the folder and the system's reason, which the
// file it could not create would not tell.
void makeDataFolderOf(const QString& FileName)
{
    const QString folder = QFileInfo(FileName).absolutePath() + QLatin1Char('/');
    if (QDir::cleanPath(folder) != QDir::cleanPath(chooseProgramFolders(programFolder()).EventFile))
        return;
    makeUserFolder(folder);
}

bool dueOrderOfAction(const std::unique_ptr<TListViewEventItem>& A, const std::unique_ptr<TListViewEventItem>& B)
{
    // By event; within one event from the highest repeated date down and the start
    // (-1) last, so that no dismissal shifts a row still to come.
    if (A->EventIndex != B->EventIndex)
        return A->EventIndex < B->EventIndex;
    return A->DateIndex > B->DateIndex;
}

} // namespace

void TfrmQuillet::tmrCheckEventsTimer()
{
    tmrCheckEvents->stop();
    QStringList failures;
    {
        // The next check comes 5000 ms after this one ends, whatever happened in it.
        const auto restart = qScopeGuard([this] {
            if (FReminderCheckPauses == 0) // else the last dialog to close restarts it
                tmrCheckEvents->start();
        });
        try {
            checkReminders(failures);
        } catch (const std::exception& error) {
            failures << exceptionMessage(error);
        }
    }
    reportOnce(FCheckFailure, failures.join(QStringLiteral("\r\n\r\n")));
}

void TfrmQuillet::collectDueReminders(TListViewEventItems& Own)
{
    TListViewEventItems due;
    FEventList->GetExpiredEvents(due);
    TEventList::ClearEventView(FNotifyForm->FExpiredEvents);
    TEventList::ClearEventView(Own);
    for (auto& row : due) {
        const TEvent* event = FEventList->GetEvent(row->EventIndex);
        if (event && event->PopUpNotify)
            FNotifyForm->FExpiredEvents.push_back(std::move(row));
        else
            Own.push_back(std::move(row));
    }
}

void TfrmQuillet::followChangedEvents()
{
    TListViewEventItems own; // notified by the next check
    collectDueReminders(own);
    FNotifyForm->followExpiredEvents(FEventList.get(), FNotifyWindowPopupAlpha);
}

void TfrmQuillet::checkReminders(QStringList& Failures)
{
    // Reminders of events with the pop-up flag go to the pop-up in the list's order;
    // the others are notified here.
    TListViewEventItems own;
    collectDueReminders(own);

    std::stable_sort(own.begin(), own.end(), dueOrderOfAction);
    for (const auto& row : own) {
        TEvent* event = FEventList->GetEvent(row->EventIndex);
        if (!event)
            continue;
        // A row that fails (a command file that can't be written) stays due and is
        // tried again at the next check; the other rows go on.
        try {
            bool dismissed = false;
            event->DoNotificationAction(*row, true, true, dismissed);
            if (dismissed) {
                // The dismissal must reach the file, or the reminder fires again at every start.
                FEventList->Modified = true;
                RefreshEventView();
            }
        } catch (const std::exception& error) {
            Failures << exceptionMessage(error);
        }
    }

    FNotifyForm->followExpiredEvents(FEventList.get(), FNotifyWindowPopupAlpha);
}

void TfrmQuillet::tmrSaveTimer()
{
    if (!FEventList || !FEventList->Modified || !FSaveRetries.isDue(Now()))
        return;
    const QString reported = FSaveFailure;
    try {
        SaveEvents();
    } catch (const std::exception& error) {
        // One failure, one message: the failure the last save reported (here or in a
        // command) is not shown again.
        if (FSaveFailure != reported)
            showErrorReport(exceptionMessage(error));
    }
}

void TfrmQuillet::markChangedForSave()
{
    FEventList->Modified = true;
    FSaveRetries.retryAtOnce();
}

void TfrmQuillet::tmrResetClipboardViewerTimer()
{
    FExpectClipboard = false;
}

// The pop-up moves on to its next display itself after these.
void TfrmQuillet::DoNotifyEventsChanged()
{
    FSaveRetries.retryAtOnce(); // a dismissal or execution of the user's
    RefreshEventView();
    TListViewEventItems own;
    collectDueReminders(own);
}

void TfrmQuillet::DoNotifyEventEdited()
{
    FSaveRetries.retryAtOnce();
    RefreshCategories(true);
    RefreshEventView();
    TListViewEventItems own;
    collectDueReminders(own);
}

void TfrmQuillet::SaveEvents()
{
    if (FFileName.isEmpty())
        return; // no folder of the user's own to keep it in: the start said so
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto restoreCursor = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
    try {
        makeDataFolderOf(FFileName);
        lockEventFileInFolderMadeLater();
        // No backup, no write: the file on disk stays the user's last good copy.
        MakeBackup(FFileName);
        FEventList->SaveToFile(FFileName);
        // A file the save made (or whose modes changed) lets its writers lock it now.
        if (FEventFileLock)
            FEventFileLock->followFile();
    } catch (const std::exception& error) {
        // The caller reports it; the timed save then only tries again, after a pause.
        FSaveFailure = situationOf(exceptionMessage(error));
        FSaveRetries.failed(Now());
        throw;
    }
    FSaveFailure.clear();
    FSaveRetries.succeeded();
}

void TfrmQuillet::MakeBackup(const QString& FileName)
{
    wrapExceptions("TfrmQuillet.MakeBackup", [&] { FBackups.make(FileName, Now()); });
}
