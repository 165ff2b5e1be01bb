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
#include "platform/PrivateFolder.h"
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
    const QString bin = make("prefix/bin");
    const QString shared = make("prefix/share/quillet");
    make("prefix/share/quillet/LOCALE/de");
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
TEST_F(ProgramFolder, AFolderOthersMayChangeKeepsTheUsersFilesInTheUsersFolders)
{
    struct Case {
        const char* Name;
        mode_t Mode;
        uid_t Owner;
        bool Beside;
    };
    const uid_t user = ::geteuid();
    const Case cases[] = {{"own", 0755, user, true},
                          {"world-writable", 0777, user, false},
                          {"sticky", 01777, user, false},
                          {"group-writable", 0775, user, false},
                          {"another user's", 0755, 65534, false}};
    const QString config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + "/";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        if (c.Owner != user && user != 0)
            continue; // said below
        const QString bin = make(QString(c.Name) + "/bin");
        make(QString(c.Name) + "/bin/LOCALE/de");
        const QByteArray path = QFile::encodeName(bin);
        ASSERT_EQ(::chown(path.constData(), c.Owner, c.Owner == user ? ::getegid() : c.Owner), 0);
        ASSERT_EQ(::chmod(path.constData(), c.Mode), 0);

        const ProgramFolders folders = chooseProgramFolders(bin);
        EXPECT_EQ(folders.UserFilesBeside, c.Beside);
        EXPECT_EQ(folders.ReadOnlyFiles, bin) << "its catalogues and sounds are still read there";
        EXPECT_EQ(folders.Settings, c.Beside ? bin : config);
        setProgramFolderForTests(bin);
        EXPECT_EQ(commandFileFolder().startsWith(bin), c.Beside);
    }
    if (user != 0)
        GTEST_SKIP() << "another user's folder needs root to give it away";
}

// A relative XDG folder would change with the folder the program was started from.
TEST_F(ProgramFolder, RelativeXdgFoldersAreIgnored)
{
    const char* const variables[] = {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR", "HOME"};
    QList<QByteArray> kept;
    for (const char* variable : variables)
        kept << qgetenv(variable);
    const QString workingFolder = QDir::currentPath();
    const auto restore = qScopeGuard([&] {
        for (int i = 0; i < kept.size(); ++i)
            qputenv(variables[i], kept[i]);
        QDir::setCurrent(workingFolder);
    });
    const QString home = make("home");
    const QString started = make("started");
    make("started/relrun");
    ASSERT_TRUE(QDir::setCurrent(started));
    ASSERT_EQ(::chmod("relrun", 0700), 0) << "a runtime folder Qt would take";
    qputenv("HOME", QFile::encodeName(home));
    qputenv("XDG_CONFIG_HOME", "relcfg");
    qputenv("XDG_DATA_HOME", "reldata");
    qputenv("XDG_RUNTIME_DIR", "relrun");
    EXPECT_EQ(xdgFolder("XDG_DATA_HOME"), QString());

    ignoreRelativeXdgFolders();
    make("prefix/share/quillet"); // installed: the user's files go to the user's folders
    const ProgramFolders folders = chooseProgramFolders(make("prefix/bin"));
    EXPECT_EQ(folders.Settings, home + ".config/" + QCoreApplication::applicationName() + "/");
    EXPECT_EQ(folders.EventFile, home + ".local/share/" + QCoreApplication::applicationName() + "/");
    EXPECT_FALSE(privateRuntimeFolder().contains("relrun")) << privateRuntimeFolder();
    EXPECT_EQ(autostart::entryFileName(), home + ".config/autostart/Quillet.desktop");

    // An absolute folder stays as it is.
    qputenv("XDG_DATA_HOME", QFile::encodeName(home + "data"));
    ignoreRelativeXdgFolders();
    EXPECT_EQ(xdgFolder("XDG_DATA_HOME"), home + "data");
    EXPECT_EQ(chooseProgramFolders(make("prefix/bin")).EventFile,
              home + "data/" + QCoreApplication::applicationName() + "/");
}

} // namespace
