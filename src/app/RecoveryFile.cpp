#include "RecoveryFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "FileVersion.h"
#include "UserFolder.h"
#include "events/EventList.h"
#include "events/Exceptions.h"
#include "platform/PrivateFolder.h"
#include "platform/ProgramFolder.h"
#include "platform/WholeWrite.h"
#include "platform/XdgFolders.h"

namespace {

struct RecoveryFolder {
    QString Path; // ends in "/"
    bool MadeWhenMissing = false;
    bool EmptiedAtLogOut = false;
};

QString withSlash(const QString& Folder)
{
    return Folder.endsWith(QLatin1Char('/')) ? Folder : Folder + QLatin1Char('/');
}

// In the order tried. The data folder is where an exit that could save would keep
// its files; the others are there for a data folder that is full or unwritable.
std::vector<RecoveryFolder> recoveryFolders()
{
    std::vector<RecoveryFolder> folders;
    if (const QString data = userDataFolder(); !data.isEmpty())
        folders.push_back({data, true, false});
    // A relative value names no folder, whatever folder the program started in.
    if (const QString home = qEnvironmentVariable("HOME"); QDir::isAbsolutePath(home))
        folders.push_back({withSlash(home), false, false});
    if (const QString runtime = xdgFolder("XDG_RUNTIME_DIR"); !runtime.isEmpty())
        folders.push_back({withSlash(runtime), false, true});
    return folders;
}

// Made when it may be, and the user's own: another user could read, replace or plant
// what the program leaves there.
QString unusableBecause(const RecoveryFolder& Folder)
{
    if (Folder.MadeWhenMissing)
        makeUserFolder(Folder.Path);
    if (othersMayChange(Folder.Path))
        return QStringLiteral("Other users may change the folder \"%1\".").arg(Folder.Path);
    return {};
}

QString systemReason()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

void writeIn(const RecoveryFolder& Folder, const QString& Path, TEventList& List, mode_t Mode)
{
    if (const QString reason = unusableBecause(Folder); !reason.isEmpty())
        throw EFileError(reason);
    if (othersMayLookInto(Folder.Path))
        Mode = S_IRUSR | S_IWUSR;
    // Made first, new and with its mode, so that the save, which keeps an existing
    // file's permissions, never shows it to others.
    const QByteArray path = QFile::encodeName(Path);
    const int made = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, Mode);
    if (made < 0)
        throw EFileError(QStringLiteral("Cannot create file \"%1\". %2").arg(Path, systemReason()));
    ::close(made);
    try {
        List.SaveToFile(Path);
    } catch (...) {
        ::unlink(path.constData());
        throw;
    }
}

const QString NoticeName = QStringLiteral("Notice from the last exit.txt");
// The notice's first line: a file without it was not written by this program.
const QByteArray NoticeMark = "Quillet: messages from an exit, for the next start\n";
// Far more than any number of exits would leave.
constexpr qint64 MostNoticeBytes = 1 << 20;

// Opens an existing notice without following a link or waiting for a pipe; only a
// regular file of the user's, named only here, that begins with the mark is one.
int openNotice(const QString& Path, int Flags)
{
    const int handle = ::open(QFile::encodeName(Path).constData(), Flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (handle < 0)
        return -1;
    struct stat status = {};
    QByteArray start(NoticeMark.size(), '\0');
    if (::fstat(handle, &status) == 0 && S_ISREG(status.st_mode) && status.st_uid == ::geteuid() &&
        status.st_nlink == 1 && ::pread(handle, start.data(), start.size(), 0) == start.size() && start == NoticeMark)
        return handle;
    ::close(handle);
    return -1;
}

} // namespace

RecoveryFile writeRecoveryFile(TEventList& List, const QString& EventFileName, TDateTime Time)
{
    const QString name = ExtractFileNameNoExt(EventFileName) + QLatin1Char('_') +
                         formatDateTime(QStringLiteral("yyyymmdd_hhnnsszzz"), Time) + QStringLiteral(".events");
    // As private as the event file (only the user's for a new one), but always the
    // user's to write: a read-only event file is the commonest reason for coming here.
    struct stat eventFile = {};
    const mode_t mode = (::stat(QFile::encodeName(EventFileName).constData(), &eventFile) == 0
                             ? eventFile.st_mode & (S_IRWXU | S_IRWXG | S_IRWXO)
                             : 0) |
                        S_IRUSR | S_IWUSR;
    QStringList failures;
    for (const RecoveryFolder& folder : recoveryFolders()) {
        try {
            writeIn(folder, folder.Path + name, List, mode);
            return {folder.Path + name, folder.EmptiedAtLogOut};
        } catch (const std::exception& error) {
            failures << exceptionMessage(error);
        }
    }
    throw EFileError(failures.join(QStringLiteral("\r\n")));
}

void leaveNoticeForNextStart(const QString& Message)
{
    const QByteArray text = (Message + QStringLiteral("\n\n")).toUtf8();
    for (const RecoveryFolder& folder : recoveryFolders()) {
        try {
            if (!unusableBecause(folder).isEmpty())
                continue;
        } catch (const std::exception&) {
            continue; // the data folder can't be made
        }
        const QString path = folder.Path + NoticeName;
        int handle =
            ::open(QFile::encodeName(path).constData(),
                   O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, S_IRUSR | S_IWUSR);
        const bool madeHere = handle >= 0;
        if (!madeHere && errno == EEXIST)
            handle = openNotice(path, O_RDWR | O_APPEND);
        QFile file;
        if (handle < 0 || !file.open(handle, QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered,
                                     QFileDevice::AutoCloseHandle)) {
            if (handle >= 0)
                ::close(handle);
            continue;
        }
        const qint64 before = file.size();
        // Unbuffered, so a full disk shows at once and nothing is left to flush.
        if (writeWhole(file, madeHere ? NoticeMark + text : text))
            return;
        // It took part of the notice: the notices already there stay whole, and an
        // empty file is left nowhere.
        if (madeHere)
            ::unlink(QFile::encodeName(path).constData());
        else
            file.resize(before);
    }
}

LastExitNotices noticesFromLastExit()
{
    LastExitNotices notices;
    QStringList texts;
    for (const RecoveryFolder& folder : recoveryFolders()) {
        if (othersMayChange(folder.Path))
            continue;
        const QString path = folder.Path + NoticeName;
        const int handle = openNotice(path, O_RDONLY);
        QFile file;
        if (handle < 0 || !file.open(handle, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
            if (handle >= 0)
                ::close(handle);
            continue;
        }
        notices.Files << path;
        if (const QString notice = QString::fromUtf8(file.read(MostNoticeBytes).mid(NoticeMark.size())).trimmed();
            !notice.isEmpty())
            texts << notice;
    }
    notices.Text = texts.join(QStringLiteral("\n\n"));
    return notices;
}

void LastExitNotices::remove() const
{
    for (const QString& path : Files)
        ::unlink(QFile::encodeName(path).constData());
}
