#include "EventFileBackups.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "FileVersion.h"
#include "events/Exceptions.h"
#include "platform/PrivateFolder.h"
#include "platform/WholeWrite.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

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
    // A new folder is closed to others: the event file may be a private one.
    if (!makePrivatePath(folder))
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
    if (!target.commit())
        return target.errorString();
    return {};
}
