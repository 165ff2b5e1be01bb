#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "PlatformFakes.h"
#include "TestSupport.h"
#include "events/EventList.h"
#include "events/Exceptions.h"
#include "events/WaitExecuteThread.h"

using testing_support::readFile;
using testing_support::writeFile;

namespace {

const TListViewEventItem startRow(0, -1);
constexpr QFile::Permissions ownerReadWrite = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;
const QRegularExpression commandFileName(QStringLiteral("^~qv[0-9A-F]+\\.tmp\\.[A-Za-z0-9]+$"));

void launch(const QString& commands)
{
    TEvent event;
    event.CmdsToExecute = commands;
    event.ExecuteCommands(startRow);
}

QStringList commandFilesLeft()
{
    return QDir(GetTmpFolder()).entryList({QStringLiteral("~qv*")}, QDir::Files);
}
bool tmpFolderGone()
{
    return !QDir(GetTmpFolder()).exists();
}

class CommandFiles : public ::testing::Test {
protected:
    ~CommandFiles() override { QDir(GetTmpFolder()).removeRecursively(); }

    QString marker(const char* name) const { return scratch.filePath(QLatin1String(name)); }

    QTemporaryDir scratch; // for the markers that the command files write
};

} // namespace

TEST_F(CommandFiles, ACommandFileRunsUnderTheShellAndIsDeletedWhenItEnds)
{
    launch(QStringLiteral("printf started > '%1'\r\n"
                          "while [ ! -e '%2' ]; do sleep 0.01; done\r\n"
                          "printf done > '%3'\r\n")
               .arg(marker("started"), marker("go"), marker("done")));
    ASSERT_TRUE(waitUntil([&] { return QFile::exists(marker("started")); }));

    const QStringList running = commandFilesLeft();
    ASSERT_EQ(running.size(), 1);
    EXPECT_TRUE(running[0].endsWith(QLatin1String(".tmp.bat")) && commandFileName.match(running[0]).hasMatch());
    EXPECT_EQ(QFile::permissions(GetTmpFolder() + running[0]), ownerReadWrite) << "other users can't read it";
    CleanTmpFolder();
    EXPECT_EQ(commandFilesLeft(), running) << "the clean-up leaves a running launch alone";

    writeFile(marker("go"), {});
    ASSERT_TRUE(waitUntil(tmpFolderGone)) << "the file, then the empty folder, go when the launch ends";
    EXPECT_EQ(readFile(marker("done")), "done") << "CR LF line ends don't leak into the commands";
}

TEST_F(CommandFiles, TheFolderStaysWhileOtherFilesAreInIt)
{
    writeFile(GetTmpFolder() + QStringLiteral("notes.txt"), "mine");
    launch(QStringLiteral("printf ran > '%1'").arg(marker("ran")));
    ASSERT_TRUE(waitUntil([&] { return QFile::exists(marker("ran")) && commandFilesLeft().isEmpty(); }));
    EXPECT_EQ(QDir(GetTmpFolder()).entryList(QDir::Files), QStringList{QStringLiteral("notes.txt")});
}

TEST_F(CommandFiles, AnInterpreterLineIsKeptAndRunsTheFileDirectly)
{
    // [[ ]] exists in bash only: the marker proves that /bin/sh didn't run the file.
    launch(QStringLiteral("#!/bin/bash\n[[ -n x ]] && printf bash > '%1'").arg(marker("shell")));
    ASSERT_TRUE(waitUntil([&] { return QFile::exists(marker("shell")) && tmpFolderGone(); }));
    EXPECT_EQ(readFile(marker("shell")), "bash");
}

TEST_F(CommandFiles, TheFirstLineChoosesTheExtensionOnlyWhenItIsPlain)
{
    struct Case {
        const char* commands;
        const char* extension;
        QByteArray contents;
    };
    const Case cases[] = {
        {"#! vbs\r\nWScript.Echo 1\r\nWScript.Echo 2", "vbs", "WScript.Echo 1\nWScript.Echo 2\n"},
        {"#!\tPy3 \x01\nprint(1)\n", "Py3", "print(1)\n"},
        {"echo a\recho b\n", "bat", "echo a\necho b\n"},
        {"#!../../evil\necho x", "bat", "echo x\n"},
        {"#!a.b\necho y", "bat", "echo y\n"},
        {"#!\necho z", "bat", "echo z\n"},
        {"#!/bin/bash\necho hi", "bat", "#!/bin/bash\necho hi\n"},
        {"#! /usr/bin/env python3\nprint(2)", "bat", "#! /usr/bin/env python3\nprint(2)\n"},
    };
    RecordingShellOpener shell;
    for (const Case& c : cases)
        launch(QString::fromLatin1(c.commands));
    ASSERT_TRUE(waitUntil([&] { return shell.openCount() == int(std::size(cases)) && tmpFolderGone(); }));

    const std::vector<RecordingShellOpener::Open> opens = shell.opens(); // in any order
    for (const Case& c : cases) {
        const auto found = std::find_if(opens.begin(), opens.end(), [&](const RecordingShellOpener::Open& open) {
            return open.Contents == c.contents && QFileInfo(open.FileName).suffix() == QLatin1String(c.extension);
        });
        ASSERT_NE(found, opens.end()) << c.commands;
        const QFileInfo file(found->FileName);
        EXPECT_EQ(file.absolutePath() + QLatin1Char('/'), GetTmpFolder()) << c.commands;
        EXPECT_TRUE(commandFileName.match(file.fileName()).hasMatch()) << c.commands;
        const bool interpreter = c.contents.startsWith("#!");
        EXPECT_EQ(found->Permissions, interpreter ? ownerReadWrite | QFile::ExeOwner | QFile::ExeUser : ownerReadWrite)
            << c.commands;
    }
}

TEST_F(CommandFiles, LaunchesFinishingWhileNewOnesStartNeverFail)
{
    // A finishing launch removes the folder when it finds it empty. The slowed-down naming
    // gives it every chance to do so between the making of the folder and the new file.
    RecordingShellOpener shell;
    ScriptedTempFileNamer slowNaming([](SystemTempFileNamer& real, const QString& folder, const QString& prefix) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return real.createUniqueFile(folder, prefix);
    });
    constexpr int launches = 100;
    for (int i = 0; i < launches; ++i)
        ASSERT_NO_THROW(launch(QStringLiteral("true"))) << "launch " << i;
    ASSERT_TRUE(waitUntil([&] { return shell.openCount() == launches && tmpFolderGone(); }));
    QSet<QString> names;
    for (const auto& open : shell.opens())
        names.insert(open.FileName);
    EXPECT_EQ(names.size(), launches) << "every launch had a file of its own";
}

TEST_F(CommandFiles, ANewFileNeverReplacesAnExistingOne)
{
    const QString tempName = GetTmpFolder() + QStringLiteral("~qv1.tmp");
    writeFile(tempName + QStringLiteral(".bat"), "a running launch's commands");
    ScriptedTempFileNamer sameName([&](auto&&...) { return writeFile(tempName, {}); });
    RecordingShellOpener shell;
    try {
        launch(QStringLiteral("echo new"));
        ADD_FAILURE() << "no exception";
    } catch (const QuilletError& error) {
        EXPECT_EQ(error.message(), QStringLiteral("unable to rename temp file to cmd file"));
    }
    EXPECT_EQ(readFile(tempName + QStringLiteral(".bat")), "a running launch's commands");
    EXPECT_EQ(shell.openCount(), 0);
}

TEST_F(CommandFiles, AFileHandedToAnotherProgramIsLeftForTheCleanUp)
{
    RecordingShellOpener shell;
    shell.Result.HandedOver = true;
    TWaitExecuteThread opening;
    opening.ExecInfo.FileName = writeFile(GetTmpFolder() + QStringLiteral("~qvA.tmp.odt"), "document");
    opening.OnExecuteDone = &TEvent::ExecuteDone;
    opening.Execute();
    EXPECT_TRUE(QFile::exists(opening.ExecInfo.FileName)) << "the opened program may still be reading it";

    shell.Result = ShellOpenResult{0, 0xFFFFFFFF, 2, false}; // the open failed
    TWaitExecuteThread failing;
    failing.ExecInfo.FileName = writeFile(GetTmpFolder() + QStringLiteral("~qvB.tmp.zzz"), "x");
    failing.OnExecuteDone = &TEvent::ExecuteDone;
    failing.Execute();
    EXPECT_FALSE(QFile::exists(failing.ExecInfo.FileName)) << "nobody got it: it goes all the same";

    CleanTmpFolder();
    EXPECT_TRUE(tmpFolderGone());
}

TEST_F(CommandFiles, CleanTmpFolderDeletesOnlyCommandFilesInAnyLetterCase)
{
    const QString dir = GetTmpFolder();
    for (const char* name : {"~qv1F.tmp", "~QV20.tmp.bat", "~Qv21.tmp.vbs", "~qV22", "notes.txt", "x~qv.tmp"})
        writeFile(dir + QLatin1String(name), "x");
    QDir(dir).mkdir(QStringLiteral("~qvfolder"));

    CleanTmpFolder();
    EXPECT_EQ(QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name),
              (QStringList{QStringLiteral("notes.txt"), QStringLiteral("x~qv.tmp"), QStringLiteral("~qvfolder")}));
}
