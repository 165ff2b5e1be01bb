// Writing the event file, and reading back what was written.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>

#include "TestSupport.h"
#include "events/EventList.h"
#include "events/Exceptions.h"

using testing_support::at;
using testing_support::ClockOverride;
using testing_support::readFile;
using testing_support::writeFile;

namespace {

// An event with every field away from both the new event's and the reader's defaults.
TEvent fullEvent()
{
    TEvent event;
    event.Enabled = false;
    event.SetStartDate(at(2008, 3, 10, 14, 25, 37, 250));
    event.UseTime = false;
    event.Duration = 90;
    event.RepeatedDates->AddDate(at(2008, 3, 17, 9, 0), false, 0);
    event.RepeatedDates->AddDate(at(2008, 3, 24, 9, 30), false, 0);
    event.Category = QStringLiteral("Büro");
    event.Description = QStringLiteral("Two lines:\r\nsecond € line");
    event.Notes = QStringLiteral("First\r\nSecond\r\n\r\n\tIndented ünïcödé");
    event.AlarmType = 2;
    event.AlarmParam = -3;
    event.AlarmSound = QStringLiteral("chime");
    event.AudioNotify = false;
    event.PopUpNotify = false;
    event.Importance = eiHighest;
    event.KeepRemindingFor = 7;
    event.AfterReminderJob = arSnoozeMins;
    event.AfterReminderJobParamInt = 12;
    event.ExecuteFile = true;
    event.CmdsToExecute = QStringLiteral("#!sh\r\necho one\r\necho two");
    event.ExecuteFileXTimes = 4;
    event.ShowOnCalendar = false;
    return event;
}

QStringList linesOf(const QByteArray& bytes)
{
    return QString::fromUtf8(bytes).split(QStringLiteral("\r\n"));
}

class EventFile : public ::testing::Test {
protected:
    QString path(const QString& name) const { return folder.filePath(name); }

    QTemporaryDir folder;
};

} // namespace

TEST_F(EventFile, SaveThenLoadGivesBackEveryField)
{
    ClockOverride clock(at(2008, 3, 1, 12, 0));
    TEventList list;
    list.AddCategory(QStringLiteral("Büro"));
    list.AddCategory(QStringLiteral("  Spaced  name ")); // an inner line keeps its blanks
    list.AddCategory(QStringLiteral("Personal"));
    list.AddEvent(fullEvent());
    TEvent plain; // the new event's values; its empty category reads back as "General"
    list.AddEvent(plain);
    list.SaveToFile(path("Events.events"));
    EXPECT_FALSE(list.Modified);

    TEventList back;
    back.Modified = true;
    back.LoadFromFile(path("Events.events"), false);
    EXPECT_FALSE(back.Modified);
    EXPECT_EQ(back.Categories, list.Categories);
    ASSERT_EQ(back.Count(), 2);
    // Every stored field is in the element (the layout test checks that), so
    // equal elements mean equal fields; dates are held to 15 digits, within 1 ms.
    EXPECT_EQ(back.GetEvent(0)->SaveToXML(), list.GetEvent(0)->SaveToXML());
    EXPECT_NEAR(back.GetEvent(0)->GetStartDate(), at(2008, 3, 10, 14, 25, 37, 250), OneMillisecond);
    EXPECT_EQ(back.GetEvent(0)->Notes, QStringLiteral("First\r\nSecond\r\n\r\n\tIndented ünïcödé"));
    EXPECT_EQ(back.GetEvent(1)->Category, QStringLiteral("General"));
    EXPECT_FALSE(back.GetEvent(1)->UseTime);

    // Notification times are worked out afresh, counters start at zero.
    const TEvent& read = *back.GetEvent(0);
    EXPECT_NEAR(read.StartDateItem->NotificationTime, at(2008, 3, 10, 11, 25, 37, 250), OneMillisecond);
    EXPECT_EQ(read.StartDateItem->NotificationCount, 0);
    EXPECT_NEAR(read.RepeatedDates->GetItem(1)->NotificationTime, at(2008, 3, 24, 6, 30), OneMillisecond);
}

TEST_F(EventFile, WritesTheFileLineByLine)
{
    ClockOverride clock(at(2026, 12, 6, 3, 4, 5, 67));
    TEventList list;
    TEvent event;
    event.SetStartDate(at(2000, 1, 1, 12, 0)); // Julian 2451545: a whole number
    event.Category = QStringLiteral("Général");
    list.AddEvent(event);
    list.AddCategory(QStringLiteral("General"));
    list.AddCategory(QStringLiteral("Birthdays"));
    list.SaveToFile(path("e.events"));

    const QByteArray bytes = readFile(path("e.events"));
    EXPECT_TRUE(bytes.endsWith("</QuilletEventFile>\r\n"));
    EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF"));                                  // no byte-order mark
    EXPECT_TRUE(bytes.contains("\t<Category>G\xC3\xA9n\xC3\xA9ral</Category>\r\n")); // UTF-8
    const QStringList lines = linesOf(bytes);
    EXPECT_TRUE(lines.value(3).startsWith("<LastSave>2026-12-06 03")) << lines.value(3).toStdString();
    const QStringList expected = {
        "<QuilletEventFile>",
        "<Version>QV3.0</Version>",
        "<Escaped>-1</Escaped>",
        // The time separator is the regional one.
        "<LastSave>" + formatDateTime("yyyy-mm-dd hh:nn:ss.zzz", at(2026, 12, 6, 3, 4, 5, 67)) + "</LastSave>",
        "<Categories>General", // the first name stands on the opening tag's line
        "Birthdays",
        "</Categories>",
        "<Events>",
        "<Event>",
        "\t<Enabled>-1</Enabled>",
        "\t<StartDate>2451545</StartDate>",
        "\t<UseTime>0</UseTime>",
        "\t<Duration>0</Duration>",
        "\t<RepeatedDates></RepeatedDates>",
        "\t<Category>Général</Category>",
        "\t<Description></Description>",
        "\t<Notes></Notes>",
        "\t<AlarmType>0</AlarmType>",
        "\t<AlarmParam>0</AlarmParam>",
        "\t<AlarmSound></AlarmSound>",
        "\t<AudioNotify>0</AudioNotify>",
        "\t<PopUpNotify>0</PopUpNotify>",
        "\t<Importance>eiNormal</Importance>",
        "\t<KeepRemindingFor>0</KeepRemindingFor>",
        "\t<AfterReminderJob>arDoNothing</AfterReminderJob>",
        "\t<AfterReminderJobParamInt>0</AfterReminderJobParamInt>",
        "\t<ExecuteFile>0</ExecuteFile>",
        "\t<CmdsToExecute></CmdsToExecute>",
        "\t<ExecuteFileXTimes>0</ExecuteFileXTimes>",
        "\t<ShowOnCalendar>0</ShowOnCalendar>",
        "</Event>",
        "</Events>",
        "</QuilletEventFile>",
        "",
    };
    EXPECT_EQ(lines, expected);
}

TEST_F(EventFile, TextsHoldingTagsAndEntitiesRoundTrip)
{
    const QStringList tricky = {
        QStringLiteral("</Notes></Event></Events></QuilletEventFile>"),
        QStringLiteral("a & b &amp; c &lt;d&gt; &#60; &"),
        QStringLiteral("<Event><Description>x</Description></Event>"),
        QStringLiteral("<b>bold</b> <DATE>2454587.5</DATE>"),
    };
    TEventList list;
    for (const QString& text : tricky)
        list.AddCategory(text);
    for (const QString& text : tricky) {
        TEvent event;
        event.Category = text;
        event.Description = text;
        event.Notes = text + QStringLiteral("\r\n") + text;
        event.AlarmSound = text;
        event.CmdsToExecute = text;
        list.AddEvent(event);
    }
    list.SaveToFile(path("e.events"));
    EXPECT_FALSE(readFile(path("e.events")).contains("</Notes></Event>"));

    TEventList back;
    back.LoadFromFile(path("e.events"), false);
    EXPECT_EQ(back.Categories, tricky);
    ASSERT_EQ(back.Count(), tricky.size());
    for (int i = 0; i < tricky.size(); ++i) {
        const TEvent& event = *back.GetEvent(i);
        EXPECT_EQ(event.Category, tricky[i]);
        EXPECT_EQ(event.Description, tricky[i]);
        EXPECT_EQ(event.Notes, tricky[i] + QStringLiteral("\r\n") + tricky[i]);
        EXPECT_EQ(event.AlarmSound, tricky[i]);
        EXPECT_EQ(event.CmdsToExecute, tricky[i]);
    }
}

TEST_F(EventFile, SaveReplacesTheWholeFile)
{
    const QString name = writeFile(path("e.events"), QByteArray(100000, 'x'));
    TEventList list;
    list.AddEvent(TEvent());
    list.SaveToFile(name);
    EXPECT_FALSE(readFile(name).contains("xxxx"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"e.events"}); // no temporary file left
}

TEST_F(EventFile, AFailedSaveRaisesAndKeepsModified)
{
    // A folder that is a regular file cannot hold the file, whoever runs the test.
    const QString notAFolder = writeFile(path("plain"), "x");
    TEventList list;
    list.AddEvent(TEvent());
    EXPECT_THROW(list.SaveToFile(notAFolder + QStringLiteral("/e.events")), EFileError);
    EXPECT_TRUE(list.Modified);
}

TEST_F(EventFile, AWriteThatRunsOutOfSpaceLeavesTheOldFileWhole)
{
    TEventList small;
    small.AddCategory(QStringLiteral("Old"));
    small.SaveToFile(path("e.events"));
    const QByteArray before = readFile(path("e.events"));

    TEventList big;
    for (int i = 0; i < 200; ++i)
        big.AddEvent(TEvent());
    // A file size limit makes the write fail part-way, as a full disk would.
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = before.size() + 1000;
    setrlimit(RLIMIT_FSIZE, &limited);
    try {
        big.SaveToFile(path("e.events"));
        ADD_FAILURE() << "the save did not report its failure";
    } catch (const EFileError& e) {
        EXPECT_TRUE(e.message().contains(path("e.events"))) << e.message().toStdString();
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_TRUE(big.Modified);
    EXPECT_EQ(readFile(path("e.events")), before);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"e.events"});
}
