#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>

#include "TestSupport.h"
#include "platform/SystemShellOpener.h"

TEST(SystemShellOpener, RunsShellFilesAndHandsOtherFilesToTheDesktopsOpener)
{
    QTemporaryDir scratch;
    const auto file = [&](const QString& name, const QByteArray& contents, QFile::Permissions permissions) {
        const QString path = testing_support::writeFile(scratch.filePath(name), contents);
        QFile::setPermissions(path, permissions);
        return path;
    };
    const auto opened = [&] { return testing_support::readFile(scratch.filePath("opened")); };
    // A stand-in for xdg-open that notes which file it was given.
    SystemShellOpener shell(file("opener", "#!/bin/sh\nprintf '%s' \"$1\" > \"$(dirname \"$0\")/opened\"\nexit 3\n",
                                 QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    for (const char* name : {"b.sh", "c.BAT", "~qv1.tmp.Sh"}) {
        const ShellOpenResult result = shell.openAndWait(file(name, "exit 7\n", QFile::ReadOwner), {}, {}, 7);
        EXPECT_EQ(std::tuple(result.ExitCode, result.LastError, result.HandedOver), std::tuple(7u, 0u, false)) << name;
        EXPECT_GT(result.ProcessId, 0) << name;
    }
    EXPECT_TRUE(opened().isEmpty());
    // A "#!" file runs by itself only when its owner may run it; a document goes to the opener.
    const QString document = file("plain.txt", "#!/bin/sh\nexit 5\n", QFile::ReadOwner);
    const ShellOpenResult result = shell.openAndWait(document, {}, {}, 7);
    EXPECT_EQ(std::pair(result.ExitCode, result.HandedOver), std::pair(3u, true)) << "the opener's own exit code";
    EXPECT_EQ(opened(), document.toUtf8());

    const ShellOpenResult missing = SystemShellOpener("/nonexistent/xdg-open").openAndWait(document, {}, {}, 7);
    EXPECT_EQ(std::tuple(missing.ExitCode, missing.LastError, missing.ProcessId, missing.HandedOver),
              std::tuple(0xFFFFFFFFu, std::uint32_t(ENOENT), 0, false))
        << "all bits set and the error number; nobody got the file, so it may go";
}
