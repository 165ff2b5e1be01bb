#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <mutex>
#include <thread>
#include <vector>

#include "TestSupport.h"
#include "platform/SystemTempFileNamer.h"

TEST(SystemTempFileNamer, CreatesAnEmptyOwnerOnlyFileWithAFreshName)
{
    QTemporaryDir folder;
    SystemTempFileNamer namer;
    const QString first = namer.createUniqueFile(folder.path(), QStringLiteral("~qv"));
    const QString second = namer.createUniqueFile(folder.path() + QLatin1Char('/'), QStringLiteral("~qv"));
    for (const QString& name : {first, second}) {
        const QFileInfo info(name);
        EXPECT_EQ(info.absolutePath(), folder.path());
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^~qv[0-9A-F]+\\.tmp$")).match(info.fileName()).hasMatch())
            << name.toStdString();
        EXPECT_TRUE(info.isFile());
        EXPECT_EQ(info.size(), 0);
        EXPECT_EQ(QFile::permissions(name) & ~(QFile::ReadUser | QFile::WriteUser),
                  QFile::ReadOwner | QFile::WriteOwner)
            << "nobody but the owner may read it";
    }
    EXPECT_NE(first, second);
}

TEST(SystemTempFileNamer, ThreadsNamingAtOnceNeverShareAName)
{
    QTemporaryDir folder;
    SystemTempFileNamer namer;
    std::mutex lock;
    QSet<QString> names;
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 200; ++i) {
                const QString name = namer.createUniqueFile(folder.path(), QStringLiteral("~qv"));
                std::lock_guard guard(lock);
                names.insert(name);
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(names.size(), 1600);
    EXPECT_FALSE(names.contains(QString()));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 1600);
}

TEST(SystemTempFileNamer, AMissingFolderGivesNoName)
{
    QTemporaryDir folder;
    EXPECT_TRUE(SystemTempFileNamer().createUniqueFile(folder.filePath("missing"), QStringLiteral("~qv")).isEmpty());
    EXPECT_FALSE(QDir(folder.filePath("missing")).exists());
}
