#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <unistd.h>

#include "platform/DescriptorLock.h"

// Both lock files rest on this: one holder until it closes; no failure reads as another holder.
TEST(DescriptorLock, OneHolderPerFileUntilItCloses)
{
    QTemporaryDir folder;
    const QByteArray path = QFile::encodeName(folder.filePath("file.lock"));
    const int first = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    const int second = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(first, 0);
    ASSERT_GE(second, 0);

    EXPECT_EQ(lockWithoutWaiting(first), DescriptorLock::Taken);
    EXPECT_EQ(lockWithoutWaiting(first), DescriptorLock::Taken) << "taking it again keeps it";
    EXPECT_EQ(lockWithoutWaiting(second), DescriptorLock::HeldElsewhere);
    ::close(first);
    EXPECT_EQ(lockWithoutWaiting(second), DescriptorLock::Taken);
    ::close(second);

    EXPECT_EQ(lockWithoutWaiting(second), DescriptorLock::Unavailable) << "a closed descriptor";
}
