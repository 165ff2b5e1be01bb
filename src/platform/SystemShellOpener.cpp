#include "SystemShellOpener.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <csignal>
#include <string>
#include <utility>
#include <vector>

extern char** environ;

namespace {

// A file that the kernel can run itself: executable for its owner and starting with "#!".
bool isInterpreterScript(const QString& fileName)
{
    QFile file(fileName);
    if (!(file.permissions() & QFileDevice::ExeOwner) || !file.open(QIODevice::ReadOnly))
        return false;
    return file.read(2) == "#!";
}

bool runsUnderShell(const QString& fileName)
{
    const QString suffix = QFileInfo(fileName).suffix();
    return suffix.compare(QLatin1String("bat"), Qt::CaseInsensitive) == 0 ||
           suffix.compare(QLatin1String("sh"), Qt::CaseInsensitive) == 0;
}

// Starts arguments[0] (looked up on PATH unless it is a path); returns its pid, or 0 with error set.
pid_t spawn(const std::vector<std::string>& arguments, const QString& directory, int& error)
{
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const QByteArray folder = QFile::encodeName(directory);
    if (!directory.isEmpty())
        posix_spawn_file_actions_addchdir_np(&actions, folder.constData());

    // The started program begins with no blocked signals and default handlers,
    // whatever this program has set for itself.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigset_t all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    pid_t pid = 0;
    error = posix_spawnp(&pid, argv[0], &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return error == 0 ? pid : 0;
}

} // namespace

SystemShellOpener::SystemShellOpener(QString openerProgram) : FOpenerProgram(std::move(openerProgram)) {}

ShellOpenResult SystemShellOpener::openAndWait(const QString& fileName, const QString& parameters,
                                               const QString& directory, int /*showCmd*/)
{
    ShellOpenResult result;
    // An absolute path can't be taken for an option by the program that gets it.
    const QString path = QFileInfo(fileName).absoluteFilePath();
    std::vector<std::string> arguments;
    if (isInterpreterScript(path)) {
        arguments = {QFile::encodeName(path).toStdString()};
    } else if (runsUnderShell(path)) {
        arguments = {"/bin/sh", QFile::encodeName(path).toStdString()};
    } else {
        arguments = {QFile::encodeName(FOpenerProgram).toStdString(), QFile::encodeName(path).toStdString()};
        result.HandedOver = true;
    }
    for (const QString& parameter : QProcess::splitCommand(parameters))
        arguments.push_back(parameter.toLocal8Bit().toStdString());

    int error = 0;
    const pid_t pid = spawn(arguments, directory, error);
    if (pid == 0) {
        result.LastError = static_cast<std::uint32_t>(error);
        result.HandedOver = false; // nobody got the file
        return result;
    }
    result.ProcessId = pid;

    int status = 0;
    pid_t waited;
    do {
        waited = waitpid(pid, &status, 0);
    } while (waited < 0 && errno == EINTR);
    if (waited == pid && WIFEXITED(status))
        result.ExitCode = static_cast<std::uint32_t>(WEXITSTATUS(status));
    else if (waited == pid && WIFSIGNALED(status))
        result.ExitCode = static_cast<std::uint32_t>(128 + WTERMSIG(status)); // as a shell reports it
    return result;
}
