#include <QAbstractItemModel>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

#include <memory>

#include "../dialogs/ReminderTestSupport.h"
#include "TestSupport.h"
#include "app/MainForm.h"
#include "dialogs/EventNotify.h"
#include "events/EventList.h"
#include "events/Exceptions.h"
#include "events/WaitExecuteThread.h"
#include "platform/gui/ErrorReport.h"

using testing_support::at;
using testing_support::ClockOverride;
using testing_support::readFile;
using testing_support::writeFile;
using namespace reminder_testing;

namespace {

// The main window on an event file of its own, with the timers stopped so that each
// test drives the check and the save itself.
class MainFormReminders : public ::testing::Test {
protected:
    MainFormReminders()
    {
        setMessageSinkForTests([this](const QString& message) { reported << message; });
        TfrmEventNotify::setSlideStepDelay(0);
        fileName = folder.filePath(QStringLiteral("my.list.events"));
        window = std::make_unique<TfrmQuillet>(QStringList{fileName});
        window->tmrCheckEvents->stop();
        window->tmrSave->stop();
        list = window->FEventList.get();
        while (list->Count() > 0)
            list->DeleteEvent(0);
        list->Modified = false;
        reported.clear();
    }
    ~MainFormReminders() override
    {
        window.reset();
        setMessageSinkForTests({});
        TfrmEventNotify::setSlideStepDelay(3);
        CleanTmpFolder();
    }

    // An enabled event with a sound reminder 10 minutes before Start.
    TEvent& addEvent(const QString& description, TDateTime start, bool popUp)
    {
        TEvent event;
        event.SetValues(start, true, 0, QStringLiteral("Work"), description, 1, -10);
        event.PopUpNotify = popUp;
        TEvent& added = *list->GetEvent(list->AddEvent(event));
        added.RecalculateNoticationTimes();
        list->Modified = false;
        return added;
    }

    static void giveCommands(TEvent& event, const QString& commands)
    {
        event.ExecuteFile = true;
        event.ExecuteFileXTimes = 1;
        event.CmdsToExecute = commands;
    }

    TfrmEventNotify& popUp() { return *window->FNotifyForm; }

    RecordingSoundPlayer sounds;
    RecordingShellOpener shell;
    ClockOverride clock{at(2026, 3, 10, 9, 0)};
    QTemporaryDir folder;
    QString fileName;
    QStringList reported;
    std::unique_ptr<TfrmQuillet> window;
    TEventList* list = nullptr;
};

} // namespace

TEST_F(MainFormReminders, ADueEventWithoutThePopUpFlagIsNotifiedAndDismissedAtTheCheck)
{
    TEvent& event = addEvent(QStringLiteral("take out the bins"), at(2026, 3, 10, 9, 5), false);
    giveCommands(event, QStringLiteral("echo bins"));
    // Hours away, but its repeated date of 08:30 is due.
    TEvent& later = addEvent(QStringLiteral("stretch"), at(2026, 3, 10, 12, 0), false);
    later.RepeatedDates->AddDate(at(2026, 3, 10, 8, 30), false, 0);
    later.RecalculateNoticationTimes();
    window->cboEventView->setCurrentIndex(0); // all events
    window->RefreshEventView();
    ASSERT_EQ(window->FEventView.size(), 3u);

    window->tmrCheckEventsTimer();
    EXPECT_EQ(sounds.Played.size(), 2);
    ASSERT_TRUE(waitUntil([this] { return shell.contents().size() == 1; }));
    EXPECT_EQ(shell.contents()[0], "echo bins\n");
    EXPECT_FALSE(event.Enabled) << "nothing more due: dismissed";
    EXPECT_TRUE(later.Enabled);
    EXPECT_EQ(later.RepeatedDates->GetCount(), 0);
    EXPECT_TRUE(list->Modified) << "the dismissals must reach the file";
    EXPECT_TRUE(popUp().FExpiredEvents.empty());
    EXPECT_FALSE(popUp().isVisible());
    EXPECT_TRUE(window->tmrCheckEvents->isActive()) << "the check switches itself on again";
    EXPECT_TRUE(reported.isEmpty());
    // The list shows the dismissals at once (disabled events are not listed).
    EXPECT_EQ(rowsOf(window->FEventView), (std::vector<Row>{{1, -1}}));
    EXPECT_EQ(window->vstEvents->model()->rowCount(), 1);

    // The next check finds nothing due.
    window->tmrCheckEventsTimer();
    EXPECT_EQ(sounds.Played.size(), 2);
}

TEST_F(MainFormReminders, RowsOfOneEventAreActedOnWithoutShiftingEachOther)
{
    // Due at 08:00, 08:30 and 09:00; the date of the next day is not due yet.
    TEvent& event = addEvent(QStringLiteral("pills"), at(2026, 3, 10, 8, 0), false);
    event.RepeatedDates->AddDate(at(2026, 3, 10, 8, 30), false, 0);
    event.RepeatedDates->AddDate(at(2026, 3, 10, 9, 0), false, 0);
    event.RepeatedDates->AddDate(at(2026, 3, 11, 8, 0), false, 0);
    event.RecalculateNoticationTimes();

    window->tmrCheckEventsTimer();
    EXPECT_EQ(sounds.Played.size(), 3);
    EXPECT_TRUE(reported.isEmpty()) << reported.join('\n').toStdString();
    EXPECT_TRUE(event.Enabled);
    EXPECT_EQ(event.GetStartDate(), at(2026, 3, 11, 8, 0)) << "tomorrow's date is left, not notified";
    EXPECT_EQ(event.RepeatedDates->GetCount(), 0);
    EXPECT_EQ(event.StartDateItem->NotificationCount, 0);
}

TEST_F(MainFormReminders, PopUpRemindersEnterThePopUpInOrderAndStayWhileDue)
{
    TEvent& first = addEvent(QStringLiteral("first"), at(2026, 3, 10, 8, 0), true);
    first.RepeatedDates->AddDate(at(2026, 3, 10, 8, 30), false, 0);
    first.RecalculateNoticationTimes();
    addEvent(QStringLiteral("not a pop-up"), at(2026, 3, 10, 12, 0), false);
    addEvent(QStringLiteral("second"), at(2026, 3, 10, 9, 5), true);

    window->tmrCheckEventsTimer();
    EXPECT_EQ(rowsOf(popUp().FExpiredEvents), (std::vector<Row>{{0, -1}, {0, 0}, {2, -1}}));
    EXPECT_TRUE(popUp().isVisible());
    EXPECT_EQ(popUp().lblEventDesc->text(), "first");
    EXPECT_TRUE(first.Enabled) << "the check never dismisses a pop-up reminder";
    EXPECT_FALSE(list->Modified);

    window->tmrCheckEventsTimer();
    EXPECT_EQ(rowsOf(popUp().FExpiredEvents), (std::vector<Row>{{0, -1}, {0, 0}, {2, -1}}));
    EXPECT_TRUE(popUp().isVisible());

    // Once nothing is due any more the pop-up slides out.
    list->Snooze(TListViewEventItem(0, -1), 60);
    list->Snooze(TListViewEventItem(0, 0), 60);
    list->Snooze(TListViewEventItem(2, -1), 60);
    window->tmrCheckEventsTimer();
    EXPECT_TRUE(popUp().FExpiredEvents.empty());
    EXPECT_FALSE(popUp().isVisible());
}

TEST_F(MainFormReminders, ThePopUpsButtonsChangeTheModelAndTheWindowRefillsTheList)
{
    TEvent& snoozed = addEvent(QStringLiteral("snooze me"), at(2026, 3, 10, 9, 1), true);
    TEvent& dismissed = addEvent(QStringLiteral("dismiss me"), at(2026, 3, 10, 9, 2), true);
    TEvent& executed = addEvent(QStringLiteral("run me"), at(2026, 3, 10, 9, 3), true);
    giveCommands(executed, QStringLiteral("echo run"));
    window->tmrCheckEventsTimer();
    ASSERT_EQ(popUp().lblEventDesc->text(), "snooze me");

    QTest::mouseClick(popUp().btnSnooze, Qt::LeftButton);
    EXPECT_EQ(snoozed.StartDateItem->NotificationTime, at(2026, 3, 10, 9, 5));
    EXPECT_FALSE(list->Modified) << "a snooze is not saved by itself";
    EXPECT_EQ(rowsOf(popUp().FExpiredEvents), (std::vector<Row>{{1, -1}, {2, -1}}));

    // The display moved on to index 1 of the refilled list.
    ASSERT_EQ(popUp().lblEventDesc->text(), "run me");
    QTest::mouseClick(popUp().btnExecute, Qt::LeftButton);
    ASSERT_TRUE(waitUntil([this] { return shell.contents().size() == 1; }));
    EXPECT_FALSE(executed.Enabled);
    EXPECT_TRUE(list->Modified);
    EXPECT_EQ(rowsOf(popUp().FExpiredEvents), (std::vector<Row>{{1, -1}}));

    ASSERT_EQ(popUp().lblEventDesc->text(), "dismiss me");
    QTest::mouseClick(popUp().btnDismiss, Qt::LeftButton);
    EXPECT_FALSE(dismissed.Enabled);
    EXPECT_TRUE(popUp().FExpiredEvents.empty());
    EXPECT_FALSE(popUp().isVisible());

    window->tmrSaveTimer();
    EXPECT_FALSE(list->Modified);
    EXPECT_TRUE(QFile::exists(fileName));
}

TEST_F(MainFormReminders, AFailingRowIsReportedOnceAndTheRestOfTheCheckGoesOn)
{
    TEvent& failing = addEvent(QStringLiteral("cannot launch"), at(2026, 3, 10, 9, 1), false);
    giveCommands(failing, QStringLiteral("echo never"));
    failing.AudioNotify = false;
    TEvent& plain = addEvent(QStringLiteral("plain"), at(2026, 3, 10, 9, 2), false);
    addEvent(QStringLiteral("pop-up"), at(2026, 3, 10, 9, 3), true);

    {
        FailingTempFileNamer noNames;
        window->tmrCheckEventsTimer();
        EXPECT_FALSE(plain.Enabled) << "the other rows are acted on";
        EXPECT_TRUE(popUp().isVisible()) << "the pop-up is refreshed";
        EXPECT_TRUE(failing.Enabled) << "the failed occurrence stays due";
        ASSERT_EQ(reported.size(), 1);
        EXPECT_TRUE(reported[0].contains("unable to get temp file name")) << reported[0].toStdString();

        window->tmrCheckEventsTimer();
        EXPECT_EQ(reported.size(), 1) << "the same failure is not reported again";
    }

    window->tmrCheckEventsTimer();
    ASSERT_TRUE(waitUntil([this] { return shell.contents().size() == 1; }));
    EXPECT_FALSE(failing.Enabled) << "tried again, launched and dismissed";
    EXPECT_EQ(reported.size(), 1);
}

TEST_F(MainFormReminders, EachSaveAfterTheFirstKeepsABackupOfThePreviousFile)
{
    addEvent(QStringLiteral("one"), at(2026, 12, 24, 9, 0), false);
    window->SaveEvents();
    ASSERT_TRUE(QFile::exists(fileName));
    EXPECT_FALSE(QDir(folder.filePath("Backup")).exists()) << "the first save makes no backup";
    const QByteArray firstVersion = readFile(fileName);

    addEvent(QStringLiteral("two"), at(2026, 12, 24, 10, 0), false);
    clock.set(at(2026, 12, 6, 3, 4, 5, 67));
    window->SaveEvents();
    const QString backup = folder.filePath("Backup/my.list_20261206_030405067.events");
    ASSERT_TRUE(QFile::exists(backup));
    EXPECT_EQ(readFile(backup), firstVersion);
    EXPECT_NE(readFile(fileName), firstVersion);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // Within the same millisecond the backup is replaced; later saves add one file each.
    window->SaveEvents();
    clock.set(at(2026, 12, 6, 3, 4, 6));
    window->SaveEvents();
    EXPECT_EQ(QDir(folder.filePath("Backup")).entryList(QDir::Files).size(), 2);

    // The backup's extension is always ".events"; only the last extension is dropped.
    window->FFileName = folder.filePath("plan.txt");
    window->SaveEvents();
    window->SaveEvents();
    EXPECT_TRUE(QFile::exists(folder.filePath("Backup/plan_20261206_030406000.events")));
}

TEST_F(MainFormReminders, ABackupThatCannotBeMadeKeepsTheEventFileAsItWas)
{
    addEvent(QStringLiteral("one"), at(2026, 12, 24, 9, 0), false);
    window->SaveEvents();
    const QByteArray saved = readFile(fileName);
    addEvent(QStringLiteral("two"), at(2026, 12, 24, 10, 0), false);
    list->Modified = true;

    // A file where the backup folder should be: no one can make the folder, root neither.
    writeFile(folder.filePath("Backup"), "in the way");
    try {
        window->SaveEvents();
        FAIL() << "the save must fail";
    } catch (const QuilletError& error) {
        EXPECT_EQ(error.message(), QStringLiteral("Exception in: \"TfrmQuillet.MakeBackup\"\r\n"
                                                  "Unable to create backup folder: \"%1/Backup/\"")
                                       .arg(folder.path()));
    }
    EXPECT_EQ(readFile(fileName), saved);
    EXPECT_TRUE(list->Modified);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // The save timer keeps trying every second but reports the failure once.
    window->tmrSaveTimer();
    window->tmrSaveTimer();
    ASSERT_EQ(reported.size(), 1);
    EXPECT_TRUE(reported[0].contains("Unable to create backup folder")) << reported[0].toStdString();

    // A backup file that can't be written, at two moments: one situation, one report.
    QFile::remove(folder.filePath("Backup"));
    const auto blockBackupAt = [this](TDateTime when, const QString& stamp) {
        clock.set(when);
        QDir(folder.path()).mkpath(QStringLiteral("Backup/my.list_%1.events/x").arg(stamp));
    };
    blockBackupAt(at(2026, 12, 6, 3, 4, 5, 67), "20261206_030405067");
    window->tmrSaveTimer();
    blockBackupAt(at(2026, 12, 6, 3, 4, 6, 67), "20261206_030406067");
    window->tmrSaveTimer();
    ASSERT_EQ(reported.size(), 2);
    EXPECT_TRUE(reported[1].contains("Unable to create backup file: \"" + folder.path() +
                                     "/Backup/my.list_20261206_030405067.events\""))
        << reported[1].toStdString();
    EXPECT_EQ(readFile(fileName), saved);

    // Once a save succeeds, a later failure is news again.
    clock.set(at(2026, 12, 6, 3, 5));
    window->tmrSaveTimer();
    EXPECT_FALSE(list->Modified);
    list->Modified = true;
    blockBackupAt(at(2026, 12, 6, 3, 6), "20261206_030600000");
    window->tmrSaveTimer();
    EXPECT_EQ(reported.size(), 3);
}
