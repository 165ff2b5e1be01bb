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

// A lock taken before its file was made (a first start) opens to the file's writers once
// the file is there, and follows its modes as they change.
TEST(FileLock, AHeldLockFileFollowsTheFilesWriters)
{
    QTemporaryDir folder;
    const QString events = folder.filePath("plans.events");
    FileLock lock(events);
    ASSERT_TRUE(lock.tryAcquire() && lock.held());
    const auto lockFileMode = [&] {
        struct stat status = {};
        return ::stat(QFile::encodeName(lock.lockFilePath()).constData(), &status) == 0 ? status.st_mode & 07777 : 0u;
    };
    EXPECT_EQ(lockFileMode(), 0600u) << "nothing to open to yet";
    for (const auto& [fileMode, expected] : {std::pair{0664u, 0660u}, {0666u, 0666u}, {0644u, 0600u}}) {
        testing_support::writeFile(events, "");
        ASSERT_EQ(::chmod(QFile::encodeName(events).constData(), fileMode), 0);
        lock.followFile();
        EXPECT_EQ(lockFileMode(), expected) << std::oct << fileMode;
    }
}

// Only a process of a user who may write the file keeps the user from it. The lock file
// opens to those users alone, also one an earlier run left open to all; where the holder
// can't be told, the user's own lock file is no one else's claim.
TEST(FileLock, OnlyAUserWhoMayWriteTheFileHasAClaimToItsLock)
{
    SKIP_UNLESS_ABLE_TO_ACT_AS_ANOTHER_USER();
    using testing_support::OtherUser;
    constexpr gid_t SharedGroup = 1;                           // daemon's
    const OtherUser victim = OtherUser::nobody({SharedGroup}); // whose program locks the file
    const OtherUser member{SharedGroup, SharedGroup, {}};      // daemon, in the file's group
    const OtherUser outsider{4242, 4242, {}};                  // in no group of the file's
    QTemporaryDir shared("/tmp/quillet-shared-XXXXXX");
    ASSERT_EQ(::chmod(QFile::encodeName(shared.path()).constData(), 01777), 0);
    const QString events = shared.filePath("Shared.events");
    const QString lockFile = shared.filePath(".Shared.events.lock");
    enum Holder { None, Alive, Ended }; // Ended: its process is gone, a child keeps the descriptor
    struct Case {
        const char* Name;
        const OtherUser* EventFileOwner;
        mode_t EventFileMode;           // of the group SharedGroup
        const OtherUser* LockFileOwner; // none: no lock file yet
        const OtherUser* HolderUser;
        Holder Holds;
        QByteArray Expected;
        mode_t LockFileModeAfter; // 0: not the victim's to set
        QByteArray Written = {};  // in the lock file by an earlier holder
    };
    const Case cases[] = {
        {"no lock file, private file", &victim, 0600, nullptr, nullptr, None, "held", 0600},
        {"no lock file, group file", &victim, 0664, nullptr, nullptr, None, "held", 0660},
        {"no lock file, a file all may write", &victim, 0666, nullptr, nullptr, None, "held", 0666},
        {"an earlier run's 0644, private file", &victim, 0600, &victim, nullptr, None, "held", 0600},
        {"holder may write, through the group", &victim, 0664, &member, &member, Alive, "in use", 0},
        {"holder may write, it owns the file", &outsider, 0644, &outsider, &outsider, Alive, "in use", 0},
        {"holder may read only", &victim, 0644, &victim, &outsider, Alive, "no lock", 0600},
        {"holder may not read", &victim, 0600, &victim, &outsider, Alive, "no lock", 0600},
        {"holder unknown, the user's lock file", &victim, 0600, &victim, &outsider, Ended, "no lock", 0600},
        {"holder unknown, the user's from another host", &victim, 0600, &victim, &outsider, Ended, "in use", 0600,
         "4242\nanother-host\nnobody\n"},
        {"holder unknown, a writer's lock file", &victim, 0664, &member, &member, Ended, "in use", 0},
        {"holder unknown, an outsider's lock file", &victim, 0644, &outsider, &outsider, Ended, "no lock", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        QFile::remove(lockFile);
        testing_support::writeFile(events, "");
        ASSERT_EQ(::chown(QFile::encodeName(events).constData(), c.EventFileOwner->Uid, SharedGroup), 0);
        ASSERT_EQ(::chmod(QFile::encodeName(events).constData(), c.EventFileMode), 0);
        if (c.LockFileOwner) {
            testing_support::writeFile(lockFile, c.Written);
            ASSERT_TRUE(c.LockFileOwner->makeOwnerOf(lockFile));
            ASSERT_EQ(::chmod(QFile::encodeName(lockFile).constData(), 0644), 0);
        }
        // The holder waits for its input to end. "Ended" locks the lock file in a process
        // that ends before the shell that keeps its descriptor.
        QProcess other;
        if (c.Holds != None) {
            c.HolderUser->startsAs(other);
            if (c.Holds == Alive)
                other.start("flock", {"--close", lockFile, "sh", "-c", "echo held; read line"});
            else
                other.start("sh", {"-c", "exec 3<" + lockFile + "; flock 3; echo held; exec cat >/dev/null"});
            ASSERT_TRUE(other.waitForReadyRead(5000)) << other.readAllStandardError().constData();
        }
        EXPECT_EQ(victim.answer([&] {
            FileLock lock(events);
            return QByteArray(lock.tryAcquire() ? (lock.held() ? "held" : "no lock") : "in use");
        }),
                  c.Expected);
        other.closeWriteChannel();
        if (c.Holds != None) {
            ASSERT_TRUE(other.waitForFinished(5000));
        }
        struct stat status = {};
        ASSERT_EQ(::stat(QFile::encodeName(lockFile).constData(), &status), 0);
        if (c.LockFileModeAfter != 0) {
            EXPECT_EQ(status.st_mode & 07777, c.LockFileModeAfter);
            EXPECT_EQ(status.st_uid, victim.Uid);
            EXPECT_EQ(status.st_gid, SharedGroup) << "the file's group";
        }
    }
}
