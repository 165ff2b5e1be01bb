#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

#include "TestSupport.h"
#include "platform/OthersWhoMayChange.h"

namespace {

QString namesOf(const OtherWriters& Writers)
{
    return Writers.Everyone ? QStringLiteral("everyone") : Writers.Users.join(',');
}

bool give(const QString& Path, uid_t Owner, gid_t Group, mode_t Mode)
{
    const QByteArray path = QFile::encodeName(Path);
    return ::chown(path.constData(), Owner, Group) == 0 && ::chmod(path.constData(), Mode) == 0;
}

} // namespace

// Who besides the user may change a file: through its own modes and owner, or by
// putting another file in its place through a folder on the way, by name or by link.
TEST(OthersWhoMayChange, WritersOfTheFileAndOfEachFolderOnTheWay)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to give files to other users";
    constexpr uid_t Daemon = 1;  // its group, daemon, has no other member
    constexpr gid_t Users = 100; // a group with no member at all
    struct Case {
        const char* Name;
        uid_t FolderOwner;
        gid_t FolderGroup;
        mode_t FolderMode;
        uid_t FileOwner;
        gid_t FileGroup;
        mode_t FileMode;
        QString Expected;
    };
    const Case cases[] = {
        {"the user's alone", 0, 0, 0755, 0, 0, 0644, ""},
        {"group-writable file", 0, 0, 0755, 0, Daemon, 0664, "daemon"},
        {"group-writable file, no other member", 0, 0, 0755, 0, Users, 0664, ""},
        {"a file all may write", 0, 0, 0755, 0, 0, 0666, "everyone"},
        {"a file of another user", 0, 0, 0755, Daemon, 0, 0644, "daemon"},
        {"group-writable folder", 0, Daemon, 0775, 0, 0, 0644, "daemon"},
        {"group-writable folder, no other member", 0, Users, 0775, 0, 0, 0644, ""},
        {"a folder all may write", 0, 0, 0777, 0, 0, 0644, "everyone"},
        {"a sticky folder all may write", 0, 0, 01777, 0, 0, 0644, ""},
        {"a sticky folder of another user", Daemon, 0, 01777, 0, 0, 0644, "daemon"},
    };
    QTemporaryDir root("/tmp/quillet-who-XXXXXX");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const QString folder = root.filePath(c.Name);
        ASSERT_TRUE(QDir().mkpath(folder));
        const QString file = testing_support::writeFile(folder + "/Plans.events", "");
        ASSERT_TRUE(give(folder, c.FolderOwner, c.FolderGroup, c.FolderMode));
        ASSERT_TRUE(give(file, c.FileOwner, c.FileGroup, c.FileMode));
        EXPECT_EQ(namesOf(othersWhoMayChange(file)), c.Expected);
        // Named through a link from a folder of the user's alone, it is the same file.
        const QString link = root.filePath(QString(c.Name) + ".events");
        ASSERT_TRUE(QFile::link(file, link));
        EXPECT_EQ(namesOf(othersWhoMayChange(link)), c.Expected);
    }
}
