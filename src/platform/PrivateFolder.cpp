#include "PrivateFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "UserAccess.h"
#include "XdgFolders.h"

namespace {

bool ownedByUserOrRoot(const struct stat& Status)
{
    return Status.st_uid == ::geteuid() || Status.st_uid == 0;
}

// Whether someone but the user (and root) may add entries to the folder: the sticky
// bit keeps only removing and renaming them to their owners.
bool othersMayAddTo(const struct stat& Folder)
{
    struct stat unsticky = Folder;
    unsticky.st_mode &= ~S_ISVTX;
    return otherWritersOf(unsticky, ::geteuid()).any();
}

// How a folder on the way keeps what it holds from others.
enum class Entries {
    Kept,         // no one else may change them
    KeptToOwners, // others may add their own, but only an entry's owner may replace it
    Open,         // others may replace them
};

Entries entriesOf(const struct stat& Folder)
{
    if (otherWritersOf(Folder, ::geteuid()).any())
        return Entries::Open;
    return othersMayAddTo(Folder) ? Entries::KeptToOwners : Entries::Kept;
}

// Links are at most this deep, as the system's own limit for a path.
constexpr int MostLinks = 40;

// Walks Path from the root down, entry by entry, as its parents are judged before
// what they hold.
bool othersMayChangePath(const QString& Path, int& Links)
{
    const QStringList parts = Path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    struct stat status = {};
    if (::lstat("/", &status) != 0)
        return true;
    if (parts.isEmpty())
        return status.st_uid != ::geteuid() || othersMayAddTo(status);
    Entries current = entriesOf(status);
    QString path;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (current == Entries::Open)
            return true;
        const bool last = i == parts.size() - 1;
        path += QLatin1Char('/') + parts[i];
        // Not there yet, or can't be (a file on the way): the user would make it, and
        // the folder holding it keeps it to the user; a save names the reason it can't
        // be made.
        if (::lstat(QFile::encodeName(path).constData(), &status) != 0)
            return false;
        if (current == Entries::KeptToOwners && !ownedByUserOrRoot(status))
            return true;
        if (S_ISLNK(status.st_mode)) {
            // The folder itself is never reached through a link; a link on the way only
            // when it is the user's or root's, in a folder only they may change.
            if (last || !ownedByUserOrRoot(status) || current != Entries::Kept || ++Links > MostLinks)
                return true;
            const QString target = QFile::symLinkTarget(path);
            if (target.isEmpty())
                return true;
            return othersMayChangePath(
                QDir::cleanPath(target + QLatin1Char('/') + parts.mid(i + 1).join(QLatin1Char('/'))), Links);
        }
        if (!S_ISDIR(status.st_mode))
            return last;
        if (last)
            return status.st_uid != ::geteuid() || othersMayAddTo(status);
        current = entriesOf(status);
    }
    return false;
}

} // namespace

bool othersMayChange(const QString& Folder)
{
    if (Folder.isEmpty())
        return true;
    int links = 0;
    return othersMayChangePath(QDir::cleanPath(QDir(Folder).absolutePath()), links);
}

bool othersMayLookInto(const QString& Folder)
{
    struct stat status = {};
    if (::stat(QFile::encodeName(Folder).constData(), &status) != 0)
        return true;
    if (status.st_mode & S_IXOTH)
        return true;
    return (status.st_mode & S_IXGRP) && !otherMembersOfGroup(status.st_gid, ::geteuid()).isEmpty();
}

bool makePrivateFolder(const QString& Folder)
{
    if (::mkdir(QFile::encodeName(QDir::cleanPath(Folder)).constData(), 0700) != 0 && errno != EEXIST)
        return false;
    return !othersMayChange(Folder);
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
    // Judged by the one rule here, as Qt would pass over a folder of the user's that is
    // 0755 for a folder of its own making. Without one named, Qt makes that folder.
    QString runtime = xdgFolder("XDG_RUNTIME_DIR");
    if (runtime.isEmpty())
        runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty() || othersMayChange(runtime))
        return {};
    return runtime.endsWith(QLatin1Char('/')) ? runtime : runtime + QLatin1Char('/');
}
