#include "FileLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>

#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "DescriptorLock.h"
#include "MadeFileAttributes.h"
#include "UserAccess.h"

namespace {

// "<process id>\n<host>\n<user>\n": the process id means something on its host only.
QByteArray describeThisProcess()
{
    const passwd* user = ::getpwuid(::geteuid());
    const QByteArray name = user ? QByteArray(user->pw_name) : QByteArray::number(::geteuid());
    return QByteArray::number(::getpid()) + '\n' + QSysInfo::machineHostName().toUtf8() + '\n' + name + '\n';
}

std::optional<FileLock::Holder> readHolder(int Descriptor)
{
    char buffer[512];
    const ssize_t size = ::pread(Descriptor, buffer, sizeof buffer, 0);
    if (size <= 0)
        return std::nullopt;
    const QList<QByteArray> lines = QByteArray(buffer, size).split('\n');
    if (lines.size() < 4) // three lines, each ended: a holder still writing, or one cut short
        return std::nullopt;
    bool isNumber = false;
    FileLock::Holder holder{QString::fromUtf8(lines[2]), lines[0].toLongLong(&isNumber), QString::fromUtf8(lines[1])};
    if (!isNumber || holder.ProcessId <= 0 || holder.User.isEmpty())
        return std::nullopt;
    // A holder that could not write leaves an earlier holder's words behind: on this
    // host a process that is gone tells that they are stale.
    if (holder.Host == QSysInfo::machineHostName() && ::kill(pid_t(holder.ProcessId), 0) != 0 && errno == ESRCH)
        return std::nullopt;
    return holder;
}

// Where FileName really lies, links followed, in its folder's path too: every name of
// a file (through a link, a linked folder, a relative path) gives the same. A file not
// made yet, or named by a link to one, lies in its folder's real path.
QFileInfo realFileOf(const QString& FileName)
{
    const QFileInfo named(FileName);
    if (const QString real = named.canonicalFilePath(); !real.isEmpty())
        return QFileInfo(real);
    const QFileInfo missing(named.isSymLink() ? named.symLinkTarget() : named.absoluteFilePath());
    const QString folder = QFileInfo(missing.absolutePath()).canonicalFilePath();
    return QFileInfo(QDir(folder.isEmpty() ? missing.absolutePath() : folder).filePath(missing.fileName()));
}

// The mode of the lock file of a file of these attributes: open to those who may write
// the file, and only to them, so that no one else can hold it. A file not made yet is
// the user's alone.
mode_t lockFileMode(const std::optional<struct stat>& File)
{
    mode_t mode = S_IRUSR | S_IWUSR;
    if (File && (File->st_mode & S_IWGRP))
        mode |= S_IRGRP | S_IWGRP;
    if (File && (File->st_mode & S_IWOTH))
        mode |= S_IROTH | S_IWOTH;
    return mode;
}

} // namespace

FileLock::FileLock(const QString& FileName)
{
    const QFileInfo file = realFileOf(FileName);
    FFilePath = file.absoluteFilePath();
    FLockFilePath = file.absolutePath() + QStringLiteral("/.") + file.fileName() + QStringLiteral(".lock");
}

FileLock::~FileLock()
{
    // Closing drops the lock; the file stays, since another process may be opening it.
    if (held())
        ::close(FDescriptor);
}

std::optional<struct stat> FileLock::fileStatus() const
{
    struct stat file = {};
    if (::stat(QFile::encodeName(FFilePath).constData(), &file) != 0)
        return std::nullopt;
    return file;
}

// Only a process of a user who may write the file has a claim to it: the user's own,
// the file's owner (who may open it to writing), and whoever its modes let write. A file
// not made yet gives nothing to judge by, and every holder counts.
bool FileLock::mayClaim(uid_t User) const
{
    const std::optional<struct stat> file = fileStatus();
    return User == ::geteuid() || !file || User == file->st_uid || userMay(User, *file, W_OK);
}

void FileLock::followFile()
{
    if (held())
        openToWriters(FDescriptor);
}

// Whoever made the lock file, and whenever (an earlier run left it open to all), it opens
// to those who may write the file as it is now, when it is this user's to change.
void FileLock::openToWriters(int Descriptor) const
{
    struct stat lockFile = {};
    if (::fstat(Descriptor, &lockFile) != 0 || (lockFile.st_uid != ::geteuid() && ::geteuid() != 0))
        return;
    const std::optional<struct stat> file = fileStatus();
    giveOwnerGroupAndMode(Descriptor, file ? file->st_uid : static_cast<uid_t>(-1),
                          file ? file->st_gid : lockFile.st_gid, lockFileMode(file));
}

bool FileLock::tryAcquire()
{
    if (held())
        return true;
    FHolder.reset();
    const QByteArray path = QFile::encodeName(FLockFilePath);
    // O_CLOEXEC: a command file started by the program must not inherit the lock.
    // O_NONBLOCK: a pipe put in its place must not hold up the start.
    // A user who may only read it locks it through a descriptor that only reads.
    const int flags = O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK;
    int descriptor = ::open(path.constData(), O_RDWR | O_CREAT | flags, S_IRUSR | S_IWUSR);
    const bool canWrite = descriptor >= 0;
    if (!canWrite)
        descriptor = ::open(path.constData(), O_RDONLY | flags);
    if (descriptor < 0)
        return true;
    // Only a plain file of one name is a lock file: not a folder or a pipe, nor another
    // file of the user's that a second name leads to.
    struct stat status = {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode) || status.st_nlink != 1) {
        ::close(descriptor);
        return true;
    }
    // A descriptor opened before stays open: the holder's claim is judged below.
    openToWriters(descriptor);
    const DescriptorLock lock = lockWithoutWaiting(descriptor);
    if (lock != DescriptorLock::Taken) {
        bool inUse = false;
        if (lock == DescriptorLock::HeldElsewhere) {
            FHolder = readHolder(descriptor);
            inUse = heldByClaimant(descriptor, status);
        }
        ::close(descriptor);
        return !inUse;
    }
    if (canWrite && ::ftruncate(descriptor, 0) == 0) {
        // A short write lacks the last line end and so reads as no holder: nothing to undo.
        const QByteArray self = describeThisProcess();
        const ssize_t written = ::pwrite(descriptor, self.constData(), size_t(self.size()), 0);
        Q_UNUSED(written);
    }
    FDescriptor = descriptor;
    return true;
}

// Whether the process that holds the lock file open at Descriptor has a claim to the
// file. The system tells who holds it, unless that process has ended (a child of it
// keeps the descriptor) or can't be seen. Then another's lock file counts as its
// owner's; the user's own counts only for a holder that wrote itself in from another
// host, where this one can't see it: whoever wrote there could write the lock file.
bool FileLock::heldByClaimant(int Descriptor, const struct stat& LockFile) const
{
    if (const std::optional<uid_t> holder = lockHolderUser(Descriptor))
        return mayClaim(*holder);
    if (LockFile.st_uid != ::geteuid())
        return mayClaim(LockFile.st_uid);
    return FHolder && FHolder->Host != QSysInfo::machineHostName();
}
