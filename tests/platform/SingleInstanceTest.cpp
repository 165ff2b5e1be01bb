#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

#include "OtherUser.h"
#include "platform/PrivateFolder.h"
#include "platform/SingleInstance.h"

TEST(SingleInstance, OnlyOneHolderUntilItReleasesOrGoes)
{
    const QString name = QString("quillet-test-%1").arg(QCoreApplication::applicationPid());
    auto first = std::make_unique<SingleInstance>(name);
    SingleInstance second(name);
    ASSERT_TRUE(first->tryAcquire());
    EXPECT_FALSE(second.tryAcquire() || second.held());
    // A program that the holder starts (a command file) must not keep the lock alive.
    QProcess child;
    child.start("sleep", {"30"});
    ASSERT_TRUE(child.waitForStarted());
    first.reset();
    EXPECT_TRUE(second.tryAcquire() && second.held());
    child.kill();
    child.waitForFinished();
    second.release();
    EXPECT_TRUE(QFileInfo::exists(second.lockFilePath())) << "a lock file in use must never be removed";
    EXPECT_TRUE(SingleInstance(name).tryAcquire());
    QFile::remove(second.lockFilePath());
}

// A Quillet that the user runs must not stop the programs the tests start: every test
// process takes the program's lock in a runtime folder of its own.
TEST(SingleInstance, ATestProcessLeavesTheUsersLockAlone)
{
    const QString program = QStringLiteral("{5C0D2A19-7B43-4E8F-9A61-D2E84F3B7C05}");
    if (qEnvironmentVariableIsSet("QUILLET_TEST_CHILD")) {
        // This process is the child started below, in the user's session.
        EXPECT_TRUE(SingleInstance(program).tryAcquire());
        return;
    }
    QTemporaryDir usersRuntime;
    const QByteArray ownRuntime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(usersRuntime.path()));
    SingleInstance usersQuillet(program);
    const bool held = usersQuillet.tryAcquire();
    qputenv("XDG_RUNTIME_DIR", ownRuntime);
    ASSERT_TRUE(held);

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_RUNTIME_DIR", usersRuntime.path());
    environment.insert("QUILLET_TEST_CHILD", "1");
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {"--gtest_filter=SingleInstance.ATestProcessLeavesTheUsersLockAlone"});
    ASSERT_TRUE(child.waitForFinished(30000));
    EXPECT_EQ(child.exitCode(), 0) << "the child test process found the user's lock taken";
}

// Another user's lock under a foreseeable name in the shared temp folder once kept every start from running.
TEST(SingleInstance, AnotherUsersLockNeverKeepsTheProgramFromStarting)
{
    SKIP_UNLESS_ABLE_TO_ACT_AS_ANOTHER_USER();
    const testing_support::OtherUser nobody = testing_support::OtherUser::nobody();
    const QString name = QString("quillet-test-%1").arg(QCoreApplication::applicationPid());
    QTemporaryDir shared("/tmp/quillet-shared-XXXXXX");
    ASSERT_EQ(::chmod(QFile::encodeName(shared.path()).constData(), 01777), 0);
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    const auto restore = qScopeGuard([&] {
        qputenv("XDG_RUNTIME_DIR", runtime);
        qunsetenv("TMPDIR");
    });
    // A lock file of another user's, held, where the program once looked and where it looks now.
    const auto plantHeldLock = [&](const QString& path) {
        const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        EXPECT_TRUE(descriptor >= 0 && nobody.makeOwnerOf(path) && ::flock(descriptor, LOCK_EX) == 0);
        return descriptor;
    };
    const auto startsWithALockOfItsOwn = [&] {
        SingleInstance instance(name);
        EXPECT_TRUE(instance.tryAcquire() && instance.held());
        struct stat status = {};
        EXPECT_EQ(::stat(QFile::encodeName(instance.lockFilePath()).constData(), &status), 0);
        EXPECT_EQ(status.st_uid, ::geteuid());
        EXPECT_FALSE(othersMayChange(QFileInfo(instance.lockFilePath()).path()));
    };
    const int foreseen = plantHeldLock(shared.filePath(name + "-0.lock"));
    const int inOwnFolder = plantHeldLock(SingleInstance(name).lockFilePath());
    startsWithALockOfItsOwn();
    qunsetenv("XDG_RUNTIME_DIR");
    qputenv("TMPDIR", QFile::encodeName(shared.path()));
    startsWithALockOfItsOwn();

    // The folder Qt would make for the user's runtime files, made first by another user.
    QDir(shared.filePath("runtime-root")).removeRecursively();
    const QByteArray runtimeRoot = QFile::encodeName(shared.filePath("runtime-root"));
    ASSERT_TRUE(nobody.run([&] { return ::mkdir(runtimeRoot.constData(), 0700) == 0; }));
    SingleInstance instance(name);
    EXPECT_TRUE(instance.tryAcquire()) << "the program starts, without a guard of its own";
    EXPECT_FALSE(instance.held());
    ::close(foreseen);
    ::close(inOwnFolder);
    qputenv("XDG_RUNTIME_DIR", runtime);
    QFile::remove(SingleInstance(name).lockFilePath());
}
