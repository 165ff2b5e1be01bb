// Event files that other programs damaged, or changed while Quillet read them.
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <ctime>

#include "TestSupport.h"

using namespace testing_support;

namespace {

class EventFileDamage : public ::testing::Test {
protected:
    QString path() const { return folder.filePath("e.events"); }

    QTemporaryDir folder;
    ClockOverride clock{at(2008, 3, 1, 12, 0, 30, 500)};
};

// A child process that cuts the file at Path to Size bytes after Delay, as a sync
// tool or an editor would; only calls that are safe in a forked child.
pid_t truncateLater(const QByteArray& Path, off_t Size, std::chrono::nanoseconds Delay)
{
    const pid_t child = ::fork();
    if (child == 0) {
        const timespec wait{static_cast<time_t>(Delay.count() / 1000000000),
                            static_cast<long>(Delay.count() % 1000000000)};
        ::nanosleep(&wait, nullptr);
        ::_exit(::truncate(Path.constData(), Size) == 0 ? 0 : 1);
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
        const pid_t child = truncateLater(QFile::encodeName(path()), cut, loadTime * step / 8);
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
