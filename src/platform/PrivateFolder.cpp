#include "PrivateFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

bool ownedAndClosedToOthers(const struct stat& status)
{
    return S_ISDIR(status.st_mode) && status.st_uid == ::geteuid() && (status.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

} // namespace

bool isPrivateFolder(const QString& Folder)
{
    struct stat status = {};
    return ::lstat(QFile::encodeName(QDir::cleanPath(Folder)).constData(), &status) == 0 &&
           ownedAndClosedToOthers(status);
}

bool makePrivateFolder(const QString& Folder)
{
    if (::mkdir(QFile::encodeName(QDir::cleanPath(Folder)).constData(), 0700) != 0 && errno != EEXIST)
        return false;
    return isPrivateFolder(Folder);
}

bool makePrivatePath(const QString& Folder)
{
    const QString path = QDir::cleanPath(QDir(Folder).absolutePath());
    if (QFileInfo(path).isDir())
        return true;
    const QString parent = QFileInfo(path).path();
    if (parent != path && !makePrivatePath(parent))
        return false;
    if (::mkdir(QFile::encodeName(path).constData(), 0700) == 0)
        return true;
    // Made meanwhile by another process; else a file in its place reads as no folder.
    const int reason = errno;
    if (QFileInfo(path).isDir())
        return true;
    errno = reason == EEXIST ? ENOTDIR : reason;
    return false;
}

QString privateRuntimeFolder()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty())
        return {};
    // The runtime folder itself may be reached through a link; what counts is the folder it leads to.
    struct stat status = {};
    if (::stat(QFile::encodeName(runtime).constData(), &status) != 0 || !ownedAndClosedToOthers(status))
        return {};
    return runtime.endsWith(QLatin1Char('/')) ? runtime : runtime + QLatin1Char('/');
}
