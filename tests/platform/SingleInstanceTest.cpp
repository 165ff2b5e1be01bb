#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <unistd.h>

#include "TestSupport.h"
#include "platform/SingleInstance.h"

namespace {

const QString lockName = QStringLiteral("{5C0D2A19-7B43-4E8F-9A61-D2E84F3B7C05}");

// Points $XDG_RUNTIME_DIR at a folder of the test for one scope.
class RuntimeFolder {
public:
    explicit RuntimeFolder(const QString& folder)
        : FOld(qgetenv("XDG_RUNTIME_DIR")), FHadOld(qEnvironmentVariableIsSet("XDG_RUNTIME_DIR"))
    {
        if (folder.isNull())
            qunsetenv("XDG_RUNTIME_DIR");
        else
            qputenv("XDG_RUNTIME_DIR", folder.toLocal8Bit());
    }
    ~RuntimeFolder()
    {
        if (FHadOld)
            qputenv("XDG_RUNTIME_DIR", FOld);
        else
            qunsetenv("XDG_RUNTIME_DIR");
    }

private:
    QByteArray FOld;
    bool FHadOld;
};

} // namespace

TEST(SingleInstance, OnlyOneHolderUntilItReleases)
{
    QTemporaryDir folder;
    RuntimeFolder runtime(folder.path());

    SingleInstance first(lockName);
    SingleInstance second(lockName);
    EXPECT_EQ(first.lockFilePath(), folder.filePath(lockName + QStringLiteral(".lock")));
    ASSERT_TRUE(first.tryAcquire());
    EXPECT_TRUE(first.held());
    EXPECT_FALSE(second.tryAcquire());
    EXPECT_FALSE(second.held());

    first.release();
    EXPECT_TRUE(QFileInfo::exists(first.lockFilePath())) << "a lock file in use must never be removed";
    EXPECT_TRUE(second.tryAcquire());
    {
        SingleInstance third(lockName);
        EXPECT_FALSE(third.tryAcquire());
    }
    second.release();

    SingleInstance otherName(QStringLiteral("another-program"));
    EXPECT_TRUE(otherName.tryAcquire());
}

TEST(SingleInstance, ALockGoesAwayWithItsHolderNotWithItsChildren)
{
    QTemporaryDir folder;
    RuntimeFolder runtime(folder.path());

    QProcess child;
    {
        SingleInstance holder(lockName);
        ASSERT_TRUE(holder.tryAcquire());
        // A program that the holder starts (a command file) must not keep the lock alive.
        child.start(QStringLiteral("sleep"), {QStringLiteral("30")});
        ASSERT_TRUE(child.waitForStarted());
    }
    SingleInstance next(lockName);
    EXPECT_TRUE(next.tryAcquire());
    child.kill();
    child.waitForFinished();
}

TEST(SingleInstance, WithoutRuntimeFolderTheLockIsPerUserInTheTempFolder)
{
    RuntimeFolder runtime(QString{});
    SingleInstance instance(QStringLiteral("quillet-test-%1").arg(QCoreApplication::applicationPid()));
    const QString path = instance.lockFilePath();
    EXPECT_TRUE(path.startsWith(QDir::tempPath()));
    EXPECT_TRUE(path.endsWith(QStringLiteral("-%1.lock").arg(getuid()))) << path.toStdString();
    EXPECT_TRUE(instance.tryAcquire());
    instance.release();
    QFile::remove(path);
}
