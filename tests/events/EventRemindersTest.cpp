#include <QDir>

#include <gtest/gtest.h>

#include "PlatformFakes.h"
#include "TestSupport.h"
#include "platform/ProgramFolder.h"

using namespace testing_support;

namespace {

const TListViewEventItem startRow(0, -1), repeatRow(0, 0);

class Reminders : public ::testing::Test {
protected:
    // An event with a reminder 10 minutes ahead of each occurrence, in the list.
    TEvent& add(TDateTime start, TEventImportance importance = eiNormal, std::initializer_list<TDateTime> repeats = {})
    {
        TEvent& event = addEvent(list, start, repeats, "General", importance);
        event.AlarmType = 1;
        event.AlarmParam = -10;
        event.AudioNotify = true;
        return event;
    }
    // One notification action with automatic dismissal; true when it dismissed the occurrence.
    static bool act(TEvent& event, const TListViewEventItem& row, bool allowExecute = true)
    {
        bool dismissed = false;
        event.DoNotificationAction(row, true, allowExecute, dismissed);
        return dismissed;
    }
    Rows expired()
    {
        list.GetExpiredEvents(items);
        return rowsOf(items);
    }

    RecordingSoundPlayer sounds;
    RecordingShellOpener shell;
    ClockOverride clock{at(2008, 3, 10, 9, 0)};
    TEventList list;
    TListViewEventItems items;
};

} // namespace

TEST_F(Reminders, EnabledOccurrencesWithAReminderFallDueAtTheirNotificationTimes)
{
    add(at(2008, 3, 10, 9, 30), eiNormal, {at(2008, 3, 10, 9, 40), at(2008, 3, 10, 9, 50)})
        .RecalculateNoticationTimes();
    EXPECT_EQ(expired(), Rows{});
    clock.set(at(2008, 3, 10, 9, 20));
    EXPECT_EQ(expired(), (Rows{{0, -1}}));

    add(at(2008, 3, 1), eiNormal, {at(2008, 3, 2)}); // notification times still 0
    TEvent& noReminder = add(at(2008, 3, 1));
    noReminder.AlarmType = 0;
    noReminder.StartDateItem->NotificationTime = at(2008, 3, 1);
    TEvent& disabled = add(at(2008, 3, 1), eiNormal, {at(2008, 3, 2)});
    disabled.Enabled = false;
    disabled.StartDateItem->NotificationTime = at(2008, 3, 1);
    clock.set(at(2008, 3, 10, 9, 45));
    EXPECT_EQ(expired(), (Rows{{0, -1}, {0, 0}, {0, 1}, {1, 0}})) << "only a start's time is tested against 0";
}

TEST_F(Reminders, EachImportanceSoundsItsCountAndIsDismissedAfterTheLastSound)
{
    // Actions until the dismissal (0: none within ten) and the sounds given.
    const std::tuple<TEventImportance, bool, int, int> cases[] = {{eiLow, true, 1, 1},
                                                                  {eiNormal, true, 1, 1},
                                                                  {eiHigh, true, 3, 3},
                                                                  {eiHighest, true, 0, 10},
                                                                  {eiHighest, false, 1, 0}};
    for (auto [importance, audio, actionsUntilDismissed, soundCount] : cases) {
        SCOPED_TRACE(testing::Message() << "importance " << int(importance) << (audio ? " with sound" : ""));
        RecordingSoundPlayer played;
        TEvent& event = add(at(2008, 3, 10, 9, 0), importance);
        event.AudioNotify = audio;
        event.AlarmSound = "Bells";
        int actions = 1;
        for (; !act(event, startRow) && actions < 10; ++actions)
            EXPECT_TRUE(event.Enabled);
        EXPECT_EQ(event.Enabled ? 0 : actions, actionsUntilDismissed) << "an event without further dates is disabled";
        EXPECT_EQ(played.Played, QStringList(soundCount, programFolder() + "Bells.wav"));
        EXPECT_EQ(event.GetNotificationCount(startRow), event.Enabled ? 10 : 0) << "disabling resets the counters";
    }
}

TEST_F(Reminders, LaunchesAreCountedPerOccurrenceWhenMade)
{
    TEvent& event = add(at(2008, 3, 10, 9, 0), eiNormal, {at(2008, 3, 11, 9, 0)});
    event.ExecuteFile = true;
    event.ExecuteFileXTimes = 2;
    event.CmdsToExecute = "true";
    {
        FailingTempFileNamer noNames;
        EXPECT_EQ(messageOf([&] { act(event, repeatRow); }), "unable to get temp file name to execute commands");
    }
    EXPECT_EQ(std::pair(event.GetNotificationCount(repeatRow), event.GetExecuteCount(repeatRow)), std::pair(0, 0))
        << "the next check tries again";
    EXPECT_FALSE(act(event, repeatRow, false)) << "launches are still due";
    EXPECT_FALSE(act(event, repeatRow));
    EXPECT_EQ(std::pair(event.GetNotificationCount(repeatRow), event.GetExecuteCount(repeatRow)), std::pair(2, 1));
    EXPECT_TRUE(act(event, repeatRow));
    EXPECT_FALSE(event.HasRepeatedEvents()) << "the repeated date ended";
    EXPECT_EQ(event.GetExecuteCount(startRow), 0) << "the start has launches of its own";
    EXPECT_TRUE(waitUntil([&] { return shell.opens().size() == 2 && !QDir(GetTmpFolder()).exists(); }));
}

TEST_F(Reminders, SnoozeAndDismissActOnTheOccurrenceOfTheRowOnly)
{
    TEvent& event = add(at(2008, 3, 10, 9, 0), eiHigh, {at(2008, 3, 11, 9, 0), at(2008, 3, 12, 9, 0)});
    event.RecalculateNoticationTimes(); // the start is due now, the repeats on their days at 08:50
    list.Modified = false;
    act(event, startRow);
    act(event, startRow);
    event.IncNotificationCount(repeatRow);
    list.Snooze(startRow, 10);
    EXPECT_EQ(event.StartDateItem->NotificationTime, at(2008, 3, 10, 9, 10));
    EXPECT_EQ(expired(), Rows{});
    clock.set(at(2008, 3, 10, 9, 10));
    for (int check = 1; check <= 3; ++check) {
        ASSERT_EQ(expired(), (Rows{{0, -1}}));
        EXPECT_EQ(act(event, startRow), check == 3);
    }
    EXPECT_EQ(sounds.Played.size(), 5) << "two before the snooze, three after";
    // The dismissal moved the next date into the start, with that date's own state.
    EXPECT_EQ(std::pair(event.GetStartDate(), event.GetNotificationCount(startRow)),
              std::pair(at(2008, 3, 11, 9, 0), 1));
    EXPECT_EQ(expired(), Rows{}) << "not due until the moved date's own time";

    clock.set(at(2008, 3, 11, 12, 0));
    list.Snooze(repeatRow, -1);
    EXPECT_EQ(expired(), (Rows{{0, -1}, {0, 0}})) << "a negative snooze is due at once";
    event.Dismiss(repeatRow);
    event.Dismiss(startRow);
    EXPECT_FALSE(event.Enabled);
    EXPECT_FALSE(list.Modified) << "neither an event nor a snooze marks the list modified";
}

TEST_F(Reminders, TheAlarmSoundIsFoundWhateverTheLetterCaseOfItsFile)
{
    TEvent& event = add(at(2008, 3, 10, 9, 0));
    writeFile(programFolder() + "Chime.WAV", "RIFF");
    writeFile(programFolder() + "bells.wav", "RIFF");
    writeFile(programFolder() + "Bells.wav", "RIFF");
    for (const char* name : {"Chime", "bells", "Bells", "BELLS", "missing"}) {
        event.AlarmSound = name;
        event.PlayAlarmSound();
    }
    for (const char* file : {"Chime.WAV", "bells.wav", "Bells.wav"})
        QFile::remove(programFolder() + file);
    const QString folder = programFolder();
    EXPECT_EQ(sounds.Played, QStringList({folder + "Chime.WAV", folder + "bells.wav", folder + "Bells.wav",
                                          folder + "Bells.wav", folder + "missing.wav"}))
        << "the name as written first, then in any case; a missing file is the player's to handle";
}

TEST_F(Reminders, FailuresCarryTheWrapperTextsOfEachLevel)
{
    add(at(2008, 3, 10));
    EXPECT_EQ(messageOf([&] { list.Snooze(TListViewEventItem(0, 3), 10); }),
              "Exception in: \"TEventList.Snooze\"\r\nException in: \"TEvent.Snooze\"\r\n"
              "Exception in: \"TEvent.ResetNotificationCount\"\r\nList index out of bounds (3)");
    list.GetEvent(0)->StartDateItem->NotificationCount = std::numeric_limits<std::int32_t>::max();
    EXPECT_EQ(messageOf<EIntOverflow>([&] { list.GetEvent(0)->IncNotificationCount(startRow); }), "Integer overflow");
}
