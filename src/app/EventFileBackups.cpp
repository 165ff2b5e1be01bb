#include "EventFileBackups.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "FileVersion.h"
#include "events/Exceptions.h"
#include "platform/MadeFileAttributes.h"
#include "platform/WholeWrite.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

// The folder opens to the users the event file opens to: each class that may read the
// file may read and enter it, each that may write the file may write there, so that
// every member of a group that shares the file can save it. Its owner makes the copies.
mode_t backupFolderMode(mode_t FileMode)
{
    mode_t mode = S_IRWXU;
    if (FileMode & S_IRGRP)
        mode |= S_IRGRP | S_IXGRP;
    if (FileMode & S_IWGRP)
        mode |= S_IWGRP | S_IXGRP;
    if (FileMode & S_IROTH)
        mode |= S_IROTH | S_IXOTH;
    if (FileMode & S_IWOTH)
        mode |= S_IWOTH | S_IXOTH;
    return mode;
}

// Makes Folder, inside the event file's folder, when it is missing; true when it is a
// folder then. A folder made here belongs to the file's owner and group where the
// saver may give them, and gets the mode the file gives, whatever the umask.
bool makeBackupFolder(const QString& Folder, const QString& FileName)
{
    const QByteArray path = QFile::encodeName(QDir::cleanPath(Folder));
    struct stat file {};
    if (::stat(QFile::encodeName(FileName).constData(), &file) != 0)
        return false;
    if (::mkdir(path.constData(), S_IRWXU) != 0)
        return errno == EEXIST && QFileInfo(Folder).isDir();
    const int made = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    struct stat status {};
    const bool given = made >= 0 && ::fstat(made, &status) == 0 &&
                       // A setgid folder passes its bit on, so that the copies keep the group too.
                       giveOwnerGroupAndMode(made, file.st_uid, file.st_gid,
                                             backupFolderMode(file.st_mode) | (status.st_mode & S_ISGID));
    if (made >= 0)
        ::close(made);
    return given;
}

// Opens Source to be copied; -1 with the Reason when it can't be read, or is no plain
// file: a pipe, a device or a folder can't be kept whole as a copy.
int openForCopy(const QString& Source, QString& Reason)
{
    // Without waiting: opening a named pipe would hold the save until a program wrote to it.
    const int handle = ::open(QFile::encodeName(Source).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (handle < 0) {
        Reason = QString::fromLocal8Bit(std::strerror(errno));
        return -1;
    }
    struct stat status {};
    if (::fstat(handle, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(handle);
        Reason = QStringLiteral("It is not a regular file.");
        return -1;
    }
    return handle;
}

} // namespace

QString EventFileBackups::backupPathFor(const QString& FileName, TDateTime Time)
{
    return QFileInfo(FileName).absolutePath() + QStringLiteral("/Backup/") + ExtractFileNameNoExt(FileName) +
           QLatin1Char('_') + formatDateTime(QStringLiteral("yyyymmdd_hhnnsszzz"), Time) + QStringLiteral(".events");
}

QString EventFileBackups::keepDamagedOriginal(const QString& FileName, TDateTime Time)
{
    QString reason;
    const int source = openForCopy(FileName, reason);
    if (source < 0)
        return {};
    ::close(source);
    FDamagedCopy = backupPathFor(FileName, Time);
    return FDamagedCopy;
}

QString EventFileBackups::make(const QString& FileName, TDateTime Time)
{
    if (!QFileInfo::exists(FileName))
        return {}; // the first save of a new file
    const FileIdentity identity = fileIdentityOf(FileName);
    if (FDamagedCopy.isEmpty() && identity == FCopied)
        return {};

    const QString target = FDamagedCopy.isEmpty() ? backupPathFor(FileName, Time) : FDamagedCopy;
    const QString folder = QFileInfo(target).absolutePath() + QLatin1Char('/');
    if (!makeBackupFolder(folder, FileName))
        throw QuilletError(QStringLiteral("Unable to create backup folder: \"%1\"").arg(folder));
    // The system's reason (a full disk) tells the user what to mend.
    if (const QString reason = copyFileWhole(FileName, target); !reason.isEmpty())
        throw QuilletError(QStringLiteral("Unable to create backup file: \"%1\". %2").arg(target, reason));
    FCopied = identity;
    FDamagedCopy.clear();
    return target;
}

QString copyFileWhole(const QString& Source, const QString& Target)
{
    QString reason;
    const int handle = openForCopy(Source, reason);
    if (handle < 0)
        return reason;
    struct stat status {};
    ::fstat(handle, &status);
    QFile source;
    if (!source.open(handle, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(handle);
        return source.errorString();
    }
    // QSaveFile writes "<Target>.XXXXXX" and renames it over Target when committed;
    // a failed or interrupted copy leaves nothing under Target's name.
    QSaveFile target(Target);
    // The copy is open to those the file is open to before it holds a byte or has a name.
    // Unbuffered, as a write that failed when commit flushed it would go unnoticed.
    if (!target.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return target.errorString();
    if (!giveOwnerGroupAndMode(target.handle(), status.st_uid, status.st_gid, status.st_mode & 0777))
        return QString::fromLocal8Bit(std::strerror(errno));
    QByteArray chunk;
    while (!(chunk = source.read(1 << 20)).isEmpty())
        if (!writeWhole(target, chunk))
            return target.errorString();
    if (source.error() != QFileDevice::NoError)
        return source.errorString();
    if (!target.commit())
        return target.errorString();
    return {};
}
