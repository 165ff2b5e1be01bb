#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include <sys/stat.h>
#include <unistd.h>

#include "PlatformFakes.h"
#include "TestSupport.h"
#include "events/WaitExecuteThread.h"
#include "platform/ProgramFolder.h"
#include "platform/SystemTempFileNamer.h"

using namespace testing_support;

namespace {

constexpr QFile::Permissions ownerReadWrite = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;

void launch(const QString& commands)
{
    TEvent event;
    event.CmdsToExecute = commands;
    event.ExecuteCommands({0, -1});
}

QStringList filesLeft() { return QDir(GetTmpFolder()).entryList(QDir::Files); }
bool tmpFolderGone() { return !QDir(GetTmpFolder()).exists(); }

class CommandFiles : public ::testing::Test {
protected:
    ~CommandFiles() override { QDir(GetTmpFolder()).removeRecursively(); }

    QString marker(const char* name) const { return scratch.filePath(name); }

    // Where command files go when the folder beside the program is not safe.
    const QString fallback = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + "/quillet-tmp/";

    QTemporaryDir scratch; // for the markers that the command files write
};

} // namespace

TEST_F(CommandFiles, ACommandFileRunsUnderTheShellAndIsDeletedWhenItEnds)
{
    EXPECT_EQ(GetTmpFolder(), programFolder() + "tmp/");
    writeFile(GetTmpFolder() + "notes.txt", "mine");
    launch(QString("printf started > '%1'\r\nwhile [ ! -e '%2' ]; do sleep 0.01; done\r\nprintf done > '%3'\r\n")
               .arg(marker("started"), marker("go"), marker("done")));
    ASSERT_TRUE(waitUntil([&] { return QFile::exists(marker("started")); }));
    const QStringList running = filesLeft().filter(QRegularExpression("^~qv[0-9A-F]+\\.tmp\\.bat$"));
    ASSERT_EQ(running.size(), 1);
    EXPECT_EQ(QFile::permissions(GetTmpFolder() + running[0]), ownerReadWrite) << "other users can't read it";
    CleanTmpFolder();
    EXPECT_EQ(filesLeft(), QStringList{"notes.txt"} + running) << "the clean-up leaves a running launch alone";

    writeFile(marker("go"), {});
    ASSERT_TRUE(waitUntil([&] { return filesLeft() == QStringList{"notes.txt"}; })) << "the folder stays";
    EXPECT_EQ(readFile(marker("done")), "done") << "CR LF line ends don't leak into the commands";
    QFile::remove(GetTmpFolder() + "notes.txt");

    // An interpreter line is kept and runs the file: [[ ]] exists in bash only.
    launch(QString("#!/bin/bash\n[[ -n x ]] && printf bash > '%1'").arg(marker("shell")));
    ASSERT_TRUE(waitUntil([&] { return QFile::exists(marker("shell")) && tmpFolderGone(); }))
        << "the file, then the empty folder, go when the launch ends";
    EXPECT_EQ(readFile(marker("shell")), "bash");
}

TEST_F(CommandFiles, TheFirstLineChoosesTheExtensionOnlyWhenItIsPlain)
{
    // Commands, then the extension and contents of the file they give.
    const std::vector<std::tuple<const char*, const char*, QByteArray>> cases = {
        {"#!\tPy3 \x01\r\nprint(1)\recho 2\n", "Py3", "print(1)\necho 2\n"},
        {"#!../../evil.x\necho x", "bat", "echo x\n"},
        {"#!/bin/bash\necho hi", "bat", "#!/bin/bash\necho hi\n"},
        {"#! /usr/bin/env python3\nprint(2)", "bat", "#! /usr/bin/env python3\nprint(2)\n"},
    };
    RecordingShellOpener shell;
    for (const auto& [commands, extension, contents] : cases)
        launch(commands);
    ASSERT_TRUE(waitUntil([&] { return shell.opens().size() == cases.size() && tmpFolderGone(); }));
    const auto opens = shell.opens(); // in any order
    for (const auto& [commands, extension, contents] : cases) {
        const auto open =
            std::find_if(opens.begin(), opens.end(), [&](const auto& o) { return o.Contents == contents; });
        ASSERT_NE(open, opens.end()) << commands;
        const QFileInfo file(open->FileName);
        EXPECT_EQ(file.absolutePath() + "/", GetTmpFolder()) << commands;
        EXPECT_EQ(file.suffix(), extension) << commands;
        EXPECT_EQ(open->Permissions,
                  contents.startsWith("#!") ? ownerReadWrite | QFile::ExeOwner | QFile::ExeUser : ownerReadWrite)
            << commands;
    }
}

TEST_F(CommandFiles, LaunchesFinishingWhileNewOnesStartNeverFail)
{
    // Slow naming lets a finishing launch remove the empty folder before the new file is made.
    RecordingShellOpener shell;
    SystemTempFileNamer real;
    ScriptedTempFileNamer slowNaming([&](const QString& folder, const QString& prefix) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return real.createUniqueFile(folder, prefix);
    });
    constexpr size_t launches = 100;
    for (size_t i = 0; i < launches; ++i)
        ASSERT_NO_THROW(launch("true")) << "launch " << i;
    ASSERT_TRUE(waitUntil([&] { return shell.opens().size() == launches && tmpFolderGone(); }));
    QSet<QString> names;
    for (const auto& open : shell.opens())
        names.insert(open.FileName);
    EXPECT_EQ(names.size(), launches) << "every launch had a file of its own";

    // A new file never replaces an existing one, as a running launch's would be.
    const QString tempName = GetTmpFolder() + "~qv1.tmp";
    writeFile(tempName + ".bat", "a running launch's commands");
    ScriptedTempFileNamer sameName([&](auto&&...) { return writeFile(tempName, {}); });
    EXPECT_EQ(messageOf([] { launch("echo new"); }), "unable to rename temp file to cmd file");
    EXPECT_EQ(readFile(tempName + ".bat"), "a running launch's commands");
    EXPECT_EQ(shell.opens().size(), launches);
}

TEST_F(CommandFiles, CleanTmpFolderTakesCommandFilesThatNobodyIsReading)
{
    RecordingShellOpener shell;
    const auto finish = [&](const char* name, ShellOpenResult result) {
        shell.Result = result;
        TWaitExecuteThread launch;
        launch.ExecInfo.FileName = writeFile(GetTmpFolder() + name, "x");
        launch.OnExecuteDone = &TEvent::ExecuteDone;
        launch.Execute();
        return QFile::exists(launch.ExecInfo.FileName);
    };
    EXPECT_TRUE(finish("~qvA.tmp.odt", {0, 0, 0, true})) << "the program it was handed to may still be reading it";
    EXPECT_FALSE(finish("~qvB.tmp.zzz", {0, 0xFFFFFFFF, 2, false})) << "the open failed: nobody got the file";
    for (const char* name : {"~QV20.tmp.bat", "~Qv21.tmp.vbs", "~qV22", "notes.txt", "x~qv.tmp"})
        writeFile(GetTmpFolder() + name, "x");
    QDir(GetTmpFolder()).mkdir("~qvfolder");
    CleanTmpFolder();
    EXPECT_EQ(QDir(GetTmpFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name),
              (QStringList{"notes.txt", "x~qv.tmp", "~qvfolder"}));
}

// Another user who can change the folder could swap in commands: use a private one instead.
TEST_F(CommandFiles, ATmpFolderThatIsNotTheUsersAloneIsNeverUsed)
{
    const QString beside = programFolder() + "tmp/";
    const QByteArray besidePath = QFile::encodeName(programFolder() + "tmp");
    const auto modeOf = [](const QString& path) {
        struct stat status = {};
        return ::lstat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 07777 : 0u;
    };
    QTemporaryDir elsewhere;
    const auto folderOfLaunch = [&](const char* why) {
        RecordingShellOpener shell;
        launch("echo x");
        EXPECT_TRUE(waitUntil([&] { return shell.opens().size() == 1; })) << why;
        const QString folder = shell.opens().empty() ? QString() : QFileInfo(shell.opens()[0].FileName).path() + "/";
        waitUntil([&] { return !QDir(folder).exists(); });
        EXPECT_EQ(QDir(elsewhere.path()).entryList(QDir::Files), QStringList{"~qv1.tmp"}) << why;
        return folder;
    };
    writeFile(elsewhere.filePath("~qv1.tmp"), "theirs");

    launch(""); // leaves its empty file, and with it the folder
    EXPECT_EQ(modeOf(beside), 0700u) << "a new tmp folder is closed to others";
    CleanTmpFolder();
    EXPECT_EQ(folderOfLaunch("the user's own tmp"), beside);

    ASSERT_TRUE(QFile::link(elsewhere.path(), programFolder() + "tmp"));
    EXPECT_EQ(folderOfLaunch("a link"), fallback);
    CleanTmpFolder();
    EXPECT_TRUE(QFileInfo::exists(elsewhere.filePath("~qv1.tmp"))) << "nothing is deleted through the link";
    QFile::remove(programFolder() + "tmp");

    ASSERT_EQ(::mkdir(besidePath.constData(), 0700), 0);
    ASSERT_EQ(::chmod(besidePath.constData(), 0777), 0);
    EXPECT_EQ(folderOfLaunch("a tmp that others can write"), fallback);
    EXPECT_TRUE(QDir(beside).isEmpty());
    if (::geteuid() == 0) {
        ASSERT_EQ(::chmod(besidePath.constData(), 0700), 0);
        ASSERT_EQ(::chown(besidePath.constData(), 65534, 65534), 0);
        EXPECT_EQ(folderOfLaunch("a tmp of another user's"), fallback);
        EXPECT_TRUE(QDir(beside).isEmpty());
    }
    QDir(beside).removeRecursively();

    // A program folder others can write: they could rename tmp and put their own in its place.
    const QByteArray program = QFile::encodeName(programFolder());
    const mode_t programMode = modeOf(programFolder());
    const auto restore = qScopeGuard([&] { ::chmod(program.constData(), programMode); });
    ASSERT_EQ(::chmod(program.constData(), 0777), 0);
    EXPECT_EQ(folderOfLaunch("a program folder that others can write"), fallback);
    // The sticky bit keeps tmp to its owner, yet others could still plant the user's other files there.
    ASSERT_EQ(::chmod(program.constData(), 01777), 0);
    EXPECT_EQ(folderOfLaunch("a shared folder with the sticky bit"), fallback);

    // With the private folder a link too, there is nowhere safe: the launch is refused.
    ASSERT_EQ(::chmod(program.constData(), 0777), 0);
    ASSERT_TRUE(QFile::link(elsewhere.path(), QDir::cleanPath(fallback)));
    RecordingShellOpener shell;
    EXPECT_EQ(messageOf([] { launch("echo x"); }), "unable to get temp file name to execute commands");
    CleanTmpFolder();
    EXPECT_EQ(QDir(elsewhere.path()).entryList(QDir::Files), QStringList{"~qv1.tmp"});
    QFile::remove(QDir::cleanPath(fallback));
}

// Another user who can change a folder on the way could swap the whole path, tmp and all.
TEST_F(CommandFiles, NoCommandFileGoesBesideAProgramInAFolderOthersCanChange)
{
    QTemporaryDir shared;
    ASSERT_TRUE(QDir(shared.path()).mkpath("quillet/bin"));
    const QString ownFolder = programFolder();
    const auto restore = qScopeGuard([&] { setProgramFolderForTests(ownFolder); });
    setProgramFolderForTests(shared.filePath("quillet/bin"));
    const QString beside = shared.filePath("quillet/bin/tmp/");
    const QByteArray sharedPath = QFile::encodeName(shared.path());

    ASSERT_EQ(::chmod(sharedPath.constData(), 0700), 0);
    EXPECT_EQ(GetTmpFolder(), beside);
    ASSERT_EQ(::chmod(sharedPath.constData(), 0777), 0);
    EXPECT_EQ(GetTmpFolder(), fallback) << "others could rename quillet and put their own there";
    ASSERT_EQ(::chmod(sharedPath.constData(), 01777), 0);
    EXPECT_EQ(GetTmpFolder(), beside) << "the sticky bit keeps quillet to its owner";
    ASSERT_TRUE(QFile::link(shared.filePath("quillet"), shared.filePath("link")));
    setProgramFolderForTests(shared.filePath("link/bin"));
    EXPECT_EQ(GetTmpFolder(), fallback) << "a link in a folder others may write is not followed";
    ASSERT_EQ(::chmod(sharedPath.constData(), 0700), 0);
    EXPECT_EQ(GetTmpFolder(), shared.filePath("link/bin/tmp/")) << "one that only its owner may change is";
}
