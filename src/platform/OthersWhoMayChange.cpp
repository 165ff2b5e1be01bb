#include "OthersWhoMayChange.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

OtherWriters othersWhoMayChange(const QString& File)
{
    const uid_t user = ::geteuid();
    OtherWriters writers;
    struct stat status = {};
    if (::stat(QFile::encodeName(File).constData(), &status) == 0)
        writers.add(otherWritersOf(status, user));
    const QFileInfo named(File);
    QStringList ways{named.absolutePath()};
    if (const QString real = named.canonicalPath(); !real.isEmpty() && real != ways.first())
        ways << real;
    for (const QString& way : ways)
        for (QString folder = way;; folder = QFileInfo(folder).path()) {
            if (::stat(QFile::encodeName(folder).constData(), &status) == 0)
                writers.add(otherWritersOf(status, user));
            if (QFileInfo(folder).isRoot() || QFileInfo(folder).path() == folder)
                break;
        }
    return writers;
}
