// Every folder the program writes to or reads trusted content from is used only when
// it is the user's own: the program folder, the command folder, the runtime folder,
// the data and settings folders, Backup/, the recovery folders (and the notice left
// there) and the documents folder. Judged by a user who is not root.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "OtherUser.h"
#include "TestSupport.h"
#include "app/RecoveryFile.h"
#include "events/EventList.h"
#include "platform/CommandFileFolder.h"
#include "platform/DocumentsFolder.h"
#include "platform/PrivateFolder.h"
#include "platform/ProgramFolder.h"

using testing_support::OtherUser;

namespace {

enum class Owner { User, Other, Root };
enum class Group { Users, WithOtherMembers, WithoutOtherMembers };
enum class Kind { Folder, Link, Pipe };

struct Place {
    mode_t Mode = 0755;
    Owner By = Owner::User;
    Group In = Group::Users;
    Kind Is = Kind::Folder;
};

// A folder of each kind, placed as the row says: where each kind looks for it, the
// row's folder lies in the row's parent.
const char* const Kinds[] = {"program", "command",  "runtime", "data",     "settings",
                             "Backup",  "recovery", "notice",  "documents"};

struct Row {
    const char* Name;
    Place Parent;
    Place Folder;
    const char* Used; // per kind, in the order of Kinds: 1 used, 0 passed over
};

const Row Rows[] = {
    {"the user's, 0700", {}, {0700}, "111111111"},
    {"the user's, 0755", {}, {0755}, "111111111"},
    {"writable by all", {}, {0777}, "000000000"},
    {"writable by all, sticky", {}, {01777}, "000000000"},
    {"writable by the user's group alone", {}, {0775, Owner::User, Group::WithoutOtherMembers}, "111111111"},
    {"writable by a group with others", {}, {0775, Owner::User, Group::WithOtherMembers}, "000000000"},
    {"another user's", {}, {0755, Owner::Other}, "000000000"},
    {"root's", {}, {0755, Owner::Root}, "000000000"},
    {"a link to a folder of the user's", {}, {0755, Owner::User, Group::Users, Kind::Link}, "000000000"},
    {"a named pipe", {}, {0600, Owner::User, Group::Users, Kind::Pipe}, "000000000"},
    // The sticky bit keeps the user's entries to the user, though the program folder
    // itself (the command folder's parent) is then open to others.
    {"in a shared folder, sticky", {01777, Owner::Root}, {0700}, "101111111"},
    {"in a folder writable by all", {0777, Owner::Root}, {0700}, "000000000"},
    {"in another user's folder", {0755, Owner::Other}, {0700}, "000000000"},
    {"in a folder a group with others may write", {0775, Owner::Root, Group::WithOtherMembers}, {0700}, "000000000"},
    {"in a folder the user's group alone may write",
     {0775, Owner::User, Group::WithoutOtherMembers},
     {0700},
     "111111111"},
};

class UsersOwnFolders : public ::testing::Test {
protected:
    void SetUp() override
    {
        SKIP_UNLESS_ABLE_TO_ACT_AS_ANOTHER_USER();
        const passwd* daemon = ::getpwnam("daemon");
        ASSERT_NE(daemon, nullptr) << "another user, with a group of its own";
        other = daemon->pw_uid;
        sharedGroup = daemon->pw_gid;
        // A group with no member but the user: a user private group, as under umask 002.
        ASSERT_EQ(QProcess::execute("groupadd", {groupName}), 0);
        const group* made = ::getgrnam(groupName.toUtf8().constData());
        ASSERT_NE(made, nullptr);
        privateGroup = made->gr_gid;
        user = OtherUser::nobody({privateGroup});
        ASSERT_TRUE(base.isValid());
        ASSERT_EQ(::chmod(QFile::encodeName(base.path()).constData(), 0755), 0);
        // An installed program: the user's files go to the user's folders.
        ASSERT_TRUE(QDir().mkpath(base.filePath("prefix/" QUILLET_INSTALL_BINDIR)) &&
                    QDir().mkpath(base.filePath("prefix/" QUILLET_INSTALL_DATADIR "/quillet")));
    }
    void TearDown() override
    {
        if (privateGroup)
            QProcess::execute("groupdel", {groupName});
    }

    // Gives Path the place's owner, group and mode.
    void give(const QString& Path, const Place& At)
    {
        const uid_t owner = At.By == Owner::User ? user.Uid : At.By == Owner::Other ? other : 0;
        const gid_t group = At.In == Group::Users              ? (At.By == Owner::Other ? sharedGroup : user.Gid)
                            : At.In == Group::WithOtherMembers ? sharedGroup
                                                               : privateGroup;
        const QByteArray path = QFile::encodeName(Path);
        EXPECT_EQ(::lchown(path.constData(), owner, group), 0) << Path;
        if (At.Is != Kind::Link) {
            EXPECT_EQ(::chmod(path.constData(), At.Mode), 0) << Path;
        }
    }

    // A folder of the user's, with the catalogues that make it a program's folder.
    QString usersFolder(const QString& Path)
    {
        EXPECT_TRUE(QDir().mkpath(Path + "/LOCALE"));
        give(Path + "/LOCALE", {});
        give(Path, {});
        return Path + "/";
    }

    // Makes what the row puts at Path.
    void make(const QString& Path, const Place& At)
    {
        const QByteArray path = QFile::encodeName(Path);
        if (At.Is == Kind::Link) {
            EXPECT_TRUE(QFile::link(usersFolder(Path + "-target"), Path));
        } else if (At.Is == Kind::Pipe) {
            EXPECT_EQ(::mkfifo(path.constData(), 0600), 0);
        } else {
            usersFolder(Path);
        }
        give(Path, At);
    }

    QString groupName = QString("quillet-test-%1").arg(QCoreApplication::applicationPid());
    uid_t other = 0;
    gid_t sharedGroup = 0;
    gid_t privateGroup = 0;
    OtherUser user;
    // In /tmp, as the test's own temporary folder may be closed to other users.
    QTemporaryDir base{"/tmp/quillet-folders-XXXXXX"};
};

// The names each kind gives its parent and folder, and what it does with them as the
// user: true when it used the folder.
struct Layout {
    QString Top, Parent, Folder;
};

bool usedBy(int Kind, const Layout& At, const QString& Prefix)
{
    const QString folder = At.Folder + "/";
    const QString installed = Prefix + QUILLET_INSTALL_BINDIR;
    qputenv("HOME", QFile::encodeName(At.Top + "/home"));
    qputenv("XDG_DATA_HOME", QFile::encodeName(At.Top + "/data"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(At.Top + "/config"));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(At.Top + "/runtime"));
    switch (Kind) {
    case 0:
        return chooseProgramFolders(At.Folder).UserFilesBeside;
    case 1:
        setProgramFolderForTests(At.Parent);
        return commandFileFolder() == folder;
    case 2:
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(At.Folder));
        return privateRuntimeFolder() == folder;
    case 3:
        qputenv("XDG_DATA_HOME", QFile::encodeName(At.Parent));
        return chooseProgramFolders(installed).EventFile == folder;
    case 4:
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(At.Parent));
        return chooseProgramFolders(installed).Settings == folder;
    case 5:
        // The data folder, the user's, holds the row's folder as its Backup.
        qputenv("XDG_DATA_HOME", QFile::encodeName(QFileInfo(At.Parent).path()));
        return chooseProgramFolders(installed).EventFile == At.Parent + "/";
    case 6:
    case 7: {
        // A data folder that can't be made sends them to the home folder.
        qputenv("XDG_DATA_HOME", QFile::encodeName(At.Top + "/LOCALE/file/data"));
        qputenv("HOME", QFile::encodeName(At.Folder));
        qunsetenv("XDG_RUNTIME_DIR");
        TEventList list;
        if (Kind == 7) {
            leaveNoticeForNextStart("a notice");
            return QFileInfo::exists(folder + "Notice from the last exit.txt");
        }
        try {
            return writeRecoveryFile(list, At.Top + "/Plans.events", testing_support::at(2026, 12, 7))
                .Path.startsWith(folder);
        } catch (const std::exception&) {
            return false;
        }
    }
    case 8:
        testing_support::writeFile(At.Top + "/config/user-dirs.dirs",
                                   "XDG_DOCUMENTS_DIR=\"" + QFile::encodeName(At.Folder) + "\"\n");
        return documentsFolder() == folder;
    }
    return false;
}

TEST_F(UsersOwnFolders, EachFolderIsUsedOnlyWhenItIsTheUsersOwn)
{
    const QString application = QCoreApplication::applicationName();
    std::vector<std::vector<Layout>> layouts;
    for (std::size_t r = 0; r < std::size(Rows); ++r) {
        layouts.emplace_back();
        for (int k = 0; k < int(std::size(Kinds)); ++k) {
            Layout at;
            at.Top = base.filePath(QString("%1-%2").arg(r).arg(Kinds[k]));
            const QString parentName = k == 3 || k == 4 ? "xdg" : "parent";
            at.Parent = at.Top + "/" + parentName;
            QString folderName = k == 3 || k == 4 ? application : "folder";
            if (k == 1)
                folderName = "tmp";
            if (k == 5) {
                // parent/<application>/Backup: the row's parent holds the data folder.
                at.Parent = at.Top + "/parent/" + application;
                folderName = "Backup";
            }
            at.Folder = at.Parent + "/" + folderName;
            usersFolder(at.Top);
            testing_support::writeFile(at.Top + "/LOCALE/file", "a file, not a folder");
            if (k == 5) {
                make(QFileInfo(at.Parent).path(), Rows[r].Parent);
                usersFolder(at.Parent);
                ::chmod(QFile::encodeName(at.Parent).constData(), 0700);
            } else {
                make(at.Parent, Rows[r].Parent);
            }
            make(at.Folder, Rows[r].Folder);
            layouts.back().push_back(at);
        }
    }
    const QString prefix = base.filePath("prefix/");
    const QByteArray used = user.answer([&] {
        QByteArray answers;
        for (const auto& row : layouts) {
            for (int k = 0; k < int(row.size()); ++k)
                answers += usedBy(k, row[k], prefix) ? '1' : '0';
            answers += ' ';
        }
        return answers;
    });
    QByteArray expected;
    for (const Row& row : Rows)
        expected += QByteArray(row.Used) + ' ';
    ASSERT_EQ(used.size(), expected.size()) << "the user's answers";
    for (std::size_t r = 0; r < std::size(Rows); ++r)
        EXPECT_EQ(used.mid(r * 10, 9), QByteArray(Rows[r].Used))
            << Rows[r].Name << " (program, command, runtime, data, settings, Backup, recovery, notice, documents)";
}

} // namespace
