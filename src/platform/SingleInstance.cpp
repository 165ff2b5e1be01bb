#include "SingleInstance.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

#include "DescriptorLock.h"
#include "PrivateFolder.h"

SingleInstance::SingleInstance(QString name) : FName(std::move(name)) {}

SingleInstance::~SingleInstance()
{
    release();
}

QString SingleInstance::lockFilePath() const
{
    // Never a shared folder: another user who held a lock there could keep the program from starting.
    const QString runtime = privateRuntimeFolder();
    return runtime.isEmpty() ? QString() : runtime + FName + QStringLiteral(".lock");
}

bool SingleInstance::tryAcquire()
{
    if (held())
        return true;
    const QString path = lockFilePath();
    if (path.isEmpty())
        return true;
    const QByteArray name = QFile::encodeName(path);
    for (int attempt = 0; attempt < 2; ++attempt) {
        // O_CLOEXEC: a command file started by the program must not inherit the lock.
        // O_NOFOLLOW: a link is not followed to a file elsewhere.
        const int descriptor = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (descriptor < 0)
            return true;
        struct stat status = {};
        if (::fstat(descriptor, &status) != 0 || status.st_uid != ::geteuid()) {
            // Another user's file is never taken for our lock: one of our own replaces it.
            ::close(descriptor);
            ::unlink(name.constData());
            continue;
        }
        const DescriptorLock lock = lockWithoutWaiting(descriptor);
        if (lock != DescriptorLock::Taken) {
            ::close(descriptor);
            return lock != DescriptorLock::HeldElsewhere;
        }
        FDescriptor = descriptor;
        return true;
    }
    return true;
}

void SingleInstance::release()
{
    if (!held())
        return;
    // Closing drops the lock; the file stays, since another process may be opening it.
    ::close(FDescriptor);
    FDescriptor = -1;
}
