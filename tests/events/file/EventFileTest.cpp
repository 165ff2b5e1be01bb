#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>

#include "OtherUser.h"
#include "TestSupport.h"
#include "events/file/FileAccess.h"

using namespace testing_support;

namespace {

// An event element as it is written, every field away from the reader's defaults.
const QString fullEvent =
    "<Event>\r\n\t<Enabled>0</Enabled>\r\n\t<StartDate>2454536</StartDate>\r\n\t<UseTime>0</UseTime>\r\n"
    "\t<Duration>90</Duration>\r\n\t<RepeatedDates><DATE>2454543</DATE><DATE>2454550</DATE></RepeatedDates>\r\n"
    "\t<Category>R&amp;D</Category>\r\n\t<Description>Two lines:\r\n&lt;/Event&gt; € line</Description>\r\n"
    "\t<Notes>First\r\n\r\n\tIndented &lt;/Notes&gt;&lt;/Events&gt; ünï</Notes>\r\n\t<AlarmType>2</AlarmType>\r\n"
    "\t<AlarmParam>-3</AlarmParam>\r\n\t<AlarmSound>chime</AlarmSound>\r\n\t<AudioNotify>0</AudioNotify>\r\n"
    "\t<PopUpNotify>0</PopUpNotify>\r\n\t<Importance>eiHighest</Importance>\r\n"
    "\t<KeepRemindingFor>7</KeepRemindingFor>\r\n\t<AfterReminderJob>arSnoozeMins</AfterReminderJob>\r\n"
    "\t<AfterReminderJobParamInt>12</AfterReminderJobParamInt>\r\n\t<ExecuteFile>-1</ExecuteFile>\r\n"
    "\t<CmdsToExecute>#!sh\r\necho a &amp;&amp; echo b</CmdsToExecute>\r\n"
    "\t<ExecuteFileXTimes>4</ExecuteFileXTimes>\r\n\t<ShowOnCalendar>0</ShowOnCalendar>\r\n</Event>";

QByteArray fileWith(const QByteArray& categories, const QByteArray& events, const QByteArray& extra = {})
{
    return "<QuilletEventFile>\r\n<Version>QV3.0</Version>\r\n" + extra + "<Categories>" + categories +
           "</Categories>\r\n<Events>\r\n" + events + "</Events>\r\n</QuilletEventFile>\r\n";
}

class EventFile : public ::testing::Test {
protected:
    QString path() const { return folder.filePath("e.events"); }
    // Loads the bytes into `list`, which keeps what it held.
    void load(const QByteArray& bytes, bool merge = false) { list.LoadFromFile(writeFile(path(), bytes), merge); }
    const TEvent& event(int index) const { return *list.GetEvent(index); }

    QTemporaryDir folder;
    TEventList list;
    ClockOverride clock{at(2008, 3, 1, 12, 0, 30, 500)};
};

} // namespace

TEST_F(EventFile, WritesEveryFieldLineByLineAndReadsItBack)
{
    for (const char* name : {"General", "  R&D </Categories> ", "Birthdays"})
        list.AddCategory(name);
    TEvent read;
    read.LoadFromXML(fullEvent);
    EXPECT_EQ(read.Description, "Two lines:\r\n</Event> € line");
    list.AddEvent(read);
    writeFile(path(), QByteArray(100000, 'x'));
    clock.set(at(2026, 12, 6, 3, 4, 5, 67));
    list.SaveToFile(path());
    EXPECT_FALSE(list.Modified);
    const QStringList lines = QString::fromUtf8(readFile(path())).split("\r\n"); // UTF-8 without a byte-order mark
    EXPECT_TRUE(lines.value(3).startsWith("<LastSave>2026-12-06 03")) << lines.value(3);
    // The save time's separators are the regional ones; the first category stands on the opening tag's line.
    const QString expected = "<QuilletEventFile>\r\n<Version>QV3.0</Version>\r\n<Escaped>-1</Escaped>\r\n<LastSave>" +
                             formatDateTime("yyyy-mm-dd hh:nn:ss.zzz", Now()) +
                             "</LastSave>\r\n<Categories>General\r\n  R&amp;D &lt;/Categories&gt; \r\nBirthdays\r\n"
                             "</Categories>\r\n<Events>\r\n" +
                             fullEvent + "\r\n</Events>\r\n</QuilletEventFile>\r\n";
    EXPECT_EQ(lines, expected.split("\r\n"));

    list.GetEvent(0)->SetStartDate(at(2008, 3, 10, 14, 25, 37, 250)); // written to 15 digits: within 1 ms
    list.AddEvent(TEvent());                                          // the new event's values
    list.SaveToFile(path());
    clock.set(at(2008, 3, 1, 12, 0));
    TEventList back;
    back.LoadFromFile(path(), false);
    EXPECT_EQ(back.Categories, list.Categories);
    ASSERT_EQ(back.Count(), 2);
    EXPECT_EQ(back.GetEvent(0)->SaveToXML(), list.GetEvent(0)->SaveToXML());
    EXPECT_EQ(back.GetEvent(1)->SaveToXML(),
              list.GetEvent(1)->SaveToXML().replace("<Category></Category>", "<Category>General</Category>"));
    // Notification times are worked out afresh.
    EXPECT_NEAR(back.GetEvent(0)->StartDateItem->NotificationTime, at(2008, 3, 10, 11, 25, 37, 250), OneMillisecond);
    EXPECT_NEAR(back.GetEvent(0)->RepeatedDates->GetItem(1)->NotificationTime, at(2008, 3, 24, 9, 0), OneMillisecond);
}

TEST_F(EventFile, AFailedSaveRaisesKeepsModifiedAndLeavesTheOldFileWhole)
{
    list.AddEvent(TEvent());
    // A folder that is a regular file cannot hold the file, whoever runs the test.
    EXPECT_THROW(list.SaveToFile(writeFile(folder.filePath("plain"), "x") + "/e.events"), EFileError);
    EXPECT_TRUE(list.Modified);

    const QByteArray before = fileWith("Old", "");
    writeFile(path(), before);
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
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList({"e.events", "plain"})) << "no temporary file";
}

TEST_F(EventFile, FilesOfOtherWritersReadTheSame)
{
    load("garbage before\r\n" +
         fileWith(
             "  \r\n  Caf\xE9\r\nWork  Stuff \r\nCAF\xE9\rR&amp;D  \r\n",
             "<EVENT>\r\n\t<notes>a\nb\rc\r\nd &lt;</NOTES>\r\n\t<description>\x80 5 \x93quoted\x94 "
             "\x81</Description>\r\n"
             "\t<Unknown>junk</Unknown>\r\n\t<IMPORTANCE>EIHIGH</importance>\r\n"
             "\t<startdate>2454535.5</STARTDATE>\r\n\t<Description>second</Description>\r\n"
             "\t<repeateddates><date>abc</Date><DATE>-1</DATE><DATE>1e300</DATE><DATE>nan</DATE><DATE>2454542.5</DATE>"
             "<DATE>2454542,5002</DATE><date>2454549.75</date><DATE></DATE><DATE>2454551.5</DATE></RepeatedDates>\r\n"
             "</event>\r\n<Event><Description>one</Description></Event><Event></Event><Event>lost</Event>",
             "<LastSave>whenever</LastSave>\r\n<Other>1</Other>\r\n")
             .replace("<Version>QV3.0</Version>", "<Version> \t QV3.0 \r\n</Version>")
             .replace("\r\n", "\n") +
         "<Events><Event>after the root</Event></Events>");
    EXPECT_EQ(list.Categories, (QStringList{"Café", "Work  Stuff ", "R&amp;D"}));
    ASSERT_EQ(list.Count(), 2) << "an empty event element ends the events";
    EXPECT_EQ(event(0).Description, "€ 5 “quoted” \u0081") << "the first element of a name wins";
    EXPECT_EQ(event(0).Notes, "a\r\nb\r\nc\r\nd &lt;");
    EXPECT_EQ(event(0).Importance, eiHigh);
    EXPECT_EQ(event(0).GetStartDate(), at(2008, 3, 10));
    // Values that are no date are skipped, the same minute is taken once, and an empty date ends the run.
    const TDateTimeList& dates = *event(0).RepeatedDates;
    ASSERT_EQ(dates.GetCount(), 2);
    EXPECT_EQ(dates.GetItem(0)->DateTime, at(2008, 3, 17));
    EXPECT_NEAR(dates.GetItem(1)->DateTime, at(2008, 3, 24, 6, 0), OneMillisecond);
    // Dates already in the list are refused too, unless duplicates are allowed.
    event(0).RepeatedDates->LoadFromString("<DATE>2454542.5</DATE><DATE>2454540.5</DATE>", false);
    EXPECT_EQ(dates.GetCount(), 3);
    event(0).RepeatedDates->LoadFromString("<DATE>2454542.5</DATE>", true);
    EXPECT_EQ(dates.GetCount(), 4);
}

TEST_F(EventFile, MissingOrUnreadableValuesTakeTheReadersDefaults)
{
    TEvent e;
    // Each value against the field as the writer puts it back: "tag value written".
    for (const char* c :
         {"Enabled True -1", "Enabled false 0", "UseTime yes -1", "Category  General", "Duration -5 0",
          "Duration 2147483648 0", "AlarmType 258 2", "AlarmParam -2147483648 -2147483648", "KeepRemindingFor 12x -1",
          "ExecuteFileXTimes 99999999999 1", "Importance eiUrgent eiNormal", "AfterReminderJob ARDISMISS arDismiss"}) {
        const QStringList part = QString(c).split(' ');
        e.LoadFromXML(QString("<Event><%1>%2</%1></Event>").arg(part[0], part[1]));
        EXPECT_TRUE(e.SaveToXML().contains(QString("\t<%1>%2</%1>\r\n").arg(part[0], part[2]))) << c;
    }
    // Start dates outside the years 1-9999 become now; seconds are kept, and a comma may separate the decimals.
    for (auto [text, start] : {std::pair{"soon", Now()},
                               {"99999999", Now()},
                               {"2454535,75", at(2008, 3, 10, 6)},
                               {"2454535.500694444", at(2008, 3, 10, 0, 1)}}) {
        e.LoadFromXML(QString("<Event><StartDate>%1</StartDate></Event>").arg(text));
        EXPECT_NEAR(e.GetStartDate(), start, OneMillisecond) << text;
    }
}

TEST_F(EventFile, AFileThatCannotBeReadAddsNothingAndKeepsModified)
{
    QByteArrayList wrong = {"not an event file", "<QuilletEventFile></QuilletEventFile>", "\r\n"};
    for (auto [from, to] : {std::pair{"<Version>QV3.0</Version>", ""},
                            {"QV3.0", "qv3.0"},
                            {"QV3.0", "QV2.0"},
                            {"</QuilletEventFile>", ""}})
        wrong << fileWith("A", "").replace(from, to);
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

TEST_F(EventFile, AMissingFileGivesTheFirstRunContent)
{
    list.Modified = true;
    list.LoadFromFile(folder.filePath("none.events"), false);
    EXPECT_FALSE(list.Modified);
    EXPECT_EQ(list.Categories, (QStringList{"General", "Birthdays", "Holidays", "Business", "Personal"}));
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(std::pair(event(0).Description, event(0).StartDateItem->NotificationTime),
              std::pair(QString("Welcome to Quillet!!"), Now()));
}

TEST_F(EventFile, TheReasonNothingIsFoundAtAPathIsTheSystems)
{
    const QString plain = writeFile(folder.filePath("plain"), "x");
    const std::pair<QString, QString> cases[] = {{folder.filePath("none.events"), "No such file or directory"},
                                                 {plain + "/e.events", "Not a directory"},
                                                 {plain, ""},
                                                 {folder.path(), ""}};
    for (const auto& [path, reason] : cases)
        EXPECT_EQ(missingFileReason(path), reason) << path;

    // A file in a folder that others may not search is there, but not for them.
    SKIP_UNLESS_ABLE_TO_ACT_AS_ANOTHER_USER();
    const QString closed = folder.filePath("closed");
    ASSERT_TRUE(QDir().mkdir(closed));
    ASSERT_TRUE(QFile::setPermissions(closed, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const QString inside = writeFile(closed + "/e.events", "x");
    EXPECT_EQ(testing_support::OtherUser::nobody().answer([&] { return missingFileReason(inside).toUtf8(); }),
              "Permission denied");
}

TEST_F(EventFile, MergeSkipsDescriptionsAlreadyPresent)
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

TEST_F(EventFile, TellsWhenTextInTheEventsBlockWasNoEvent)
{
    const QByteArray one = "<Event>\r\n\t<Description>one</Description>\r\n</Event>\r\n";
    const QByteArray two = "<Event>\r\n\t<Description>two</Description>\r\n\t<Notes>n</Notes>\r\n</Event>\r\n";
    const QByteArray three = "<Event>\r\n\t<Description>three</Description>\r\n</Event>\r\n";
    const auto skipped = [&](const QByteArray& events, int count) {
        TEventList fresh;
        fresh.LoadFromFile(writeFile(path(), fileWith("A\r\n", events)), false);
        EXPECT_EQ(fresh.Count(), count) << events.constData();
        return fresh.lastLoadDamage().SkippedText;
    };
    EXPECT_FALSE(skipped(one + " \t\r\n\n" + two + three, 3)) << "blanks and line ends between events are no loss";

    // Bytes cut out from between two events into the middle of the next: the
    // rest of that event and every event after it can't be read.
    QByteArray cut = one + two + three;
    cut.remove(cut.indexOf(two), two.indexOf("<Notes>"));
    EXPECT_TRUE(skipped(cut, 1));
    // Text between the events, and events behind an empty one, are passed over too.
    EXPECT_TRUE(skipped(one + "stray" + two, 2));
    EXPECT_TRUE(skipped(one + "<Event></Event>" + two, 1));

    // Each load starts afresh, also one that fails or finds no file.
    load(fileWith("A\r\n", one + "stray"));
    EXPECT_TRUE(list.lastLoadDamage().SkippedText);
    EXPECT_THROW(load("not an event file"), EFileError);
    EXPECT_FALSE(list.lastLoadDamage().SkippedText);
    load(fileWith("A\r\n", one + "stray"));
    list.LoadFromFile(folder.filePath("none.events"), false);
    EXPECT_FALSE(list.lastLoadDamage().SkippedText);
}

// The Arabic decimal separator (fa_IR): regional settings are read at start, so the test reruns itself.
TEST(EventFileLocale, DatesSurviveADecimalSeparatorThatIsNeitherPointNorComma)
{
    const QString childFolder = qEnvironmentVariable("QUILLET_LOCALE_TEST_FOLDER");
    if (!childFolder.isEmpty()) {
        ASSERT_EQ(QLocale::system().decimalPoint(), QString(u'\u066B')) << "the regional settings of the child";
        ClockOverride clock(at(2008, 3, 1, 12, 0));
        TEventList list;
        addEvent(list, at(2008, 3, 10, 14, 25, 37, 250), {at(2008, 3, 17, 9, 0), at(2008, 3, 24, 9, 30)});
        list.SaveToFile(childFolder + "/saved.events");
        TEventList back;
        back.LoadFromFile(childFolder + "/saved.events", false);
        ASSERT_EQ(back.Count(), 1);
        EXPECT_EQ(back.GetEvent(0)->SaveToXML(), list.GetEvent(0)->SaveToXML());
        EXPECT_NEAR(back.GetEvent(0)->GetStartDate(), at(2008, 3, 10, 14, 25, 37, 250), OneMillisecond);
        // Files that earlier versions wrote with the Arabic separator read too.
        TEvent old;
        old.LoadFromXML(u"<Event><StartDate>2454535\u066B75</StartDate>"
                        u"<RepeatedDates><DATE>2454542\u066B5</DATE></RepeatedDates></Event>");
        EXPECT_EQ(old.GetStartDate(), at(2008, 3, 10, 6));
        ASSERT_EQ(old.RepeatedDates->GetCount(), 1);
        EXPECT_EQ(old.RepeatedDates->GetItem(0)->DateTime, at(2008, 3, 17));
        return;
    }
    QTemporaryDir folder;
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("LC_ALL", "fa_IR.UTF-8");
    environment.insert("QUILLET_LOCALE_TEST_FOLDER", folder.path());
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {"--gtest_filter=EventFileLocale.DatesSurviveADecimalSeparatorThatIsNeitherPointNorComma"});
    ASSERT_TRUE(child.waitForFinished(60000));
    const QString output = QString::fromUtf8(child.readAll());
    EXPECT_EQ(child.exitCode(), 0) << output;
    EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output;
    const QString saved = QString::fromUtf8(readFile(folder.filePath("saved.events")));
    EXPECT_TRUE(saved.contains("<StartDate>2454536.10112") && !saved.contains(u'\u066B')) << saved;
}
