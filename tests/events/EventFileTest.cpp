// Writing the event file, and reading back what was written.
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>

#include "TestSupport.h"

using namespace testing_support;

namespace {

class EventFile : public ::testing::Test {
protected:
    QString path() const { return folder.filePath("e.events"); }
    QStringList filesInFolder() const { return QDir(folder.path()).entryList(QDir::Files); }

    QTemporaryDir folder;
};

} // namespace

TEST_F(EventFile, SaveThenLoadGivesBackEveryField)
{
    ClockOverride clock(at(2008, 3, 1, 12, 0));
    TEventList list;
    list.AddCategory("Büro");
    list.AddCategory("  Spaced  name "); // an inner line keeps its blanks
    list.AddCategory("Personal");
    // Every field away from both the new event's and the reader's defaults.
    TEvent event;
    event.Enabled = false;
    event.SetStartDate(at(2008, 3, 10, 14, 25, 37, 250));
    event.Duration = 90;
    event.RepeatedDates->AddDate(at(2008, 3, 17, 9, 0), false, 0);
    event.RepeatedDates->AddDate(at(2008, 3, 24, 9, 30), false, 0);
    event.Category = "Büro";
    event.Description = "Two lines:\r\nsecond € line";
    event.Notes = "First\r\nSecond\r\n\r\n\tIndented ünïcödé";
    event.AlarmType = 2;
    event.AlarmParam = -3;
    event.AlarmSound = "chime";
    event.Importance = eiHighest;
    event.KeepRemindingFor = 7;
    event.AfterReminderJob = arSnoozeMins;
    event.AfterReminderJobParamInt = 12;
    event.ExecuteFile = true;
    event.CmdsToExecute = "#!sh\r\necho one\r\necho two";
    event.ExecuteFileXTimes = 4;
    list.AddEvent(event);
    list.AddEvent(TEvent()); // the new event's values
    writeFile(path(), QByteArray(100000, 'x'));
    list.SaveToFile(path());
    EXPECT_FALSE(list.Modified);
    EXPECT_FALSE(readFile(path()).contains("xxxx")) << "the save replaces the whole file";

    TEventList back;
    back.Modified = true;
    back.LoadFromFile(path(), false);
    EXPECT_FALSE(back.Modified);
    EXPECT_EQ(back.Categories, list.Categories);
    ASSERT_EQ(back.Count(), 2);
    // The element holds every stored field, so equal elements mean equal fields.
    EXPECT_EQ(back.GetEvent(0)->SaveToXML(), list.GetEvent(0)->SaveToXML());
    EXPECT_EQ(back.GetEvent(1)->SaveToXML(),
              list.GetEvent(1)->SaveToXML().replace("<Category></Category>", "<Category>General</Category>"));
    // Notification times are worked out afresh, counters start at zero.
    const TEvent& read = *back.GetEvent(0);
    EXPECT_NEAR(read.StartDateItem->NotificationTime, at(2008, 3, 10, 11, 25, 37, 250), OneMillisecond);
    EXPECT_NEAR(read.RepeatedDates->GetItem(1)->NotificationTime, at(2008, 3, 24, 6, 30), OneMillisecond);
    EXPECT_EQ(read.StartDateItem->NotificationCount, 0);
}

TEST_F(EventFile, WritesTheFileLineByLine)
{
    ClockOverride clock(at(2026, 12, 6, 3, 4, 5, 67));
    TEventList list;
    TEvent event;
    event.SetStartDate(at(2000, 1, 1, 12, 0)); // Julian 2451545: a whole number
    event.Category = "Général";
    list.AddEvent(event);
    list.AddCategory("General");
    list.AddCategory("Birthdays");
    list.SaveToFile(path());

    const QStringList lines = QString::fromUtf8(readFile(path())).split("\r\n"); // UTF-8 without a byte-order mark
    EXPECT_TRUE(lines.value(3).startsWith("<LastSave>2026-12-06 03")) << lines.value(3);
    // The save time's separators are the regional ones; the first category stands on the opening tag's line.
    const QString expected =
        "<QuilletEventFile>\r\n<Version>QV3.0</Version>\r\n<Escaped>-1</Escaped>\r\n<LastSave>" +
        formatDateTime("yyyy-mm-dd hh:nn:ss.zzz", Now()) +
        "</LastSave>\r\n<Categories>General\r\nBirthdays\r\n</Categories>\r\n<Events>\r\n<Event>\r\n"
        "\t<Enabled>-1</Enabled>\r\n\t<StartDate>2451545</StartDate>\r\n\t<UseTime>0</UseTime>\r\n"
        "\t<Duration>0</Duration>\r\n\t<RepeatedDates></RepeatedDates>\r\n\t<Category>Général</Category>\r\n"
        "\t<Description></Description>\r\n\t<Notes></Notes>\r\n\t<AlarmType>0</AlarmType>\r\n"
        "\t<AlarmParam>0</AlarmParam>\r\n\t<AlarmSound></AlarmSound>\r\n\t<AudioNotify>0</AudioNotify>\r\n"
        "\t<PopUpNotify>0</PopUpNotify>\r\n\t<Importance>eiNormal</Importance>\r\n"
        "\t<KeepRemindingFor>0</KeepRemindingFor>\r\n\t<AfterReminderJob>arDoNothing</AfterReminderJob>\r\n"
        "\t<AfterReminderJobParamInt>0</AfterReminderJobParamInt>\r\n\t<ExecuteFile>0</ExecuteFile>\r\n"
        "\t<CmdsToExecute></CmdsToExecute>\r\n\t<ExecuteFileXTimes>0</ExecuteFileXTimes>\r\n"
        "\t<ShowOnCalendar>0</ShowOnCalendar>\r\n</Event>\r\n</Events>\r\n</QuilletEventFile>\r\n";
    EXPECT_EQ(lines, expected.split("\r\n"));
}

TEST_F(EventFile, TextsHoldingTagsAndEntitiesRoundTrip)
{
    const QStringList tricky = {"</Notes></Event></Events></QuilletEventFile>", "a & b &amp; c &lt;d&gt; &#60; &",
                                "<Event><Description>x</Description></Event>", "<b>bold</b> <DATE>2454587.5</DATE>"};
    TEventList list;
    for (const QString& text : tricky) {
        list.AddCategory(text);
        TEvent event;
        event.Category = event.Description = event.AlarmSound = event.CmdsToExecute = text;
        event.Notes = text + "\r\n" + text;
        list.AddEvent(event);
    }
    list.SaveToFile(path());
    EXPECT_FALSE(readFile(path()).contains("</Notes></Event>"));

    TEventList back;
    back.LoadFromFile(path(), false);
    EXPECT_EQ(back.Categories, tricky);
    ASSERT_EQ(back.Count(), tricky.size());
    for (int i = 0; i < tricky.size(); ++i) {
        const TEvent& e = *back.GetEvent(i);
        const QString& t = tricky[i];
        EXPECT_EQ(std::tuple(e.Category, e.Description, e.Notes, e.AlarmSound, e.CmdsToExecute),
                  std::tuple(t, t, t + "\r\n" + t, t, t));
    }
}

TEST_F(EventFile, AFailedSaveRaisesKeepsModifiedAndLeavesTheOldFileWhole)
{
    TEventList list;
    list.AddEvent(TEvent());
    // A folder that is a regular file cannot hold the file, whoever runs the test.
    EXPECT_THROW(list.SaveToFile(writeFile(folder.filePath("plain"), "x") + "/e.events"), EFileError);
    EXPECT_TRUE(list.Modified);

    TEventList small;
    small.AddCategory("Old");
    small.SaveToFile(path());
    const QByteArray before = readFile(path());
    for (int i = 0; i < 200; ++i)
        list.AddEvent(TEvent());
    // A file size limit makes the write fail part-way, as a full disk would.
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = before.size() + 1000;
    setrlimit(RLIMIT_FSIZE, &limited);
    const QString message = messageOf<EFileError>([&] { list.SaveToFile(path()); });
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_TRUE(message.contains(path())) << message;
    EXPECT_TRUE(list.Modified);
    EXPECT_EQ(readFile(path()), before);
    EXPECT_EQ(filesInFolder(), QStringList({"e.events", "plain"})) << "no temporary file is left";
}
