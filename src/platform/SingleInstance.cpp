#include "SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

SingleInstance::SingleInstance(QString name) : FName(std::move(name)) {}

SingleInstance::~SingleInstance()
{
    release();
}

QString SingleInstance::lockFilePath() const
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return QDir(runtime).filePath(FName + QStringLiteral(".lock"));
    // The temp folder is shared by every user: the user id keeps the locks apart.
    return QDir(QDir::tempPath())
        .filePath(FName + QLatin1Char('-') + QString::number(getuid()) + QStringLiteral(".lock"));
}

bool SingleInstance::tryAcquire()
{
    if (held())
        return true;
    const QByteArray path = QFile::encodeName(lockFilePath());
    // O_CLOEXEC: a command file started by the program must not inherit the lock.
    // O_NOFOLLOW: a link planted in a shared temp folder is not followed.
    const int descriptor = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (descriptor < 0)
        return true;
    int result;
    do {
        result = ::flock(descriptor, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        const bool heldElsewhere = errno == EWOULDBLOCK;
        ::close(descriptor);
        return !heldElsewhere;
    }
    FDescriptor = descriptor;
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
