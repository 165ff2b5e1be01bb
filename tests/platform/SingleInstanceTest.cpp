#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <memory>

#include "TestSupport.h"
#include "platform/SingleInstance.h"

namespace {

const QString lockName = "{5C0D2A19-7B43-4E8F-9A61-D2E84F3B7C05}";

// Each test has a runtime folder of its own; the sound service needs the real one back after.
class SingleInstanceTest : public ::testing::Test {
protected:
    void SetUp() override { qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit()); }
    void TearDown() override { hadRuntime ? qputenv("XDG_RUNTIME_DIR", oldRuntime) : qunsetenv("XDG_RUNTIME_DIR"); }

    QTemporaryDir runtime;
    const bool hadRuntime = qEnvironmentVariableIsSet("XDG_RUNTIME_DIR");
    const QByteArray oldRuntime = qgetenv("XDG_RUNTIME_DIR");
};

} // namespace

TEST_F(SingleInstanceTest, OnlyOneHolderUntilItReleasesOrGoes)
{
    auto first = std::make_unique<SingleInstance>(lockName);
    SingleInstance second(lockName);
    EXPECT_EQ(first->lockFilePath(), runtime.filePath(lockName + ".lock"));
    ASSERT_TRUE(first->tryAcquire());
    EXPECT_FALSE(second.tryAcquire() || second.held());
    EXPECT_TRUE(SingleInstance("another-program").tryAcquire());
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
    EXPECT_TRUE(SingleInstance(lockName).tryAcquire());
}
