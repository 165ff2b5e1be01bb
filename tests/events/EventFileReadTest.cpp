// Reading hand-written event files: the format as other programs and older
// versions write it, and files that must be refused without harm.
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "events/FileValues.h"

using namespace testing_support;

namespace {

QByteArray fileWith(const QByteArray& categories, const QByteArray& events, const QByteArray& extra = {})
{
    return "<QuilletEventFile>\r\n<Version>QV3.0</Version>\r\n" + extra + "<Categories>" + categories +
           "</Categories>\r\n<Events>\r\n" + events + "</Events>\r\n</QuilletEventFile>\r\n";
}

class EventFileRead : public ::testing::Test {
protected:
    // Loads the bytes into `list`, which keeps what it held.
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
    load("garbage before\r\n" +
         fileWith("Home\r\n",
                  "<EVENT>\r\n\t<notes>N</NOTES>\r\n\t<description>D</Description>\r\n"
                  "\t<Unknown>junk</Unknown>\r\n\t<IMPORTANCE>EIHIGH</importance>\r\n"
                  "\t<startdate>2454535.5</STARTDATE>\r\n\t<Description>second</Description>\r\n"
                  "\t<repeateddates><date>2454542.5</Date><DATE>2454549.75</date></RepeatedDates>\r\n</event>\r\n",
                  "<LastSave>whenever</LastSave>\r\n<Other>1</Other>\r\n")
             .replace("<Version>QV3.0</Version>", "<Version> \t QV3.0 \r\n</Version>") +
         "<Events><Event><Description>after the root</Description></Event></Events>");
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(event(0).Description, "D"); // the first element of a name wins
    EXPECT_EQ(event(0).Notes, "N");
    EXPECT_EQ(event(0).Importance, eiHigh);
    EXPECT_EQ(event(0).GetStartDate(), at(2008, 3, 10));
    ASSERT_EQ(event(0).RepeatedDates->GetCount(), 2);
    EXPECT_NEAR(event(0).RepeatedDates->GetItem(1)->DateTime, at(2008, 3, 24, 6, 0), OneMillisecond);
    EXPECT_EQ(list.Categories, QStringList{"Home"});
}

TEST_F(EventFileRead, MissingOrUnreadableValuesTakeTheReadersDefaults)
{
    TEvent e;
    e.LoadFromXML(u"<Event></Event>");
    EXPECT_TRUE(e.Enabled && e.UseTime && e.AudioNotify && e.PopUpNotify && e.ShowOnCalendar && !e.ExecuteFile);
    EXPECT_EQ(std::tuple(e.KeepRemindingFor, e.ExecuteFileXTimes, e.Duration, e.AlarmType, e.AlarmParam,
                         e.AfterReminderJobParamInt, e.Importance, e.AfterReminderJob),
              std::tuple(-1, 1, 0u, 0, 0, 0, eiNormal, arDoNothing));
    EXPECT_EQ(e.GetStartDate(), Now()) << "now, seconds kept";
    EXPECT_EQ(e.Category, "General");
    EXPECT_EQ(e.Description + e.Notes + e.AlarmSound + e.CmdsToExecute, "");
    EXPECT_EQ(e.RepeatedDates->GetCount(), 0);

    // Each element against the field as the writer puts it back.
    const auto startDate = [](TDateTime value) { return "<StartDate>" + formatJulian(value) + "</StartDate>"; };
    const std::vector<std::pair<QString, QString>> cases = {
        {"<Enabled>True</Enabled>", "<Enabled>-1</Enabled>"},
        {"<Enabled>false</Enabled>", "<Enabled>0</Enabled>"},
        {"<Enabled>1</Enabled>", "<Enabled>-1</Enabled>"},
        {"<UseTime>yes</UseTime>", "<UseTime>-1</UseTime>"},
        {"<ExecuteFile>yes</ExecuteFile>", "<ExecuteFile>0</ExecuteFile>"},
        {"<Category></Category>", "<Category>General</Category>"},
        {"<Duration>-5</Duration>", "<Duration>0</Duration>"},
        {"<Duration>2147483648</Duration>", "<Duration>0</Duration>"},
        {"<AlarmType>258</AlarmType>", "<AlarmType>2</AlarmType>"},
        {"<AlarmParam>-2147483648</AlarmParam>", "<AlarmParam>-2147483648</AlarmParam>"},
        {"<KeepRemindingFor>12x</KeepRemindingFor>", "<KeepRemindingFor>-1</KeepRemindingFor>"},
        {"<ExecuteFileXTimes>99999999999</ExecuteFileXTimes>", "<ExecuteFileXTimes>1</ExecuteFileXTimes>"},
        {"<Importance>eiUrgent</Importance>", "<Importance>eiNormal</Importance>"},
        {"<Importance>eilow</Importance>", "<Importance>eiLow</Importance>"},
        {"<AfterReminderJob>ARDISMISS</AfterReminderJob>", "<AfterReminderJob>arDismiss</AfterReminderJob>"},
        {"<StartDate>soon</StartDate>", startDate(Now())},
        {"<StartDate>99999999</StartDate>", startDate(Now())}, // past the year 9999
        {"<StartDate>2454535,75</StartDate>", startDate(at(2008, 3, 10, 6))},
        {"<StartDate>2454535.500694444</StartDate>", startDate(at(2008, 3, 10, 0, 1))}, // seconds kept
    };
    for (const auto& [element, written] : cases) {
        e.LoadFromXML("<Event>" + element + "</Event>");
        EXPECT_TRUE(e.SaveToXML().contains("\t" + written + "\r\n")) << element;
    }
}

TEST_F(EventFileRead, RepeatedDatesSkipWhatIsNoDateAndStopAtAnEmptyOne)
{
    load(fileWith("", "<Event><RepeatedDates><DATE>abc</DATE><DATE>-1</DATE><DATE>1e300</DATE><DATE>nan</DATE>"
                      "<DATE>2454535.5</DATE><DATE>2454535,5002</DATE>" // the same minute twice
                      "<DATE>2454536.5</DATE><DATE></DATE><DATE>2454537.5</DATE></RepeatedDates></Event>"
                      "<Event><Description>one</Description></Event><Event></Event><Event>lost</Event>"));
    ASSERT_EQ(list.Count(), 2) << "an empty event element ends the events";
    const TDateTimeList& dates = *event(0).RepeatedDates;
    ASSERT_EQ(dates.GetCount(), 2);
    EXPECT_EQ(std::pair(dates.GetItem(0)->DateTime, dates.GetItem(1)->DateTime),
              std::pair(at(2008, 3, 10), at(2008, 3, 11)));

    // Dates already in the list are refused too, unless duplicates are allowed.
    event(0).RepeatedDates->LoadFromString("<DATE>2454536.5</DATE><DATE>2454540.5</DATE>", false);
    EXPECT_EQ(dates.GetCount(), 3);
    event(0).RepeatedDates->LoadFromString("<DATE>2454536.5</DATE>", true);
    EXPECT_EQ(dates.GetCount(), 4);
}

TEST_F(EventFileRead, LineEndsCategoriesAndAccentsOfOtherWriters)
{
    // Windows-1252 (e acute, the euro sign, curly quotes, an undefined byte) and lone CR and LF.
    load(fileWith("  \r\n  Caf\xE9\r\nWork  Stuff \ncaf\xC9\rSport  \r\n",
                  "<Event><Description>\x80 5 \x93quoted\x94 \x81</Description><Notes>a\nb\rc\r\nd</Notes></Event>")
             .replace("\r\n", "\n"));
    EXPECT_EQ(list.Categories, (QStringList{"Café", "Work  Stuff ", "Sport"}));
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(event(0).Description, "€ 5 “quoted” \u0081");
    EXPECT_EQ(event(0).Notes, "a\r\nb\r\nc\r\nd");

    load(fileWith("Caf\xC3\xA9\r\n", "")); // UTF-8
    EXPECT_EQ(list.Categories, (QStringList{"Café", "Work  Stuff ", "Sport"}));
    load(fileWith("Caf\xC3\xA9s\r\n", ""));
    EXPECT_EQ(list.Categories.last(), "Cafés");
}

TEST_F(EventFileRead, OnlyFilesWithTheMarkerAreUnescaped)
{
    const QByteArray events = "<Event><Description>a &amp; b &lt;c&gt;</Description></Event>";
    load(fileWith("R&amp;D\r\n", events));
    load(fileWith("R&amp;D\r\n", events, "<escaped>True</ESCAPED>\r\n"));
    EXPECT_EQ(list.Categories, (QStringList{"R&amp;D", "R&D"}));
    EXPECT_EQ(event(0).Description, "a &amp; b &lt;c&gt;");
    EXPECT_EQ(event(1).Description, "a & b <c>");
}

TEST_F(EventFileRead, AFileThatCannotBeReadAddsNothingAndKeepsModified)
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
    list.AddCategory("Mine");
    list.AddEvent(TEvent());
    for (bool modified : {true, false}) {
        for (const QByteArray& bytes : wrong) {
            list.Modified = modified;
            EXPECT_EQ(messageOf<EFileError>([&] { load(bytes); }), "Wrong file format") << bytes.constData();
            EXPECT_EQ(list.Modified, modified);
        }
        EXPECT_THROW(list.LoadFromFile(folder.path(), false), EFileError); // a folder, not a file
        EXPECT_EQ(list.Modified, modified);
    }
    EXPECT_EQ(list.Categories, QStringList{"Mine"});
    EXPECT_EQ(list.Count(), 1);

    list.Modified = true;
    load("");
    EXPECT_FALSE(list.Modified) << "an empty file is no error";
    EXPECT_EQ(list.Count(), 1);
}

TEST_F(EventFileRead, AMissingFileGivesTheFirstRunContent)
{
    list.Modified = true;
    list.LoadFromFile(folder.filePath("none.events"), false);
    EXPECT_FALSE(list.Modified);
    EXPECT_EQ(list.Categories, (QStringList{"General", "Birthdays", "Holidays", "Business", "Personal"}));
    ASSERT_EQ(list.Count(), 1);
    const TEvent& e = event(0);
    EXPECT_EQ(std::tuple(e.Description, e.Category, e.GetStartDate(), e.StartDateItem->NotificationTime),
              std::tuple("Welcome to Quillet!!", "General", Now(), Now()));
    EXPECT_EQ(std::tuple(e.AlarmType, e.AlarmParam, e.Importance), std::tuple(1, 0, eiNormal));
    EXPECT_TRUE(!e.UseTime && e.Enabled && e.PopUpNotify && e.AudioNotify);
}

TEST_F(EventFileRead, MergeSkipsDescriptionsAlreadyPresent)
{
    TEvent present;
    present.Description = "Dentist";
    list.AddEvent(present);
    list.AddCategory("Home");
    const QByteArray file =
        fileWith("home\r\nWork\r\n", "<Event><Description>Dentist</Description></Event>"
                                     "<Event><Description>dentist</Description></Event>"
                                     "<Event><Description>New</Description><Notes>1</Notes></Event>"
                                     "<Event><Description>New</Description><Notes>2</Notes></Event>");
    load(file, true);
    EXPECT_FALSE(list.Modified);
    EXPECT_EQ(list.Categories, (QStringList{"Home", "Work"}));
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(std::pair(event(1).Description, event(2).Notes), std::pair(QString("dentist"), QString("1")));
    load(file, false); // without Merge everything is appended
    EXPECT_EQ(list.Count(), 7);
}
