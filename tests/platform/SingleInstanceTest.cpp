#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>

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
