#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

#include <functional>

#include "OtherUser.h"
#include "TestSupport.h"
#include "platform/FileLock.h"

// Two programs given one file by different names must meet at one lock, or overwrite each other's saves.
TEST(FileLock, EveryNameOfAFileMeetsTheSameLock)
{
    QTemporaryDir temporary;
    const QDir folder(temporary.path());
    ASSERT_TRUE(folder.mkpath("real"));
    testing_support::writeFile(folder.filePath("real/plans.events"), "");
    ASSERT_TRUE(QFile::link(folder.filePath("real/plans.events"), folder.filePath("link.events")));
    ASSERT_TRUE(QFile::link(folder.filePath("real"), folder.filePath("linked")));
    ASSERT_TRUE(QFile::link(folder.filePath("real/new.events"), folder.filePath("to-new.events")));

    FileLock held(folder.filePath("linked/plans.events"));
    ASSERT_TRUE(held.tryAcquire());
    EXPECT_EQ(held.lockFilePath(), QDir(folder.canonicalPath()).filePath("real/.plans.events.lock"));
    for (const char* name : {"real/plans.events", "link.events", "real/../linked/./plans.events"}) {
        FileLock other(folder.filePath(name));
        EXPECT_FALSE(other.tryAcquire()) << name;
    }
    const QString workingFolder = QDir::currentPath();
    const auto restore = qScopeGuard([&] { QDir::setCurrent(workingFolder); });
    ASSERT_TRUE(QDir::setCurrent(folder.filePath("linked")));
    EXPECT_FALSE(FileLock("plans.events").tryAcquire());

    // A file not made yet (a first start), named directly and through a link to it.
    FileLock notYetMade(folder.filePath("to-new.events"));
    ASSERT_TRUE(notYetMade.tryAcquire());
    EXPECT_FALSE(FileLock(folder.filePath("linked/new.events")).tryAcquire());
    EXPECT_FALSE(QFile::exists(folder.filePath("real/new.events")));
    EXPECT_EQ(folder.entryList(QDir::Files | QDir::Hidden | QDir::System),
              QStringList({"link.events", "to-new.events"}))
        << "no lock file beside a link";
}

// A lock file put there by another (a link, a second name of one of the user's files, a
// pipe, a folder) gives no lock, holds nothing up and changes nothing it leads to.
TEST(FileLock, ALockFileThatIsNoPlainFileGivesNone)
{
    QTemporaryDir temporary;
    const QDir folder(temporary.path());
    const QString mine = testing_support::writeFile(folder.filePath("mine.txt"), "mine");
    const QByteArray lockFile = QFile::encodeName(folder.filePath(".plans.events.lock"));
    const std::function<int()> plant[] = {[&] { return ::symlink(QFile::encodeName(mine), lockFile); },
                                          [&] { return ::link(QFile::encodeName(mine), lockFile); },
                                          [&] { return ::mkfifo(lockFile, 0644); },
                                          [&] { return ::mkdir(lockFile, 0755); }};
    for (std::size_t i = 0; i < std::size(plant); ++i) {
        SCOPED_TRACE(i);
        ASSERT_EQ(plant[i](), 0);
        FileLock lock(folder.filePath("plans.events"));
        EXPECT_TRUE(lock.tryAcquire() && !lock.held());
        EXPECT_EQ(testing_support::readFile(mine), "mine");
        ASSERT_EQ(::remove(lockFile), 0);
    }
    FileLock plain(folder.filePath("plans.events"));
    EXPECT_TRUE(plain.tryAcquire() && plain.held()) << "a plain file of its own";
}

// In a shared folder, a lock that another user holds (on a lock file of theirs, or on
// the user's own, read-only) stops the program only when that user may read the file.
TEST(FileLock, AnotherUsersLockCountsOnlyWhenTheyMayReadTheFile)
{
    SKIP_UNLESS_ABLE_TO_ACT_AS_ANOTHER_USER();
    QTemporaryDir shared("/tmp/quillet-shared-XXXXXX");
    ASSERT_EQ(::chmod(QFile::encodeName(shared.path()).constData(), 01777), 0);
    const QByteArray events = QFile::encodeName(testing_support::writeFile(shared.filePath("Shared.events"), ""));
    const QString lockFile = shared.filePath(".Shared.events.lock");
    struct Case {
        bool LockFileOfTheUsers;
        mode_t EventFileMode;
        gid_t EventFileGroup;
        bool InUse;
    };
    const Case cases[] = {{false, 0600, 0, false}, {true, 0600, 0, false},  {false, 0644, 0, true},
                          {true, 0644, 0, true},   {false, 0640, 0, false}, {false, 0640, 65534, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.LockFileOfTheUsers << " " << c.EventFileMode << " " << c.EventFileGroup);
        QFile::remove(lockFile);
        if (c.LockFileOfTheUsers)
            testing_support::writeFile(lockFile, "");
        ASSERT_EQ(::chown(events.constData(), 0, c.EventFileGroup), 0);
        ASSERT_EQ(::chmod(events.constData(), c.EventFileMode), 0);
        // nobody (group nogroup) holds it until its input ends; flock makes the file when it can.
        QProcess other;
        testing_support::OtherUser::nobody().startsAs(other);
        other.start("flock", {"--close", lockFile, "sh", "-c", "echo held; read line"});
        ASSERT_TRUE(other.waitForReadyRead(5000));
        FileLock lock(QFile::decodeName(events));
        EXPECT_EQ(lock.tryAcquire(), !c.InUse);
        EXPECT_FALSE(lock.held());
        other.closeWriteChannel();
        ASSERT_TRUE(other.waitForFinished(5000));
    }
}
