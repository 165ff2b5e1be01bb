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

// Whether User may read the file at Path by its permission bits. A file not made
// yet counts as readable: there is nothing to judge by.
bool userMayRead(uid_t User, const QString& Path)
{
    struct stat file = {};
    if (::stat(QFile::encodeName(Path).constData(), &file) != 0)
        return true;
    return userMay(User, file, R_OK);
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

bool FileLock::tryAcquire()
{
    if (held())
        return true;
    FHolder.reset();
    const QByteArray path = QFile::encodeName(FLockFilePath);
    // Readable by all, so that another user of a shared folder can lock it too and read
    // who holds it; such a user locks it through a descriptor that only reads.
    // O_CLOEXEC: a command file started by the program must not inherit the lock.
    // O_NONBLOCK: a pipe put in its place must not hold up the start.
    const int flags = O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK;
    int descriptor = ::open(path.constData(), O_RDWR | O_CREAT | flags, 0644);
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
    const DescriptorLock lock = lockWithoutWaiting(descriptor);
    if (lock != DescriptorLock::Taken) {
        bool inUse = false;
        if (lock == DescriptorLock::HeldElsewhere) {
            FHolder = readHolder(descriptor);
            // Another user who can't even read the file has no use of it: such a lock keeps
            // no one from it. The holder, when the system tells, else the lock file's owner.
            inUse = userMayRead(lockHolderUser(descriptor).value_or(status.st_uid), FFilePath);
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
