#include "CommandFileFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

#include "PrivateFolder.h"
#include "ProgramFolder.h"

namespace {

// Whether another user could rename a folder made in Folder, or a folder on the way to
// it, and put one of their own in its place: not when each is the user's or root's and
// writable by no one else, or has the sticky bit that keeps each entry to its owner.
// A link on the way counts as changeable: another could point it elsewhere.
bool othersCanReplaceEntriesOf(const QString& Folder)
{
    for (QString path = QDir(Folder).absolutePath();; path = QFileInfo(path).path()) {
        struct stat status = {};
        if (::lstat(QFile::encodeName(path).constData(), &status) != 0 || !S_ISDIR(status.st_mode))
            return true;
        if (status.st_uid != ::geteuid() && status.st_uid != 0)
            return true;
        if ((status.st_mode & (S_IWGRP | S_IWOTH)) != 0 && (status.st_mode & S_ISVTX) == 0)
            return true;
        if (QFileInfo(path).isRoot())
            return false;
    }
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
