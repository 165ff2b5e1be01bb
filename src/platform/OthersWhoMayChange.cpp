#include "OthersWhoMayChange.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

#include "PrivateFolder.h"

namespace {

// The users who may put another entry in place of one in Folder or a folder on the way.
OtherWriters writersOfFoldersOnTheWay(const QString& Folder, uid_t User)
{
    OtherWriters writers;
    for (QString folder = Folder;; folder = QFileInfo(folder).path()) {
        struct stat status = {};
        if (::stat(QFile::encodeName(folder).constData(), &status) == 0)
            writers.add(otherWritersOf(status, User));
        if (QFileInfo(folder).isRoot() || QFileInfo(folder).path() == folder)
            return writers;
    }
}

} // namespace

OtherWriters othersWhoMayChange(const QString& File)
{
    const uid_t user = ::geteuid();
    OtherWriters writers;
    struct stat status = {};
    if (::stat(QFile::encodeName(File).constData(), &status) == 0)
        writers.add(otherWritersOf(status, user));
    // Whether others may change a folder is the folder rule's to say; here only who.
    const QFileInfo named(File);
    QStringList folders{named.absolutePath()};
    if (const QString real = named.canonicalPath(); !real.isEmpty() && real != folders.first())
        folders << real;
    for (const QString& folder : folders)
        if (othersMayChange(folder))
            writers.add(writersOfFoldersOnTheWay(folder, user));
    return writers;
}
