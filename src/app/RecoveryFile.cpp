#include "RecoveryFile.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "FileVersion.h"
#include "events/EventList.h"
#include "events/Exceptions.h"
#include "platform/PrivateFolder.h"

namespace {

QString dataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QLatin1Char('/');
}

QString noticeFileName()
{
    return dataFolder() + QStringLiteral("Notice from the last exit.txt");
}

} // namespace

QString writeRecoveryFile(TEventList& List, const QString& EventFileName, TDateTime Time)
{
    const QString path = dataFolder() + ExtractFileNameNoExt(EventFileName) + QLatin1Char('_') +
                         formatDateTime(QStringLiteral("yyyymmdd_hhnnsszzz"), Time) + QStringLiteral(".events");
    if (!makePrivatePath(dataFolder()))
        throw EFileError(QStringLiteral("Cannot create folder \"%1\".").arg(dataFolder()));
    // Made first with the event file's permissions (only the user's for a new one), so
    // that the save, which keeps an existing file's permissions, never shows it to others.
    QFile placeholder(path);
    const QFile::Permissions permissions = QFileInfo::exists(EventFileName)
                                               ? QFile::permissions(EventFileName)
                                               : QFile::ReadOwner | QFile::WriteOwner;
    const bool madeHere = placeholder.open(QIODevice::WriteOnly | QIODevice::NewOnly, permissions);
    placeholder.close();
    try {
        List.SaveToFile(path);
    } catch (...) {
        if (madeHere)
            QFile::remove(path);
        throw;
    }
    return path;
}

void leaveNoticeForNextStart(const QString& Message)
{
    makePrivatePath(dataFolder());
    QFile file(noticeFileName());
    if (file.open(QIODevice::WriteOnly | QIODevice::Append, QFile::ReadOwner | QFile::WriteOwner))
        file.write((Message + QStringLiteral("\n\n")).toUtf8());
}

QString takeNoticesFromLastExit()
{
    QFile file(noticeFileName());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString notices = QString::fromUtf8(file.readAll()).trimmed();
    file.remove();
    return notices;
}
