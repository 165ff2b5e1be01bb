#include "DescriptorLock.h"

#include <QByteArray>
#include <QFile>
#include <QList>

#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cerrno>

DescriptorLock lockWithoutWaiting(int Descriptor)
{
    int result;
    do {
        result = ::flock(Descriptor, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result == 0)
        return DescriptorLock::Taken;
    return errno == EWOULDBLOCK ? DescriptorLock::HeldElsewhere : DescriptorLock::Unavailable;
}

std::optional<uid_t> lockHolderUser(int Descriptor)
{
    struct stat file = {};
    QFile table(QStringLiteral("/proc/locks"));
    if (::fstat(Descriptor, &file) != 0 || !table.open(QIODevice::ReadOnly))
        return std::nullopt;
    // "1: FLOCK  ADVISORY  WRITE 4242 fe:00:131090 0 EOF": the holder's process id, then
    // the file as major:minor:inode (hexadecimal device numbers). A waiter's line reads
    // "1: -> FLOCK ..." and is passed over.
    const QByteArray fileInTable = QByteArray::number(major(file.st_dev), 16).rightJustified(2, '0') + ':' +
                                   QByteArray::number(minor(file.st_dev), 16).rightJustified(2, '0') + ':' +
                                   QByteArray::number(file.st_ino);
    for (const QByteArray& line : table.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 6 || fields[1] != "FLOCK" || fields[5] != fileInTable)
            continue;
        struct stat process = {};
        if (::stat(("/proc/" + fields[4]).constData(), &process) == 0)
            return process.st_uid;
    }
    return std::nullopt;
}
