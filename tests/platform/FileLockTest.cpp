#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

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

namespace {

constexpr uid_t Victim = 65534; // the user whose program locks the file (nobody)
constexpr gid_t VictimsGroup = 65534;
constexpr uid_t Member = 1;    // daemon, in the group the file is shared with
constexpr gid_t SharedGroup = 1;
constexpr uid_t Outsider = 4242; // a user of no group of the file's

// Runs Act in a forked child as User, in Groups (the first its own); its exit code.
int exitCodeAs(uid_t User, std::vector<gid_t> Groups, const std::function<int()>& Act)
{
    const pid_t child = ::fork();
    if (child == 0) {
        const bool became = ::setgroups(Groups.size(), Groups.data()) == 0 && ::setgid(Groups[0]) == 0 &&
                            ::setuid(User) == 0;
        ::_exit(became ? Act() : 100);
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) ? WEXITSTATUS(status) : 101;
}

} // namespace

// Only a process of a user who may write the file keeps the user from it. The lock file
// opens to those users alone, also one an earlier run left open to all; where the holder
// can't be told, the user's own lock file is no one else's claim.
TEST(FileLock, OnlyAUserWhoMayWriteTheFileHasAClaimToItsLock)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to act as other users";
    QTemporaryDir shared("/tmp/quillet-shared-XXXXXX");
    ASSERT_EQ(::chmod(QFile::encodeName(shared.path()).constData(), 01777), 0);
    const QByteArray events = QFile::encodeName(shared.filePath("Shared.events"));
    const QByteArray lockFile = QFile::encodeName(shared.filePath(".Shared.events.lock"));
    enum Holder { None, Alive, Ended }; // Ended: its process is gone, a child keeps the descriptor
    enum Result { Held, NoLock, InUse };
    struct Case {
        const char* Name;
        uid_t EventFileOwner;
        mode_t EventFileMode; // of the group SharedGroup
        uid_t LockFileOwner;  // 0: no lock file yet
        mode_t LockFileMode;
        uid_t HolderUser;
        Holder Holds;
        Result Expected;
        mode_t LockFileModeAfter; // 0: not the victim's to set
    };
    const Case cases[] = {
        {"no lock file, private file", Victim, 0600, 0, 0, 0, None, Held, 0600},
        {"no lock file, group file", Victim, 0664, 0, 0, 0, None, Held, 0660},
        {"no lock file, a file all may write", Victim, 0666, 0, 0, 0, None, Held, 0666},
        {"an earlier run's 0644, private file", Victim, 0600, Victim, 0644, 0, None, Held, 0600},
        {"holder may write, through the group", Victim, 0664, Member, 0644, Member, Alive, InUse, 0},
        {"holder may write, it owns the file", Outsider, 0644, Outsider, 0644, Outsider, Alive, InUse, 0},
        {"holder may read only", Victim, 0644, Victim, 0644, Outsider, Alive, NoLock, 0600},
        {"holder may not read", Victim, 0600, Victim, 0644, Outsider, Alive, NoLock, 0600},
        {"holder unknown, the user's lock file", Victim, 0600, Victim, 0644, Outsider, Ended, NoLock, 0600},
        {"holder unknown, a writer's lock file", Victim, 0664, Member, 0644, Member, Ended, InUse, 0},
        {"holder unknown, an outsider's lock file", Victim, 0644, Outsider, 0644, Outsider, Ended, NoLock, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        ::unlink(lockFile.constData());
        testing_support::writeFile(QFile::decodeName(events), "");
        ASSERT_EQ(::chown(events.constData(), c.EventFileOwner, SharedGroup), 0);
        ASSERT_EQ(::chmod(events.constData(), c.EventFileMode), 0);
        if (c.LockFileOwner != 0) {
            testing_support::writeFile(QFile::decodeName(lockFile), "");
            ASSERT_EQ(::chown(lockFile.constData(), c.LockFileOwner, c.LockFileOwner), 0);
            ASSERT_EQ(::chmod(lockFile.constData(), c.LockFileMode), 0);
        }
        // The holder waits for its input to end. "Ended" locks the lock file in a process
        // that ends before the shell that keeps its descriptor.
        QProcess other;
        if (c.Holds != None) {
            const QString path = QFile::decodeName(lockFile);
            const QStringList lock = c.Holds == Alive
                                         ? QStringList{"flock", "--close", path, "sh", "-c", "echo held; read line"}
                                         : QStringList{"sh", "-c", "exec 3<" + path + "; flock 3; echo held; exec cat >/dev/null"};
            other.start("setpriv", QStringList{"--reuid=" + QString::number(c.HolderUser),
                                               "--regid=" + QString::number(c.HolderUser), "--clear-groups", "--"} +
                                       lock);
            ASSERT_TRUE(other.waitForReadyRead(5000)) << other.readAllStandardError().constData();
        }
        const int result = exitCodeAs(Victim, {VictimsGroup, SharedGroup}, [&] {
            FileLock lock(QFile::decodeName(events));
            return lock.tryAcquire() ? (lock.held() ? Held : NoLock) : InUse;
        });
        EXPECT_EQ(result, c.Expected);
        other.closeWriteChannel();
        if (c.Holds != None) {
            ASSERT_TRUE(other.waitForFinished(5000));
        }
        struct stat status = {};
        ASSERT_EQ(::stat(lockFile.constData(), &status), 0);
        if (c.LockFileModeAfter != 0) {
            EXPECT_EQ(status.st_mode & 07777, c.LockFileModeAfter);
            EXPECT_EQ(status.st_uid, Victim);
            EXPECT_EQ(status.st_gid, SharedGroup) << "the file's group";
        }
    }
}
