#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>

#include "TestSupport.h"
#include "platform/SystemShellOpener.h"

namespace {

constexpr QFile::Permissions ownerOnly = QFile::ReadOwner | QFile::WriteOwner;
constexpr QFile::Permissions ownerRuns = ownerOnly | QFile::ExeOwner;

class SystemShell : public ::testing::Test {
protected:
    QString file(const QString& name, const QByteArray& contents, QFile::Permissions permissions = ownerOnly)
    {
        const QString path = testing_support::writeFile(scratch.filePath(name), contents);
        QFile::setPermissions(path, permissions);
        return path;
    }
    QByteArray opened() const { return testing_support::readFile(scratch.filePath("opened")); }

    QTemporaryDir scratch;
    // A stand-in for xdg-open that notes which file it was given.
    SystemShellOpener shell{
        file("opener", "#!/bin/sh\nprintf '%s' \"$1\" > \"$(dirname \"$0\")/opened\"\nexit 3\n", ownerRuns)};
};

} // namespace

TEST_F(SystemShell, BatAndShFilesAndRunnableInterpreterFilesRunWithTheirExitCode)
{
    for (const char* name : {"a.bat", "b.sh", "c.BAT", "~qv1.tmp.Sh"}) {
        const ShellOpenResult result = shell.openAndWait(file(name, "exit 7\n"), {}, {}, 7);
        EXPECT_EQ(std::tuple(result.ExitCode, result.LastError, result.HandedOver), std::tuple(7u, 0u, false)) << name;
        EXPECT_GT(result.ProcessId, 0) << name;
    }
    // [[ ]] exists in bash only: /bin/sh running the file would fail the test.
    for (const char* name : {"run.txt", "run.bat"}) {
        const ShellOpenResult result =
            shell.openAndWait(file(name, "#!/bin/bash\n[[ -n x ]] && exit 5\n", ownerRuns), {}, {}, 7);
        EXPECT_EQ(std::pair(result.ExitCode, result.HandedOver), std::pair(5u, false)) << name;
    }
    EXPECT_TRUE(opened().isEmpty());
}

TEST_F(SystemShell, OtherFilesAreHandedToTheDesktopsOpener)
{
    const QString document = file("letter.odt", "text");
    const ShellOpenResult result = shell.openAndWait(document, {}, {}, 7);
    EXPECT_TRUE(result.HandedOver);
    EXPECT_EQ(result.ExitCode, 3u) << "the opener's own exit code";
    EXPECT_EQ(opened(), document.toUtf8());
    // A "#!" file runs by itself only when its owner may run it.
    const QString notRunnable = file("plain.txt", "#!/bin/sh\nexit 5\n");
    EXPECT_TRUE(shell.openAndWait(notRunnable, {}, {}, 7).HandedOver);
    EXPECT_EQ(opened(), notRunnable.toUtf8());
}

TEST_F(SystemShell, AProgramThatCantStartGivesAllBitsSetAndTheErrorNumber)
{
    const ShellOpenResult missingOpener =
        SystemShellOpener("/nonexistent/xdg-open").openAndWait(file("letter.odt", "text"), {}, {}, 7);
    EXPECT_EQ(std::tuple(missingOpener.ExitCode, missingOpener.LastError, missingOpener.ProcessId),
              std::tuple(0xFFFFFFFFu, std::uint32_t(ENOENT), 0));
    EXPECT_FALSE(missingOpener.HandedOver) << "nobody got the file, so it may go";
}
