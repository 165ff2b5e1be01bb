#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <fcntl.h>
#include <grp.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

#include "TestSupport.h"
#include "platform/FileLock.h"

namespace {

constexpr uid_t Nobody = 65534; // and its group nogroup

void becomeNobody()
{
    if (::setgroups(0, nullptr) != 0 || ::setgid(Nobody) != 0 || ::setuid(Nobody) != 0)
        ::_exit(99);
}

// Runs Act in a child process as nobody; its exit code.
int asNobody(const std::function<int()>& Act)
{
    const pid_t child = ::fork();
    if (child == 0) {
        becomeNobody();
        ::_exit(Act());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A process of nobody's that holds the lock on Path while this object lives; it
// makes the file when it can, else opens it to read only.
class HeldByNobody {
public:
    explicit HeldByNobody(const QString& Path)
    {
        int ready[2];
        if (::pipe(ready) != 0 || ::pipe(FRelease) != 0)
            return;
        const QByteArray path = QFile::encodeName(Path);
        FChild = ::fork();
        if (FChild == 0) {
            becomeNobody();
            ::close(FRelease[1]);
            int descriptor = ::open(path.constData(), O_RDWR | O_CREAT, 0644);
            if (descriptor < 0)
                descriptor = ::open(path.constData(), O_RDONLY);
            if (descriptor < 0 || ::flock(descriptor, LOCK_EX) != 0)
                ::_exit(1);
            char byte = 'x';
            if (::write(ready[1], &byte, 1) == 1)
                while (::read(FRelease[0], &byte, 1) > 0) {
                }
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(FRelease[0]);
        char byte = 0;
        FHeld = ::read(ready[0], &byte, 1) == 1;
        ::close(ready[0]);
    }
    ~HeldByNobody()
    {
        ::close(FRelease[1]);
        ::waitpid(FChild, nullptr, 0);
    }
    bool held() const { return FHeld; }

private:
    int FRelease[2] = {-1, -1};
    pid_t FChild = -1;
    bool FHeld = false;
};

} // namespace

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

// A lock file put there by another (a link, a pipe, a folder, a second name of one of
// the user's files) gives no lock, holds nothing up and changes nothing it leads to.
TEST(FileLock, ALockFileThatIsNoPlainFileGivesNone)
{
    QTemporaryDir temporary;
    const QDir folder(temporary.path());
    const QString mine = testing_support::writeFile(folder.filePath("mine.txt"), "mine");
    const QString lockFile = folder.filePath(".plans.events.lock");
    const std::pair<const char*, std::function<bool()>> planted[] = {
        {"link", [&] { return QFile::link(mine, lockFile); }},
        {"hard link", [&] { return ::link(QFile::encodeName(mine), QFile::encodeName(lockFile)) == 0; }},
        {"pipe", [&] { return ::mkfifo(QFile::encodeName(lockFile), 0644) == 0; }},
        {"folder", [&] { return folder.mkdir(".plans.events.lock"); }},
    };
    for (const auto& [name, plant] : planted) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(plant());
        FileLock lock(folder.filePath("plans.events"));
        EXPECT_TRUE(lock.tryAcquire());
        EXPECT_FALSE(lock.held());
        EXPECT_EQ(testing_support::readFile(mine), "mine");
        ASSERT_TRUE(QFile::remove(lockFile) || folder.rmdir(".plans.events.lock"));
    }
    FileLock plain(folder.filePath("plans.events"));
    EXPECT_TRUE(plain.tryAcquire() && plain.held()) << "a plain file of its own";
}

// In a folder others may write: a lock file of another's is locked through a descriptor
// that only reads, or not at all when it can't be opened; a lock that another user
// holds stops the program only when that user may read the file.
TEST(FileLock, AnotherUsersLockCountsOnlyWhenTheyMayReadTheFile)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to act as another user";
    QTemporaryDir shared("/tmp/quillet-shared-XXXXXX");
    ASSERT_EQ(::chmod(QFile::encodeName(shared.path()).constData(), 01777), 0);
    const QString events = testing_support::writeFile(shared.filePath("Shared.events"), "");
    const QString lockFile = shared.filePath(".Shared.events.lock");
    const auto nobodysLock = [&] {
        return asNobody([&] {
            FileLock lock(events);
            return int(lock.tryAcquire()) | int(lock.held()) << 1;
        });
    };
    for (const mode_t mode : {0600, 0644}) {
        SCOPED_TRACE(mode);
        const int descriptor = ::open(QFile::encodeName(lockFile).constData(), O_RDWR | O_CREAT, mode);
        ASSERT_GE(descriptor, 0);
        ::close(descriptor);
        EXPECT_EQ(nobodysLock(), mode == 0600 ? 1 : 3) << "1: no lock, and the program goes on; 3: held";
        QFile::remove(lockFile);
    }

    struct Case {
        bool LockFileOfNobodys;
        mode_t EventFileMode;
        gid_t EventFileGroup;
        bool InUse;
    };
    const Case cases[] = {{true, 0600, 0, false},
                          {false, 0600, 0, false},
                          {true, 0644, 0, true},
                          {true, 0640, Nobody, true},
                          {true, 0640, 0, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.LockFileOfNobodys << " " << c.EventFileMode << " " << c.EventFileGroup);
        QFile::remove(lockFile);
        if (!c.LockFileOfNobodys)
            testing_support::writeFile(lockFile, "");
        ASSERT_EQ(::chown(QFile::encodeName(events).constData(), 0, c.EventFileGroup), 0);
        ASSERT_EQ(::chmod(QFile::encodeName(events).constData(), c.EventFileMode), 0);
        HeldByNobody other(lockFile);
        ASSERT_TRUE(other.held());
        FileLock lock(events);
        EXPECT_EQ(lock.tryAcquire(), !c.InUse);
        EXPECT_FALSE(lock.held());
    }
}
