// Where the program finds its files and keeps the user's: beside itself, or installed.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "TestSupport.h"
#include "platform/Autostart.h"
#include "platform/CommandFileFolder.h"
#include "platform/ProgramFolder.h"
#include "platform/XdgFolders.h"

namespace {

class ProgramFolder : public ::testing::Test {
protected:
    void TearDown() override { setProgramFolderForTests(testsOwn); }

    QString make(const QString& path)
    {
        EXPECT_TRUE(QDir(root.path()).mkpath(path));
        return root.filePath(path) + "/";
    }

    const QString testsOwn = programFolder();
    QTemporaryDir root;
};

TEST_F(ProgramFolder, ABuildOrPortableFolderKeepsEverythingBesideTheProgram)
{
    for (const bool shareToo : {false, true}) {
        SCOPED_TRACE(shareToo);
        const QString bin = make("portable/bin");
        make("portable/bin/LOCALE/de");
        if (shareToo)
            make("portable/share/quillet/LOCALE/de"); // an older install under the same prefix
        const ProgramFolders folders = chooseProgramFolders(bin);
        EXPECT_EQ(QStringList({folders.ReadOnlyFiles, folders.Settings, folders.EventFile}), QStringList(3, bin));
        EXPECT_TRUE(folders.UserFilesBeside);
    }
    // Files nowhere to be found: still beside the program, as before.
    const QString bare = make("bare");
    EXPECT_EQ(chooseProgramFolders(bare).ReadOnlyFiles, bare);
    EXPECT_TRUE(chooseProgramFolders(bare).UserFilesBeside);
}

// Even in a prefix the user may write (~/.local), bin/ is no place for the user's files.
TEST_F(ProgramFolder, AnInstalledProgramReadsFromShareAndKeepsTheUsersFilesInTheUsersFolders)
{
    const QString bin = make("prefix/" QUILLET_INSTALL_BINDIR);
    const QString shared = make("prefix/" QUILLET_INSTALL_DATADIR "/quillet");
    make("prefix/" QUILLET_INSTALL_DATADIR "/quillet/LOCALE/de");
    const QString name = QCoreApplication::applicationName();
    const QString config = qEnvironmentVariable("XDG_CONFIG_HOME") + "/" + name + "/";
    const QString data = qEnvironmentVariable("XDG_DATA_HOME") + "/" + name + "/";
    QDir(config).removeRecursively();
    QDir(data).removeRecursively();

    setProgramFolderForTests(bin);
    EXPECT_EQ(readOnlyFilesFolder(), shared);
    EXPECT_FALSE(userFilesBesideProgram());
    EXPECT_EQ(settingsFolder(), config);
    EXPECT_TRUE(QFileInfo(config).isDir()) << "made for the first save";
    EXPECT_EQ(QFileInfo(config).permissions() & (QFile::ReadGroup | QFile::ReadOther), 0) << "the user's alone";
    EXPECT_EQ(eventFileFolder(), data);
    EXPECT_TRUE(QFileInfo(data).isDir());
    EXPECT_EQ(commandFileFolder(), qEnvironmentVariable("XDG_RUNTIME_DIR") + "/quillet-tmp/");
    EXPECT_EQ(QDir(bin).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
}

// Another user could plant an event file, or links in place of the user's files, in a
// folder that others may write or that another user owns: it counts as read-only.
// (A group's write counts by the group's members: UsersOwnFolders has those rows.)
TEST_F(ProgramFolder, AFolderOthersMayChangeKeepsTheUsersFilesInTheUsersFolders)
{
    const QString config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + "/";
    const std::tuple<mode_t, uid_t, bool> cases[] = {{0755, ::geteuid(), true},
                                                     {0777, ::geteuid(), false},
                                                     {01777, ::geteuid(), false},
                                                     {0755, 65534, false}}; // mode, owner, beside
    for (const auto& [mode, owner, beside] : cases) {
        SCOPED_TRACE(testing::Message() << std::oct << mode << " " << std::dec << owner);
        const QString bin = make(QString("%1-%2/bin").arg(mode).arg(owner));
        make(bin + "LOCALE/de");
        if (::chown(QFile::encodeName(bin).constData(), owner, -1) != 0)
            continue; // not root: another user's folder can't be made here
        ASSERT_EQ(::chmod(QFile::encodeName(bin).constData(), mode), 0);
        const ProgramFolders folders = chooseProgramFolders(bin);
        EXPECT_EQ(QStringList({folders.ReadOnlyFiles, folders.Settings}), QStringList({bin, beside ? bin : config}));
        setProgramFolderForTests(bin);
        EXPECT_EQ(commandFileFolder().startsWith(bin), beside);
    }
}

// A relative XDG folder would change with the folder the program was started from.
TEST_F(ProgramFolder, RelativeXdgFoldersAreIgnored)
{
    const QByteArray home = qgetenv("HOME"), config = qgetenv("XDG_CONFIG_HOME"), data = qgetenv("XDG_DATA_HOME");
    const auto restore = qScopeGuard([&] {
        qputenv("HOME", home);
        qputenv("XDG_CONFIG_HOME", config);
        qputenv("XDG_DATA_HOME", data);
    });
    qputenv("HOME", QFile::encodeName(make("home")));
    qputenv("XDG_CONFIG_HOME", "relcfg");
    qputenv("XDG_DATA_HOME", QFile::encodeName(root.filePath("data")));
    ignoreRelativeXdgFolders();
    make("prefix/" QUILLET_INSTALL_DATADIR "/quillet"); // installed: the user's files go to the user's folders
    const ProgramFolders folders = chooseProgramFolders(make("prefix/" QUILLET_INSTALL_BINDIR));
    EXPECT_EQ(folders.Settings, make("home") + ".config/" + QCoreApplication::applicationName() + "/");
    EXPECT_EQ(folders.EventFile, root.filePath("data/") + QCoreApplication::applicationName() + "/") << "kept";
    EXPECT_EQ(autostart::entryFileName(), make("home") + ".config/autostart/Quillet.desktop");
}

} // namespace
