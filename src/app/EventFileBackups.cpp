#include "EventFileBackups.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "FileVersion.h"
#include "events/Exceptions.h"
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
// folder then. A folder made here keeps its parent's group and gets the mode the file
// gives, whatever the umask.
bool makeBackupFolder(const QString& Folder, const QString& FileName)
{
    const QByteArray path = QFile::encodeName(QDir::cleanPath(Folder));
    struct stat file {};
    struct stat parent {};
    if (::stat(QFile::encodeName(FileName).constData(), &file) != 0 ||
        ::stat(QFile::encodeName(QFileInfo(QDir::cleanPath(Folder)).path()).constData(), &parent) != 0)
        return false;
    mode_t mode = backupFolderMode(file.st_mode);
    if (::mkdir(path.constData(), mode) != 0)
        return errno == EEXIST && QFileInfo(Folder).isDir();
    struct stat made {};
    if (::lstat(path.constData(), &made) != 0)
        return false;
    // Outside a setgid folder the new one takes the user's own group; a user not in the
    // parent's group keeps that, and the folder is then not opened to it.
    if (made.st_gid != parent.st_gid && ::chown(path.constData(), static_cast<uid_t>(-1), parent.st_gid) != 0)
        mode &= ~S_IRWXG;
    // A setgid folder passes its bit on, so that the copies keep the group too.
    return ::chmod(path.constData(), mode | (made.st_mode & S_ISGID)) == 0;
}

} // namespace

QString EventFileBackups::backupPathFor(const QString& FileName, TDateTime Time)
{
    return QFileInfo(FileName).absolutePath() + QStringLiteral("/Backup/") + ExtractFileNameNoExt(FileName) +
           QLatin1Char('_') + formatDateTime(QStringLiteral("yyyymmdd_hhnnsszzz"), Time) + QStringLiteral(".events");
}

QString EventFileBackups::keepDamagedOriginal(const QString& FileName, TDateTime Time)
{
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
    // Without waiting: opening a named pipe would hold the save until a program wrote to it.
    const int handle = ::open(QFile::encodeName(Source).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (handle < 0)
        return QString::fromLocal8Bit(std::strerror(errno));
    struct stat status {};
    // A pipe, a device or a folder can't be kept whole as a copy.
    if (::fstat(handle, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(handle);
        return QStringLiteral("It is not a regular file.");
    }
    QFile source;
    if (!source.open(handle, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(handle);
        return source.errorString();
    }
    // QSaveFile writes "<Target>.XXXXXX" and renames it over Target when committed;
    // a failed or interrupted copy leaves nothing under Target's name.
    QSaveFile target(Target);
    // The copy gets the source's permissions before it holds a byte or has a name.
    // Unbuffered, as a write that failed when commit flushed it would go unnoticed.
    if (!target.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || !target.setPermissions(QFile::permissions(Source)))
        return target.errorString();
    QByteArray chunk;
    while (!(chunk = source.read(1 << 20)).isEmpty())
        if (!writeWhole(target, chunk))
            return target.errorString();
    if (source.error() != QFileDevice::NoError)
        return source.errorString();
    if (!commitWithMode(target, status.st_mode & 0777))
        return target.errorString();
    return {};
}
