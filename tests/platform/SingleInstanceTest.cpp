#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <memory>

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
