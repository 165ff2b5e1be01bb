// Reading hand-written event files: the format as other programs and older
// versions write it, and files that must be refused without harm.
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "TestSupport.h"
#include "events/EventList.h"
#include "events/Exceptions.h"

using testing_support::at;
using testing_support::ClockOverride;
using testing_support::writeFile;

namespace {

QByteArray fileWith(const QByteArray& categories, const QByteArray& events, const QByteArray& extra = {})
{
    return "<QuilletEventFile>\r\n<Version>QV3.0</Version>\r\n" + extra + "<Categories>" + categories +
           "</Categories>\r\n<Events>\r\n" + events + "</Events>\r\n</QuilletEventFile>\r\n";
}

class EventFileRead : public ::testing::Test {
protected:
    // Loads the bytes into `list` (which keeps what it held).
    void load(const QByteArray& bytes, bool merge = false)
    {
        list.LoadFromFile(writeFile(folder.filePath("e.events"), bytes), merge);
    }
    const TEvent& event(int index) const { return *list.GetEvent(index); }

    QTemporaryDir folder;
    TEventList list;
    ClockOverride clock{at(2008, 3, 1, 12, 0, 30, 500)};
};

} // namespace

TEST_F(EventFileRead, TagsInAnyLetterCaseAndElementsInAnyOrderReadTheSame)
{
    load(fileWith("Home\r\n", "<EVENT>\r\n\t<notes>N</NOTES>\r\n\t<description>D</Description>\r\n"
                              "\t<Unknown>junk</Unknown>\r\n\t<IMPORTANCE>EIHIGH</importance>\r\n"
                              "\t<startdate>2454535.5</STARTDATE>\r\n\t<Description>second</Description>\r\n"
                              "\t<repeateddates><date>2454542.5</Date><DATE>2454549.75</date></RepeatedDates>\r\n"
                              "</event>\r\n"));
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(event(0).Description, QStringLiteral("D")); // the first element of a name wins
    EXPECT_EQ(event(0).Notes, QStringLiteral("N"));
    EXPECT_EQ(event(0).Importance, eiHigh);
    EXPECT_EQ(event(0).GetStartDate(), at(2008, 3, 10));
    ASSERT_EQ(event(0).RepeatedDates->GetCount(), 2);
    EXPECT_NEAR(event(0).RepeatedDates->GetItem(1)->DateTime, at(2008, 3, 24, 6, 0), OneMillisecond);
    EXPECT_EQ(list.Categories, QStringList{"Home"});
}

TEST_F(EventFileRead, MissingElementsTakeTheReadersDefaults)
{
    load(fileWith("", "<Event>\r\n</Event>\r\n"));
    ASSERT_EQ(list.Count(), 1);
    const TEvent& e = event(0);
    EXPECT_TRUE(e.Enabled);
    EXPECT_TRUE(e.UseTime);
    EXPECT_TRUE(e.AudioNotify);
    EXPECT_TRUE(e.PopUpNotify);
    EXPECT_TRUE(e.ShowOnCalendar);
    EXPECT_FALSE(e.ExecuteFile);
    EXPECT_EQ(e.GetStartDate(), at(2008, 3, 1, 12, 0, 30, 500)); // now, seconds kept
    EXPECT_EQ(e.Category, QStringLiteral("General"));
    EXPECT_EQ(e.KeepRemindingFor, -1);
    EXPECT_EQ(e.ExecuteFileXTimes, 1);
    EXPECT_EQ(e.Importance, eiNormal);
    EXPECT_EQ(e.AfterReminderJob, arDoNothing);
    EXPECT_EQ(e.Duration, 0u);
    EXPECT_EQ(e.AlarmType, 0);
    EXPECT_EQ(e.AlarmParam, 0);
    EXPECT_EQ(e.AfterReminderJobParamInt, 0);
    EXPECT_TRUE(e.Description.isEmpty() && e.Notes.isEmpty() && e.AlarmSound.isEmpty() && e.CmdsToExecute.isEmpty());
    EXPECT_EQ(e.RepeatedDates->GetCount(), 0);
}

TEST_F(EventFileRead, ValuesThatCannotBeReadTakeTheDefaults)
{
    struct Case {
        const char* element;
        std::function<bool(const TEvent&)> holds;
    };
    const std::vector<Case> cases = {
        {"<Enabled>True</Enabled>", [](const TEvent& e) { return e.Enabled; }},
        {"<Enabled>false</Enabled>", [](const TEvent& e) { return !e.Enabled; }},
        {"<Enabled>1</Enabled>", [](const TEvent& e) { return e.Enabled; }},
        {"<UseTime>yes</UseTime>", [](const TEvent& e) { return e.UseTime; }},
        {"<ExecuteFile>yes</ExecuteFile>", [](const TEvent& e) { return !e.ExecuteFile; }},
        {"<Category></Category>", [](const TEvent& e) { return e.Category == QLatin1String("General"); }},
        {"<Duration>-5</Duration>", [](const TEvent& e) { return e.Duration == 0; }},
        {"<Duration>2147483648</Duration>", [](const TEvent& e) { return e.Duration == 0; }},
        {"<AlarmType>258</AlarmType>", [](const TEvent& e) { return e.AlarmType == 2; }},
        {"<AlarmParam>-2147483648</AlarmParam>", [](const TEvent& e) { return e.AlarmParam == INT32_MIN; }},
        {"<KeepRemindingFor>12x</KeepRemindingFor>", [](const TEvent& e) { return e.KeepRemindingFor == -1; }},
        {"<ExecuteFileXTimes>99999999999</ExecuteFileXTimes>",
         [](const TEvent& e) { return e.ExecuteFileXTimes == 1; }},
        {"<Importance>eiUrgent</Importance>", [](const TEvent& e) { return e.Importance == eiNormal; }},
        {"<Importance>eilow</Importance>", [](const TEvent& e) { return e.Importance == eiLow; }},
        {"<AfterReminderJob>ARDISMISS</AfterReminderJob>",
         [](const TEvent& e) { return e.AfterReminderJob == arDismiss; }},
        {"<StartDate>soon</StartDate>",
         [](const TEvent& e) { return e.GetStartDate() == at(2008, 3, 1, 12, 0, 30, 500); }},
        {"<StartDate>99999999</StartDate>", // past the year 9999
         [](const TEvent& e) { return e.GetStartDate() == at(2008, 3, 1, 12, 0, 30, 500); }},
        {"<StartDate>2454535,75</StartDate>", // a comma as the decimal separator
         [](const TEvent& e) { return std::abs(e.GetStartDate() - at(2008, 3, 10, 6)) < OneMillisecond; }},
        {"<StartDate>2454535.500694444</StartDate>", // seconds are kept
         [](const TEvent& e) { return std::abs(e.GetStartDate() - at(2008, 3, 10, 0, 1)) < OneMillisecond; }},
    };
    for (const Case& c : cases) {
        TEvent e;
        e.LoadFromXML(QStringLiteral("<Event>%1</Event>").arg(QLatin1String(c.element)));
        EXPECT_TRUE(c.holds(e)) << c.element;
    }
}

TEST_F(EventFileRead, RepeatedDatesSkipWhatIsNoDateAndStopAtAnEmptyOne)
{
    TEvent e;
    e.LoadFromXML(QStringLiteral("<Event><RepeatedDates>"
                                 "<DATE>abc</DATE><DATE>-1</DATE><DATE>1e300</DATE><DATE>nan</DATE>"
                                 "<DATE>2454535.5</DATE><DATE>2454535,5002</DATE>" // the same minute twice
                                 "<DATE>2454536.5</DATE><DATE></DATE><DATE>2454537.5</DATE>"
                                 "</RepeatedDates></Event>"));
    ASSERT_EQ(e.RepeatedDates->GetCount(), 2);
    EXPECT_EQ(e.RepeatedDates->GetItem(0)->DateTime, at(2008, 3, 10));
    EXPECT_EQ(e.RepeatedDates->GetItem(1)->DateTime, at(2008, 3, 11));

    // Dates already in the list are refused too, unless duplicates are allowed.
    e.RepeatedDates->LoadFromString(QStringLiteral("<DATE>2454536.5</DATE><DATE>2454540.5</DATE>"), false);
    EXPECT_EQ(e.RepeatedDates->GetCount(), 3);
    e.RepeatedDates->LoadFromString(QStringLiteral("<DATE>2454536.5</DATE>"), true);
    EXPECT_EQ(e.RepeatedDates->GetCount(), 4);
}

TEST_F(EventFileRead, AnEmptyEventElementEndsTheEvents)
{
    load(fileWith("", "<Event><Description>one</Description></Event>\r\n<Event></Event>\r\n"
                      "<Event><Description>lost</Description></Event>\r\n"));
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(event(0).Description, QStringLiteral("one"));
}

TEST_F(EventFileRead, CategoryBlockIsTrimmedAndSplitIntoLines)
{
    load(fileWith("  \r\n  Home\r\nWork  Stuff \nhome\rSport  \r\n", ""));
    EXPECT_EQ(list.Categories, (QStringList{"Home", "Work  Stuff ", "Sport"}));
}

TEST_F(EventFileRead, EveryKindOfLineEndReadsAsCrLf)
{
    load(fileWith("", "<Event><Notes>a\nb\rc\r\nd</Notes></Event>").replace("\r\n", "\n"));
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(event(0).Notes, QStringLiteral("a\r\nb\r\nc\r\nd"));
}

TEST_F(EventFileRead, WindowsFilesKeepTheirAccents)
{
    // Windows-1252: e acute, the euro sign, curly quotes and an undefined byte.
    load(fileWith("Caf\xE9\r\n", "<Event><Description>\x80 5 \x93quoted\x94 \x81</Description></Event>"));
    EXPECT_EQ(list.Categories, QStringList{QStringLiteral("Café")});
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(event(0).Description, QStringLiteral("€ 5 “quoted” \u0081"));

    TEventList utf8;
    utf8.LoadFromFile(writeFile(folder.filePath("u.events"), fileWith("Caf\xC3\xA9\r\n", "")), false);
    EXPECT_EQ(utf8.Categories, QStringList{QStringLiteral("Café")});
}

TEST_F(EventFileRead, OnlyFilesWithTheMarkerAreUnescaped)
{
    const QByteArray events = "<Event><Description>a &amp; b &lt;c&gt;</Description></Event>";
    load(fileWith("R&amp;D\r\n", events));
    EXPECT_EQ(list.Categories, QStringList{"R&amp;D"});
    EXPECT_EQ(event(0).Description, QStringLiteral("a &amp; b &lt;c&gt;"));

    TEventList escaped;
    escaped.LoadFromFile(
        writeFile(folder.filePath("x.events"), fileWith("R&amp;D\r\n", events, "<escaped>True</ESCAPED>\r\n")), false);
    EXPECT_EQ(escaped.Categories, QStringList{"R&D"});
    EXPECT_EQ(escaped.GetEvent(0)->Description, QStringLiteral("a & b <c>"));
}

TEST_F(EventFileRead, TextAroundTheRootAndUnknownElementsAreIgnored)
{
    load("garbage before\r\n" +
         fileWith("A\r\n", "<Event><Description>x</Description></Event>",
                  "<LastSave>whenever</LastSave>\r\n<Other>1</Other>\r\n")
             .replace("<Version>QV3.0</Version>", "<Version> \t QV3.0 \r\n</Version>") +
         "<Events><Event><Description>after</Description></Event></Events>");
    EXPECT_EQ(list.Categories, QStringList{"A"});
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(event(0).Description, QStringLiteral("x"));
}

TEST_F(EventFileRead, AWrongFormatAddsNothingAndKeepsModified)
{
    const QByteArray wrong[] = {
        "not an event file",
        "<QuilletEventFile></QuilletEventFile>",
        "<QuilletEventFile><Categories>A</Categories></QuilletEventFile>",
        "<QuilletEventFile><Version>qv3.0</Version><Categories>A</Categories></QuilletEventFile>",
        "<QuilletEventFile><Version>QV2.0</Version><Categories>A</Categories></QuilletEventFile>",
        "<QuilletEventFile><Version>QV3.0</Version><Categories>A</Categories>",
        "\r\n",
    };
    list.AddCategory(QStringLiteral("Mine"));
    list.AddEvent(TEvent());
    for (bool modified : {true, false}) {
        for (const QByteArray& bytes : wrong) {
            list.Modified = modified;
            try {
                load(bytes);
                ADD_FAILURE() << bytes.constData();
            } catch (const EFileError& e) {
                EXPECT_EQ(e.message(), QStringLiteral("Wrong file format"));
            }
            EXPECT_EQ(list.Modified, modified);
            EXPECT_EQ(list.Categories, QStringList{"Mine"});
            EXPECT_EQ(list.Count(), 1);
        }
    }
}

TEST_F(EventFileRead, AnUnreadableFileAddsNothing)
{
    list.Modified = true;
    EXPECT_THROW(list.LoadFromFile(folder.path(), false), EFileError); // a folder, not a file
    EXPECT_TRUE(list.Modified);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_TRUE(list.Categories.isEmpty());
}

TEST_F(EventFileRead, AnEmptyFileAddsNothing)
{
    list.Modified = true;
    load("");
    EXPECT_FALSE(list.Modified);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_TRUE(list.Categories.isEmpty());
}

TEST_F(EventFileRead, AMissingFileGivesTheFirstRunContent)
{
    list.Modified = true;
    list.LoadFromFile(folder.filePath("none.events"), false);
    EXPECT_FALSE(list.Modified);
    EXPECT_EQ(list.Categories, (QStringList{"General", "Birthdays", "Holidays", "Business", "Personal"}));
    ASSERT_EQ(list.Count(), 1);
    const TEvent& welcome = event(0);
    EXPECT_EQ(welcome.Description, QStringLiteral("Welcome to Quillet!!"));
    EXPECT_EQ(welcome.Category, QStringLiteral("General"));
    EXPECT_EQ(welcome.GetStartDate(), at(2008, 3, 1, 12, 0, 30, 500));
    EXPECT_EQ(welcome.StartDateItem->NotificationTime, welcome.GetStartDate());
    EXPECT_FALSE(welcome.UseTime);
    EXPECT_TRUE(welcome.Enabled);
    EXPECT_EQ(welcome.AlarmType, 1);
    EXPECT_EQ(welcome.AlarmParam, 0);
    EXPECT_TRUE(welcome.PopUpNotify);
    EXPECT_TRUE(welcome.AudioNotify);
    EXPECT_EQ(welcome.Importance, eiNormal);
}

TEST_F(EventFileRead, MergeSkipsDescriptionsAlreadyPresent)
{
    TEvent present;
    present.Description = QStringLiteral("Dentist");
    list.AddEvent(present);
    list.AddCategory(QStringLiteral("Home"));
    const QByteArray file =
        fileWith("home\r\nWork\r\n", "<Event><Description>Dentist</Description></Event>"
                                     "<Event><Description>dentist</Description></Event>"
                                     "<Event><Description>New</Description><Notes>1</Notes></Event>"
                                     "<Event><Description>New</Description><Notes>2</Notes></Event>");
    load(file, true);
    EXPECT_FALSE(list.Modified);
    EXPECT_EQ(list.Categories, (QStringList{"Home", "Work"}));
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(event(1).Description, QStringLiteral("dentist"));
    EXPECT_EQ(event(2).Notes, QStringLiteral("1"));

    load(file, false); // without Merge everything is appended
    EXPECT_EQ(list.Count(), 7);
}
