// Event files that other programs damaged, or changed while Quillet read them.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>

#include <chrono>
#include <ctime>
#include <functional>

#include "TestSupport.h"
#include "events/file/FileAccess.h"

using namespace testing_support;

namespace {

class EventFileDamage : public ::testing::Test {
protected:
    QString path() const { return folder.filePath("e.events"); }

    QTemporaryDir folder;
    ClockOverride clock{at(2008, 3, 1, 12, 0, 30, 500)};
};

// A forked child that does Act after Delay, exiting 0 if it succeeds; Act must be fork-safe.
template <typename Act> pid_t laterInAChild(std::chrono::nanoseconds Delay, Act act)
{
    const pid_t child = ::fork();
    if (child == 0) {
        const timespec wait{static_cast<time_t>(Delay.count() / 1000000000),
                            static_cast<long>(Delay.count() % 1000000000)};
        ::nanosleep(&wait, nullptr);
        ::_exit(act() ? 0 : 1);
    }
    return child;
}

} // namespace

TEST_F(EventFileDamage, AFileCutShortWhileItLoadsIsReadAsItStandsOrRefused)
{
    constexpr int Events = 10000;
    TEventList written;
    for (int i = 0; i < Events; ++i)
        addEvent(written, at(2009, 1, 1) + i, {at(2010, 1, 1) + i}).Description = QString("event %1").arg(i);
    written.SaveToFile(path());
    const QByteArray whole = readFile(path());
    const auto started = std::chrono::steady_clock::now();
    TEventList timed;
    timed.LoadFromFile(path(), false);
    const auto loadTime = std::chrono::steady_clock::now() - started;

    // The cut comes at moments spread over a whole load, once also to nothing.
    for (int step = 0; step <= 8; ++step) {
        SCOPED_TRACE(step);
        writeFile(path(), whole);
        const off_t cut = step == 8 ? 0 : whole.size() / 3;
        const QByteArray name = QFile::encodeName(path());
        // Cut as a sync tool or an editor would.
        const pid_t child = laterInAChild(loadTime * step / 8, [&] { return ::truncate(name.constData(), cut) == 0; });
        ASSERT_GT(child, 0);
        TEventList list;
        try {
            list.LoadFromFile(path(), false);
            // Read before the cut, or afterwards as the empty file it became.
            EXPECT_TRUE(list.Count() == Events || (cut == 0 && list.Count() == 0)) << list.Count();
        } catch (const EFileError&) {
            // The part left is no whole file, or the file kept changing.
            EXPECT_EQ(list.Count(), 0);
            EXPECT_TRUE(list.Categories.isEmpty());
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_EQ(WEXITSTATUS(status), 0);
        EXPECT_EQ(readFile(path()), whole.left(cut)) << "the load never writes to the file";
    }
}

TEST_F(EventFileDamage, AFileRewrittenWhileItLoadsIsReadWholeAsItWasOrAsItBecame)
{
    const auto eventFile = [this](int Events, const QString& Name) {
        TEventList list;
        for (int i = 0; i < Events; ++i)
            addEvent(list, at(2009, 1, 1) + i).Description = Name;
        list.SaveToFile(path());
        return readFile(path());
    };
    const QByteArray smaller = eventFile(3, "new"), old = eventFile(50, "old");
    const QByteArray name = QFile::encodeName(path()), besideName = QFile::encodeName(folder.filePath("b.events"));
    // Rewritten after a read of its bytes: in place by an editor, or as a new file that a
    // sync tool renames over it (the open file may then still read whole); once, or
    // after every read.
    struct Rewrite {
        std::function<void()> Act;
        bool InPlace, EveryRead;
    };
    const auto renameOver = [&] {
        writeFile(folder.filePath("b.events"), smaller);
        EXPECT_EQ(::rename(besideName.constData(), name.constData()), 0);
    };
    const Rewrite rewrites[] = {{[&] { writeFile(path(), smaller); }, true, false},
                                {renameOver, false, false},
                                {[&] { writeFile(path(), readFile(path()) == old ? smaller : old); }, true, true}};
    for (const Rewrite& rewrite : rewrites) {
        SCOPED_TRACE(&rewrite - rewrites);
        writeFile(path(), old);
        int reads = 0;
        setAfterFileReadForTests([&] {
            if (reads++ == 0 || rewrite.EveryRead)
                rewrite.Act();
        });
        TEventList list;
        try {
            list.LoadFromFile(path(), false);
            EXPECT_FALSE(rewrite.EveryRead) << "read while it kept changing";
            const int count = list.Count();
            EXPECT_TRUE(count == 3 || count == 50) << count;
            for (int i = 0; i < count; ++i)
                EXPECT_EQ(list.GetEvent(i)->Description, count == 3 ? "new" : "old");
        } catch (const EFileError& failure) {
            EXPECT_TRUE(rewrite.EveryRead) << failure.what();
            EXPECT_TRUE(failure.message().endsWith("It kept changing while it was read.")) << failure.what();
            EXPECT_EQ(list.Count(), 0);
        }
        setAfterFileReadForTests({});
        EXPECT_TRUE(!rewrite.InPlace || reads > 1) << "a file changed in place is read again";
    }
}

TEST_F(EventFileDamage, ANamedPipeOrAFolderAtThePathIsRefusedWithoutWaiting)
{
    ASSERT_EQ(::mkfifo(QFile::encodeName(path()).constData(), 0600), 0);
    // Should the load wait for a writer, this one ends the wait with an empty pipe.
    const QByteArray name = QFile::encodeName(path());
    const pid_t writer =
        laterInAChild(std::chrono::seconds(2), [&] { return ::open(name.constData(), O_WRONLY | O_NONBLOCK) >= 0; });
    ASSERT_GT(writer, 0);
    TEventList list;
    EXPECT_THROW(list.LoadFromFile(path(), false), EFileError);
    ::kill(writer, SIGKILL);
    ::waitpid(writer, nullptr, 0);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_TRUE(list.Categories.isEmpty());

    const QString folderPath = folder.filePath("folder.events");
    ASSERT_TRUE(QDir().mkdir(folderPath));
    EXPECT_THROW(list.LoadFromFile(folderPath, true), EFileError);
    EXPECT_EQ(list.Count(), 0);
}

TEST_F(EventFileDamage, OnlyTheValuesThatAreNoUtf8AreReadAsWindows1252)
{
    const auto file = [](const QByteArray& categories, const QByteArray& events) {
        return "<QuilletEventFile>\r\n<Version>QV3.0</Version>\r\n<Escaped>-1</Escaped>\r\n<Categories>" + categories +
               "</Categories>\r\n<Events>\r\n" + events + "</Events>\r\n</QuilletEventFile>\r\n";
    };
    const auto event = [](const QByteArray& description, const QByteArray& notes, const QByteArray& category) {
        return "<Event>\r\n\t<Description>" + description + "</Description>\r\n\t<Notes>" + notes +
               "</Notes>\r\n\t<Category>" + category + "</Category>\r\n</Event>\r\n";
    };
    // One title edited by hand in Windows-1252, in a UTF-8 file.
    TEventList mixed;
    mixed.LoadFromFile(
        writeFile(path(), file("B\xC3\xBCro\r\nF\xC3\xAAte\r\n",
                               event("Gr\xC3\xBC\xC3\x9F\x65", "Caf\xC3\xA9 \xE2\x82\xAC", "B\xC3\xBCro") +
                                   event("caf\xE9 \x80", "na\xC3\xAFve", "B\xC3\xBCro"))),
        false);
    EXPECT_EQ(mixed.Categories, (QStringList{"Büro", "Fête"}));
    ASSERT_EQ(mixed.Count(), 2);
    EXPECT_EQ(mixed.GetEvent(0)->Description, "Grüße");
    EXPECT_EQ(mixed.GetEvent(0)->Notes, "Café €");
    EXPECT_EQ(mixed.GetEvent(1)->Description, "café €");
    EXPECT_EQ(mixed.GetEvent(1)->Notes, "naïve");
    EXPECT_EQ(mixed.GetEvent(1)->Category, "Büro");
    EXPECT_TRUE(mixed.lastLoadDamage().MixedEncodings);
    EXPECT_FALSE(mixed.lastLoadDamage().SkippedText || mixed.lastLoadDamage().ZeroBytes ||
                 mixed.lastLoadDamage().UnclosedEvent);

    // A file of the Windows program is Windows-1252 throughout: read as ever, and no damage.
    TEventList windows;
    windows.LoadFromFile(writeFile(path(), file("B\xFCro\r\n", event("Gr\xFC\xDF\x65", "\x93quoted\x94", "B\xFCro"))),
                         false);
    EXPECT_EQ(windows.Categories, QStringList{"Büro"});
    ASSERT_EQ(windows.Count(), 1);
    EXPECT_EQ(windows.GetEvent(0)->Description, "Grüße");
    EXPECT_EQ(windows.GetEvent(0)->Notes, "“quoted”");
    EXPECT_EQ(windows.GetEvent(0)->Category, "Büro");
    EXPECT_FALSE(windows.lastLoadDamage().any());
}

TEST_F(EventFileDamage, ZeroBytesAndAMissingEndTagAreReportedAndTheNextEventIsReadWhole)
{
    const auto file = [](const QByteArray& events) {
        return "<QuilletEventFile>\r\n<Version>QV3.0</Version>\r\n<Categories>A\r\n</Categories>\r\n<Events>\r\n" +
               events + "</Events>\r\n</QuilletEventFile>\r\n";
    };
    const QByteArray one = "<Event>\r\n\t<Description>one</Description>\r\n</Event>\r\n";
    const QByteArray twoUnclosed = "<Event>\r\n\t<Description>two</Description>\r\n";
    const QByteArray three = "<event>\r\n\t<Description>three</Description>\r\n\t<Notes>3</Notes>\r\n</Event>\r\n";
    TEventList unclosed;
    unclosed.LoadFromFile(writeFile(path(), file(one + twoUnclosed + three + one)), false);
    ASSERT_EQ(unclosed.Count(), 4);
    EXPECT_EQ(unclosed.GetEvent(1)->Description, "two");
    EXPECT_EQ(unclosed.GetEvent(1)->Notes, "") << "nothing of the next event";
    EXPECT_EQ(unclosed.GetEvent(2)->Description, "three");
    EXPECT_EQ(unclosed.GetEvent(2)->Notes, "3");
    EXPECT_TRUE(unclosed.lastLoadDamage().UnclosedEvent);
    EXPECT_FALSE(unclosed.lastLoadDamage().SkippedText || unclosed.lastLoadDamage().ZeroBytes);

    // A start tag written twice, with or without a line between, invents no event.
    for (const QByteArray& doubled : {"<Event>\r\n" + one, "<Event>" + three, "<EVENT> \t\r\n<Event>\n" + one})
        for (const QByteArray& events : {doubled + three, one + doubled}) {
            TEventList list;
            list.LoadFromFile(writeFile(path(), file(events)), false);
            ASSERT_EQ(list.Count(), 2) << events.constData();
            EXPECT_NE(list.GetEvent(0)->Description, "");
            EXPECT_NE(list.GetEvent(1)->Description, "");
            EXPECT_TRUE(list.lastLoadDamage().UnclosedEvent);
            EXPECT_FALSE(list.lastLoadDamage().SkippedText);
        }

    // A block of the file lost to zero bytes, over the events in the middle.
    TEventList written;
    for (int i = 0; i < 200; ++i)
        addEvent(written, at(2009, 1, 1) + i).Description = QString("event %1").arg(i);
    written.SaveToFile(path());
    QByteArray zeroed = readFile(path());
    zeroed.replace(zeroed.size() / 2 - 10000, 20000, QByteArray(20000, '\0'));
    TEventList holed;
    holed.LoadFromFile(writeFile(path(), zeroed), false);
    EXPECT_LT(holed.Count(), 200);
    EXPECT_TRUE(holed.lastLoadDamage().ZeroBytes);

    TEventList whole;
    whole.LoadFromFile(writeFile(path(), file(one + three)), false);
    EXPECT_EQ(whole.Count(), 2);
    EXPECT_FALSE(whole.lastLoadDamage().any());
}
