#include "RecoveryFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "FileVersion.h"
#include "events/EventList.h"
#include "events/Exceptions.h"
#include "platform/PrivateFolder.h"
#include "platform/XdgFolders.h"

#include <vector>

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
    std::vector<RecoveryFolder> folders{
        {withSlash(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)), true, false}};
    // A relative value names no folder, whatever folder the program started in.
    if (const QString home = qEnvironmentVariable("HOME"); QDir::isAbsolutePath(home))
        folders.push_back({withSlash(home), false, false});
    if (const QString runtime = xdgFolder("XDG_RUNTIME_DIR"); !runtime.isEmpty())
        folders.push_back({withSlash(runtime), false, true});
    return folders;
}

const QString NoticeName = QStringLiteral("Notice from the last exit.txt");

void writeIn(const RecoveryFolder& Folder, const QString& Path, TEventList& List, QFile::Permissions Permissions)
{
    if (Folder.MadeWhenMissing && !makePrivatePath(Folder.Path))
        throw EFileError(QStringLiteral("Cannot create folder \"%1\".").arg(Folder.Path));
    // Made first with its permissions, so that the save, which keeps an existing file's
    // permissions, never shows it to others.
    QFile placeholder(Path);
    const bool madeHere = placeholder.open(QIODevice::WriteOnly | QIODevice::NewOnly, Permissions);
    placeholder.close();
    try {
        List.SaveToFile(Path);
    } catch (...) {
        if (madeHere)
            QFile::remove(Path);
        throw;
    }
}

} // namespace

RecoveryFile writeRecoveryFile(TEventList& List, const QString& EventFileName, TDateTime Time)
{
    const QString name = ExtractFileNameNoExt(EventFileName) + QLatin1Char('_') +
                         formatDateTime(QStringLiteral("yyyymmdd_hhnnsszzz"), Time) + QStringLiteral(".events");
    // As private as the event file (only the user's for a new one), but always the
    // user's to write: a read-only event file is the commonest reason for coming here.
    const QFile::Permissions permissions =
        (QFileInfo::exists(EventFileName) ? QFile::permissions(EventFileName) : QFile::Permissions()) |
        QFile::ReadOwner | QFile::WriteOwner;
    QStringList failures;
    for (const RecoveryFolder& folder : recoveryFolders()) {
        try {
            writeIn(folder, folder.Path + name, List, permissions);
            return {folder.Path + name, folder.EmptiedAtLogOut};
        } catch (const std::exception& error) {
            failures << exceptionMessage(error);
        }
    }
    throw EFileError(failures.join(QStringLiteral("\r\n")));
}

void leaveNoticeForNextStart(const QString& Message)
{
    for (const RecoveryFolder& folder : recoveryFolders()) {
        if (folder.MadeWhenMissing)
            makePrivatePath(folder.Path);
        QFile file(folder.Path + NoticeName);
        const QByteArray text = (Message + QStringLiteral("\n\n")).toUtf8();
        if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered,
                       QFile::ReadOwner | QFile::WriteOwner))
            continue;
        const qint64 before = file.size();
        if (file.write(text) == text.size() && file.flush())
            return;
        // Unbuffered, so a full disk shows at once and nothing is left to flush.
        // It took part of the notice: the notices already there stay whole, and an
        // empty file is left nowhere.
        if (before == 0)
            file.remove();
        else
            file.resize(before);
    }
}

QString takeNoticesFromLastExit()
{
    QStringList notices;
    for (const RecoveryFolder& folder : recoveryFolders()) {
        QFile file(folder.Path + NoticeName);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        if (const QString notice = QString::fromUtf8(file.readAll()).trimmed(); !notice.isEmpty())
            notices << notice;
        file.remove();
    }
    return notices.join(QStringLiteral("\n\n"));
}
