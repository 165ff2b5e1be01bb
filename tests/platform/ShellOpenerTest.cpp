#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>

#include "TestSupport.h"
#include "platform/SystemShellOpener.h"

using testing_support::readFile;
using testing_support::writeFile;

namespace {

constexpr QFile::Permissions ownerOnly = QFile::ReadOwner | QFile::WriteOwner;
constexpr QFile::Permissions ownerRuns = ownerOnly | QFile::ExeOwner;

class SystemShell : public ::testing::Test {
protected:
    QString file(const QString& name, const QByteArray& contents, QFile::Permissions permissions = ownerOnly)
    {
        const QString path = writeFile(scratch.filePath(name), contents);
        QFile::setPermissions(path, permissions);
        return path;
    }

    // A stand-in for xdg-open that notes which file it was given.
    QString recordingOpener()
    {
        return file(QStringLiteral("opener"), "#!/bin/sh\nprintf '%s' \"$1\" > \"$(dirname \"$0\")/opened\"\nexit 3\n",
                    ownerRuns);
    }
    QByteArray opened() const { return readFile(scratch.filePath(QStringLiteral("opened"))); }

    QTemporaryDir scratch;
};

} // namespace

TEST_F(SystemShell, BatAndShFilesRunUnderTheShellWithTheirExitCode)
{
    SystemShellOpener shell(recordingOpener());
    for (const char* name : {"a.bat", "b.sh", "c.BAT", "~qv1.tmp.Sh"}) {
        const ShellOpenResult result = shell.openAndWait(file(QLatin1String(name), "exit 7\n"), {}, {}, 7);
        EXPECT_EQ(result.ExitCode, 7u) << name;
        EXPECT_EQ(result.LastError, 0u) << name;
        EXPECT_GT(result.ProcessId, 0) << name;
        EXPECT_FALSE(result.HandedOver) << name;
    }
    EXPECT_TRUE(opened().isEmpty());
}

TEST_F(SystemShell, OtherFilesAreHandedToTheDesktopsOpener)
{
    SystemShellOpener shell(recordingOpener());
    const QString document = file(QStringLiteral("letter.odt"), "text");
    const ShellOpenResult result = shell.openAndWait(document, {}, {}, 7);
    EXPECT_TRUE(result.HandedOver);
    EXPECT_EQ(result.ExitCode, 3u) << "the opener's own exit code";
    EXPECT_EQ(opened(), document.toUtf8());

    // A "#!" file runs by itself only when its owner may run it.
    const QString notRunnable = file(QStringLiteral("plain.txt"), "#!/bin/sh\nexit 5\n");
    EXPECT_TRUE(shell.openAndWait(notRunnable, {}, {}, 7).HandedOver);
    EXPECT_EQ(opened(), notRunnable.toUtf8());
}

TEST_F(SystemShell, AnExecutableInterpreterFileRunsDirectly)
{
    SystemShellOpener shell(recordingOpener());
    // [[ ]] exists in bash only: /bin/sh running the file would fail the test.
    for (const char* name : {"run.txt", "run.bat"}) {
        const ShellOpenResult result =
            shell.openAndWait(file(QLatin1String(name), "#!/bin/bash\n[[ -n x ]] && exit 5\n", ownerRuns), {}, {}, 7);
        EXPECT_EQ(result.ExitCode, 5u) << name;
        EXPECT_FALSE(result.HandedOver) << name;
    }
    EXPECT_TRUE(opened().isEmpty());
}

TEST_F(SystemShell, AProgramThatCantStartGivesAllBitsSetAndTheErrorNumber)
{
    const ShellOpenResult missingOpener = SystemShellOpener(QStringLiteral("/nonexistent/xdg-open"))
                                              .openAndWait(file(QStringLiteral("letter.odt"), "text"), {}, {}, 7);
    EXPECT_EQ(missingOpener.ExitCode, 0xFFFFFFFFu);
    EXPECT_EQ(missingOpener.LastError, std::uint32_t(ENOENT));
    EXPECT_EQ(missingOpener.ProcessId, 0);
    EXPECT_FALSE(missingOpener.HandedOver) << "nobody got the file, so it may go";

    const ShellOpenResult missingInterpreter = SystemShellOpener().openAndWait(
        file(QStringLiteral("run.bat"), "#!/nonexistent/interpreter\n", ownerRuns), {}, {}, 7);
    EXPECT_EQ(missingInterpreter.ExitCode, 0xFFFFFFFFu);
    EXPECT_EQ(missingInterpreter.LastError, std::uint32_t(ENOENT));
}
