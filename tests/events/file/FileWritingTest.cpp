// Writing whole files the disk won't take: the old file stays and the reason is named.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/mount.h>

#include "TestSupport.h"
#include "events/EventList.h"
#include "events/Exceptions.h"
#include "events/file/FileAccess.h"

using namespace testing_support;

namespace {

// A 64 KiB file system of its own, for as long as the object lives; needs root.
struct SmallDisk {
    SmallDisk() { Mounted = ::mount("tmpfs", path().toLocal8Bit().constData(), "tmpfs", 0, "size=64k") == 0; }
    ~SmallDisk()
    {
        if (Mounted)
            ::umount2(path().toLocal8Bit().constData(), MNT_DETACH);
    }
    QString path() const { return Folder.path(); }
    QTemporaryDir Folder;
    bool Mounted = false;
};

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden);
}

TEST(writeFileAtomically, AWriteCutShortKeepsTheOldFileAndNamesTheReason)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("e.events");
    // Smaller than the write buffer, and larger: a cut write must never replace the file.
    for (const int size : {100, 100000}) {
        writeFile(path, "old content");
        QString message;
        {
            FileSizeLimit limit(size / 2);
            message = messageOf<EFileError>([&] { writeFileAtomically(path, QByteArray(size, 'x')); });
        }
        EXPECT_EQ(message, "Cannot write file \"" + path + "\". File too large") << size;
        EXPECT_EQ(readFile(path), "old content") << size;
        EXPECT_EQ(filesIn(folder.path()), QStringList{"e.events"}) << "no temporary file left";
    }
}

TEST(writeFileAtomically, AFullDiskIsNamedAndTheEventFileKept)
{
    SmallDisk disk;
    if (!disk.Mounted)
        GTEST_SKIP() << "mounting a small file system needs root";
    const QString path = disk.path() + "/e.events";
    TEventList list;
    list.SaveToFile(path);
    const QByteArray saved = readFile(path);

    for (int i = 0; i < 1000; ++i)
        list.AddEvent(TEvent());
    list.Modified = true;
    EXPECT_EQ(messageOf<EFileError>([&] { list.SaveToFile(path); }),
              "Cannot write file \"" + path + "\". No space left on device");
    EXPECT_EQ(readFile(path), saved);
    EXPECT_TRUE(list.Modified);

    // The disk full to the last block: a file smaller than the write buffer fails too.
    QFile filler(disk.path() + "/filler");
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    while (filler.write(QByteArray(512, 'f')) > 0) {
    }
    filler.close();
    EXPECT_EQ(messageOf<EFileError>([&] { writeFileAtomically(path, saved + saved); }),
              "Cannot write file \"" + path + "\". No space left on device");
    EXPECT_EQ(readFile(path), saved);
    EXPECT_EQ(filesIn(disk.path()), QStringList({"e.events", "filler"}));
}

} // namespace
