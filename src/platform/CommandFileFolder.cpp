#include "CommandFileFolder.h"

#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

#include "PrivateFolder.h"
#include "ProgramFolder.h"

namespace {

// Whether another user could rename a folder made in Folder and put one of their own
// in its place: not when Folder is the user's or root's and writable by no one else,
// or when its sticky bit keeps each entry to its owner.
bool othersCanReplaceEntriesOf(const QString& Folder)
{
    struct stat status = {};
    if (::stat(QFile::encodeName(Folder).constData(), &status) != 0 || !S_ISDIR(status.st_mode))
        return true;
    if (status.st_uid != ::geteuid() && status.st_uid != 0)
        return true;
    return (status.st_mode & (S_IWGRP | S_IWOTH)) != 0 && (status.st_mode & S_ISVTX) == 0;
}

bool canMakeFolderIn(const QString& Folder)
{
    return ::access(QFile::encodeName(Folder).constData(), W_OK | X_OK) == 0;
}

} // namespace

QString commandFileFolder()
{
    const QString program = programFolder();
    const QString beside = program + QStringLiteral("tmp/");
    if (userFilesBesideProgram() && !othersCanReplaceEntriesOf(program)) {
        struct stat status = {};
        const bool exists = ::lstat(QFile::encodeName(program + QStringLiteral("tmp")).constData(), &status) == 0;
        if (exists ? isPrivateFolder(beside) : canMakeFolderIn(program))
            return beside;
    }
    const QString runtime = privateRuntimeFolder();
    return runtime.isEmpty() ? QString() : runtime + QStringLiteral("quillet-tmp/");
}
