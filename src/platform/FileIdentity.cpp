#include "FileIdentity.h"

#include <QFile>

#include <sys/stat.h>

FileIdentity fileIdentityOf(const QString& Path)
{
    struct stat status = {};
    if (::stat(QFile::encodeName(Path).constData(), &status) != 0)
        return {};
    FileIdentity identity;
    identity.Device = status.st_dev;
    identity.Inode = status.st_ino;
    identity.Size = status.st_size;
    identity.ModifiedNs = std::int64_t(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
    return identity;
}
