#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>

#include "PlatformFakes.h"
#include "TestSupport.h"
#include "events/EventList.h"
#include "events/Exceptions.h"
#include "events/WaitExecuteThread.h"

using testing_support::readFile;
using testing_support::writeFile;

namespace {

const TListViewEventItem startRow(0, -1);

TEvent commandEvent(const QString& commands)
{
    TEvent event;
    event.CmdsToExecute = commands;
    return event;
}

QStringList commandFilesLeft()
{
    return QDir(GetTmpFolder()).entryList({QStringLiteral("~qv*")}, QDir::Files);
}

bool tmpFolderGone()
{
    return !QDir(GetTmpFolder()).exists();
}

constexpr QFile::Permissions ownerReadWrite = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;

class CommandFiles : public ::testing::Test {
protected:
    ~CommandFiles() override
    {
        CleanTmpFolder();
        QDir(GetTmpFolder()).removeRecursively();
    }

    QTemporaryDir scratch; // markers that the command files write
    QString marker(const char* name) const { return scratch.filePath(QLatin1String(name)); }
};

} // namespace

TEST_F(CommandFiles, ACommandFileRunsUnderTheShellAndIsDeletedWhenItEnds)
{
    const TEvent event = commandEvent(QStringLiteral("printf started > '%1'\r\n"
                                                     "while [ ! -e '%2' ]; do sleep 0.01; done\r\n"
                                                     "printf done > '%3'\r\n")
                                          .arg(marker("started"), marker("go"), marker("done")));
    event.ExecuteCommands(startRow);
    ASSERT_TRUE(waitUntil([&] { return QFile::exists(marker("started")); }));

    const QStringList running = commandFilesLeft();
    ASSERT_EQ(running.size(), 1);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^~qv[0-9A-F]+\\.tmp\\.bat$")).match(running[0]).hasMatch())
        << running[0].toStdString();
    EXPECT_EQ(QFile::permissions(GetTmpFolder() + running[0]), ownerReadWrite) << "other users can't read it";
    CleanTmpFolder();
    EXPECT_EQ(commandFilesLeft(), running) << "the clean-up leaves a running launch alone";

    writeFile(marker("go"), {});
    ASSERT_TRUE(waitUntil(tmpFolderGone)) << "the file and then the empty folder go when the launch ends";
    EXPECT_EQ(readFile(marker("done")), "done") << "CR LF line ends don't leak into the commands";
}

TEST_F(CommandFiles, TheFolderStaysWhileOtherFilesAreInIt)
{
    writeFile(GetTmpFolder() + QStringLiteral("notes.txt"), "mine");
    commandEvent(QStringLiteral("printf ran > '%1'").arg(marker("ran"))).ExecuteCommands(startRow);
    ASSERT_TRUE(waitUntil([&] { return QFile::exists(marker("ran")) && commandFilesLeft().isEmpty(); }));
    EXPECT_EQ(QDir(GetTmpFolder()).entryList(QDir::Files), QStringList{QStringLiteral("notes.txt")});
}

TEST_F(CommandFiles, AnInterpreterLineIsKeptAndRunsTheFileDirectly)
{
    // [[ ]] exists in bash only: the marker proves that /bin/sh didn't run the file.
    commandEvent(QStringLiteral("#!/bin/bash\n[[ -n x ]] && printf bash > '%1'").arg(marker("shell")))
        .ExecuteCommands(startRow);
    ASSERT_TRUE(waitUntil([&] { return QFile::exists(marker("shell")) && tmpFolderGone(); }));
    EXPECT_EQ(readFile(marker("shell")), "bash");
}

TEST_F(CommandFiles, TheFirstLineChoosesTheExtensionOnlyWhenItIsPlain)
{
    struct Case {
        const char* commands;
        const char* extension;
        QByteArray contents;
        bool executable;
    };
    const Case cases[] = {
        {"#! vbs\r\nWScript.Echo 1\r\nWScript.Echo 2", "vbs", "WScript.Echo 1\nWScript.Echo 2\n", false},
        {"#!\tPy3 \x01\nprint(1)\n", "Py3", "print(1)\n", false},
        {"echo a\recho b\n", "bat", "echo a\necho b\n", false},
        {"#!../../evil\necho x", "bat", "echo x\n", false},
        {"#!sub/dir\necho x", "bat", "echo x\n", false},
        {"#!a.b\necho x", "bat", "echo x\n", false},
        {"#!\necho x", "bat", "echo x\n", false},
        {"#!/bin/bash\necho hi", "bat", "#!/bin/bash\necho hi\n", true},
        {"#! /usr/bin/env python3\nprint(1)", "bat", "#! /usr/bin/env python3\nprint(1)\n", true},
    };
    RecordingShellOpener shell;
    for (const Case& c : cases)
        commandEvent(QString::fromLatin1(c.commands)).ExecuteCommands(startRow);
    ASSERT_TRUE(waitUntil([&] { return shell.openCount() == int(std::size(cases)) && tmpFolderGone(); }));

    // Launches may reach the opener in any order: match them by contents and extension.
    const std::vector<RecordingShellOpener::Open> opens = shell.opens();
    for (const Case& c : cases) {
        const auto found = std::find_if(opens.begin(), opens.end(), [&](const RecordingShellOpener::Open& open) {
            return open.Contents == c.contents && QFileInfo(open.FileName).suffix() == QLatin1String(c.extension);
        });
        ASSERT_NE(found, opens.end()) << c.commands;
        EXPECT_EQ(QFileInfo(found->FileName).absolutePath() + QLatin1Char('/'), GetTmpFolder()) << c.commands;
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^~qv[0-9A-F]+\\.tmp\\."))
                        .match(QFileInfo(found->FileName).fileName())
                        .hasMatch());
        const QFile::Permissions expected =
            c.executable ? ownerReadWrite | QFile::ExeOwner | QFile::ExeUser : ownerReadWrite;
        EXPECT_EQ(found->Permissions, expected) << c.commands;
    }
}

TEST_F(CommandFiles, ANewFileNeverReplacesAnExistingOne)
{
    const QString tempName = GetTmpFolder() + QStringLiteral("~qv1.tmp");
    writeFile(tempName + QStringLiteral(".bat"), "a running launch's commands");
    FixedTempFileNamer namer(tempName);
    RecordingShellOpener shell;
    try {
        commandEvent(QStringLiteral("echo new")).ExecuteCommands(startRow);
        FAIL() << "no exception";
    } catch (const QuilletError& error) {
        EXPECT_EQ(error.message(), QStringLiteral("unable to rename temp file to cmd file"));
    }
    EXPECT_EQ(readFile(tempName + QStringLiteral(".bat")), "a running launch's commands");
    EXPECT_TRUE(QFile::exists(tempName)) << "the temporary file waits for the clean-up";
    EXPECT_EQ(shell.openCount(), 0);
}

TEST_F(CommandFiles, LaunchesFinishingWhileNewOnesStartNeverFail)
{
    // Each finishing launch removes the folder when it finds it empty; a new launch
    // must never find its folder gone between making it and naming its file.
    RecordingShellOpener shell;
    SlowTempFileNamer slowNaming;
    const TEvent event = commandEvent(QStringLiteral("true"));
    constexpr int launches = 100;
    for (int i = 0; i < launches; ++i)
        ASSERT_NO_THROW(event.ExecuteCommands(startRow)) << "launch " << i;
    ASSERT_TRUE(waitUntil([&] { return shell.openCount() == launches && tmpFolderGone(); }));
    QSet<QString> names;
    for (const auto& open : shell.opens())
        names.insert(open.FileName);
    EXPECT_EQ(names.size(), launches) << "every launch had a file of its own";
}

TEST_F(CommandFiles, AFileHandedToAnotherProgramIsLeftForTheCleanUp)
{
    const QString handedOver = writeFile(GetTmpFolder() + QStringLiteral("~qvA.tmp.odt"), "document");
    const QString ranHere = writeFile(GetTmpFolder() + QStringLiteral("~qvB.tmp.bat"), "echo");
    TExecInfo info;
    info.FileName = handedOver;
    info.HandedOver = true;
    TEvent::ExecuteDone(info);
    EXPECT_TRUE(QFile::exists(handedOver)) << "the opened program may still be reading it";
    info.FileName = ranHere;
    info.HandedOver = false;
    TEvent::ExecuteDone(info);
    EXPECT_FALSE(QFile::exists(ranHere));
    CleanTmpFolder();
    EXPECT_TRUE(tmpFolderGone());
}

TEST_F(CommandFiles, TheLaunchThreadReportsHowTheOpenEnded)
{
    RecordingShellOpener shell;
    shell.Result = ShellOpenResult{0, 0xFFFFFFFF, ENOENT, false};
    TWaitExecuteThread launch;
    launch.ExecInfo.FileName = QStringLiteral("/nowhere/~qv1.tmp.zzz");
    launch.ExecInfo.LastError = 99;
    std::vector<TExecInfo> reports;
    launch.OnExecuteDone = [&](const TExecInfo& info) { reports.push_back(info); };
    launch.Execute();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].ExitCode, 0xFFFFFFFFu);
    EXPECT_EQ(reports[0].LastError, std::uint32_t(ENOENT));
    EXPECT_EQ(reports[0].FileName, launch.ExecInfo.FileName);

    launch.ExecInfo.FileName.clear();
    launch.Execute();
    ASSERT_EQ(reports.size(), 2u) << "an empty name opens nothing but still reports";
    EXPECT_EQ(reports[1].LastError, 0u);
    EXPECT_EQ(shell.openCount(), 1);
}

TEST_F(CommandFiles, CleanTmpFolderDeletesOnlyCommandFilesInAnyLetterCase)
{
    const QString dir = GetTmpFolder();
    for (const char* name : {"~qv1F.tmp", "~QV20.tmp.bat", "~Qv21.tmp.vbs", "~qV22"})
        writeFile(dir + QLatin1String(name), "x");
    for (const char* name : {"notes.txt", "x~qv.tmp", "qv23.tmp"})
        writeFile(dir + QLatin1String(name), "x");
    QDir(dir).mkdir(QStringLiteral("~qvfolder"));

    CleanTmpFolder();
    QStringList left = QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    left.sort();
    EXPECT_EQ(left, (QStringList{QStringLiteral("notes.txt"), QStringLiteral("qv23.tmp"), QStringLiteral("x~qv.tmp"),
                                 QStringLiteral("~qvfolder")}));

    for (const QString& name : left)
        QDir(dir).remove(name) || QDir(dir).rmdir(name);
    writeFile(dir + QStringLiteral("~qv24.tmp"), "x");
    CleanTmpFolder();
    EXPECT_TRUE(tmpFolderGone());
}
