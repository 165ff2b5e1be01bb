#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>

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
